#pragma once

#include "dialogs/Chrome.h"

class Module1;
class PictureButton;
struct Change;
class QLabel;
class QLineEdit;

// The program's own message box: notices (kinds 1 to 4), yes/no questions
// (5) and the search prompt (6). Every message of the program is asked
// through ask(), which returns the answer.
class frmMsgbox : public RoundedWindow
{
    Q_OBJECT
public:
    // ErrorNumber 53 or 76 gives the first-run notes their smaller print.
    frmMsgbox(QWidget* owner, int MsgKind, const QString& MsgText, int ErrorNumber = 0);

    // Shows the box, modal to the whole program, and returns its MsgAnswer
    // once it has closed: "yes", "no", the search text, or empty.
    static QString ask(const Module1& program, QWidget* owner, int MsgKind, const QString& MsgText,
                       int ErrorNumber = 0);
    // A notice, and a yes/no question that is consent only when answered
    // "yes" (Enter or Escape give no answer).
    static void tell(const Module1& program, QWidget* owner, int kind, const QString& text);
    static bool askYes(const Module1& program, QWidget* owner, const QString& text);
    // What a change came to, told the one way every window tells it: its
    // message, if any, and after a change from outside the catalogue read
    // again. True when the change is on disk.
    static bool report(Module1& program, QWidget* owner, const Change& change);

    void picOkay_MouseUp(int Button, int Shift, float X, float Y);
    void picCancel_MouseUp(int Button, int Shift, float X, float Y);
    void picYes_MouseUp(int Button, int Shift, float X, float Y);
    void picNo_MouseUp(int Button, int Shift, float X, float Y);
    void picSearch_MouseUp(int Button, int Shift, float X, float Y);

    bool Form_KeyPress(QKeyCombination key) override;

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

public:
    const int MsgKind;
    const QString MsgText;
    QString MsgAnswer;

private:
    int ErrorNumber;
};
