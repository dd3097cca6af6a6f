#include "options/frmOption.h"

#include "dialogs/PictureButton.h"
#include "dialogs/frmMsgbox.h"
#include "store/Module1.h"
#include "store/TimeText.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

frmOption::frmOption(Module1& state, QWidget* owner)
    : RoundedWindow(QStringLiteral("option"), QSize(340, 200), 18, owner), m_state(state)
{
    setWindowTitle(QStringLiteral("Options"));
    setObjectName(QStringLiteral("frmOption"));
    setStyleSheet(dialogStyleSheet());
    QFont bold = font();
    bold.setWeight(QFont::DemiBold);

    lblGeneral = new QLabel(QStringLiteral("General"), this);
    lblGeneral->setGeometry(21, 12, 150, 18);
    lblGeneral->setFont(bold);
    lblNavistart = new QLabel(QStringLiteral("Open Navigator at Startup"), this);
    lblNavistart->setGeometry(21, 32, 134, 36);
    lblNavistart->setWordWrap(true);
    chkNavi = new QCheckBox(this);
    chkNavi->setGeometry(160, 33, 16, 16);
    chkNavi->setAccessibleName(lblNavistart->text());

    Frame1 = new QFrame(this);
    Frame1->setGeometry(186, 10, 2, 136);
    Frame1->setStyleSheet(QStringLiteral("background: #10151e; border-right: 1px solid #52637f;"));

    lblCurrent = new QLabel(QStringLiteral("Current Disc"), this);
    lblCurrent->setGeometry(200, 12, 130, 18);
    lblCurrent->setFont(bold);
    lblDisclen = new QLabel(QStringLiteral("Disc Length"), this);
    lblDisclen->setGeometry(200, 34, 70, 18);
    txtDisclen = new QLineEdit(this);
    txtDisclen->setGeometry(270, 32, 60, 22);
    txtDisclen->setAccessibleName(lblDisclen->text());
    txtDisclen->setToolTip(QStringLiteral("Hours, minutes and seconds, for example 1:14:00"));
    lblMono = new QLabel(QStringLiteral("Mono disc"), this);
    lblMono->setGeometry(200, 60, 100, 18);
    chkMono = new QCheckBox(this);
    chkMono->setGeometry(308, 61, 16, 16);
    chkMono->setAccessibleName(lblMono->text());
    chkMono->setToolTip(QStringLiteral("A mono disc holds twice the time"));
    chkMono->installEventFilter(this);

    picOkay = new PictureButton(QStringLiteral("okay"), QSize(81, 26), this);
    picOkay->move(54, 167);
    picOkay->setAccessibleName(QStringLiteral("Okay"));
    picCancel = new PictureButton(QStringLiteral("cancel"), QSize(81, 26), this);
    picCancel->move(210, 167);
    picCancel->setAccessibleName(QStringLiteral("Cancel"));
    connect(picOkay, &PictureButton::MouseUp, this, &frmOption::picOkay_MouseUp);
    connect(picCancel, &PictureButton::MouseUp, this, &frmOption::picCancel_MouseUp);
    // Enter and Escape as in the other dialogs.
    setKeyButtons(picOkay, picCancel);
    // A click on a caption is a click on its box.
    for (QLabel* caption : {lblNavistart, lblMono}) {
        caption->setCursor(Qt::PointingHandCursor);
        caption->installEventFilter(this);
    }

    // The length is taken when the focus leaves its box for another control.
    m_focusWatch =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* from, QWidget* to) {
            if (from == txtDisclen && to && to->window() == this)
                QMetaObject::invokeMethod(this, &frmOption::txtDisclen_LostFocus,
                                          Qt::QueuedConnection);
        });

    Form_Load();
}

frmOption::~frmOption()
{
    disconnect(m_focusWatch);
}

bool frmOption::discShown() const
{
    return m_state.CurrentDisc >= 0 && m_state.CurrentDisc < m_state.DiscCount &&
           !m_state.DiscPath.isEmpty();
}

