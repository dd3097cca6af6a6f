#include "main/SessionEnd.h"

#include "main/frmMain.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cstdlib>

#ifdef Q_OS_WIN
#include <QAbstractNativeEventFilter>

#include <windows.h>

namespace {

frmMain* g_window = nullptr;
SessionEnd* g_session = nullptr;

// Windows asks whether the session may end (WM_QUERYENDSESSION) and then
// ends it (WM_ENDSESSION): what was typed is written at the first, and the
// catalogue is let go at the second. Qt goes on with both.
class EndOfSession : public QAbstractNativeEventFilter
{
public:
    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override
    {
        const MSG* msg = static_cast<const MSG*>(message);
        if (g_window && (msg->message == WM_QUERYENDSESSION ||
                         (msg->message == WM_ENDSESSION && msg->wParam))) {
            g_window->saveForExit();
            if (msg->message == WM_ENDSESSION)
                g_window->releaseCatalogue();
        }
        return false;
    }
};

// Ctrl+C, Ctrl+Break, the console closed, logging off: the handler runs on
// a thread of its own, so the work is handed to the window's thread, and
// the console waits for it.
BOOL WINAPI onConsole(DWORD)
{
    if (!g_session)
        return FALSE;
    QMetaObject::invokeMethod(g_session, &SessionEnd::endNow, Qt::BlockingQueuedConnection);
    return TRUE;
}

} // namespace

SessionEnd::SessionEnd(frmMain& window) : m_window(window)
{
    g_window = &window;
    g_session = this;
    static EndOfSession filter;
    QCoreApplication::instance()->installNativeEventFilter(&filter);
    ::SetConsoleCtrlHandler(onConsole, TRUE);
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(gui, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { m_window.saveForExit(); });
}

SessionEnd::~SessionEnd()
{
    ::SetConsoleCtrlHandler(onConsole, FALSE);
    g_window = nullptr;
    g_session = nullptr;
}

#else
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A signal handler may only write to a descriptor; the event loop reads the
// other end and does the work. These live outside any object because a
// signal handler and an exit handler can reach nothing else.
int g_wakeUp[2] = {-1, -1};
frmMain* g_window = nullptr;

void onSignal(int number)
{
    const char byte = char(number);
    [[maybe_unused]] const ssize_t written = ::write(g_wakeUp[0], &byte, 1);
}

// The display server gone, the window system ends the program with exit():
// the last chance to write what was typed.
void onExit()
{
    if (!g_window)
        return;
    g_window->saveForExit();
    g_window->releaseCatalogue();
}

} // namespace

SessionEnd::SessionEnd(frmMain& window) : m_window(window)
{
    g_window = &window;
    static const bool exitHook = std::atexit(onExit) == 0;
    Q_UNUSED(exitHook);
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_wakeUp) == 0) {
        m_notifier = new QSocketNotifier(g_wakeUp[1], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &SessionEnd::signalled);
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int number : {SIGTERM, SIGHUP, SIGINT})
            ::sigaction(number, &action, nullptr);
    }
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(gui, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { m_window.saveForExit(); });
}

SessionEnd::~SessionEnd()
{
    g_window = nullptr;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    for (const int number : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(number, &action, nullptr);
    delete m_notifier;
    for (int& end : g_wakeUp) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

void SessionEnd::signalled()
{
    char byte = 0;
    [[maybe_unused]] const ssize_t got = ::read(g_wakeUp[1], &byte, 1);
    endNow();
}
#endif

void SessionEnd::endNow()
{
    m_window.saveForExit();
    m_window.releaseCatalogue();
    emit endRequested();
}
