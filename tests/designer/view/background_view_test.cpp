#include "skin/bg_image.h"
#include "view/background_view.h"
#include "view/preview_window.h"

#include <QFileInfo>
#include <QTest>

#include <memory>

namespace {

const QString kOddWidthJpeg = QStringLiteral(ZQ_TESTDATA_DIR "/jpeg/libjpeg-turbo/testimgint.jpg");
const QString kSampleJpeg = QStringLiteral(ZQ_SOURCE_DIR "/examples/sample-skin/zqLOCKPIC.jpg");

// The preview a little larger than the picture, so that the grey bands are painted too.
QImage shownPicture(zq::TForm2 &preview, QSize picture)
{
    preview.setGeometry(0, 0, picture.width() + 7, picture.height() + 5);
    const QImage shot = preview.grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (shot.pixel(picture.width() + 3, 2) != zq::TForm2::kGrey ||
        shot.pixel(3, picture.height() + 2) != zq::TForm2::kGrey)
        return QImage();
    return shot.copy(QRect(QPoint(0, 0), picture));
}

} // namespace

class BackgroundViewTest : public QObject {
    Q_OBJECT
private slots:
    void previewShowsTheDecodedPixels_data();
    void previewShowsTheDecodedPixels();
    void previewShowsTheBackgroundAsItIsAtEachCall();
    void exposedPartsShowTheirOwnPixels();
};

void BackgroundViewTest::previewShowsTheDecodedPixels_data()
{
    QTest::addColumn<QString>("jpeg");
    QTest::addColumn<bool>("lowColour");
    // Rows of 227 pixels end in padding; the palette picture has 8 bits per pixel.
    QTest::newRow("24-bit, padded rows") << kOddWidthJpeg << false;
    QTest::newRow("8-bit palette, padded rows") << kOddWidthJpeg << true;
    QTest::newRow("sample skin, 24-bit") << kSampleJpeg << false;
    QTest::newRow("sample skin, 8-bit palette") << kSampleJpeg << true;
}

void BackgroundViewTest::previewShowsTheDecodedPixels()
{
    QFETCH(QString, jpeg);
    QFETCH(bool, lowColour);
    if (!QFileInfo::exists(jpeg))
        QSKIP("the JPEG test suite is not there");
    auto bg = std::make_shared<zq::TBGImage>(jpeg, lowColour);
    const zq::Bitmap &bitmap = bg->BgBitmap();
    QCOMPARE(bitmap.format().bitsPerPixel, lowColour ? 8 : 24);
    zq::TForm2 preview;
    zq::showInPreview(preview, bg);
    QCOMPARE(preview.backgroundSize(), QSize(bitmap.width(), bitmap.height()));

    const QImage shown = shownPicture(preview, preview.backgroundSize());
    QVERIFY(!shown.isNull());
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            if (shown.pixel(x, y) != bitmap.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 differs").arg(x).arg(y)));
}

void BackgroundViewTest::previewShowsTheBackgroundAsItIsAtEachCall()
{
    if (!QFileInfo::exists(kOddWidthJpeg))
        QSKIP("the JPEG test suite is not there");
    auto bg = std::make_shared<zq::TBGImage>(kSampleJpeg);
    zq::TForm2 preview;
    zq::showInPreview(preview, bg);
    const QImage first = shownPicture(preview, QSize(1920, 1080));
    QVERIFY(!first.isNull());

    bg->ReplacePicture(kOddWidthJpeg);
    zq::showInPreview(preview, bg);
    const QImage replaced = shownPicture(preview, QSize(1920, 1080));
    QVERIFY(replaced != first);
    const QPoint spots[] = {{0, 0}, {1919, 1079}, {1305, 405}, {777, 333}};
    for (QPoint p : spots)
        QCOMPARE(replaced.pixel(p), bg->BgBitmap().pixel(p.x(), p.y()));

    // The preview holds what it shows: the background outlives every other owner.
    const QImage expected = bg->BgBitmap().toImage();
    bg.reset();
    QCOMPARE(shownPicture(preview, QSize(1920, 1080)), expected);
}

void BackgroundViewTest::exposedPartsShowTheirOwnPixels()
{
    if (!QFileInfo::exists(kOddWidthJpeg))
        QSKIP("the JPEG test suite is not there");
    auto bg = std::make_shared<zq::TBGImage>(kOddWidthJpeg);
    const zq::Bitmap &bitmap = bg->BgBitmap();
    zq::TForm2 preview;
    preview.setGeometry(0, 0, 300, 200);
    zq::showInPreview(preview, bg);

    // Parts starting and ending at every column offset, one reaching into the grey.
    const QRegion parts = QRegion(1, 5, 7, 9) | QRegion(102, 2, 1, 1) | QRegion(50, 60, 37, 20) |
                          QRegion(223, 140, 30, 30) | QRegion(3, 148, 222, 1);
    const QRgb untouched = qRgb(1, 2, 3);
    QImage shot(preview.size(), QImage::Format_RGB32);
    shot.fill(untouched);
    // The region's corner lands at the offset given.
    preview.render(&shot, parts.boundingRect().topLeft(), parts);
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb expected = !parts.contains(QPoint(x, y))               ? untouched
                                  : x < bitmap.width() && y < bitmap.height() ? bitmap.pixel(x, y)
                                                                              : zq::TForm2::kGrey;
            if (shot.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 differs").arg(x).arg(y)));
        }
}

QTEST_MAIN(BackgroundViewTest)
#include "background_view_test.moc"
