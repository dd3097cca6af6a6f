#include "main/CommandLine.h"
#include "main/Screenres.h"
#include "main/SessionEnd.h"
#include "main/Terminal.h"
#include "main/frmMain.h"
#include "store/Module1.h"

#include <QApplication>
#include <QTimer>

#ifdef Q_OS_WIN
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {

#ifdef Q_OS_WIN
// A program of the window subsystem has no console of its own: what the
// command line prints goes to the console it was started from, unless it is
// redirected, and byte for byte (no LF made CR LF).
void useStartingConsole()
{
    const auto missing = [](DWORD which) {
        const HANDLE handle = ::GetStdHandle(which);
        return handle == nullptr || handle == INVALID_HANDLE_VALUE;
    };
    if ((missing(STD_OUTPUT_HANDLE) || missing(STD_ERROR_HANDLE)) &&
        ::AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (missing(STD_OUTPUT_HANDLE) || _fileno(stdout) < 0)
            std::freopen("CONOUT$", "w", stdout);
        if (missing(STD_ERROR_HANDLE) || _fileno(stderr) < 0)
            std::freopen("CONOUT$", "w", stderr);
    }
    _setmode(_fileno(stdout), _O_BINARY);
}
#endif

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
#ifdef Q_OS_WIN
    if (argc > 1)
        useStartingConsole();
#endif
    QStringList arguments;
#ifdef Q_OS_WIN
    // The arguments as typed, not as the local code page can hold them.
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    for (int i = 0; i < count; ++i)
        arguments.append(QString::fromWCharArray(wide[i]));
    ::LocalFree(wide);
#else
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
#endif
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
