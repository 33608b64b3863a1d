#include "background_view.h"
#include "preview_window.h"
#include "skin/bg_image.h"

#include <QFileInfo>
#include <QTest>

class BackgroundViewTest : public QObject {
    Q_OBJECT
private slots:
    void previewShowsACopyTakenAtTheCall();
};

void BackgroundViewTest::previewShowsACopyTakenAtTheCall()
{
    const QString other = QStringLiteral(ZQ_TESTDATA_DIR "/jpeg/libjpeg-turbo/testimgint.jpg");
    if (!QFileInfo::exists(other))
        QSKIP("the JPEG test suite is not there");
    zq::TBGImage bg(QStringLiteral(ZQ_SOURCE_DIR "/examples/sample-skin/zqLOCKPIC.jpg"));
    zq::TForm2 preview;
    preview.setGeometry(0, 0, 1920, 1080);

    zq::showInPreview(preview, bg);
    const QPoint spots[] = {{0, 0}, {1919, 1079}, {1305, 405}, {777, 333}};
    QImage shot = preview.grab().toImage();
    for (QPoint p : spots)
        QCOMPARE(shot.pixel(p), bg.BgBitmap().pixel(p.x(), p.y()));
    const QImage first = shot;

    // A new picture is not shown until the next call.
    bg.ReplacePicture(other);
    QCOMPARE(preview.grab().toImage(), first);
    zq::showInPreview(preview, bg);
    shot = preview.grab().toImage();
    for (QPoint p : spots)
        QCOMPARE(shot.pixel(p), bg.BgBitmap().pixel(p.x(), p.y()));
    QVERIFY(shot != first);
}

QTEST_MAIN(BackgroundViewTest)
#include "background_view_test.moc"
