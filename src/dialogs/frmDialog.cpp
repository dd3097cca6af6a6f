#include "dialogs/frmDialog.h"

#include "dialogs/PictureButton.h"
#include "store/Module1.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

void OpenMailLink()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + MaintainersMail));
}

frmDialog::frmDialog(QWidget* owner)
    : RoundedWindow(QStringLiteral("about"), QSize(440, 148), 16, owner)
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
}

void frmDialog::picLink_MouseUp(int, int, float X, float Y)
{
    if (picLink->release(X, Y))
        OpenMailLink();
}

bool frmDialog::Form_KeyPress(int keyAscii)
{
    if (keyAscii == 13) {
        accept();
        return true;
    }
    return keyAscii == 27; // Escape does nothing here
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
