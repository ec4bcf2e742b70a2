// The floors the outside benchmark runs as programs of their own:
//   ignore  a bare window with a menu bar that ignores motion (also the start-up floor)
//   paint   the same window painting an antialiased dot per motion
#include "../FloorWindow.h"

#include <QApplication>
#include <cstring>

namespace {

// Leaves motion to Qt's default handling, which ignores it.
class DeafCanvas : public FloorCanvas
{
public:
    DeafCanvas() { setMouseTracking(false); }

protected:
    void mouseMoveEvent(QMouseEvent *event) override { QWidget::mouseMoveEvent(event); }
};

} // namespace

int main(int argc, char *argv[])
{
    const bool paints = argc > 1 && std::strcmp(argv[1], "paint") == 0;
    QApplication app(argc, argv);
    FloorCanvas *canvas = paints ? new FloorCanvas : new DeafCanvas;
    canvas->antialiased = true;
    FloorWindow window(canvas);
    window.setWindowTitle(QStringLiteral("Floor"));
    window.show();
    return app.exec();
}
