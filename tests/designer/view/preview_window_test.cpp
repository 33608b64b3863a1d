#include "view/preview_window.h"
#include "view/skin_canvas.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

using zq::TForm2;

namespace {

// A picture whose every pixel differs from its neighbours, so any shift or scaling shows.
QImage pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x % 251, y % 241, (x * 7 + y * 3) % 256));
    return img;
}

// Records what each paint of the canvas was asked to cover.
class PaintProbe : public QObject {
public:
    QRegion painted;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(e)->region();
        return false;
    }
};

const QRgb kGrey = qRgb(128, 128, 128);

} // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT
private slots:
    void windowProperties();
    void coversThePrimaryScreen();
    void smallBackgroundLeavesGreyBands();
    void largeBackgroundIsCutOff();
    void backgroundStaysUnderAChildSentToTheBack();
    void movingAChildRepaintsOnlyWhereItWasAndIs();
    void clicksOnTheBackground();
    void keptOnTopOnlyWhileActive();
};

void PreviewWindowTest::windowProperties()
{
    TForm2 p;
    QCOMPARE(p.windowTitle(), QStringLiteral("Zenqa界面设计"));
    QVERIFY(p.isWindow());
    QVERIFY(p.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(p.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

void PreviewWindowTest::coversThePrimaryScreen()
{
    TForm2 p;
    p.coverPrimaryScreen();
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    QCOMPARE(p.geometry(), QGuiApplication::primaryScreen()->geometry());
    QCOMPARE(p.imageAreaSize(), QGuiApplication::primaryScreen()->geometry().size());
}

void PreviewWindowTest::smallBackgroundLeavesGreyBands()
{
    TForm2 p;
    p.resize(400, 300);
    QCOMPARE(p.grab().toImage().pixel(200, 150), kGrey); // nothing loaded yet
    const QImage picture = pattern(300, 200);
    p.setBackground(picture);
    QCOMPARE(p.backgroundSize(), QSize(300, 200));
    const QImage shot = p.grab().toImage();
    for (QPoint at : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(150, 99), QPoint(299, 199)})
        QCOMPARE(shot.pixel(at), picture.pixel(at));
    for (QPoint at : {QPoint(300, 0), QPoint(399, 299), QPoint(0, 200), QPoint(350, 100)})
        QCOMPARE(shot.pixel(at), kGrey);
}

void PreviewWindowTest::largeBackgroundIsCutOff()
{
    TForm2 p;
    p.resize(400, 300);
    const QImage picture = pattern(500, 450);
    p.setBackground(picture);
    const QImage shot = p.grab().toImage();
    QCOMPARE(shot.size(), QSize(400, 300));
    for (QPoint at : {QPoint(0, 0), QPoint(399, 299), QPoint(399, 0), QPoint(123, 277)})
        QCOMPARE(shot.pixel(at), picture.pixel(at));
}

void PreviewWindowTest::backgroundStaysUnderAChildSentToTheBack()
{
    TForm2 p;
    p.resize(200, 150);
    p.setBackground(pattern(200, 150));
    auto *child = new QFrame(p.canvas());
    child->setGeometry(10, 10, 20, 20);
    child->setAutoFillBackground(true);
    QPalette pal = child->palette();
    pal.setColor(QPalette::Window, Qt::red);
    child->setPalette(pal);
    child->lower();
    const QImage shot = p.grab().toImage();
    QCOMPARE(shot.pixel(15, 15), qRgb(255, 0, 0));
}

void PreviewWindowTest::movingAChildRepaintsOnlyWhereItWasAndIs()
{
    TForm2 p;
    PaintProbe probe;
    p.canvas()->installEventFilter(&probe);
    p.setGeometry(0, 0, 600, 400);
    p.setBackground(pattern(600, 400));
    auto *child = new QFrame(p.canvas());
    child->setGeometry(100, 100, 30, 20);
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    QTRY_VERIFY(!probe.painted.isEmpty());
    QTest::qWait(20);

    probe.painted = QRegion();
    child->move(140, 130);
    const QRegion changed = QRegion(100, 100, 30, 20) | QRegion(140, 130, 30, 20);
    QTRY_VERIFY(!probe.painted.isEmpty());
    QCOMPARE(probe.painted - changed, QRegion());
}

void PreviewWindowTest::clicksOnTheBackground()
{
    TForm2 p;
    p.setGeometry(0, 0, 400, 300);
    p.setBackground(pattern(300, 200));
    // A label ignores presses, which then travel up to the preview: still not a click here.
    auto *label = new QLabel(QStringLiteral("x"), &p);
    label->setGeometry(50, 50, 40, 20);
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    QSignalSpy clicks(&p, &TForm2::image1Clicked);
    QWindow *w = p.windowHandle();

    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.size(), 1);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(350, 250)); // the grey band
    QCOMPARE(clicks.size(), 2);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(60, 60)); // on the child
    QTest::mouseClick(w, Qt::RightButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.size(), 2);
    // Pressed on the child, released on the background: no click.
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(60, 60));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.size(), 2);
    // A double click is one click, as with the platform's image area.
    QTest::mouseDClick(w, Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(clicks.size(), 3);
}

void PreviewWindowTest::keptOnTopOnlyWhileActive()
{
    TForm2 p;
    p.setGeometry(0, 0, 100, 100);
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    p.setKeptOnTop(false);
    QVERIFY(!p.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(p.isVisible());
    p.setKeptOnTop(true);
    QVERIFY(p.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(p.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(p.isVisible());
}

QTEST_MAIN(PreviewWindowTest)
#include "preview_window_test.moc"
