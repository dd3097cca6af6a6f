#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

// The program's pictures (":/art/<name>.svg"), each read once and drawn once
// for each device pixel ratio, then kept for every window that shows it.
namespace art {
QSize size(const QString& name);
QPixmap pixmap(const QString& name, qreal devicePixelRatio, const QColor& under = Qt::transparent);
} // namespace art

// A button that is a picture: it shows its pressed picture while a mouse button
// is held on it, and reports every release with the point in its own pixels.
// The window's release handler decides with release() whether the release
// counts: inside the release area, both ends included.
class PictureButton : public QWidget
{
    Q_OBJECT
public:
    // art: the picture's name (":/art/<art>.svg", pressed ":/art/<art>down.svg").
    PictureButton(const QString& art, QSize releaseArea, QWidget* parent);

    // Hides the pressed picture; true when (X, Y) lies within 0..W and 0..H of
    // the release area.
    bool release(float X, float Y);
    bool isPressed() const { return m_pressed; }
    QSize releaseArea() const { return m_area; }

    // Mouse button and shift codes as the handlers take them.
    static int buttonCode(Qt::MouseButton button);
    static int shiftCode(Qt::KeyboardModifiers modifiers);

signals:
    // Every release of a mouse button that was pressed on the button.
    void MouseUp(int Button, int Shift, float X, float Y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString m_art;
    QSize m_area;
    bool m_pressed = false;
    bool m_hover = false;
};

// A still picture from the program's art, drawn at its own size.
class Picture : public QWidget
{
public:
    Picture(const QString& art, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    // A picture is a control of its own: pressing on it does not drag the window.
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString m_art;
};
