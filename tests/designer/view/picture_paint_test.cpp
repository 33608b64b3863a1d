#include "view/picture_paint.h"

#include <QPainter>
#include <QTest>

namespace {

// A picture whose every pixel differs from its neighbours, in the layout asked for.
QImage patterned(QImage::Format format)
{
    QImage image(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x * 3 + y * 5) % 256));
    return image.convertToFormat(format, Qt::ThresholdDither);
}

constexpr QRgb kUntouched = 0xFF123456;

} // namespace

class PicturePaintTest : public QObject {
    Q_OBJECT
private slots:
    void enlargedPartIsSquaresOfTheSourcePixels_data();
    void enlargedPartIsSquaresOfTheSourcePixels();
};

void PicturePaintTest::enlargedPartIsSquaresOfTheSourcePixels_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("times");
    QTest::addColumn<QRect>("part");
    QTest::addColumn<QPoint>("pan");
    const QList<QImage::Format> formats = {QImage::Format_BGR888, QImage::Format_RGB32, QImage::Format_ARGB32,
                                           QImage::Format_Indexed8, QImage::Format_RGB16};
    for (QImage::Format format : formats) {
        const QByteArray name = QByteArray::number(int(format));
        QTest::newRow(name + " 2x whole") << int(format) << 2 << QRect(0, 0, 74, 46) << QPoint(0, 0);
        // Parts starting and ending inside a square, on a view panned by an odd offset.
        QTest::newRow(name + " 3x inner") << int(format) << 3 << QRect(5, 7, 41, 29) << QPoint(4, 1);
        QTest::newRow(name + " 4x one column") << int(format) << 4 << QRect(13, 0, 1, 92) << QPoint(9, 0);
        // Reaching past the picture's right and bottom edges: nothing drawn there.
        QTest::newRow(name + " 8x past the edge")
            << int(format) << 8 << QRect(250, 150, 60, 60) << QPoint(200, 100);
    }
}

void PicturePaintTest::enlargedPartIsSquaresOfTheSourcePixels()
{
    QFETCH(int, format);
    QFETCH(int, times);
    QFETCH(QRect, part);
    QFETCH(QPoint, pan);
    const QImage picture = patterned(QImage::Format(format));
    const QImage truth = picture.convertToFormat(QImage::Format_RGB32);

    QImage view(120, 100, QImage::Format_RGB32);
    view.fill(kUntouched);
    {
        QPainter painter(&view);
        painter.translate(-pan);
        zq::paintEnlargedPart(painter, picture, part, times);
    }
    const QRect enlarged(QPoint(0, 0), picture.size() * times);
    for (int y = 0; y < view.height(); ++y) {
        for (int x = 0; x < view.width(); ++x) {
            const QPoint at = QPoint(x, y) + pan;
            const bool drawn = part.contains(at) && enlarged.contains(at);
            const QRgb want = drawn ? truth.pixel(at.x() / times, at.y() / times) : kUntouched;
            if (view.pixel(x, y) != want)
                QFAIL(qPrintable(QStringLiteral("view pixel (%1, %2): %3, wanted %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(view.pixel(x, y), 8, 16)
                                     .arg(want, 8, 16)));
        }
    }
}

QTEST_MAIN(PicturePaintTest)
#include "picture_paint_test.moc"
