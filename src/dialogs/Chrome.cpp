#include "dialogs/Chrome.h"

#include "dialogs/PictureButton.h"

#include <QApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QWindow>

QString dialogStyleSheet()
{
    return QStringLiteral(
        "QLabel { color: #e8edf4; }"
        "QLabel:disabled { color: #6f7d92; }"
        "QLineEdit, QComboBox { background: #1a2130; color: #e8edf4; border: 1px solid #10151e;"
        "  border-radius: 3px; padding: 0 4px; selection-background-color: #f2a93b;"
        "  selection-color: #2a1a05; }"
        "QLineEdit:focus, QComboBox:focus { border-color: #f2a93b; }"
        "QLineEdit:disabled { color: #6f7d92; background: #242c3b; }"
        "QComboBox QAbstractItemView { background: #1a2130; color: #e8edf4;"
        "  selection-background-color: #f2a93b; selection-color: #2a1a05; }"
        "QListWidget { background: #1a2130; color: #e8edf4; border: 1px solid #10151e;"
        "  outline: none; }"
        "QListWidget::item:selected { background: #f2a93b; color: #2a1a05; }"
        "QCheckBox { color: #e8edf4; }"
        "QCheckBox::indicator { width: 13px; height: 13px; border: 1px solid #10151e;"
        "  border-radius: 2px; background: #1a2130; }"
        "QCheckBox::indicator:checked { background: #f2a93b; }"
        "QCheckBox::indicator:disabled { background: #242c3b; }"
        "QCheckBox:focus { outline: none; }"
        "QCheckBox::indicator:focus { border-color: #f2a93b; }"
        "QToolTip { background: #1a2130; color: #e8edf4; border: 1px solid #52637f;"
        "  padding: 2px 4px; }"
        "QScrollBar:vertical { background: #151b27; width: 10px; margin: 0; border: none; }"
        "QScrollBar:horizontal { background: #151b27; height: 10px; margin: 0; border: none; }"
        "QScrollBar::handle { background: #52637f; border-radius: 4px; margin: 1px; }"
        "QScrollBar::handle:vertical { min-height: 24px; }"
        "QScrollBar::handle:horizontal { min-width: 24px; }"
        "QScrollBar::handle:hover { background: #6b7e9c; }"
        "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; border: none; }"
        "QScrollBar::add-page, QScrollBar::sub-page { background: none; }"
        "QComboBox { combobox-popup: 0; }");
}

void useDesktopLook(QWidget* dialog)
{
    dialog->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    dialog->setPalette(QApplication::style()->standardPalette());
}

RoundedWindow::RoundedWindow(const QString& background, QSize size, int corner, QWidget* owner)
    : QDialog(owner, Qt::FramelessWindowHint | (owner ? Qt::Dialog : Qt::Window)),
      m_background(background), m_corner(corner)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizeGripEnabled(false);
    // A fixed size: a window manager offers neither maximising nor resizing.
    setFixedSize(size);
    applyShape();
    qApp->installEventFilter(new KeyPreview(this));
}

RoundedWindow::~RoundedWindow() = default;

QRegion RoundedWindow::roundedRegion(QSize size, int corner)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, size.width(), size.height()), corner / 2.0, corner / 2.0);
    return QRegion(path.toFillPolygon().toPolygon());
}

void RoundedWindow::applyShape()
{
    setMask(roundedRegion(size(), m_corner));
}

void RoundedWindow::resizeWindow(int width, int height)
{
    setFixedSize(width, height);
    applyShape();
}

void RoundedWindow::resizeEvent(QResizeEvent* event)

{
    QDialog::resizeEvent(event);
    applyShape();
    update();
}

void RoundedWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The picture is drawn at its own size from the top-left corner; a window
    // lower than its picture shows the top part of it.
    const QSize picture = art::size(m_background);
    const qreal dpr = devicePixelRatioF();
    if (picture.isEmpty()) {
        painter.fillRect(rect(), QColor(0x1d, 0x26, 0x33));
        return;
    }
    if (m_cache.isNull() || m_cache.devicePixelRatio() != dpr)
        m_cache = art::pixmap(m_background, dpr, QColor(0x1d, 0x26, 0x33));
    painter.fillRect(rect(), QColor(0x1d, 0x26, 0x33));
    const int extra = height() - picture.height();
    if (extra <= 0 || m_bandFrom < 0 || m_bandTo <= m_bandFrom || m_bandTo > picture.height()) {
        painter.drawPixmap(0, 0, m_cache);
    } else {
        // Taller than its picture: the band is repeated, without a seam, and
        // what lies below it moves down to the bottom edge.
        const auto rows = [&](int from, int to, qreal at) {
            painter.drawPixmap(QPointF(0, at), m_cache,
                               QRectF(0, from * dpr, m_cache.width(), (to - from) * dpr));
        };
        rows(0, m_bandFrom, 0);
        const int band = m_bandTo - m_bandFrom;
        for (int y = m_bandFrom; y < m_bandTo + extra; y += band)
            rows(m_bandFrom, std::min(m_bandTo, m_bandFrom + m_bandTo + extra - y), y);
        rows(m_bandTo, picture.height(), m_bandTo + extra);
    }
    // A fine outline along the cut softens the mask's stepped corners, with or
    // without a compositor.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 0, 150), 1.5));
    painter.setBrush(Qt::NoBrush);
    const qreal r = m_corner / 2.0;
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), r, r);
}

