#pragma once

#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

// The least a Qt program can do for the same work: a bare widget that paints
// a dot into an image and repaints just that rectangle.
class FloorCanvas : public QWidget
{
public:
    int penWidth = 1;
    bool antialiased = false;
    QImage image{792, 506, QImage::Format_RGB32};

    FloorCanvas()
    {
        image.fill(Qt::white);
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_StaticContents);
    }

protected:
    void mouseMoveEvent(QMouseEvent *event) override
    {
        QPainter painter(&image);
        painter.setPen(QPen(Qt::black, penWidth, Qt::SolidLine, Qt::RoundCap));
        if (antialiased)
            painter.setRenderHint(QPainter::Antialiasing);
        painter.drawPoint(event->position());
        const int margin = penWidth / 2 + 2;
        update(QRect(event->position().toPoint(), QSize(1, 1)).adjusted(-margin, -margin, margin, margin));
    }
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        painter.drawImage(event->rect(), image, event->rect());
    }
};

// A bare window with a menu bar, for start-up and memory.
class FloorWindow : public QMainWindow
{
public:
    explicit FloorWindow(FloorCanvas *central = new FloorCanvas) : canvas(central)
    {
        for (const char *title : {"&File", "&Visualizza", "Sfondo"})
            menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("-"));
        setCentralWidget(canvas);
        setFixedSize(792, 506 + menuBar()->sizeHint().height());
    }
    FloorCanvas *canvas;
};
