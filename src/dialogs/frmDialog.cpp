#include "dialogs/frmDialog.h"

#include "dialogs/PictureButton.h"
#include "store/Module1.h"

#include "dialogs/ElidedLabel.h"
#include "dialogs/frmMsgbox.h"

#include <QDir>

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QSettings>
#include <QUrl>

bool hasMailProgram()
{
#if defined(Q_OS_WIN)
    // The program Windows starts for a mail link: the user's own choice,
    // where there is one, over the machine's.
    for (const char* root : {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"}) {
        const QSettings key(QLatin1String(root) +
                                QStringLiteral("\\Software\\Classes\\mailto\\shell\\open\\command"),
                            QSettings::NativeFormat);
        if (const QVariant command = key.value(QStringLiteral("Default")); command.isValid())
            return !command.toString().trimmed().isEmpty();
    }
    return false;
#elif defined(Q_OS_DARWIN)
    return true; // the system says so itself when the link is opened
#else
    // A freedesktop desktop opens a mail link in a browser when no mail
    // program is set up, or in nothing: ask it for its handler first.
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QStringLiteral("x-scheme-handler/mailto")});
    if (!query.waitForFinished(3000) || query.exitCode() != 0)
        return false;
    return !query.readAllStandardOutput().trimmed().isEmpty();
#endif
}

bool OpenMailLink()
{
    return hasMailProgram() &&
           QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + MaintainersMail));
}

frmDialog::frmDialog(Module1& state, QWidget* owner)
    : RoundedWindow(QStringLiteral("about"), QSize(440, 148), 16, owner), m_state(state)
{
    setWindowTitle(QStringLiteral("About Platterbook"));
    setObjectName(QStringLiteral("frmDialog"));
    setDraggable(false);
    setAccessibleDescription(QStringLiteral("Platterbook, a catalogue for your home-made disc "
                                            "compilations."));
    picLink = new PictureButton(QStringLiteral("link"), QSize(151, 16), this);
    picLink->move(68, 120);
    picLink->setAccessibleName(QStringLiteral("Mail the developers"));
    picLink->setToolTip(QStringLiteral("mailto:") + MaintainersMail);
    connect(picLink, &PictureButton::MouseUp, this, &frmDialog::picLink_MouseUp);
    // Which catalogue is open.
    const QString folder = QDir::toNativeSeparators(QDir::cleanPath(state.dataDir()));
    lblFolder = new ElidedLabel(QStringLiteral("Catalogue: ") + folder, this);
    lblFolder->setGeometry(222, 119, 206, 18);
    lblFolder->setToolTip(lblFolder->text());
    lblFolder->setStyleSheet(QStringLiteral("color: #9fb0c8;"));
    QFont small = lblFolder->font();
    small.setPointSize(8);
    lblFolder->setFont(small);
}

void frmDialog::picLink_MouseUp(int, int, float X, float Y)
{
    if (!picLink->release(X, Y) || OpenMailLink())
        return;
    // Nobody answers the link: the user gets the address to paste.
    QGuiApplication::clipboard()->setText(MaintainersMail);
    frmMsgbox::tell(m_state, this, 2,
                    QStringLiteral("No mail program is set up on this computer. The address %1 "
                                   "is copied: paste it into your mail.")
                        .arg(MaintainersMail));
}

bool frmDialog::Form_KeyPress(QKeyCombination key)
{
    if (key == QKeyCombination(Qt::Key_Return)) {
        accept();
        return true;
    }
    return key == QKeyCombination(Qt::Key_Escape); // Escape does nothing here
}

void frmDialog::mousePressEvent(QMouseEvent* event)
{
    // A click is the left button's.
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void frmDialog::mouseReleaseEvent(QMouseEvent* event)
{
    // A click on the window's own surface closes it.
    if (m_pressed && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()))
        accept();
    m_pressed = false;
    event->accept();
}
