// The main window's commands: each checks its precondition, writes pending
// comments where it must, sets the requests and opens its dialog.
#include "main/frmMain.h"

#include "dialogs/PictureButton.h"
#include "dialogs/frmDialog.h"
#include "dialogs/frmMsgbox.h"
#include "editing/frmNewd.h"
#include "editing/frmNewt.h"
#include "editing/frmRemove.h"
#include "options/frmOption.h"
#include "printing/frmPrint.h"

#include "main/CatalogueSearch.h"
#include "navigator/frmNavi.h"
#include "store/Module1.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

bool frmMain::refuseIncomplete()
{
    if (!m_state.DiscIncomplete)
        return false;
    frmMsgbox::tell(
        m_state, this, 1,
        QStringLiteral("The file of the disc '%1' holds fewer tracks than the catalogue "
                       "lists, so its tracks cannot be changed.")
            .arg(lblDisc->text()));
    return true;
}

void frmMain::openTrackEntry()
{
    auto* entry = new frmNewt(m_state, this);
    m_newt = entry;
    connect(entry, &frmNewt::updateRequested, this, &frmMain::cmdUpdate);
    connect(entry, &frmNewt::reloadRequested, this, &frmMain::reloadShownDisc);
    connect(entry, &frmNewt::changedOutside, this, &frmMain::reloadCatalogue);
    entry->centreOnScreen();
    // While tracks are typed nothing else of the program takes input, so no
    // Save can reach another disc's file.
    entry->setWindowModality(Qt::ApplicationModal);
    if (entry->mode() == frmNewt::Mode::NewDisc)
        m_entryHoldsTracks = true;
    if (entry->mode() == frmNewt::Mode::AddTrack)
        entry->exec();
    else
        entry->show();
}

void frmMain::openRemove()
{
    frmRemove dialog(m_state, this);
    connect(&dialog, &frmRemove::updateRequested, this, &frmMain::cmdUpdate);
    connect(&dialog, &frmRemove::changedOutside, this, &frmMain::reloadCatalogue);
    connect(&dialog, &frmRemove::editRequested, this, &frmMain::openTrackEntry);
    if (m_state.RemoveMode != 3)
        dialog.centreOn(this);
    dialog.exec();
}

bool frmMain::saveCommentsFirst()
{
    return m_state.CommentsDirty != 1 || cmdComments();
}

bool frmMain::refuseWithoutTracks()
{
    if (m_state.TrackCount != 0)
        return false;
    frmMsgbox::tell(m_state, this, 1,
                    m_state.DiscCount != 0 ? QStringLiteral("You must first choose a disc.")
                                           : QStringLiteral("You must first create a disc."));
    return true;
}

void frmMain::picNewd_MouseUp(int, int, float X, float Y)
{
    if (!picNewd->release(X, Y) || !saveCommentsFirst())
        return;
    m_state.RemoveMode = 0;
    m_state.NewDiscPending = 1;
    if (!m_newd) {
        m_newd = new frmNewd(m_state, this);
        connect(m_newd, &frmNewd::discCreated, this, &frmMain::openTrackEntry);
        connect(m_newd, &frmNewd::changedOutside, this, &frmMain::reloadCatalogue);
    }
    m_newd->centreOnScreen();
    m_newd->txtDisc->setFocus();
    m_newd->exec();
}

void frmMain::picNewt_MouseUp(int, int, float X, float Y)
{
    if (!picNewt->release(X, Y) || !saveCommentsFirst())
        return;
    if (m_state.TrackCount == 25) {
        frmMsgbox::tell(m_state, this, 3,
                        QStringLiteral("Discs with more than 25 tracks are unsupported."));
        return;
    }
    if (refuseWithoutTracks() || refuseIncomplete())
        return;
    m_state.AddingTracks = 1;
    m_state.CurrentDisc = cmbDisc->currentIndex();
    openTrackEntry();
}

void frmMain::picEdit_MouseUp(int, int, float X, float Y)
{
    if (!picEdit->release(X, Y) || !saveCommentsFirst() || refuseWithoutTracks() ||
        refuseIncomplete())
        return;
    m_state.RemoveMode = 2;
    openRemove();
}

void frmMain::picRemd_MouseUp(int, int, float X, float Y)
{
    if (!picRemd->release(X, Y) || !saveCommentsFirst())
        return;
    m_state.RemoveMode = 0;
    m_state.RemoveDiscPending = 1;
    openRemove();
}

void frmMain::picRemt_MouseUp(int, int, float X, float Y)
{
    if (!picRemt->release(X, Y) || !saveCommentsFirst() || refuseWithoutTracks() ||
        refuseIncomplete())
        return;
    m_state.RemoveMode = 1;
    openRemove();
}

void frmMain::picSearch_MouseUp(int, int, float X, float Y)
{
    if (!picSearch->release(X, Y) || !saveCommentsFirst())
        return;
    Searchsub();
    if (m_state.HitCount != 0) {
        m_state.RemoveMode = 3;
        openRemove();
    }
    cmdUpdate();
}

void frmMain::picPrint_MouseUp(int, int, float X, float Y)
{
    if (!picPrint->release(X, Y) || !saveCommentsFirst()) // what is printed is what shows
        return;
    frmPrint dialog(m_state, this);
    connect(&dialog, &frmPrint::searchRequested, this, &frmMain::Searchsub);
    dialog.centreOn(this);
    dialog.exec();
}

void frmMain::picOption_MouseUp(int, int, float X, float Y)
{
    if (!picOption->release(X, Y))
        return;
    frmOption dialog(m_state, this);
    connect(&dialog, &frmOption::updateRequested, this, &frmMain::cmdUpdate);
    dialog.centreOn(this);
    dialog.exec();
}

void frmMain::picNavi_MouseUp(int, int, float X, float Y)
{
    if (!picNavi->release(X, Y) || m_state.DiscCount == 0)
        return;
    ensureNavigator();
    m_navi->show();
    m_navi->raise();
}

void frmMain::picInfo_MouseUp(int, int, float X, float Y)
{
    if (!picInfo->release(X, Y) || !saveCommentsFirst())
        return;
    frmDialog dialog(m_state, this);
    dialog.centreOn(this);
    dialog.exec();
}

void frmMain::Searchsub()
{
    m_state.SearchHits.clear();
    m_state.SearchHitDiscs.clear();
    m_state.HitCount = 0;
    m_state.SearchFailed = 0;
    m_state.MsgKind = 6;
    frmMsgbox::Show(m_state, this);
    if (m_state.MsgAnswer.isEmpty()) {
        m_state.SearchFailed = 1;
        return;
    }
    m_state.SearchText = m_state.MsgAnswer;
    // The files are searched as they lie on disk, without decoding them.
    const search::Needle needle(m_state.SearchText);
    for (int row = 0; row < m_state.DiscCount; ++row) {
        const QString name = m_state.Discs.at(row).name;
        // A disc whose file cannot be read is passed over.
        const std::optional<QByteArray> bytes = catalogue::readFileBytes(m_state.discPathFor(name));
        if (!bytes)
            continue;
        for (const qint64 position : needle.positionsIn(*bytes)) {
            m_state.SearchHits.append({row + 1, position, 0});
            m_state.SearchHitDiscs.append(name);
        }
    }
    m_state.HitCount = int(m_state.SearchHits.size());
    if (m_state.HitCount == 0) {
        m_state.SearchFailed = 1;
        frmMsgbox::tell(m_state, this, 2, QStringLiteral("Text not found."));
        return;
    }
    search::fillOffsets(m_state.SearchHits, m_state.SearchText.size());
}
