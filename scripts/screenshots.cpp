// Renders every window of the program, as it shows on a real X server, into
// PNG files: the main window with a real-looking disc (and with 25 tracks),
// both remove modes, every kind of message, the search results, the
// navigator, the options, the print window, the about box and the track
// entry. scripts/screenshots runs it on a private X server for each screen.
//
//   platterbook_screenshots OUTPUT_DIR PREFIX
#include "dialogs/PictureButton.h"
#include "dialogs/frmDialog.h"
#include "dialogs/frmMsgbox.h"
#include "editing/frmNewt.h"
#include "editing/frmRemove.h"
#include "main/Screenres.h"
#include "main/frmMain.h"
#include "navigator/frmNavi.h"
#include "options/frmOption.h"
#include "printing/frmPrint.h"
#include "store/Module1.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

using catalogue::Track;

namespace {

QString g_out;
bool g_failed = false;

// Waits until the window is on the screen and painted, then saves the screen
// under it with a margin.
void shoot(QWidget* window, const QString& name)
{
    window->raise();
    if (!QTest::qWaitForWindowExposed(window)) {
        std::fprintf(stderr, "%s did not show\n", qPrintable(name));
        g_failed = true;
    }
    QTest::qWait(150); // the window system's own drawing settles
    const QRect frame = window->frameGeometry().adjusted(-12, -12, 12, 12);
    QScreen* screen = window->screen();
    const QRect area = frame.intersected(screen->geometry());
    const QPixmap shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const QString file = g_out + u'/' + name + QStringLiteral(".png");
    if (!shot.save(file)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(file));
        g_failed = true;
    }
}

