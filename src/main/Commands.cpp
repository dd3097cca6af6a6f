// The main window's commands: each writes pending comments where it must,
// checks its precondition and opens its dialog with what it is for.
#include "main/frmMain.h"

#include "dialogs/PictureButton.h"
#include "dialogs/frmDialog.h"
#include "dialogs/frmMsgbox.h"
#include "editing/frmNewd.h"
#include "editing/frmNewt.h"
#include "editing/frmRemove.h"
#include "navigator/frmNavi.h"
#include "options/frmOption.h"
#include "printing/frmPrint.h"
#include "store/Module1.h"
#include "store/Spreadsheet.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>

bool frmMain::refuseIncomplete()
{
    if (!m_state.DiscIncomplete)
        return false;
    frmMsgbox::tell(m_state, this, 1,
                    QStringLiteral("The file of the disc '%1' holds fewer tracks than the "
                                   "catalogue lists, so its tracks cannot be changed.")
                        .arg(lblDisc->text()));
    return true;
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

void frmMain::openTrackEntry(frmNewt::Mode mode, int editRow)
{
    auto* entry = new frmNewt(m_state, mode, editRow, this);
    m_newt = entry;
    entry->centreOnScreen();
    // While tracks are typed nothing else of the program takes input, so no
    // Save can reach another disc's file.
    entry->setWindowModality(Qt::ApplicationModal);
    if (mode == frmNewt::Mode::AddTrack)
        entry->exec();
    else
        entry->show();
}

bool frmMain::openRemove(RemoveMode mode)
{
    frmRemove dialog(m_state, mode, this);
    connect(&dialog, &frmRemove::editRequested, this,
            [this](int row) { openTrackEntry(frmNewt::Mode::Edit, row); });
    connect(&dialog, &frmRemove::hitChosen, this, &frmMain::showHit);
    if (mode != RemoveMode::SearchResults)
        dialog.centreOn(this);
    const bool done = dialog.exec() == QDialog::Accepted;
    // The search results closed: the hit is marked no more.
    m_hit = 0;
    rows->mark(-1, 0);
    return done;
}

void frmMain::picNewd_MouseUp(int, int, float X, float Y)
{
    if (!picNewd->release(X, Y) || !saveCommentsFirst())
        return;
    if (!m_newd) {
        m_newd = new frmNewd(m_state, this);
        connect(m_newd, &frmNewd::discCreated, this,
                [this] { openTrackEntry(frmNewt::Mode::NewDisc); });
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
    if (!refuseWithoutTracks() && !refuseIncomplete())
        openTrackEntry(frmNewt::Mode::AddTrack);
}

void frmMain::picEdit_MouseUp(int, int, float X, float Y)
{
    if (picEdit->release(X, Y) && saveCommentsFirst() && !refuseWithoutTracks() &&
        !refuseIncomplete())
        openRemove(RemoveMode::Edit);
}

void frmMain::picRemd_MouseUp(int, int, float X, float Y)
{
    if (!picRemd->release(X, Y) || !saveCommentsFirst())
        return;
    if (openRemove(RemoveMode::Disc))
        askAboutShortDisc(); // the first disc, shown after a removal
}

void frmMain::picRemt_MouseUp(int, int, float X, float Y)
{
    if (picRemt->release(X, Y) && saveCommentsFirst() && !refuseWithoutTracks() &&
        !refuseIncomplete())
        openRemove(RemoveMode::Track);
}

void frmMain::picSearch_MouseUp(int, int, float X, float Y)
{
    if (picSearch->release(X, Y) && saveCommentsFirst() && Searchsub())
        openRemove(RemoveMode::SearchResults);
}

void frmMain::picPrint_MouseUp(int, int, float X, float Y)
{
    if (!picPrint->release(X, Y) || !saveCommentsFirst()) // what is printed is what shows
        return;
    frmPrint dialog(m_state, this);
    dialog.Searchsub = [this] { return Searchsub(); };
    dialog.centreOn(this);
    dialog.exec();
}

void frmMain::picOption_MouseUp(int, int, float X, float Y)
{
    if (!picOption->release(X, Y))
        return;
    frmOption dialog(m_state, this);
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

bool frmMain::Searchsub()
{
    // A prompt left empty or cancelled searches for nothing, and finds nothing.
    const QString text = frmMsgbox::ask(m_state, this, 6, QString());
    if (m_state.catalogue().search(text) == 0) {
        if (text.isEmpty())
            return false;
        frmMsgbox::tell(m_state, this, 2, QStringLiteral("Text not found."));
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- leaving, and the keys

void frmMain::picMini_MouseUp(int, int, float X, float Y)
{
    if (picMini->release(X, Y) && saveCommentsFirst())
        showMinimized();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Closed by the window system (Alt+F4, logging out): as Quit.
    if (!saveCommentsFirst()) {
        event->ignore();
        return;
    }
    event->accept();
    emit programEnded();
}

void frmMain::picQuit_MouseUp(int, int, float X, float Y)
{
    // Nothing typed may be lost: a comment that cannot be written keeps the
    // program open.
    if (picQuit->release(X, Y) && saveCommentsFirst())
        emit programEnded();
}

bool frmMain::Form_KeyPress(QKeyCombination key)
{
    using Handler = void (frmMain::*)(int, int, float, float);
    static const QList<std::pair<QKeyCombination, Handler>> shortcuts = {
        {ctrl(Qt::Key_D), &frmMain::picNewd_MouseUp},
        {ctrl(Qt::Key_E), &frmMain::picEdit_MouseUp},
        {ctrl(Qt::Key_N), &frmMain::picNewt_MouseUp},
        {ctrl(Qt::Key_P), &frmMain::picPrint_MouseUp},
        {ctrl(Qt::Key_R), &frmMain::picRemd_MouseUp},
        {ctrl(Qt::Key_S), &frmMain::picSearch_MouseUp},
        {ctrl(Qt::Key_T), &frmMain::picRemt_MouseUp},
        {ctrl(Qt::Key_W), &frmMain::picQuit_MouseUp},
        {ctrl(Qt::Key_C), &frmMain::picNavi_MouseUp},
    };
    for (const auto& [shortcut, handler] : shortcuts) {
        if (key == shortcut) {
            (this->*handler)(1, 0, 0, 0);
            return key != ctrl(Qt::Key_C); // a text box still copies
        }
    }
    // A comment box's own undo gives way to the catalogue's.
    if (key == ctrl(Qt::Key_Z))
        cmdUndo();
    else if (key == ctrl(Qt::Key_Y) || key == RedoKey)
        cmdRedo();
    else
        return false;
    return true;
}

void frmMain::cmdUndo()
{
    m_commentTimer->stop();
    frmMsgbox::report(m_state, this, m_state.catalogue().undo());
}

namespace {

// The first spreadsheet among the files dragged onto the window.
QString spreadsheetIn(const QMimeData* mime)
{
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile() && url.toLocalFile().endsWith(u".csv", Qt::CaseInsensitive))
            return url.toLocalFile();
    return {};
}

} // namespace

void frmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (!spreadsheetIn(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event)
{
    const QString file = spreadsheetIn(event->mimeData());
    event->acceptProposedAction();
    cmdImport(file);
}

void frmMain::cmdImport(const QString& file)
{
    if (file.isEmpty() || !saveCommentsFirst())
        return;
    const QString name = QFileInfo(file).fileName();
    const spreadsheet::Sheet sheet = spreadsheet::readCatalogueCsvFile(file);
    if (!sheet.problem.isEmpty()) {
        frmMsgbox::tell(m_state, this, 1, sheet.problem);
        return;
    }
    if (frmMsgbox::askYes(m_state, this,
                          QStringLiteral("Add the %1 of '%2' to the catalogue?")
                              .arg(spreadsheet::discsAndTracks(sheet), name)))
        frmMsgbox::report(m_state, this, m_state.catalogue().importDiscs(sheet.discs));
}

void frmMain::cmdRedo()
{
    m_commentTimer->stop();
    frmMsgbox::report(m_state, this, m_state.catalogue().redo());
}
