#include "fixtures/drag_probe.h"
#include "view/move_panel.h"
#include "view/move_size_loop.h"

#include <QApplication>
#include <QTest>
#include <QWindow>

#include <memory>

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

using zq::MoveSizeLoop;

class MovePanelTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void dragFromInteriorMovesByPointerTravel();
    void resizeFromEdgesAndCorners_data();
    void resizeFromEdgesAndCorners();
    void escapePutsThePanelBack();
    void pressesThatStartNothing_data();
    void pressesThatStartNothing();
    void doubleClickStartsNothing();
    void hoverOnlyChangesCursor();
    void moveWithLeftHeldStartsTheLoop();

private:
    QWindow *window() const { return m_host->windowHandle(); }
    // Panel coordinates to window coordinates, fixed at the start of a drag.
    QPoint inWindow(QPoint panelPos) const { return m_panel->mapTo(m_host.get(), panelPos); }

    std::unique_ptr<QWidget> m_host;
    DragProbe *m_panel = nullptr;
    const QRect m_start{100, 80, 120, 60};
};

void MovePanelTest::init()
{
    m_host = std::make_unique<QWidget>();
    m_host->setGeometry(50, 40, 500, 400);
    m_panel = new DragProbe(m_host.get());
    m_panel->setGeometry(m_start);
    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
}

void MovePanelTest::cleanup()
{
    QVERIFY(!MoveSizeLoop::isRunning());
    m_host.reset();
}

void MovePanelTest::dragFromInteriorMovesByPointerTravel()
{
    const QPoint press = inWindow(QPoint(60, 30));
    QRect seenDuringDrag;
    whenIdle([&] {
        QTest::mouseMove(window(), press + QPoint(10, 4));
        QTest::mouseMove(window(), press + QPoint(30, 17));
        seenDuringDrag = m_panel->geometry();
        QTest::mouseMove(window(), press + QPoint(45, -25));
        QTest::mouseRelease(window(), Qt::LeftButton, {}, press + QPoint(45, -25));
    });
    QTest::mousePress(window(), Qt::LeftButton, {}, press);

    QCOMPARE(seenDuringDrag, m_start.translated(30, 17));
    QCOMPARE(m_panel->geometry(), m_start.translated(45, -25));
    // The handler's caller reads the final bounds right after the routine returns, and the
    // panel's own handlers saw nothing of the drag.
    QCOMPARE(m_panel->boundsAfterReturn, m_start.translated(45, -25));
    QCOMPARE(m_panel->presses, 1);
    QCOMPARE(m_panel->movesWithButtons, 0);
    QCOMPARE(m_panel->cursor().shape(), Qt::SizeAllCursor);
}

void MovePanelTest::resizeFromEdgesAndCorners_data()
{
    QTest::addColumn<QPoint>("grip");
    QTest::addColumn<QPoint>("travel");
    QTest::addColumn<QRect>("expected");
    QTest::addColumn<Qt::CursorShape>("cursor");

    // Panel: left 100, top 80, 120 x 60, so right edge at 220 and bottom at 140.
    QTest::newRow("left") << QPoint(2, 30) << QPoint(-10, 7) << QRect(90, 80, 130, 60) << Qt::SizeHorCursor;
    QTest::newRow("right") << QPoint(117, 30) << QPoint(15, -7) << QRect(100, 80, 135, 60)
                           << Qt::SizeHorCursor;
    QTest::newRow("top") << QPoint(60, 1) << QPoint(9, 12) << QRect(100, 92, 120, 48) << Qt::SizeVerCursor;
    QTest::newRow("bottom") << QPoint(60, 58) << QPoint(-9, 20) << QRect(100, 80, 120, 80)
                            << Qt::SizeVerCursor;
    QTest::newRow("top-left") << QPoint(0, 0) << QPoint(-5, -6) << QRect(95, 74, 125, 66)
                              << Qt::SizeFDiagCursor;
    QTest::newRow("top-right") << QPoint(119, 3) << QPoint(5, 6) << QRect(100, 86, 125, 54)
                               << Qt::SizeBDiagCursor;
    QTest::newRow("bottom-left") << QPoint(4, 57) << QPoint(8, 3) << QRect(108, 80, 112, 63)
                                 << Qt::SizeBDiagCursor;
    QTest::newRow("bottom-right") << QPoint(119, 59) << QPoint(-20, -10) << QRect(100, 80, 100, 50)
                                  << Qt::SizeFDiagCursor;
    QTest::newRow("left dragged past the right edge")
        << QPoint(2, 30) << QPoint(200, 0) << QRect(220, 80, 0, 60) << Qt::SizeHorCursor;
}

void MovePanelTest::resizeFromEdgesAndCorners()
{
    QFETCH(QPoint, grip);
    QFETCH(QPoint, travel);
    QFETCH(QRect, expected);
    QFETCH(Qt::CursorShape, cursor);

    const QPoint press = inWindow(grip);
    whenIdle([&] {
        QTest::mouseMove(window(), press + travel / 2);
        QTest::mouseMove(window(), press + travel);
        QTest::mouseRelease(window(), Qt::LeftButton, {}, press + travel);
    });
    QTest::mousePress(window(), Qt::LeftButton, {}, press);

    QCOMPARE(m_panel->geometry(), expected);
    QCOMPARE(m_panel->boundsAfterReturn, expected);
    QCOMPARE(m_panel->cursor().shape(), cursor);
}

