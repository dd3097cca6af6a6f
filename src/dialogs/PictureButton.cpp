#include "dialogs/PictureButton.h"

#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>
#ifndef PLATTERBOOK_PNG_ART
#include <QSvgRenderer>
#endif

namespace art {

#ifdef PLATTERBOOK_PNG_ART
// Without SVG the pictures come rendered at the scales a screen may have:
// the nearest one at or above the screen's, brought to it.
namespace {

QImage picture(const QString& name, qreal scale)
{
    for (const char* rendered : {"1", "1.25", "1.5", "2"})
        if (QByteArray(rendered).toDouble() >= scale - 0.01 || QByteArray(rendered) == "2")
            return QImage(QStringLiteral(":/art/%1@%2.png").arg(name, QLatin1String(rendered)));
    return {};
}

} // namespace
#endif

QSize size(const QString& name)
{
    static QHash<QString, QSize> sizes;
    const auto known = sizes.constFind(name);
    if (known != sizes.cend())
        return *known;
#ifdef PLATTERBOOK_PNG_ART
    return *sizes.insert(name, picture(name, 1).size());
#else
    const QSvgRenderer picture(QStringLiteral(":/art/%1.svg").arg(name));
    return *sizes.insert(name, picture.isValid() ? picture.defaultSize() : QSize());
#endif
}

QPixmap pixmap(const QString& name, qreal devicePixelRatio, const QColor& under)
{
    const QString key =
        QStringLiteral("art:%1@%2:%3").arg(name).arg(devicePixelRatio).arg(under.rgba(), 0, 16);
    QPixmap drawn;
    if (QPixmapCache::find(key, &drawn))
        return drawn;
    const QSize at = size(name);
    drawn = QPixmap(at * devicePixelRatio);
    drawn.setDevicePixelRatio(devicePixelRatio);
    drawn.fill(under);
    QPainter painter(&drawn);
#ifdef PLATTERBOOK_PNG_ART
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), at), picture(name, devicePixelRatio));
#else
    QSvgRenderer picture(QStringLiteral(":/art/%1.svg").arg(name));
    picture.render(&painter, QRectF(QPointF(0, 0), at));
#endif
    painter.end();
    QPixmapCache::insert(key, drawn);
    return drawn;
}

} // namespace art

PictureButton::PictureButton(const QString& art, QSize releaseArea, QWidget* parent)
    : QWidget(parent), m_art(art), m_area(releaseArea)
{
    const QSize picture = art::size(art);
    resize(picture.isValid() ? picture : releaseArea);
    setCursor(Qt::PointingHandCursor);
    // Reached with Tab, after the window's other controls; Space acts.
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

bool PictureButton::release(float X, float Y)
{
    m_pressed = false;
    update();
    return X >= 0 && X <= m_area.width() && Y >= 0 && Y <= m_area.height();
}

int PictureButton::buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int PictureButton::shiftCode(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(
        0, 0, art::pixmap(m_pressed ? m_art + QStringLiteral("down") : m_art, devicePixelRatioF()));
    if (m_hover && !m_pressed && isEnabled()) {
        // A faint glow while the pointer rests on the button.
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 28));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }
    if (hasFocus()) {
        // The keyboard's place: a ring in the program's accent colour.
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0xf2, 0xa9, 0x3b), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 5, 5);
    }
}

void PictureButton::keyPressEvent(QKeyEvent* event)
{
    // Space acts as a click would, as a left-button release at (0, 0).
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        emit MouseUp(1, 0, 0, 0);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PictureButton::mousePressEvent(QMouseEvent* event)
{
    m_pressed = true;
    update();
    event->accept();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    emit MouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), float(at.x()),
                 float(at.y()));
    event->accept();
}

void PictureButton::enterEvent(QEnterEvent*)
{
    m_hover = true;
    update();
}

void PictureButton::leaveEvent(QEvent*)
{
    m_hover = false;
    update();
}

Picture::Picture(const QString& art, QWidget* parent) : QWidget(parent), m_art(art)
{
    resize(art::size(art));
}

void Picture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, art::pixmap(m_art, devicePixelRatioF()));
}

void Picture::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}
