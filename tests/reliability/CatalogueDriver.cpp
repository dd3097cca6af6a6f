#include "reliability/CatalogueDriver.h"

#include "support/ChooseDisc.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QTimer>

CatalogueDriver::CatalogueDriver(const QString& programDir, quint32 seed)
    : m_state({programDir, programDir + QStringLiteral("/settings.ini"), 1024, {}, &m_hooks}),
      m_random(seed)
{
    m_hooks.answer = [this](int, const QString&) {
        return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
    };
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

bool CatalogueDriver::showDisc(int row)
{
    // A disc whose file holds fewer records than its count is kept as it is.
    m_answers = {QStringLiteral("yes")};
    chooseDisc(*m_main, row);
    const bool asked = m_answers.isEmpty();
    m_answers.clear();
    if (asked)
        m_action = QStringLiteral("keep a short disc's tracks");
    return asked;
}

QString CatalogueDriver::writtenTwice() const
{
    for (const QString& path : m_hooks.filesWritten)
        if (m_hooks.filesWritten.count(path) > 1)
            return path;
    return {};
}

catalogue::Track CatalogueDriver::typedTrack()
{
    const QString n = QString::number(m_random.bounded(1000));
    return {QStringLiteral("Label ") + n,
            QStringLiteral("Artist ") + n,
            QStringLiteral("Title ") + n,
            QString::number(1960 + m_random.bounded(60)),
            QStringLiteral("%1:%2")
                .arg(m_random.bounded(10))
                .arg(m_random.bounded(60), 2, 10, QLatin1Char('0')),
            QStringLiteral("LP"),
            m_random.bounded(3) ? QString() : QStringLiteral("Notes ") + n};
}

void CatalogueDriver::step()
{
    m_hooks.filesWritten.clear();
    Catalogue& catalogue = m_state.catalogue();
    if (catalogue.entering()) {
        entryStep();
        return;
    }
    const int discs = m_state.DiscCount;
    const int choice = int(m_random.bounded(100));
    // Past 30 discs removals win, so that every round of a long run costs
    // about the same.
    if (discs > 30 ? choice < 40 : choice >= 88 && discs >= 2) {
        m_action = QStringLiteral("remove a disc");
        catalogue.removeDisc(int(m_random.bounded(discs)));
    } else if (discs < 2 || choice < 22) {
        const int planned = 1 + int(m_random.bounded(4));
        m_action = QStringLiteral("new disc of %1").arg(planned);
        catalogue.addDisc(
            QStringLiteral("Disc %1-%2").arg(m_random.bounded(100000)).arg(++m_serial),
            QString::number(planned) + (m_random.bounded(2) ? " songs" : ""));
    } else if (choice >= 76 && choice < 90 && (catalogue.canUndo() || catalogue.canRedo())) {
        const bool back = catalogue.canUndo() && (choice < 82 || !catalogue.canRedo());
        m_action = back ? QStringLiteral("undo") : QStringLiteral("redo");
        m_main->Form_KeyPress(ctrl(back ? Qt::Key_Z : Qt::Key_Y));
    } else if (!showDisc(int(m_random.bounded(discs)))) { // the track actions' disc
        const int row = m_state.TrackCount > 0 ? int(m_random.bounded(m_state.TrackCount)) : 0;
        if (choice < 40) {
            m_action = QStringLiteral("add a track");
            if (!m_state.DiscIncomplete && m_state.TrackCount > 0 && m_state.TrackCount < 25)
                catalogue.addTrack(typedTrack());
        } else if (choice < 55) {
            m_action = QStringLiteral("edit a track");
            if (m_state.TrackCount > 0 && !m_state.DiscIncomplete)
                catalogue.editTrack(row, typedTrack());
        } else if (choice < 72) {
            comment();
        } else {
            m_action = QStringLiteral("remove a track");
            if (m_state.TrackCount > 0 && !m_state.DiscIncomplete)
                catalogue.removeTrack(row);
        }
    }
}

void CatalogueDriver::entryStep()
{
    Catalogue& catalogue = m_state.catalogue();
    const int choice = int(m_random.bounded(100));
    if (choice < 85) {
        m_action = QStringLiteral("save track %1").arg(m_state.EntryTrack);
        catalogue.storeEntryTrack(typedTrack());
    } else if (m_state.EntryTrack <= 1 || choice >= 92) {
        m_action = QStringLiteral("cancel the entry (drop the disc)");
        catalogue.dropNewDisc();
    } else {
        m_action = QStringLiteral("cancel the entry (keep its tracks)");
        catalogue.keepEntry();
    }
}

void CatalogueDriver::comment()
{
    m_action = QStringLiteral("comment");
    if (m_state.TrackCount == 0 || m_state.DiscIncomplete)
        return;
    QLineEdit* box = m_main->rows->txtComments[m_random.bounded(m_state.TrackCount)];
    box->setText(QStringLiteral("Comment %1").arg(m_random.bounded(100000)));
    emit box->textEdited(box->text());
    if (m_random.bounded(2)) { // a command that saves comments first
        m_main->cmdComments();
        return;
    }
    // The pause after typing writes it (the pause is short here).
    m_action = QStringLiteral("comment, written after the pause");
    const QDeadlineTimer deadline(5000);
    while (m_state.CommentsDirty && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}
