#include "view/hit_zone.h"

#include <QTest>

using zq::HitZone;

Q_DECLARE_METATYPE(HitZone)

class HitZoneTest : public QObject {
    Q_OBJECT
private slots:
    void zoneOfPoint_data();
    void zoneOfPoint();
    void controlTooNarrowHasNoMoveOrTopBottomZone();
    void controlTooLowHasNoMoveOrSideZone();
    void dragRectangle_data();
    void dragRectangle();
};

void HitZoneTest::zoneOfPoint_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<HitZone>("zone");

    const QSize box(100, 30);
    // Column and row borders with a band of 5.
    QTest::newRow("x=0 left") << box << QPoint(0, 15) << HitZone::LeftEdge;
    QTest::newRow("x=5 still left") << box << QPoint(5, 15) << HitZone::LeftEdge;
    QTest::newRow("x=6 middle") << box << QPoint(6, 15) << HitZone::Interior;
    QTest::newRow("x=94 middle") << box << QPoint(94, 15) << HitZone::Interior;
    QTest::newRow("x=95 right") << box << QPoint(95, 15) << HitZone::RightEdge;
    QTest::newRow("x=99 right") << box << QPoint(99, 15) << HitZone::RightEdge;
    QTest::newRow("y=5 top") << box << QPoint(50, 5) << HitZone::TopEdge;
    QTest::newRow("y=6 middle") << box << QPoint(50, 6) << HitZone::Interior;
    QTest::newRow("y=24 middle") << box << QPoint(50, 24) << HitZone::Interior;
    QTest::newRow("y=25 bottom") << box << QPoint(50, 25) << HitZone::BottomEdge;
    QTest::newRow("corner top-left") << box << QPoint(5, 5) << HitZone::TopLeft;
    QTest::newRow("corner top-right") << box << QPoint(95, 0) << HitZone::TopRight;
    QTest::newRow("corner bottom-left") << box << QPoint(0, 29) << HitZone::BottomLeft;
    QTest::newRow("corner bottom-right") << box << QPoint(95, 25) << HitZone::BottomRight;
    QTest::newRow("just off the corner horizontally") << box << QPoint(6, 5) << HitZone::TopEdge;
    QTest::newRow("just off the corner vertically") << box << QPoint(5, 6) << HitZone::LeftEdge;

    // Reported under capture from outside the control.
    QTest::newRow("outside left") << box << QPoint(-3, 15) << HitZone::LeftEdge;
    QTest::newRow("outside right at W") << box << QPoint(100, 15) << HitZone::RightEdge;
    QTest::newRow("far outside right") << box << QPoint(250, 15) << HitZone::RightEdge;
    QTest::newRow("outside top") << box << QPoint(50, -1) << HitZone::TopEdge;
    QTest::newRow("outside bottom at H") << box << QPoint(50, 30) << HitZone::BottomEdge;
    QTest::newRow("outside above-left") << box << QPoint(-10, -10) << HitZone::TopLeft;
    QTest::newRow("outside above-right") << box << QPoint(120, -4) << HitZone::TopRight;
    QTest::newRow("outside below-left") << box << QPoint(-1, 40) << HitZone::BottomLeft;
    QTest::newRow("outside below-right") << box << QPoint(500, 500) << HitZone::BottomRight;

    // Ten pixels wide: both side bands hold x = 5, where the left side wins.
    const QSize narrow(10, 30);
    QTest::newRow("overlap left before right") << narrow << QPoint(5, 15) << HitZone::LeftEdge;
    QTest::newRow("overlap top-left before top-right") << narrow << QPoint(5, 0) << HitZone::TopLeft;
    QTest::newRow("overlap bottom-left before bottom-right")
        << narrow << QPoint(5, 29) << HitZone::BottomLeft;
    QTest::newRow("past the overlap is right") << narrow << QPoint(6, 15) << HitZone::RightEdge;

    // Ten pixels high: y = 5 is in both bands, the top side wins.
    const QSize low(100, 10);
    QTest::newRow("overlap top before bottom") << low << QPoint(50, 5) << HitZone::TopEdge;
    QTest::newRow("overlap top-left before bottom-left") << low << QPoint(0, 5) << HitZone::TopLeft;
    QTest::newRow("overlap top-right before bottom-right") << low << QPoint(99, 5) << HitZone::TopRight;
    QTest::newRow("past the overlap is bottom") << low << QPoint(50, 6) << HitZone::BottomEdge;

    QTest::newRow("empty control") << QSize(0, 0) << QPoint(0, 0) << HitZone::TopLeft;
}

