#pragma once

#include "dialogs/Chrome.h"

class PictureButton;
class QLabel;

class Module1;

// Opens a new mail message to the program's maintainers (their address is kept
// in Module1.h); false when no mail program answers.
bool OpenMailLink();

// The about box: a picture with the program's text and a link that starts a
// mail to the maintainers. A click on it or Enter closes it.
class frmDialog : public RoundedWindow
{
    Q_OBJECT
public:
    frmDialog(Module1& state, QWidget* owner);

    void picLink_MouseUp(int Button, int Shift, float X, float Y);
    bool Form_KeyPress(QKeyCombination key) override;

    PictureButton* picLink;
    QLabel* lblFolder; // the catalogue's folder

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Module1& m_state;
    bool m_pressed = false;
};
