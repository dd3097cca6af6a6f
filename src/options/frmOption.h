#pragma once

#include "dialogs/Chrome.h"

class Module1;
class PictureButton;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;

// The options: open the navigator at start-up, and the shown disc's length and
// mono mark. Nothing is stored until Okay.
class frmOption : public RoundedWindow
{
    Q_OBJECT
public:
    frmOption(Module1& state, QWidget* owner);
    ~frmOption() override;

    void txtDisclen_LostFocus();
    void chkMono_MouseUp();
    void picOkay_MouseUp(int Button, int Shift, float X, float Y);
    void picCancel_MouseUp(int Button, int Shift, float X, float Y);

    QLabel* lblGeneral;
    QCheckBox* chkNavi;
    QLabel* lblNavistart;
    QFrame* Frame1;
    QLabel* lblCurrent;
    QLineEdit* txtDisclen;
    QLabel* lblDisclen;
    QCheckBox* chkMono;
    QLabel* lblMono;
    PictureButton* picOkay;
    PictureButton* picCancel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    bool discShown() const;
    // Takes the box's text as the length; tells the user and keeps the last
    // valid length when it is not a time.
    bool takeLength();

    Module1& m_state;
    int m_length = 0; // the length as the boxes hold it, seconds of the day
    bool m_refusing = false;
    QMetaObject::Connection m_focusWatch;
};
