#pragma once

#include "dialogs/Chrome.h"

class Module1;
class PictureButton;
class QLabel;
class QLineEdit;

// The program's own message box: notices, warnings, yes/no questions and the
// search prompt. The caller sets MsgText and MsgKind and calls Show(); answers
// come back in MsgAnswer.
class frmMsgbox : public RoundedWindow
{
    Q_OBJECT
public:
    frmMsgbox(Module1& state, QWidget* owner);

    // Shows the box for the state's MsgKind and MsgText, modal to the whole
    // program, and returns when it has closed.
    static void Show(Module1& state, QWidget* owner);

    // Shortcuts for callers: a notice, and a yes/no question that is consent
    // only when answered "yes" (Enter or Escape give no answer).
    static void tell(Module1& state, QWidget* owner, int kind, const QString& text);
    static bool askYes(Module1& state, QWidget* owner, const QString& text);

    void picOkay_MouseUp(int Button, int Shift, float X, float Y);
    void picCancel_MouseUp(int Button, int Shift, float X, float Y);
    void picYes_MouseUp(int Button, int Shift, float X, float Y);
    void picNo_MouseUp(int Button, int Shift, float X, float Y);
    void picSearch_MouseUp(int Button, int Shift, float X, float Y);

    bool Form_KeyPress(int keyAscii) override;

    // Controls, named as the window knows them (tests look at them).
    QLabel* lblCaption;
    QLineEdit* txtSearch;
    QWidget* picCrit;
    QWidget* picInfo;
    QWidget* picExclam;
    QWidget* picQuest;
    PictureButton* picYes;
    PictureButton* picNo;
    PictureButton* picOkay;
    PictureButton* picCancel;
    PictureButton* picSearch;

    static inline const QString SearchPrompt = QStringLiteral("Search for what?");

private:
    void showEvent(QShowEvent* event) override;
    void Form_Load();
    void fitText();

    Module1& m_state;
};
