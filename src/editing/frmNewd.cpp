#include "editing/frmNewd.h"

#include "dialogs/PictureButton.h"
#include "dialogs/frmMsgbox.h"
#include "store/Module1.h"

#include <QLabel>
#include <QLineEdit>

frmNewd::frmNewd(Module1& state, QWidget* owner)
    : RoundedWindow(QStringLiteral("newd"), QSize(376, 129), 18, owner), m_state(state)
{
    setWindowTitle(QStringLiteral("New Disc"));
    setObjectName(QStringLiteral("frmNewd"));
    setStyleSheet(dialogStyleSheet());

    txtDisc = new QLineEdit(this);
    txtDisc->setMaxLength(TextBoxLimit);
    txtDisc->setGeometry(168, 20, 185, 22);
    txtDisc->setAccessibleName(QStringLiteral("Disc Title"));
    txtTracks = new QLineEdit(this);
    txtTracks->setMaxLength(TextBoxLimit);

    txtTracks->setGeometry(168, 52, 64, 22);
    txtTracks->setAccessibleName(QStringLiteral("Number of Tracks"));
    lblDisc = new QLabel(QStringLiteral("Disc Title"), this);
    lblDisc->setGeometry(22, 22, 140, 18);
    lblDisc->setBuddy(txtDisc);
    lblTracks = new QLabel(QStringLiteral("Number of Tracks"), this);
    lblTracks->setGeometry(22, 54, 140, 18);
    lblTracks->setBuddy(txtTracks);
    setTabOrder(txtDisc, txtTracks);

    picSave = addButton(QStringLiteral("save"), {64, 96}, {81, 26}, QStringLiteral("Save"),
                        QStringLiteral("Create the disc (Enter)"));
    picCancel = addButton(QStringLiteral("cancel"), {232, 96}, {81, 26}, QStringLiteral("Cancel"),
                          QStringLiteral("Cancel (Esc)"));
    setKeyButtons(picSave, picCancel);
    connect(picSave, &PictureButton::MouseUp, this, &frmNewd::picSave_MouseUp);
    connect(picCancel, &PictureButton::MouseUp, this, &frmNewd::picCancel_MouseUp);
}

bool frmNewd::refuse(int kind, const QString& text, QLineEdit* focus)
{
    frmMsgbox::tell(m_state, parentWidget(), kind, text);
    focus->setFocus();
    return false;
}

void frmNewd::picSave_MouseUp(int, int, float X, float Y)
{
    if (!picSave->release(X, Y))
        return;
    const QString name = txtDisc->text();
    const QString countText = txtTracks->text();
    if (const std::optional<Refusal> refusal = m_state.catalogue().refuseNewDisc(name, countText)) {
        refuse(refusal->kind, refusal->text, refusal->inCount ? txtTracks : txtDisc);
        return;
    }
    if (!frmMsgbox::report(m_state, parentWidget(), m_state.catalogue().addDisc(name, countText))) {
        txtDisc->setFocus();
        return;
    }
    txtDisc->clear();
    txtTracks->clear();
    hide();
    emit discCreated();
}

void frmNewd::picCancel_MouseUp(int, int, float X, float Y)
{
    if (picCancel->release(X, Y))
        hide();
}
