#include "dialogs/frmMsgbox.h"

#include "dialogs/PictureButton.h"
#include "store/Module1.h"

#include <QLabel>
#include <QLineEdit>

namespace {

QWidget* icon(const QString& art, QWidget* parent)
{
    auto* picture = new Picture(art, parent);
    picture->setGeometry(18, 18, 32, 32);
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    picture->hide();
    return picture;
}

PictureButton* button(const QString& art, int left, const QString& name, QWidget* parent)
{
    auto* b = new PictureButton(art, QSize(81, 26), parent);
    b->move(left, 98);
    b->setAccessibleName(name);
    b->hide();
    return b;
}

} // namespace

frmMsgbox::frmMsgbox(QWidget* owner, int kind, const QString& text, int errorNumber)
    : RoundedWindow(QStringLiteral("msgbox"), QSize(340, 130), 18, owner), MsgKind(kind),
      MsgText(text), ErrorNumber(errorNumber)
{
    setWindowTitle(QStringLiteral("Platterbook"));
    setStretchBand(40, 80);
    lblCaption = new QLabel(this);
    lblCaption->setGeometry(60, 20, 265, 58);
    lblCaption->setWordWrap(true);
    lblCaption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont font(QStringLiteral("Bookman Old Style"), 9);
    font.setWeight(QFont::Light);
    lblCaption->setFont(font);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));

    txtSearch = new QLineEdit(this);
    txtSearch->setMaxLength(TextBoxLimit);

    txtSearch->setGeometry(20, 48, 297, 21);
    txtSearch->setAccessibleName(QStringLiteral("Search text"));
    txtSearch->hide();

    picCrit = icon(QStringLiteral("icon_crit"), this);
    picInfo = icon(QStringLiteral("icon_info"), this);
    picExclam = icon(QStringLiteral("icon_exclam"), this);
    picQuest = icon(QStringLiteral("icon_quest"), this);

    picYes = button(QStringLiteral("yes"), 53, QStringLiteral("Yes"), this);
    picSearch = button(QStringLiteral("search"), 53, QStringLiteral("Search"), this);
    picOkay = button(QStringLiteral("okay"), 128, QStringLiteral("Okay"), this);
    picNo = button(QStringLiteral("no"), 200, QStringLiteral("No"), this);
    picCancel = button(QStringLiteral("cancel"), 200, QStringLiteral("Cancel"), this);
    setKeyButtons(picOkay, picCancel);
    connect(picYes, &PictureButton::MouseUp, this, &frmMsgbox::picYes_MouseUp);
    connect(picNo, &PictureButton::MouseUp, this, &frmMsgbox::picNo_MouseUp);
    connect(picOkay, &PictureButton::MouseUp, this, &frmMsgbox::picOkay_MouseUp);
    connect(picCancel, &PictureButton::MouseUp, this, &frmMsgbox::picCancel_MouseUp);
    connect(picSearch, &PictureButton::MouseUp, this, &frmMsgbox::picSearch_MouseUp);

    Form_Load();
}

void frmMsgbox::Form_Load()
{
    QString text = MsgText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    switch (MsgKind) {
    case 1:
        picCrit->show();
        lblCaption->setText(text);
        picOkay->show();
        break;
    case 2:
        if (ErrorNumber == 76 || ErrorNumber == 53) {
            // The long first-run notes get a smaller font and a taller label.
            QFont font = lblCaption->font();
            font.setPointSize(8);
            lblCaption->setFont(font);
            lblCaption->setGeometry(lblCaption->x(), 14, lblCaption->width(), 64);
            ErrorNumber = 0;
        }
        picInfo->show();
        lblCaption->setText(text);
        picOkay->show();
        break;
    case 3:
        picExclam->show();
        lblCaption->setText(text);
        picOkay->show();
        break;
    case 4:
        picQuest->show();
        lblCaption->setText(text);
        picOkay->show();
        break;
    case 5:
        picQuest->show();
        lblCaption->setText(text);
        picYes->show();
        picNo->show();
        setFocusPolicy(Qt::ClickFocus); // see showEvent
        break;
    case 6:
        MsgAnswer.clear();
        lblCaption->move(20, lblCaption->y());
        lblCaption->setText(SearchPrompt);
        txtSearch->show();
        picSearch->show();
        picCancel->show();
        txtSearch->setFocus();
        break;
    default:
        break;
    }
    setAccessibleDescription(MsgKind == 6 ? SearchPrompt : text);
    fitText();
}

