#pragma once

#include <QDialog>
#include <QPixmap>
#include <QPoint>

class PictureButton;

// The look of labels, text boxes, lists, check boxes, scroll bars and tooltips
// on the dark pictures.
QString dialogStyleSheet();

// Qt's own dialogs (printer, page set-up, files) keep the desktop's font and
// colours: give them no owner among the program's windows, whose style would
// reach them, and call this on them.
void useDesktopLook(QWidget* dialog);

// Text boxes take any length: the catalogue has no limit on a field.
constexpr int TextBoxLimit = 1 << 24;

// A key with the control modifier, as the shortcuts are written.
constexpr QKeyCombination ctrl(Qt::Key key)
{
    return Qt::ControlModifier | key;
}

// Ctrl+Shift+Z, which does a step again as Ctrl+Y does.
constexpr QKeyCombination RedoKey = Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z;

// Twips, the unit of window positions: 15 to the pixel.
constexpr int TwipsPerPixel = 15;
constexpr int twipsToPixels(int twips)
{
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

// What every window of the program shares: no frame, a background picture cut to
// a rounded rectangle (the mask is both the shape and the hit area), dragging by
// the surface, and keys seen by the window before its controls.
class RoundedWindow : public QDialog
{
    Q_OBJECT
public:
    // background: the name of a picture in the program's art ("main" for
    // :/art/main.svg); corner: the diameter of the corner ellipse in pixels.
    RoundedWindow(const QString& background, QSize size, int corner, QWidget* owner = nullptr);
    ~RoundedWindow() override;

    void setDraggable(bool on) { m_draggable = on; }
    // A window taller than its picture repeats the picture's rows from..to-1
    // to fill the height, and draws the rows below them at the bottom.
    void setStretchBand(int from, int to)
    {
        m_bandFrom = from;
        m_bandTo = to;
    }
    bool isDraggable() const { return m_draggable; }

    // First positions: in twips from the screen's top-left corner, centred on
    // the screen, or centred on an owner window. Each keeps the window wholly
    // on its screen.
    void placeAtTwips(int left, int top);
    void centreOnScreen();
    void centreOn(const QWidget* owner);
    void keepOnScreen();

    // Resizes the window and cuts it to its new shape at once, shown or not.
    void resizeWindow(int width, int height);

    // The window's key handler, given the key with its Ctrl, Shift and Alt
    // (the keypad's Enter comes as Qt::Key_Return). Return true to consume
    // the key. By default Enter and Escape release the buttons
    // setKeyButtons() named.
    virtual bool Form_KeyPress(QKeyCombination key);

    // The buttons Enter and Escape act on, as a left-button release at (0, 0)
    // that reaches the button's release handler; either may be null.
    void setKeyButtons(PictureButton* enter, PictureButton* escape);

    // A picture button of this window at (left, top) with its release area,
    // named for screen readers and with a tooltip.
    PictureButton* addButton(const QString& art, QPoint at, QSize releaseArea, const QString& name,
                             const QString& tip = {});

    // The key a key event stands for, as Form_KeyPress() is given it.
    static QKeyCombination keyOf(const QKeyEvent* event);

    // The region the window is cut to: a rounded rectangle (0, 0)-(W, H).
    static QRegion roundedRegion(QSize size, int corner);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A close from the window system (Alt+F4, the task bar) releases the
    // Escape button, so that the window's Cancel or Close does its clean-up
    // and may keep the window open; a window without one closes.
    void closeEvent(QCloseEvent* event) override;

private:
    // Offers the window's key handler every key typed into the window before
    // its controls see it.
    class KeyPreview : public QObject
    {
    public:
        explicit KeyPreview(RoundedWindow* window) : QObject(window), m_window(window) {}
        bool eventFilter(QObject* watched, QEvent* event) override;

    private:
        RoundedWindow* m_window;
    };

    void applyShape();

    QString m_background;
    QPixmap m_cache;
    int m_corner;
    int m_bandFrom = -1;
    int m_bandTo = -1;
    bool m_draggable = true;
    bool m_dragging = false;
    PictureButton* m_enter = nullptr;
    PictureButton* m_escape = nullptr;
    QPoint m_dragOffset;
};
