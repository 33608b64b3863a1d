#include "fixtures/drag_probe.h"
#include "view/canvas_overview.h"
#include "view/preview_window.h"
#include "view/skin_canvas.h"

#include <QTest>
#include <QWheelEvent>
#include <QWindow>

using zq::TForm2;

namespace {

QImage pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x % 251, y % 241, (x * 7 + y * 3) % 256));
    return img;
}

void wheel(QWidget *target, QPoint at, QPoint angle, Qt::KeyboardModifiers held = {})
{
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), angle, Qt::NoButton, held, Qt::NoScrollPhase,
                      false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::sendEvent(target, &event);
}

} // namespace

class SkinCanvasTest : public QObject {
    Q_OBJECT
private slots:
    void panLimits_data();
    void panLimits();
    void wheelMiddleButtonAndOverviewPan();
    void dragAtAPanOffsetMovesInPicturePixels();
};

void SkinCanvasTest::panLimits_data()
{
    QTest::addColumn<QPoint>("wanted");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QPoint>("pan");
    // The view is 400 x 300 throughout.
    QTest::newRow("picture smaller never pans") << QPoint(50, 50) << QSize(300, 200) << QPoint(0, 0);
    QTest::newRow("same size never pans") << QPoint(1, 1) << QSize(400, 300) << QPoint(0, 0);
    QTest::newRow("wider only pans across") << QPoint(70, 40) << QSize(1000, 300) << QPoint(70, 0);
    QTest::newRow("higher only pans down") << QPoint(70, 40) << QSize(400, 900) << QPoint(0, 40);
    QTest::newRow("left edge") << QPoint(-5, 10) << QSize(1000, 800) << QPoint(0, 10);
    QTest::newRow("top edge") << QPoint(10, -9) << QSize(1000, 800) << QPoint(10, 0);
    QTest::newRow("right edge") << QPoint(601, 10) << QSize(1000, 800) << QPoint(600, 10);
    QTest::newRow("bottom edge") << QPoint(10, 900) << QSize(1000, 800) << QPoint(10, 500);
}

void SkinCanvasTest::panLimits()
{
    QFETCH(QPoint, wanted);
    QFETCH(QSize, picture);
    QFETCH(QPoint, pan);
    QCOMPARE(zq::clampPan(wanted, picture, QSize(400, 300)), pan);
}

void SkinCanvasTest::wheelMiddleButtonAndOverviewPan()
{
    TForm2 p;
    p.setGeometry(0, 0, 400, 300);
    zq::SkinCanvas *canvas = p.canvas();
    auto *element = new QWidget(canvas);
    element->setGeometry(900, 700, 50, 40);
    p.setBackground(pattern(400, 300));
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    // A picture that fits stays put and has no overview.
    wheel(canvas, QPoint(10, 10), QPoint(0, -360));
    QCOMPARE(canvas->pan(), QPoint(0, 0));
    QVERIFY(!p.overview()->isVisible());

    p.setBackground(pattern(1000, 800));
    QVERIFY(p.overview()->isVisible());
    QCOMPARE(p.overview()->width(), zq::CanvasOverview::kWidth);
    QVERIFY(p.overview()->geometry().bottomRight().x() < p.width());

    wheel(canvas, QPoint(10, 10), QPoint(0, -120));
    QCOMPARE(canvas->pan(), QPoint(0, 120));
    wheel(canvas, QPoint(10, 10), QPoint(0, -120), Qt::ShiftModifier);
    QCOMPARE(canvas->pan(), QPoint(120, 120));
    wheel(canvas, QPoint(10, 10), QPoint(0, 2400));
    QCOMPARE(canvas->pan(), QPoint(120, 0));

    // The middle button drags the view, even over an element; the view stops at the edge.
    QWindow *w = p.windowHandle();
    QTest::mousePress(w, Qt::MiddleButton, {}, QPoint(100, 80));
    QTest::mouseMove(w, QPoint(50, 30));
    QCOMPARE(canvas->pan(), QPoint(170, 50));
    QTest::mouseMove(w, QPoint(-900, -900));
    QTest::mouseRelease(w, Qt::MiddleButton, {}, QPoint(-900, -900));
    QCOMPARE(canvas->pan(), QPoint(600, 500));
    // The canvas shows the picture's bottom-right corner in the preview's.
    QCOMPARE(p.grab().toImage().pixel(p.width() - 1, p.height() - 1), pattern(1000, 800).pixel(999, 799));

    // A press in the overview centres the view on that spot.
    const QPoint spot(100, 40);
    QTest::mouseClick(w, Qt::LeftButton, {}, p.overview()->mapTo(&p, spot));
    const QPoint aimed = p.overview()->toPicture(spot) - QPoint(200, 150);
    QCOMPARE(canvas->pan(), zq::clampPan(aimed, QSize(1000, 800), p.size()));
    QVERIFY(canvas->pan() != QPoint(600, 500));
}

void SkinCanvasTest::dragAtAPanOffsetMovesInPicturePixels()
{
    TForm2 p;
    p.setGeometry(0, 0, 400, 300);
    p.setBackground(pattern(1000, 800));
    auto *probe = new DragProbe(p.canvas());
    probe->setGeometry(700, 600, 80, 40);
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    // Clear of the overview in the bottom-right corner.
    p.canvas()->panTo(QPoint(650, 580));
    QVERIFY(probe->isVisible());
    // The canvas stays where it is and shows its items panned.
    QCOMPARE(p.canvas()->pos(), QPoint(0, 0));
    const QPoint press = p.canvas()->viewPos(probe) + QPoint(40, 20);
    QVERIFY(p.rect().contains(press));
    whenIdle([&] {
        QTest::mouseMove(p.windowHandle(), press + QPoint(30, -20));
        QTest::mouseRelease(p.windowHandle(), Qt::LeftButton, {}, press + QPoint(30, -20));
    });
    QTest::mousePress(p.windowHandle(), Qt::LeftButton, {}, press);
    QCOMPARE(probe->geometry(), QRect(730, 580, 80, 40));
}

QTEST_MAIN(SkinCanvasTest)
#include "skin_canvas_test.moc"