// Runs act on the next modal window, from inside its modal loop.
void whenModal(const std::function<void(QWidget*)>& act)
{
    auto* timer = new QTimer;
    QWidget* before = QApplication::activeModalWidget();
    QObject::connect(timer, &QTimer::timeout, [timer, before, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == before)
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start(20);
}

Track track(const char* label, const char* artist, const char* title, const char* year,
            const char* length, const char* format, const char* comment = "")
{
    return {QString::fromUtf8(label),  QString::fromUtf8(artist), QString::fromUtf8(title),
            QString::fromUtf8(year),   QString::fromUtf8(length), QString::fromUtf8(format),
            QString::fromUtf8(comment)};
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// A catalogue as a collector keeps it.
void makeCatalogue(const QString& data)
{
    QDir().mkpath(data);
    const QList<Track> summer = {
        track("Tidewater", "The Low Harbour", "Salt on the Window", "1977", "3:42", "LP",
              "first pressing"),
        track("Meridian", "Ana Lucía Prado", "Verano Sin Fin", "1983", "4:05", "Single"),
        track("Bellwether", "Gus & the Northern Lights", "Slow Ferry", "1969", "2:58", "EP"),
        track("Tidewater", "Juniper Avenue", "Paper Lanterns (Extended Mix)", "1986", "6:31",
              "Promo", "radio edit on side B"),
        track("Kestrel Sound", "Mireille Dubois", "Café du Port", "1974", "3:17", "LP"),
        track("Coastline", "The Saltmarsh Quartet", "Driftwood", "1962", "2:44", "CD", "remaster"),
        track("Meridian", "Kenji Aoyama", "Night Tram to Shibuya", "1981", "5:02", "LP"),
        track("Bellwether", "Rosa Lindqvist", "Midsommar Rain", "1990", "4:11", "CD"),
        track("Harbour Lights", "Fathom", "Lighthouse Keeper", "1979", "3:56", "Single"),
        track("Kestrel Sound", "Dune Orchestra", "Heatwave Boulevard", "1985", "4:48", "EP",
              "crackle at 2:10"),
        track("Tidewater", "The Low Harbour", "Last Light on the Pier", "1977", "5:20", "LP"),
        track("Coastline", "Odile & Marcel", "Plage Blanche", "1968", "2:36", "Single"),
    };
    QList<Track> long25;
    for (int i = 1; i <= 25; ++i)
        long25.append(track("Archive", "Various", QString("Session tape %1").arg(i).toUtf8(),
                            "1975", "2:55", "LP"));
    const QList<std::pair<QString, QList<Track>>> discs = {
        {QString::fromUtf8("Summer Mix 2024 – Beach Party Classics"), summer},
        {"Rainy Sunday", summer.mid(2, 6)},
        {"Road Trip North", summer.mid(0, 9)},
        {QString::fromUtf8("Chansons & Café"), summer.mid(4, 4)},
        {"Night Drive", summer.mid(5, 7)},
        {"Kitchen Radio", summer.mid(1, 5)},
        {"Archive Sessions", long25},
        {"Winter Warmers", summer.mid(3, 8)},
    };
    QList<catalogue::DiscRow> rows;
    for (const auto& [name, tracks] : discs) {
        rows.append({name, QString::number(tracks.size())});
        put(data + u'/' + name + QStringLiteral(".txt"), catalogue::discBytes(tracks));
    }
    put(data + QStringLiteral("/index.txt"), catalogue::indexBytes(rows));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    setUpApplication();
    if (argc < 3) {
        std::fprintf(stderr, "usage: platterbook_screenshots OUTPUT_DIR PREFIX\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    const QString prefix = QString::fromLocal8Bit(argv[2]) + u'-';
    QDir().mkpath(g_out);
    QTemporaryDir dir;
    makeCatalogue(dir.filePath(QStringLiteral("Data")));
    TestHooks hooks;
    Module1 state({dir.path(),
                   dir.filePath(QStringLiteral("settings.ini")),
                   primaryScreenWidth(),
                   {},
                   &hooks});
    // The start-up notice of a small screen is shot with the other messages.
    hooks.answer = [](int, const QString&) { return QString(); };
    frmMain main(state);
    if (!main.Form_Load())
        return 1;
    hooks.answer = nullptr;
    main.show();
    main.DiscSelect(0);
    main.rows->txtComments[1]->setFocus();
    shoot(&main, prefix + QStringLiteral("main"));
    main.lblTotlen_Click();
    shoot(&main, prefix + QStringLiteral("main-time-free"));
    main.lblTotlen_Click();

    // Message boxes of every kind, the long ones included.
    const QList<std::pair<int, QString>> messages = {
        {1, QStringLiteral("You must enter a title.")},
        {2, QStringLiteral("This program runs best in 1152x864 or higher.\rYour compilations have "
                           "been limited to 19 tracks each.")},
        {3, QStringLiteral("Discs with more than 25 tracks are unsupported.")},
        {4, QStringLiteral("You must first load a disc")},
        {5, QStringLiteral("Do you want to make a disc from the data you have entered this far?")},
        {6, QString()},
        {1, QStringLiteral("The file '/home/anna/Music/Platterbook/Data/index.txt' was changed "
                           "outside Platterbook, so nothing was saved. The catalogue is read "
                           "again: please repeat what you did.")},
    };
    int n = 0;
    for (const auto& [kind, text] : messages) {
        frmMsgbox box(&main, kind, text);
        box.centreOnScreen();
        box.show();
        shoot(&box, prefix + QStringLiteral("message-%1").arg(++n));
    }

    // The dialogs, each opened by its button and shot while it is open.
    const auto shootDialog = [&](PictureButton* opener, const QString& name,
                                 const std::function<void(QWidget*)>& prepare = {}) {
        whenModal([&, name, prepare](QWidget* dialog) {
            if (prepare)
                prepare(dialog);
            shoot(dialog, prefix + name);
            dialog->close();
            if (auto* d = qobject_cast<QDialog*>(dialog))
                d->reject();
        });
        emit opener->MouseUp(1, 0, 0, 0);
    };
    shootDialog(main.picRemd, QStringLiteral("remove-disc"));
    shootDialog(main.picRemt, QStringLiteral("remove-track"),
                [](QWidget* d) { qobject_cast<frmRemove*>(d)->lstRemove->setCurrentRow(3); });
    shootDialog(main.picOption, QStringLiteral("options"));
    shootDialog(main.picPrint, QStringLiteral("print"));
    shootDialog(main.picInfo, QStringLiteral("about"));
    // The search for "tide": the prompt answered, then the results.
    hooks.answer = [](int kind, const QString&) {
        return kind == 6 ? QStringLiteral("tide") : QString();
    };
    shootDialog(main.picSearch, QStringLiteral("search-results"),
                [](QWidget* d) { qobject_cast<frmRemove*>(d)->lstRemove->setCurrentRow(0); });
    hooks.answer = nullptr;
    // A track added to the shown disc, half typed.
    shootDialog(main.picNewt, QStringLiteral("track-entry"), [](QWidget* d) {
        auto* entry = qobject_cast<frmNewt*>(d);
        entry->txtLabel->setText(QStringLiteral("Tidewater"));
        entry->txtProducer->setText(QStringLiteral("The Low Harbour"));
        entry->txtTitle->setText(QStringLiteral("Harbour Song"));
        entry->txtTitle->setFocus();
    });

    emit main.picNavi->MouseUp(1, 0, 0, 0);
    if (main.navigator())
        shoot(main.navigator(), prefix + QStringLiteral("navigator"));

    // The disc of 25 tracks: on a small screen its rows scroll.
    main.DiscSelect(6);
    shoot(&main, prefix + QStringLiteral("main-25-tracks"));
    return g_failed ? 1 : 0;
}
