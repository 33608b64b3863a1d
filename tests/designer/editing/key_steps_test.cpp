#include "editing/key_steps.h"

#include <QTest>

#include <limits>

Q_DECLARE_METATYPE(zq::BoxRect)

namespace {
constexpr int kMax = std::numeric_limits<int>::max();
constexpr int kMin = std::numeric_limits<int>::min();
} // namespace

class KeyStepsTest : public QObject {
    Q_OBJECT
private slots:
    void stepOnARectangle_data();
    void stepOnARectangle();
    void otherKeysAreNoStep();
};

void KeyStepsTest::stepOnARectangle_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("held");
    QTest::addColumn<zq::BoxRect>("before");
    QTest::addColumn<zq::BoxRect>("after");
    const Qt::KeyboardModifiers none;
    const Qt::KeyboardModifiers shift(Qt::ShiftModifier);
    const Qt::KeyboardModifiers ctrl(Qt::ControlModifier);
    const zq::BoxRect r{100, 50, 80, 30};

    QTest::newRow("left 1") << int(Qt::Key_Left) << none << r << zq::BoxRect{99, 50, 80, 30};
    QTest::newRow("right 1") << int(Qt::Key_Right) << none << r << zq::BoxRect{101, 50, 80, 30};
    QTest::newRow("up 1") << int(Qt::Key_Up) << none << r << zq::BoxRect{100, 49, 80, 30};
    QTest::newRow("down 1") << int(Qt::Key_Down) << none << r << zq::BoxRect{100, 51, 80, 30};
    QTest::newRow("Shift left 10") << int(Qt::Key_Left) << shift << r << zq::BoxRect{90, 50, 80, 30};
    QTest::newRow("Shift down 10") << int(Qt::Key_Down) << shift << r << zq::BoxRect{100, 60, 80, 30};
    QTest::newRow("Ctrl right widens") << int(Qt::Key_Right) << ctrl << r << zq::BoxRect{100, 50, 81, 30};
    QTest::newRow("Ctrl up lowers the height")
        << int(Qt::Key_Up) << ctrl << r << zq::BoxRect{100, 50, 80, 29};
    QTest::newRow("Ctrl Shift left 10")
        << int(Qt::Key_Left) << (ctrl | shift) << r << zq::BoxRect{100, 50, 70, 30};
    QTest::newRow("width never below 0")
        << int(Qt::Key_Left) << (ctrl | shift) << zq::BoxRect{0, 0, 4, 9} << zq::BoxRect{0, 0, 0, 9};
    QTest::newRow("height stays at 0")
        << int(Qt::Key_Up) << ctrl << zq::BoxRect{0, 0, 4, 0} << zq::BoxRect{0, 0, 4, 0};
    QTest::newRow("left stays at the low end")
        << int(Qt::Key_Left) << shift << zq::BoxRect{kMin + 3, 0, 1, 1} << zq::BoxRect{kMin, 0, 1, 1};
    QTest::newRow("top stays at the high end")
        << int(Qt::Key_Down) << none << zq::BoxRect{0, kMax, 1, 1} << zq::BoxRect{0, kMax, 1, 1};
    QTest::newRow("width stays at the high end")
        << int(Qt::Key_Right) << (ctrl | shift) << zq::BoxRect{0, 0, kMax - 2, 1}
        << zq::BoxRect{0, 0, kMax, 1};
}

void KeyStepsTest::stepOnARectangle()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, held);
    QFETCH(zq::BoxRect, before);
    QFETCH(zq::BoxRect, after);
    const std::optional<zq::KeyStep> step = zq::keyStep(key, held);
    QVERIFY(step);
    const zq::BoxRect r = zq::applyKeyStep(before, *step);
    QCOMPARE(r.left, after.left);
    QCOMPARE(r.top, after.top);
    QCOMPARE(r.width, after.width);
    QCOMPARE(r.height, after.height);
}

void KeyStepsTest::otherKeysAreNoStep()
{
    for (const int key : {int(Qt::Key_A), int(Qt::Key_Tab), int(Qt::Key_Home)})
        QVERIFY(!zq::keyStep(key, Qt::ShiftModifier));
}

QTEST_MAIN(KeyStepsTest)
#include "key_steps_test.moc"
