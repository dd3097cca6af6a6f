#include "main/Screenres.h"
#include "main/SessionEnd.h"
#include "main/frmMain.h"
#include "store/Module1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    setUpApplication();
    // The catalogue lives in Data beside the program; the settings in the
    // user's own store.
    Module1 state({QCoreApplication::applicationDirPath(), QString(), primaryScreenWidth()});
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
    window.show();
    return app.exec();
}
