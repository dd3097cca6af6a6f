#include "navigator/frmNavi.h"

#include "dialogs/ElidedLabel.h"
#include "dialogs/PictureButton.h"
#include "store/Module1.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QScreen>

frmNavi::frmNavi(Module1& state)
    : RoundedWindow(QStringLiteral("navi"), QSize(212, 82), 18), m_state(state)
{
    setWindowTitle(QStringLiteral("Navigator"));
    setStyleSheet(dialogStyleSheet());
    setStretchBand(300, 586);
    lstNavi = new QListWidget(this);
    lstNavi->setObjectName(QStringLiteral("lstNavi"));
    lstNavi->setAccessibleName(QStringLiteral("Discs"));
    lstNavi->setFrameShape(QFrame::NoFrame);
    lstNavi->setUniformItemSizes(true);
    ElidingDelegate::applyTo(lstNavi);
    lstNavi->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstNavi->setStyleSheet(QStringLiteral(
        "QListWidget { background: #1a2130; color: #e8edf4; border: none; outline: none; }"
        "QListWidget::item { height: 16px; padding-left: 3px; }"
        "QListWidget::item:selected { background: #f2a93b; color: #2a1a05; }"));
    lstNavi->installEventFilter(this);
    connect(lstNavi, &QListWidget::itemDoubleClicked, this, [this] { lstNavi_DblClick(); });

    picNavibot = new Picture(QStringLiteral("navibot"), this);
    picNavibot->resize(212, 48);
    picClose = new PictureButton(QStringLiteral("close"), QSize(81, 26), picNavibot);
    picClose->move(64, 16);
    picClose->setAccessibleName(QStringLiteral("Close"));
    picClose->setToolTip(QStringLiteral("Hide the navigator"));
    connect(picClose, &PictureButton::MouseUp, this, &frmNavi::picClose_MouseUp);

    // Form_Load: sizing, then the discs.
    sizeToDiscs();
    for (int row = 0; row < m_state.DiscCount; ++row)
        lstNavi->addItem(m_state.Discs.at(row).name);
    placeAtTwips(600, 1800);
}

void frmNavi::sizeToDiscs()
{
    // One 16-pixel line a disc, but never taller than the screen: past that the
    // list scrolls.
    int height = 16 * m_state.DiscCount + 82;
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen)
        height = std::min(height, screen->availableGeometry().height());
    resizeWindow(212, height);
    lstNavi->setGeometry(28, 24, 161, height - 78);
    picNavibot->move(0, height - 48);
}

void frmNavi::cmdRefresh()
{
    sizeToDiscs();
    if (m_state.DiscRemoved == 1) {
        if (m_state.RemovedDisc >= 0 && m_state.RemovedDisc < lstNavi->count())
            delete lstNavi->takeItem(m_state.RemovedDisc);
    } else if (lstNavi->count() != m_state.DiscCount && m_state.DiscCount > 0) {
        lstNavi->addItem(m_state.Discs.at(m_state.DiscCount - 1).name);
    }
}

void frmNavi::refill()
{
    sizeToDiscs();
    m_marked = -1;
    lstNavi->clear();
    for (int row = 0; row < m_state.DiscCount; ++row)
        lstNavi->addItem(m_state.Discs.at(row).name);
}

void frmNavi::markShown(int row)
{
    const auto mark = [this](int r, bool on) {
        QListWidgetItem* item = r >= 0 && r < lstNavi->count() ? lstNavi->item(r) : nullptr;
        if (!item)
            return;
        QFont font = lstNavi->font();
        font.setBold(on);
        item->setFont(font);
        item->setForeground(on ? QColor(0xf2, 0xa9, 0x3b) : lstNavi->palette().text().color());
    };
    mark(m_marked, false);
    mark(row, true);
    m_marked = row;
}

void frmNavi::lstNavi_DblClick()
{
    const int row = lstNavi->currentRow();
    if (row < 0)
        return;
    emit discChosen(row, lstNavi->item(row)->text());
}

void frmNavi::picClose_MouseUp(int, int, float X, float Y)
{
    if (picClose->release(X, Y))
        hide();
}

bool frmNavi::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstNavi && event->type() == QEvent::KeyPress) {
        const int code = keyAscii(static_cast<QKeyEvent*>(event));
        if (code == 13) {
            if (lstNavi->currentRow() >= 0 && lstNavi->currentItem()->isSelected())
                lstNavi_DblClick();
            return true;
        }
        static const QList<int> passed = {4, 5, 14, 16, 18, 19, 20, 23};
        if (passed.contains(code)) {
            emit shortcutTyped(code);
            return true;
        }
        return code == 3; // Ctrl+C does nothing here, not even a copy
    }
    return QDialog::eventFilter(watched, event);
}
