#include "editing/snapping.h"

#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(Qt::Edges)
Q_DECLARE_METATYPE(std::optional<int>)

using zq::SnapLines;

class SnappingTest : public QObject {
    Q_OBJECT
private slots:
    void snapsTheNearestLine_data();
    void snapsTheNearestLine();
    void rectangleLinesAreItsEdgesAndCentres();
};

// Candidates: vertical lines at 100 and 300, horizontal lines at 50 and 200.
void SnappingTest::snapsTheNearestLine_data()
{
    QTest::addColumn<QRect>("wanted");
    QTest::addColumn<Qt::Edges>("dragged");
    QTest::addColumn<Qt::KeyboardModifiers>("held");
    QTest::addColumn<QRect>("landed");
    QTest::addColumn<std::optional<int>>("xGuide");
    QTest::addColumn<std::optional<int>>("yGuide");
    const Qt::Edges all = Qt::LeftEdge | Qt::RightEdge | Qt::TopEdge | Qt::BottomEdge;
    const std::optional<int> none;
    const Qt::KeyboardModifiers free;

    QTest::newRow("left edge 6 px off snaps") << QRect(106, 120, 40, 20) << all << free
                                              << QRect(100, 120, 40, 20) << std::optional<int>(100) << none;
    QTest::newRow("left edge 7 px off does not")
        << QRect(107, 120, 40, 20) << all << free << QRect(107, 120, 40, 20) << none << none;
    QTest::newRow("right edge lands against")
        << QRect(57, 120, 40, 20) << all << free << QRect(60, 120, 40, 20) << std::optional<int>(100) << none;
    QTest::newRow("horizontal centre") << QRect(278, 120, 40, 20) << all << free << QRect(280, 120, 40, 20)
                                       << std::optional<int>(300) << none;
    QTest::newRow("top edge") << QRect(150, 46, 40, 20) << all << free << QRect(150, 50, 40, 20) << none
                              << std::optional<int>(50);
    QTest::newRow("bottom edge") << QRect(150, 183, 40, 20) << all << free << QRect(150, 180, 40, 20) << none
                                 << std::optional<int>(200);
    QTest::newRow("vertical centre") << QRect(150, 42, 40, 20) << all << free << QRect(150, 40, 40, 20)
                                     << none << std::optional<int>(50);
    QTest::newRow("axes snap independently")
        << QRect(103, 196, 40, 20) << all << free << QRect(100, 200, 40, 20) << std::optional<int>(100)
        << std::optional<int>(200);
    // Left edge 5 px from 100, right edge 2 px from 300 (a 195-wide rectangle).
    QTest::newRow("nearer of two wins") << QRect(105, 120, 193, 20) << all << free << QRect(107, 120, 193, 20)
                                        << std::optional<int>(300) << none;
    QTest::newRow("resize snaps its dragged edge only")
        << QRect(150, 120, 147, 20) << Qt::Edges(Qt::RightEdge) << free << QRect(150, 120, 150, 20)
        << std::optional<int>(300) << none;
    QTest::newRow("resize leaves the other edges near a line")
        << QRect(103, 120, 194, 20) << Qt::Edges(Qt::RightEdge) << free << QRect(103, 120, 197, 20)
        << std::optional<int>(300) << none;
    QTest::newRow("corner resize snaps both its edges")
        << QRect(20, 55, 82, 100) << (Qt::RightEdge | Qt::TopEdge) << free << QRect(20, 50, 80, 105)
        << std::optional<int>(100) << std::optional<int>(50);
    QTest::newRow("Alt turns it off")
        << QRect(103, 196, 40, 20) << all << Qt::KeyboardModifiers(Qt::AltModifier) << QRect(103, 196, 40, 20)
        << none << none;
}

void SnappingTest::snapsTheNearestLine()
{
    QFETCH(QRect, wanted);
    QFETCH(Qt::Edges, dragged);
    QFETCH(Qt::KeyboardModifiers, held);
    QFETCH(QRect, landed);
    QFETCH(std::optional<int>, xGuide);
    QFETCH(std::optional<int>, yGuide);
    const SnapLines lines{{100, 300}, {50, 200}};
    const zq::SnapResult r = zq::snapDragStep(wanted, dragged, lines, 6, held);
    QCOMPARE(r.rect, landed);
    QCOMPARE(r.xGuide, xGuide);
    QCOMPARE(r.yGuide, yGuide);
}

void SnappingTest::rectangleLinesAreItsEdgesAndCentres()
{
    // A rectangle snapped onto another's right edge lies against it, not over its last pixel.
    SnapLines lines;
    lines.addRect(QRect(10, 20, 30, 40));
    const zq::SnapResult r = zq::snapRect(QRect(43, 100, 5, 5), Qt::LeftEdge | Qt::RightEdge, lines, 6);
    QCOMPARE(r.rect.left(), 40);
    lines = {};
    lines.addRect(QRect(10, 20, 30, 40));
    const zq::SnapResult centre = zq::snapRect(QRect(20, 37, 10, 8), Qt::TopEdge | Qt::BottomEdge, lines, 2);
    // Its centre line (top + half its height) lies on the other's centre line.
    QCOMPARE(centre.rect.top() + centre.rect.height() / 2, 40);
}

QTEST_MAIN(SnappingTest)
#include "snapping_test.moc"