void frmOption::Form_Load()
{
    if (!discShown()) {
        chkMono->setEnabled(false);
        txtDisclen->setEnabled(false);
        for (QLabel* caption : {lblMono, lblDisclen, lblCurrent})
            caption->setEnabled(false);
    }
    const QString NaviSetting = m_state.settings().navi();
    const QString MonoSetting =
        discShown() ? m_state.settings().mono(m_state.Discs.at(m_state.CurrentDisc).name)
                    : QString();
    // The shown disc's length as stored, or as showing the disc took it.
    m_length = discShown() ? timetext::parse(m_state.settings().discLength(
                                                 m_state.Discs.at(m_state.CurrentDisc).name))
                                 .value_or(m_state.DiscLength)
                           : m_state.DiscLength;
    chkNavi->setChecked(NaviSetting == QLatin1String("1"));
    chkMono->setChecked(MonoSetting == QLatin1String("1"));
    txtDisclen->setText(timetext::format(m_length));
}

bool frmOption::takeLength()
{
    const std::optional<int> length = timetext::parse(txtDisclen->text());
    if (length) {
        m_length = *length;
        return true;
    }
    if (m_refusing)
        return false;
    m_refusing = true;
    frmMsgbox::tell(m_state, parentWidget(), 1,
                    QStringLiteral("'%1' is not a disc length. Enter hours, minutes and seconds, "
                                   "for example 1:14:00.")
                        .arg(txtDisclen->text()));
    txtDisclen->setFocus();
    txtDisclen->selectAll();
    m_refusing = false;
    return false;
}

void frmOption::txtDisclen_LostFocus()
{
    if (txtDisclen->isEnabled())
        takeLength();
}

void frmOption::chkMono_MouseUp()
{
    if (!chkMono->isEnabled())
        return;
    if (!takeLength()) {
        // The length cannot follow the mark, so the mark stays as it was.
        chkMono->setChecked(!chkMono->isChecked());
        return;
    }
    const qint64 length = chkMono->isChecked() ? qint64(m_length) * 2 : m_length / 2;
    txtDisclen->setText(timetext::format(length));
    takeLength();
}

bool frmOption::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == lblNavistart || watched == lblMono) &&
        event->type() == QEvent::MouseButtonRelease &&
        static_cast<QWidget*>(watched)->rect().contains(
            static_cast<QMouseEvent*>(event)->position().toPoint())) {
        QCheckBox* box = watched == lblMono ? chkMono : chkNavi;
        if (box->isEnabled()) {
            box->toggle();
            if (box == chkMono)
                QMetaObject::invokeMethod(this, &frmOption::chkMono_MouseUp, Qt::QueuedConnection);
        }
        return true;
    }
    if ((watched == lblNavistart || watched == lblMono) &&
        event->type() == QEvent::MouseButtonPress)
        return true; // a caption is not the window's surface
    // Every mouse release over the mono box, once the box has its new state.
    if (watched == chkMono && event->type() == QEvent::MouseButtonRelease &&
        chkMono->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
        QMetaObject::invokeMethod(this, &frmOption::chkMono_MouseUp, Qt::QueuedConnection);
    // Space on the mono box, as the box takes it (on its release).
    if (watched == chkMono && event->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space &&
        !static_cast<QKeyEvent*>(event)->isAutoRepeat())
        QMetaObject::invokeMethod(this, &frmOption::chkMono_MouseUp, Qt::QueuedConnection);
    return QDialog::eventFilter(watched, event);
}

void frmOption::picOkay_MouseUp(int, int, float X, float Y)
{
    if (!picOkay->release(X, Y))
        return;
    if (discShown() && !takeLength())
        return;
    m_state.settings().setNavi(chkNavi->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    accept();
    if (discShown())
        frmMsgbox::report(
            m_state, parentWidget(),
            m_state.catalogue().setDiscOptions(txtDisclen->text(), chkMono->isChecked()));
}

void frmOption::picCancel_MouseUp(int, int, float X, float Y)
{
    if (picCancel->release(X, Y))
        reject();
}
