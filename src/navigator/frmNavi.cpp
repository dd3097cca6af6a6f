#include "navigator/frmNavi.h"

#include "dialogs/ElidedLabel.h"
#include "dialogs/PictureButton.h"
#include "store/Module1.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QListView>
#include <QScreen>

frmNavi::frmNavi(const Module1& state, QAbstractItemModel* discs)
    : RoundedWindow(QStringLiteral("navi"), QSize(212, 82), 18), m_state(state)
{
    setWindowTitle(QStringLiteral("Navigator"));
    setStyleSheet(dialogStyleSheet());
    setStretchBand(300, 586);
    lstNavi = new QListView(this);
    lstNavi->setModel(discs); // the main window's list: it follows the catalogue
    lstNavi->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstNavi->setObjectName(QStringLiteral("lstNavi"));
    lstNavi->setAccessibleName(QStringLiteral("Discs"));
    lstNavi->setFrameShape(QFrame::NoFrame);
    lstNavi->setUniformItemSizes(true);
    ElidingDelegate::applyTo(lstNavi);
    lstNavi->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstNavi->setStyleSheet(QStringLiteral(
        "QListView { background: #1a2130; color: #e8edf4; border: none; outline: none; }"
        "QListView::item { height: 16px; padding-left: 3px; }"
        "QListView::item:selected { background: #f2a93b; color: #2a1a05; }"));
    lstNavi->installEventFilter(this);
    connect(lstNavi, &QListView::doubleClicked, this, [this] { lstNavi_DblClick(); });

    picNavibot = new Picture(QStringLiteral("navibot"), this);
    picNavibot->resize(212, 48);
    picClose = new PictureButton(QStringLiteral("close"), QSize(81, 26), picNavibot);
    picClose->move(64, 16);
    picClose->setAccessibleName(QStringLiteral("Close"));
    picClose->setToolTip(QStringLiteral("Hide the navigator"));
    connect(picClose, &PictureButton::MouseUp, this, &frmNavi::picClose_MouseUp);

    // Form_Load: sizing; the discs are the list the main window keeps, and
    // the window follows it as discs come and go.
    for (const auto rowsChanged :
         {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(discs, rowsChanged, this, &frmNavi::cmdRefresh);
    connect(discs, &QAbstractItemModel::modelReset, this, &frmNavi::cmdRefresh);
    sizeToDiscs();
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
    // The list itself follows the main window's list of discs.
    sizeToDiscs();
}

void frmNavi::lstNavi_DblClick()
{
    const int row = lstNavi->currentIndex().row();
    if (row < 0)
        return;
    emit discChosen(row, lstNavi->currentIndex().data().toString());
}

void frmNavi::picClose_MouseUp(int, int, float X, float Y)
{
    if (picClose->release(X, Y))
        hide();
}

bool frmNavi::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstNavi && event->type() == QEvent::KeyPress) {
        const QKeyCombination key = keyOf(static_cast<QKeyEvent*>(event));
        if (key == QKeyCombination(Qt::Key_Return)) {
            if (lstNavi->currentIndex().isValid() &&
                lstNavi->selectionModel()->isSelected(lstNavi->currentIndex()))
                lstNavi_DblClick();
            return true;
        }
        static const QList<QKeyCombination> passed = {
            ctrl(Qt::Key_D), ctrl(Qt::Key_E), ctrl(Qt::Key_N), ctrl(Qt::Key_P),
            ctrl(Qt::Key_R), ctrl(Qt::Key_S), ctrl(Qt::Key_T), ctrl(Qt::Key_W),
            ctrl(Qt::Key_Y), ctrl(Qt::Key_Z), RedoKey};
        if (passed.contains(key)) {
            emit shortcutTyped(key);
            return true;
        }
        return key == ctrl(Qt::Key_C); // Ctrl+C does nothing here, not even a copy
    }
    return QDialog::eventFilter(watched, event);
}
