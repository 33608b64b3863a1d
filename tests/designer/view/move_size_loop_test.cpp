#include "fixtures/drag_probe.h"
#include "view/move_panel.h"
#include "view/move_size_loop.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QWindow>

#include <memory>

using zq::MoveSizeLoop;

// A picture-element-like panel: any left press drags the whole panel.
class DragMoveProbe : public QFrame {
public:
    using QFrame::QFrame;
    MoveSizeLoop::Result result;

protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        if (e->button() == Qt::LeftButton)
            result = zq::DragMove(this, e->globalPosition().toPoint());
    }
};

class MoveSizeLoopTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void dragMoveFollowsTravelInParentCoordinates();
    void escapeCancelsAndRestores();
    void controlDestroyedDuringTheLoopEndsIt();
    void keysAndOtherButtonsAreSwallowed();

private:
    QWindow *window() const { return m_host->windowHandle(); }

    std::unique_ptr<QWidget> m_host;
    QWidget *m_parent = nullptr;
    DragMoveProbe *m_panel = nullptr;
};

void MoveSizeLoopTest::init()
{
    m_host = std::make_unique<QWidget>();
    m_host->setGeometry(30, 20, 600, 400);
    // The panel sits two levels down, so its parent's coordinates differ from the window's.
    m_parent = new QWidget(m_host.get());
    m_parent->setGeometry(40, 30, 500, 350);
    m_panel = new DragMoveProbe(m_parent);
    m_panel->setGeometry(10, 15, 80, 30);
    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
}

void MoveSizeLoopTest::cleanup()
{
    QVERIFY(!MoveSizeLoop::isRunning());
    m_host.reset();
}

void MoveSizeLoopTest::dragMoveFollowsTravelInParentCoordinates()
{
    // A press on the panel's border band still moves it: the plain drag has no zones.
    const QPoint press = m_panel->mapTo(m_host.get(), QPoint(1, 1));
    whenIdle([&] {
        QTest::mouseMove(window(), press + QPoint(25, 5));
        QTest::mouseRelease(window(), Qt::LeftButton, {}, press + QPoint(25, 5));
    });
    QTest::mousePress(window(), Qt::LeftButton, {}, press);

    QCOMPARE(m_panel->result.outcome, MoveSizeLoop::Outcome::Finished);
    QCOMPARE(m_panel->geometry(), QRect(35, 20, 80, 30));
    // The caller learns both ends of the drag, to record it as one edit.
    QCOMPARE(m_panel->result.start, QRect(10, 15, 80, 30));
    QCOMPARE(m_panel->result.end, m_panel->geometry());
    QVERIFY(m_panel->result.changed());
}

void MoveSizeLoopTest::escapeCancelsAndRestores()
{
    const QPoint press = m_panel->mapTo(m_host.get(), QPoint(40, 15));
    whenIdle([&] {
        QTest::mouseMove(window(), press + QPoint(100, 100));
        QTest::keyClick(window(), Qt::Key_Escape);
    });
    QTest::mousePress(window(), Qt::LeftButton, {}, press);
    QTest::mouseRelease(window(), Qt::LeftButton, {}, press + QPoint(100, 100));

    QCOMPARE(m_panel->result.outcome, MoveSizeLoop::Outcome::Cancelled);
    QCOMPARE(m_panel->geometry(), QRect(10, 15, 80, 30));
    QCOMPARE(m_panel->result.end, m_panel->result.start);
    QVERIFY(!m_panel->result.changed());
}

void MoveSizeLoopTest::controlDestroyedDuringTheLoopEndsIt()
{
    auto *doomed = new QFrame(m_parent);
    doomed->setGeometry(200, 200, 50, 50);
    doomed->show();
    QPointer<QFrame> watch(doomed);
    whenIdle([&] { delete doomed; });
    // Runs straight from the test: nothing but the deletion can end it.
    const auto outcome = MoveSizeLoop::run(doomed, zq::HitZone::Interior, doomed->mapToGlobal(QPoint(5, 5)));
    QCOMPARE(outcome.outcome, MoveSizeLoop::Outcome::Finished);
    QVERIFY(watch.isNull());
}

void MoveSizeLoopTest::keysAndOtherButtonsAreSwallowed()
{
    // While a drag runs, a right press must not open the host's menus and typing must not
    // reach a field.
    int leaked = 0;
    struct Counter : QObject {
        int *count;
        explicit Counter(int *c)
            : count(c)
        {}
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::ContextMenu || e->type() == QEvent::KeyPress)
                ++*count;
            return false;
        }
    } counter(&leaked);
    m_host->installEventFilter(&counter);
    m_parent->installEventFilter(&counter);

    const QPoint press = m_panel->mapTo(m_host.get(), QPoint(40, 15));
    whenIdle([&] {
        QTest::mouseMove(window(), press + QPoint(3, 3));
        QTest::keyClick(window(), Qt::Key_A);
        QTest::mousePress(window(), Qt::RightButton, {}, press + QPoint(3, 3));
        QTest::mouseRelease(window(), Qt::RightButton, {}, press + QPoint(3, 3));
        QTest::mouseRelease(window(), Qt::LeftButton, {}, press + QPoint(3, 3));
    });
    QTest::mousePress(window(), Qt::LeftButton, {}, press);

    QCOMPARE(leaked, 0);
    QCOMPARE(m_panel->result.outcome, MoveSizeLoop::Outcome::Finished);
    QCOMPARE(m_panel->geometry(), QRect(13, 18, 80, 30));
}

QTEST_MAIN(MoveSizeLoopTest)
#include "move_size_loop_test.moc"
