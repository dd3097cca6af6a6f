#include "main/CommandLine.h"
#include "main/Screenres.h"
#include "main/SessionEnd.h"
#include "main/Terminal.h"
#include "main/frmMain.h"
#include "store/Module1.h"

#include <QApplication>
#include <QTimer>

namespace {

// Ends the program once the window it watches has painted itself.
class FirstFrame : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    // The command line first: help, the version and a wrong option need no
    // window and no display.
    QCoreApplication::setApplicationName(QStringLiteral("Platterbook"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PLATTERBOOK_VERSION));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine line = readCommandLine(arguments);
    if (line.action == CommandLine::Done)
        return line.exitCode;
    // The catalogue: the folder asked for, Data beside a portable program, or
    // Data in the user's own data folder; the settings in the user's store.
    const auto environment = [&line] {
        const QString programDir = QCoreApplication::applicationDirPath();
        return Environment{
            programDir, QString(), primaryScreenWidth(),
            line.dataDir.isEmpty()
                ? catalogueFolder(programDir, QStringLiteral(PLATTERBOOK_INSTALLED_IN))
                : line.dataDir};
    };
    if (line.action != CommandLine::OpenWindows)
        return runOnTerminal(argc, argv, line, environment);

    QApplication app(argc, argv);
    setUpApplication();
    Module1 state(environment());
    frmMain window(state);
    bool ended = false;
    QObject::connect(&window, &frmMain::programEnded, &app, [&] {
        ended = true;
        QCoreApplication::exit(0);
    });
    // Logout, shutdown, a closed terminal: what was typed is written first.
    SessionEnd sessionEnd(window);
    QObject::connect(&sessionEnd, &SessionEnd::endRequested, &window, &frmMain::programEnded);
    if (!window.Form_Load() || ended)
        return 0;
    // For the benchmarks (bench/run): end once the first frame is painted.
    if (qEnvironmentVariableIsSet("PLATTERBOOK_EXIT_AFTER_FIRST_FRAME"))
        window.installEventFilter(new FirstFrame(&window));
    window.show();
    return app.exec();
}