void MovePanelTest::escapePutsThePanelBack()
{
    const QPoint press = inWindow(QPoint(60, 30));
    QRect seenDuringDrag;
    QRect seenAfterEsc;
    QRect seenAfterLaterMove;
    whenIdle([&] {
        QTest::mouseMove(window(), press + QPoint(40, 20));
        seenDuringDrag = m_panel->geometry();
        QTest::keyClick(window(), Qt::Key_Escape);
        seenAfterEsc = m_panel->geometry();
        QTest::mouseMove(window(), press + QPoint(50, 30));
        seenAfterLaterMove = m_panel->geometry();
    });
    QTest::mousePress(window(), Qt::LeftButton, {}, press);
    QTest::mouseRelease(window(), Qt::LeftButton, {}, press + QPoint(50, 30));

    QCOMPARE(seenDuringDrag, m_start.translated(40, 20));
    QCOMPARE(m_panel->geometry(), m_start);
    QCOMPARE(m_panel->boundsAfterReturn, m_start);
    // Esc alone ends the drag: the panel is back at once and no longer follows the pointer.
    QCOMPARE(seenAfterEsc, m_start);
    QCOMPARE(seenAfterLaterMove, m_start);
}

void MovePanelTest::pressesThatStartNothing_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");

    QTest::newRow("right button") << Qt::RightButton << Qt::KeyboardModifiers();
    QTest::newRow("middle button") << Qt::MiddleButton << Qt::KeyboardModifiers();
    QTest::newRow("left with Shift") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("left with Ctrl") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("left with Alt") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::AltModifier);
}

void MovePanelTest::pressesThatStartNothing()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);

    // A press on the left band: the cursor still changes.
    const QPoint press = inWindow(QPoint(2, 30));
    bool loopSeen = true;
    bool fired = false;
    whenIdle([&] {
        loopSeen = MoveSizeLoop::isRunning();
        fired = true;
        QTest::mouseRelease(window(), button, modifiers, press);
    });
    QTest::mousePress(window(), button, modifiers, press);
    QTRY_VERIFY(fired);

    QVERIFY(!loopSeen);
    QCOMPARE(m_panel->geometry(), m_start);
    QCOMPARE(m_panel->cursor().shape(), Qt::SizeHorCursor);
}

void MovePanelTest::doubleClickStartsNothing()
{
    // The window system's own double-click detection: two presses at one spot and time.
    const QPoint press = inWindow(QPoint(60, 30));
    const int t = QTest::lastMouseTimestamp + 10000;
    auto send = [&](QEvent::Type type, Qt::MouseButtons state, QPoint at) {
        qt_handleMouseEvent(window(), at, window()->mapToGlobal(at), state, Qt::LeftButton, type, {}, t);
    };

    // The first press of a double click is an ordinary drag; it ends without travel.
    whenIdle([&] { send(QEvent::MouseButtonRelease, Qt::NoButton, press); });
    send(QEvent::MouseButtonPress, Qt::LeftButton, press);
    QCOMPARE(m_panel->presses, 1);

    bool loopSeen = true;
    bool fired = false;
    whenIdle([&] {
        loopSeen = MoveSizeLoop::isRunning();
        fired = true;
        send(QEvent::MouseButtonRelease, Qt::NoButton, press);
    });
    send(QEvent::MouseButtonPress, Qt::LeftButton, press);
    QTRY_VERIFY(fired);

    QVERIFY(!loopSeen);
    // The double click reached the routine (Qt delivers it in place of the second press).
    QCOMPARE(m_panel->doubleClicks, 1);
    QCOMPARE(m_panel->geometry(), m_start);
}

void MovePanelTest::hoverOnlyChangesCursor()
{
    QTest::mouseMove(window(), inWindow(QPoint(1, 30)));
    QTRY_COMPARE(m_panel->cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(window(), inWindow(QPoint(60, 58)));
    QTRY_COMPARE(m_panel->cursor().shape(), Qt::SizeVerCursor);
    QTest::mouseMove(window(), inWindow(QPoint(118, 1)));
    QTRY_COMPARE(m_panel->cursor().shape(), Qt::SizeBDiagCursor);
    QTest::mouseMove(window(), inWindow(QPoint(60, 30)));
    QTRY_COMPARE(m_panel->cursor().shape(), Qt::SizeAllCursor);
    QCOMPARE(m_panel->geometry(), m_start);
}

void MovePanelTest::moveWithLeftHeldStartsTheLoop()
{
    // As a mouse-move handler calls it: the shift state is the left button alone.
    const QPoint grip(118, 30);
    const QPoint global = m_panel->mapToGlobal(grip);
    whenIdle([&] {
        QMouseEvent move(QEvent::MouseMove, m_host->mapFromGlobal(global + QPoint(12, 0)),
                         global + QPoint(12, 0), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_host.get(), &move);
        QMouseEvent release(QEvent::MouseButtonRelease, m_host->mapFromGlobal(global + QPoint(12, 0)),
                            global + QPoint(12, 0), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m_host.get(), &release);
    });
    zq::MovePanelByMouse(m_panel, Qt::LeftButton, Qt::NoModifier, false, grip.x(), grip.y(), 5);
    QCOMPARE(m_panel->geometry(), QRect(100, 80, 132, 60));
}

QTEST_MAIN(MovePanelTest)
#include "move_panel_test.moc"
