// The floor of the start-up: a bare Qt Widgets program that shows one
// frameless 718 x 610 window holding one label in the program's window font,
// and ends once that window has painted its first frame.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace {

class Window : public QWidget
{
protected:
    void paintEvent(QPaintEvent*) override { QTimer::singleShot(0, qApp, &QApplication::quit); }
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QFont font(QStringLiteral("Bookman Old Style"), 9);
    font.setWeight(QFont::Light);
    QApplication::setFont(font);
    Window window;
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.resize(718, 610);
    QLabel label(QStringLiteral("Platterbook"), &window);
    label.move(20, 20);
    window.show();
    return app.exec();
}
