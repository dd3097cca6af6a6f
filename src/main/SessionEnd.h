#pragma once

#include <QObject>

class frmMain;
class QSocketNotifier;

// The ways the program ends without Quit: on Linux a signal (SIGTERM at
// logout or shutdown, SIGHUP from a closed terminal, SIGINT from Ctrl+C), the
// session manager's request to save before logout, and the display going
// away; on Windows the end of the session (WM_QUERYENDSESSION and
// WM_ENDSESSION) and the console's Ctrl+C and close. In each, comments typed
// and not yet written are written first. One while the program runs.
class SessionEnd : public QObject
{
    Q_OBJECT
public:
    explicit SessionEnd(frmMain& window);
    ~SessionEnd() override;

    // Writes what was typed, lets the catalogue go and asks for the end.
    void endNow();

signals:
    // The program is to end, after a signal; its comments are written.
    void endRequested();

private:
    void signalled();

    frmMain& m_window;
    QSocketNotifier* m_notifier = nullptr;
};
