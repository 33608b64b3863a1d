#include "windows/title_bar_frame.h"

#include <QTest>
#include <QWindow>

using zq::TitleBarFrame;

namespace {

// A framed child that counts the presses that get through the frame.
class Framed : public QWidget {
public:
    explicit Framed(QWidget *parent)
        : QWidget(parent)
        , frame(new TitleBarFrame(this))
    {
        setGeometry(100, 100, 120, 80);
    }
    TitleBarFrame *frame;
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};

} // namespace

class TitleBarFrameTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void clientAreaIsInsideTheFrame();
    void dragOnTheTitleBarMovesByThePointersTravel();
    void staysInsideItsParent();
    void pressesElsewhereReachTheWindow();

private:
    QWidget *m_parent = nullptr;
    Framed *m_framed = nullptr;
    // Drags in the parent's coordinates, as the pointer travels over the parent.
    void drag(QPoint from, QPoint to)
    {
        QWindow *window = m_parent->windowHandle();
        QTest::mousePress(window, Qt::LeftButton, {}, from);
        QTest::mouseMove(window, (from + to) / 2);
        QTest::mouseMove(window, to);
        QTest::mouseRelease(window, Qt::LeftButton, {}, to);
    }
};

void TitleBarFrameTest::init()
{
    m_parent = new QWidget;
    m_parent->resize(400, 300);
    m_framed = new Framed(m_parent);
    m_parent->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_parent));
}

void TitleBarFrameTest::cleanup()
{
    delete m_parent;
}

void TitleBarFrameTest::clientAreaIsInsideTheFrame()
{
    const QRect client = m_framed->contentsRect();
    QCOMPARE(m_framed->height() - client.height(), TitleBarFrame::kFrameHeight);
    QCOMPARE(m_framed->width() - client.width(), TitleBarFrame::kFrameWidth);
    const QRect title = m_framed->frame->titleBarRect();
    QCOMPARE(title.bottom() + 1, client.top());
    QCOMPARE(title.left(), client.left());
    QCOMPARE(title.width(), client.width());
}

void TitleBarFrameTest::dragOnTheTitleBarMovesByThePointersTravel()
{
    const QPoint grip = m_framed->mapTo(m_parent, m_framed->frame->titleBarRect().center());
    drag(grip, grip + QPoint(-37, 52));
    QCOMPARE(m_framed->pos(), QPoint(100 - 37, 100 + 52));
    QVERIFY(!m_framed->frame->isDragging());
    QCOMPARE(m_framed->presses, 0);
}

void TitleBarFrameTest::staysInsideItsParent()
{
    const QPoint grip = m_framed->mapTo(m_parent, m_framed->frame->titleBarRect().topLeft() + QPoint(5, 5));
    drag(grip, QPoint(398, 298));
    QCOMPARE(m_framed->geometry().bottomRight(), QPoint(399, 299));
    const QPoint again = m_framed->mapTo(m_parent, m_framed->frame->titleBarRect().topLeft() + QPoint(5, 5));
    drag(again, QPoint(1, 1));
    QCOMPARE(m_framed->pos(), QPoint(0, 0));
}

void TitleBarFrameTest::pressesElsewhereReachTheWindow()
{
    const QPoint inside = m_framed->mapTo(m_parent, m_framed->contentsRect().center());
    drag(inside, inside + QPoint(30, 30));
    QCOMPARE(m_framed->pos(), QPoint(100, 100));
    QCOMPARE(m_framed->presses, 1);
    // The right button on the title bar moves nothing either.
    const QPoint grip = m_framed->mapTo(m_parent, m_framed->frame->titleBarRect().center());
    QWindow *window = m_parent->windowHandle();
    QTest::mousePress(window, Qt::RightButton, {}, grip);
    QTest::mouseMove(window, grip + QPoint(20, 20));
    QTest::mouseRelease(window, Qt::RightButton, {}, grip + QPoint(20, 20));
    QCOMPARE(m_framed->pos(), QPoint(100, 100));
}

QTEST_MAIN(TitleBarFrameTest)
#include "title_bar_frame_test.moc"