void HitZoneTest::zoneOfPoint()
{
    QFETCH(QSize, size);
    QFETCH(QPoint, pos);
    QFETCH(HitZone, zone);
    QCOMPARE(zq::hitTest(size, pos, 5), zone);
}

void HitZoneTest::controlTooNarrowHasNoMoveOrTopBottomZone()
{
    // 2P + 1 = 11 pixels wide: no middle column at all.
    for (int y = -2; y < 32; ++y) {
        for (int x = -2; x < 13; ++x) {
            const HitZone z = zq::hitTest(QSize(11, 30), QPoint(x, y), 5);
            QVERIFY2(z != HitZone::Interior && z != HitZone::TopEdge && z != HitZone::BottomEdge,
                     qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    }
    // One pixel wider and the middle column appears.
    QCOMPARE(zq::hitTest(QSize(12, 30), QPoint(6, 15), 5), HitZone::Interior);
}

void HitZoneTest::controlTooLowHasNoMoveOrSideZone()
{
    for (int y = -2; y < 13; ++y) {
        for (int x = -2; x < 102; ++x) {
            const HitZone z = zq::hitTest(QSize(100, 11), QPoint(x, y), 5);
            QVERIFY2(z != HitZone::Interior && z != HitZone::LeftEdge && z != HitZone::RightEdge,
                     qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    }
}

void HitZoneTest::dragRectangle_data()
{
    QTest::addColumn<HitZone>("zone");
    QTest::addColumn<QPoint>("travel");
    QTest::addColumn<QRect>("expected");

    // Start: left 10, top 20, width 100, height 30 (right edge at 110, bottom at 50).
    QTest::newRow("move") << HitZone::Interior << QPoint(7, -3) << QRect(17, 17, 100, 30);
    QTest::newRow("move far keeps size")
        << HitZone::Interior << QPoint(-500, 900) << QRect(-490, 920, 100, 30);
    QTest::newRow("left edge ignores vertical travel")
        << HitZone::LeftEdge << QPoint(5, 9) << QRect(15, 20, 95, 30);
    QTest::newRow("right edge") << HitZone::RightEdge << QPoint(5, 9) << QRect(10, 20, 105, 30);
    QTest::newRow("top edge ignores horizontal travel")
        << HitZone::TopEdge << QPoint(8, -4) << QRect(10, 16, 100, 34);
    QTest::newRow("bottom edge") << HitZone::BottomEdge << QPoint(8, 6) << QRect(10, 20, 100, 36);
    QTest::newRow("top-left") << HitZone::TopLeft << QPoint(-2, -3) << QRect(8, 17, 102, 33);
    QTest::newRow("top-right") << HitZone::TopRight << QPoint(4, -3) << QRect(10, 17, 104, 33);
    QTest::newRow("bottom-left") << HitZone::BottomLeft << QPoint(-2, 5) << QRect(8, 20, 102, 35);
    QTest::newRow("bottom-right") << HitZone::BottomRight << QPoint(4, 5) << QRect(10, 20, 104, 35);
    // A dragged edge stops at the opposite one.
    QTest::newRow("left past right") << HitZone::LeftEdge << QPoint(150, 0) << QRect(110, 20, 0, 30);
    QTest::newRow("right past left") << HitZone::RightEdge << QPoint(-150, 0) << QRect(10, 20, 0, 30);
    QTest::newRow("top past bottom") << HitZone::TopEdge << QPoint(0, 100) << QRect(10, 50, 100, 0);
    QTest::newRow("bottom past top") << HitZone::BottomEdge << QPoint(0, -31) << QRect(10, 20, 100, 0);
    QTest::newRow("corner folded both ways")
        << HitZone::BottomRight << QPoint(-500, -500) << QRect(10, 20, 0, 0);
    QTest::newRow("corner folded one way") << HitZone::TopLeft << QPoint(120, -10) << QRect(110, 10, 0, 40);
}

void HitZoneTest::dragRectangle()
{
    QFETCH(HitZone, zone);
    QFETCH(QPoint, travel);
    QFETCH(QRect, expected);
    QCOMPARE(zq::applyDrag(zone, QRect(10, 20, 100, 30), travel), expected);
}

QTEST_APPLESS_MAIN(HitZoneTest)
#include "hit_zone_test.moc"
