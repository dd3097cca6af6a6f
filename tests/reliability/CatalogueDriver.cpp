#include "reliability/CatalogueDriver.h"

#include "editing/frmNewd.h"
#include "editing/frmNewt.h"
#include "editing/frmRemove.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

CatalogueDriver::CatalogueDriver(const QString& programDir, quint32 seed)
    : m_state({programDir, programDir + QStringLiteral("/settings.ini"), 1024}), m_random(seed)
{
    m_state.answerMessage = [this](Module1& state) {
        if (!m_answers.isEmpty())
            state.MsgAnswer = m_answers.takeFirst();
    };
}

CatalogueDriver::~CatalogueDriver()
{
    delete m_entry;
}

bool CatalogueDriver::start()
{
    m_main = std::make_unique<frmMain>(m_state);
    m_main->commentTimer()->setInterval(1);
    m_answers = {QStringLiteral("yes"), QString()}; // a first run is one
    const bool ok = m_main->Form_Load();
    m_answers.clear();
    return ok;
}

bool CatalogueDriver::selectDisc(int row)
{
    // A disc whose file holds fewer records than its count is kept as it is.
    m_answers = {QStringLiteral("yes")};
    m_main->cmbDisc->setCurrentIndex(row);
    const bool asked = m_answers.isEmpty();
    m_answers.clear();
    if (asked)
        m_action = QStringLiteral("keep a short disc's tracks");
    return asked;
}

QString CatalogueDriver::writtenTwice() const
{
    for (const QString& path : m_state.filesWritten)
        if (m_state.filesWritten.count(path) > 1)
            return path;
    return {};
}

void CatalogueDriver::step()
{
    m_state.filesWritten.clear();
    if (m_entry) {
        entryStep();
        return;
    }
    const int discs = m_state.DiscCount;
    const int choice = int(m_random.bounded(100));
    // Past 30 discs removals win, so that every round of a long run costs
    // about the same.
    if (discs > 30 ? choice < 40 : choice >= 88 && discs >= 2) {
        removeDisc();
    } else if (discs < 2 || choice < 22) {
        newDisc();
    } else if (!selectDisc(int(m_random.bounded(discs)))) { // the track actions' disc
        if (choice < 40)
            addTrack();
        else if (choice < 55)
            editTrack();
        else if (choice < 72)
            comment();
        else
            removeTrack();
    }
}

frmNewt* CatalogueDriver::trackWindow()
{
    auto* entry = new frmNewt(m_state, m_main.get());
    QObject::connect(entry, &frmNewt::updateRequested, m_main.get(), &frmMain::cmdUpdate);
    QObject::connect(entry, &frmNewt::reloadRequested, m_main.get(), &frmMain::reloadShownDisc);
    return entry;
}

void CatalogueDriver::newDisc()
{
    const int planned = 1 + int(m_random.bounded(4));
    m_action = QStringLiteral("new disc of %1").arg(planned);
    m_state.RemoveMode = 0;
    m_state.NewDiscPending = 1;
    frmNewd dialog(m_state, m_main.get());
    QObject::connect(&dialog, &frmNewd::discCreated, [this] { m_entry = trackWindow(); });
    dialog.txtDisc->setText(
        QStringLiteral("Disc %1-%2").arg(m_random.bounded(100000)).arg(++m_serial));
    dialog.txtTracks->setText(QString::number(planned) + (m_random.bounded(2) ? " songs" : ""));
    dialog.picSave_MouseUp(1, 0, 0, 0);
}

void CatalogueDriver::typeTrack(frmNewt* entry)
{
    const QString n = QString::number(m_random.bounded(1000));
    entry->txtLabel->setText(QStringLiteral("Label ") + n);
    entry->txtProducer->setText(QStringLiteral("Artist ") + n);
    entry->txtTitle->setText(QStringLiteral("Title ") + n);
    entry->txtDate->setText(QString::number(1960 + m_random.bounded(60)));
    entry->txtLength->setText(QStringLiteral("%1:%2")
                                  .arg(m_random.bounded(10))
                                  .arg(m_random.bounded(60), 2, 10, QLatin1Char('0')));
    entry->cmbFormat->setEditText(QStringLiteral("LP"));
    entry->txtComments->setText(m_random.bounded(3) ? QString() : QStringLiteral("Notes ") + n);
}

