#include "main/Screenres.h"

#include "dialogs/frmMsgbox.h"
#include "store/Module1.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QPainter>
#include <QScreen>

bool Screenres(Module1& state, QWidget* owner, int* MainHeight)
{
    const QString width = QString::number(state.environment().screenWidth);
    const QString best = QStringLiteral("This program runs best in 1152x864 or higher.");
    if (width == QLatin1String("640")) {
        frmMsgbox::tell(
            state, owner, 2,
            best + u'\r' +
                QStringLiteral("The program will not run in 640x480 and will now quit."));
        return false;
    }
    const int limit = width == QLatin1String("800") ? 19 : width == QLatin1String("960") ? 22 : 25;
    state.catalogue().setTrackLimit(limit);
    *MainHeight = limit == 19 ? 8790 : 9150;
    if (limit == 25)
        return true;
    frmMsgbox::tell(state, owner, 2,
                    best + u'\r' + QStringLiteral("Your compilations have been limited to ") +
                        QString::number(limit) + QStringLiteral(" tracks each."));
    return true;
}

int primaryScreenWidth()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}

void loadShippedFaces()
{
    // Linux has them from its font packages; the Windows build carries them
    // in a folder beside the program, since few Windows machines have them.
    const QDir faces(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"));
    for (const QString& name : faces.entryList({QStringLiteral("*.otf"), QStringLiteral("*.ttf")}))
        QFontDatabase::addApplicationFont(faces.filePath(name));
}

void setUpApplication()
{
    // The art is compiled into the window library; a static library's
    // resources are registered by hand.
    Q_INIT_RESOURCE(art);
    // The settings store names its application itself; the user's data folder
    // is named after the program alone (~/.local/share/Platterbook).
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName(QStringLiteral("Platterbook"));
    // Metric-compatible faces where the designed ones are missing.
    loadShippedFaces();
    QFont::insertSubstitution(QStringLiteral("Bookman Old Style"), QStringLiteral("URW Bookman"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont font(QStringLiteral("Bookman Old Style"), 9);
    font.setWeight(QFont::Light);
    QApplication::setFont(font);
    // Every window, and the task bar, shows the program's record, drawn at
    // the size asked for when it is asked for.
#ifdef PLATTERBOOK_PNG_ART
    QIcon icon;
    for (const char* scale : {"1", "1.25", "1.5", "2"})
        icon.addFile(QStringLiteral(":/art/platterbook@%1.png").arg(QLatin1String(scale)));
    QApplication::setWindowIcon(icon);
#else
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/platterbook.svg")));
#endif
}
