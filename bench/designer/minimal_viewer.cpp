// The baseline the designer's launch is timed against: the least a Qt program does to show a
// JPEG full screen. It loads the picture with QImage and paints it 1:1 from the top-left
// corner of a borderless window that covers the primary screen.

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWidget>

namespace {

class Viewer : public QWidget {
public:
    explicit Viewer(const QImage &picture)
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
        , m_picture(picture)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        for (const QRect &r : event->region())
            painter.drawImage(r, m_picture, r);
    }

private:
    QImage m_picture;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    Viewer viewer{QImage(QString::fromLocal8Bit(argv[1]))};
    viewer.setGeometry(QGuiApplication::primaryScreen()->geometry());
    viewer.show();
    return app.exec();
}