void frmMsgbox::showEvent(QShowEvent* event)
{
    RoundedWindow::showEvent(event);
    // No answer is chosen as a question opens: the box holds the focus
    // itself, so Space answers nothing until Tab reaches a button.
    if (MsgKind == 5)
        setFocus();
}

void frmMsgbox::fitText()
{
    // A path may break after its separators, as a sentence after its words.
    QString shown = lblCaption->text();
    shown.replace(u'/', QStringLiteral("/\u200B")).replace(u'\\', QStringLiteral("\\\u200B"));
    lblCaption->setText(shown);
    // A text longer than its label makes the label and the box taller; the
    // buttons move down with the box's lower edge.
    const int needed = lblCaption->heightForWidth(lblCaption->width());
    const int grow = needed - lblCaption->height();
    if (grow <= 0)
        return;
    lblCaption->resize(lblCaption->width(), needed);
    for (QWidget* button : {static_cast<QWidget*>(picYes), static_cast<QWidget*>(picNo),
                            static_cast<QWidget*>(picOkay), static_cast<QWidget*>(picCancel),
                            static_cast<QWidget*>(picSearch)})
        button->move(button->x(), button->y() + grow);
    resizeWindow(width(), height() + grow);
}

QString frmMsgbox::ask(const Module1& program, QWidget* owner, int kind, const QString& text,
                       int errorNumber)
{
    if (TestHooks* hooks = program.hooks()) {
        hooks->messagesShown.append({kind, kind == 6 ? SearchPrompt : text});
        if (hooks->answer)
            return hooks->answer(kind, text);
    }
    frmMsgbox box(owner, kind, text, errorNumber);
    box.centreOnScreen();
    box.exec();
    return box.MsgAnswer;
}

void frmMsgbox::tell(const Module1& program, QWidget* owner, int kind, const QString& text)
{
    ask(program, owner, kind, text);
}

bool frmMsgbox::askYes(const Module1& program, QWidget* owner, const QString& text)
{
    return ask(program, owner, 5, text) == QLatin1String("yes");
}

bool frmMsgbox::report(Module1& program, QWidget* owner, const Change& change)
{
    if (!change.problem.isEmpty())
        tell(program, owner, 1, change.problem);
    if (change.changedOutside) {
        if (const QString problem = program.catalogue().reload(); !problem.isEmpty())
            tell(program, owner, 1, problem);
    }
    return change.done;
}

void frmMsgbox::picOkay_MouseUp(int, int, float X, float Y)
{
    if (picOkay->release(X, Y))
        accept();
}

void frmMsgbox::picCancel_MouseUp(int, int, float X, float Y)
{
    if (!picCancel->release(X, Y))
        return;
    if (MsgKind == 6)
        MsgAnswer.clear(); // a cancelled search asks for nothing
    reject();
}

void frmMsgbox::picYes_MouseUp(int, int, float X, float Y)
{
    if (!picYes->release(X, Y))
        return;
    MsgAnswer = QStringLiteral("yes");
    accept();
}

void frmMsgbox::picNo_MouseUp(int, int, float X, float Y)
{
    if (!picNo->release(X, Y))
        return;
    MsgAnswer = QStringLiteral("no");
    accept();
}

void frmMsgbox::picSearch_MouseUp(int, int, float X, float Y)
{
    if (!picSearch->release(X, Y))
        return;
    MsgAnswer = txtSearch->text();
    accept();
}

bool frmMsgbox::Form_KeyPress(QKeyCombination key)
{
    if (txtSearch->isVisible() && txtSearch->hasFocus()) {
        if (key == QKeyCombination(Qt::Key_Return)) {
            MsgAnswer = txtSearch->text();
            accept();
            return true;
        }
        if (key == QKeyCombination(Qt::Key_Escape)) {
            MsgAnswer.clear();
            reject();
            return true;
        }
        return false;
    }
    return RoundedWindow::Form_KeyPress(key);
}