void RoundedWindow::placeAtTwips(int left, int top)
{
    move(twipsToPixels(left), twipsToPixels(top));
    keepOnScreen();
}

void RoundedWindow::centreOnScreen()
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
    keepOnScreen();
}

void RoundedWindow::centreOn(const QWidget* owner)
{
    if (!owner) {
        centreOnScreen();
        return;
    }
    const QRect frame = owner->frameGeometry();
    move(frame.center() - QPoint(width() / 2, height() / 2));
    keepOnScreen();
}

void RoundedWindow::keepOnScreen()
{
    const QScreen* screen = QGuiApplication::screenAt(frameGeometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen->availableGeometry();
    QPoint p = pos();
    p.setX(std::max(area.left(), std::min(p.x(), area.right() + 1 - width())));
    p.setY(std::max(area.top(), std::min(p.y(), area.bottom() + 1 - height())));
    move(p);
}

void RoundedWindow::mousePressEvent(QMouseEvent* event)
{
    // Only the window's own surface drags it, not a control on it (a label
    // passes its presses on to the window).
    const QWidget* child = childAt(event->position().toPoint());
    if (!m_draggable || (child && !child->property("surface").toBool())) {
        event->ignore();
        return;
    }
    // The window system moves the window where it can; a bare X server has no
    // one to do it, so the window follows the mouse itself.
    if (windowHandle() && windowHandle()->startSystemMove()) {
        event->accept();
        return;
    }
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    event->accept();
}

void RoundedWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging)
        move(event->globalPosition().toPoint() - m_dragOffset);
}

void RoundedWindow::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}

bool RoundedWindow::Form_KeyPress(QKeyCombination key)
{
    PictureButton* button = key == QKeyCombination(Qt::Key_Return)   ? m_enter
                            : key == QKeyCombination(Qt::Key_Escape) ? m_escape
                                                                     : nullptr;
    if (!button)
        return false;
    emit button->MouseUp(1, 0, 0, 0);
    return true;
}

void RoundedWindow::setKeyButtons(PictureButton* enter, PictureButton* escape)
{
    m_enter = enter;
    m_escape = escape;
}

PictureButton* RoundedWindow::addButton(const QString& art, QPoint at, QSize releaseArea,
                                        const QString& name, const QString& tip)
{
    auto* button = new PictureButton(art, releaseArea, this);
    button->move(at);
    button->setAccessibleName(name);
    button->setToolTip(tip.isEmpty() ? name : tip);
    return button;
}

QKeyCombination RoundedWindow::keyOf(const QKeyEvent* event)
{
    const Qt::Key key = event->key() == Qt::Key_Enter ? Qt::Key_Return : Qt::Key(event->key());
    return QKeyCombination(
        event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier), key);
}

void RoundedWindow::closeEvent(QCloseEvent* event)
{
    if (event->spontaneous() && m_escape && m_escape->isVisible()) {
        event->ignore();
        // Once Qt has finished refusing this close: a Cancel that closes the
        // window then closes it for good.
        QMetaObject::invokeMethod(
            this,
            [button = QPointer<PictureButton>(m_escape)] {
                if (button && button->isVisible())
                    emit button->MouseUp(1, 0, 0, 0);
            },
            Qt::QueuedConnection);
        return;
    }
    QDialog::closeEvent(event);
}

void RoundedWindow::keyPressEvent(QKeyEvent* event)
{
    // Enter and Escape mean only what the window's key handler makes of them.
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool RoundedWindow::KeyPreview::eventFilter(QObject* watched, QEvent* event)
{
    // The window sees a key before its controls: the key goes first to the
    // widget with the focus (or the window itself), and only that first
    // delivery is offered to the window's handler.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != m_window || !m_window->isVisible())
        return false;
    QWidget* focus = QApplication::focusWidget();
    const bool first =
        widget == focus || (widget == m_window && (!focus || focus->window() != m_window));
    if (!first)
        return false;
    return m_window->Form_KeyPress(keyOf(static_cast<QKeyEvent*>(event)));
}