void CatalogueDriver::entryStep()
{
    const int choice = int(m_random.bounded(100));
    if (choice < 85) {
        m_action = QStringLiteral("save track %1").arg(m_state.EntryTrack);
        typeTrack(m_entry);
        m_entry->picSave_MouseUp(1, 0, 0, 0);
    } else {
        const QString answer = choice < 92 ? QStringLiteral("yes") : QStringLiteral("no");
        m_action = QStringLiteral("cancel the entry (%1)").arg(answer);
        // Before the first track nothing is asked.
        m_answers = m_state.EntryTrack > 1 ? QStringList{answer} : QStringList{};
        m_entry->picCancel_MouseUp(1, 0, 0, 0);
        m_answers.clear();
    }
    if (m_entry && !m_entry->isVisible() && m_state.EntryTrack == 0)
        delete m_entry;
}

void CatalogueDriver::addTrack()
{
    m_action = QStringLiteral("add a track");
    if (m_state.TrackCount == 0 || m_state.TrackCount >= 25 || m_state.DiscIncomplete)
        return;
    m_state.AddingTracks = 1;
    m_state.CurrentDisc = m_main->cmbDisc->currentIndex();
    frmNewt* entry = trackWindow();
    typeTrack(entry);
    entry->picSave_MouseUp(1, 0, 0, 0);
    delete entry;
    m_state.AddingTracks = 0;
}

void CatalogueDriver::editTrack()
{
    m_action = QStringLiteral("edit a track");
    if (m_state.TrackCount == 0 || m_state.DiscIncomplete)
        return;
    m_state.RemoveMode = 2;
    frmRemove dialog(m_state, m_main.get());
    dialog.lstRemove->setCurrentRow(int(m_random.bounded(m_state.TrackCount)));
    frmNewt* entry = nullptr;
    QObject::connect(&dialog, &frmRemove::editRequested, [&] { entry = trackWindow(); });
    dialog.cmdEdit();
    if (entry) {
        typeTrack(entry);
        entry->picSave_MouseUp(1, 0, 0, 0);
        delete entry;
    }
    m_state.EditPending = 0;
}

void CatalogueDriver::comment()
{
    m_action = QStringLiteral("comment");
    if (m_state.TrackCount == 0 || m_state.DiscIncomplete)
        return;
    QLineEdit* box = m_main->txtComments[m_random.bounded(m_state.TrackCount)];
    box->setText(QStringLiteral("Comment %1").arg(m_random.bounded(100000)));
    emit box->textEdited(box->text());
    if (m_random.bounded(2)) { // a command that saves comments first
        m_main->cmdComments();
        return;
    }
    // The pause after typing writes it (the pause is short here).
    m_action = QStringLiteral("comment, written after the pause");
    const QDeadlineTimer deadline(5000);
    while (m_state.CommentsDirty == 1 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}

void CatalogueDriver::removeTrack()
{
    m_action = QStringLiteral("remove a track");
    if (m_state.TrackCount == 0 || m_state.DiscIncomplete)
        return;
    m_state.RemoveMode = 1;
    frmRemove dialog(m_state, m_main.get());
    QObject::connect(&dialog, &frmRemove::updateRequested, m_main.get(), &frmMain::cmdUpdate);
    QObject::connect(&dialog, &frmRemove::changedOutside, m_main.get(), &frmMain::reloadCatalogue);
    dialog.lstRemove->setCurrentRow(int(m_random.bounded(m_state.TrackCount)));
    m_answers = {QStringLiteral("yes")};
    dialog.cmdRemt();
    m_answers.clear();
}

void CatalogueDriver::removeDisc()
{
    m_action = QStringLiteral("remove a disc");
    m_state.RemoveMode = 0;
    m_state.RemoveDiscPending = 1;
    frmRemove dialog(m_state, m_main.get());
    QObject::connect(&dialog, &frmRemove::updateRequested, m_main.get(), &frmMain::cmdUpdate);
    dialog.lstRemove->setCurrentRow(int(m_random.bounded(m_state.DiscCount)));
    m_answers = {QStringLiteral("yes")};
    dialog.cmdRemd();
    m_answers.clear();
    m_state.RemoveDiscPending = 0;
}
