#include "elements/page_elements.h"
#include "fixtures/designer_fixture.h"
#include "fixtures/drag_probe.h"
#include "view/move_size_loop.h"
#include "view/skin_canvas.h"

#include <QApplication>
#include <QFrame>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

using zq::Element;
using zq::TTextBox;

namespace {

QRect geometryOf(const TTextBox &box)
{
    return QRect(box.Left, box.Top, box.Width, box.Height);
}

QRect rectOf(zq::BoxRect r)
{
    return QRect(r.left, r.top, r.width, r.height);
}

// Puts `value` in place of the value of `key` inside [section].
void setKey(QByteArray &ini, const QByteArray &section, const QByteArray &key, int value)
{
    const qsizetype start = ini.indexOf("[" + section + "]");
    const qsizetype at = ini.indexOf("\n" + key + "=", start) + 1;
    const qsizetype end = ini.indexOf('\n', at);
    ini.replace(at, end - at, key + "=" + QByteArray::number(value));
}

} // namespace

class PageElementsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void boxesFollowTheTable();
    void boxesLookLikePlainPanelsOutsideThePageSizing();
    void managementBoxesThreeAndFourCross();
    void boxMovesAndResizesAndRecords_data();
    void boxMovesAndResizesAndRecords();
    void pressesThatStartNothing_data();
    void pressesThatStartNothing();
    void doubleClickStartsNothing();
    void moveWithLeftHeldRecordsToo();
    void draggingAPageTakesItsBoxesAlong();

private:
    // The recharge page with its four boxes from the sample layout, shown.
    zq::TFil &makeFil();
    QPoint inWindow(const TTextBox &box, QPoint local) const
    {
        return box.Panel->mapTo(&m_skin->preview, local);
    }

    std::unique_ptr<SampleSkin> m_skin;
    std::unique_ptr<zq::TFil> m_fil;
};

void PageElementsTest::cleanup()
{
    QVERIFY(!zq::MoveSizeLoop::isRunning());
    m_fil.reset();
    m_skin.reset();
}

zq::TFil &PageElementsTest::makeFil()
{
    m_skin = std::make_unique<SampleSkin>();
    const zq::TiniMian &layout = *m_skin->doc->Layout;
    m_fil = std::make_unique<zq::TFil>(m_skin->doc->element(Element::FilPage), m_skin->preview.canvas());
    m_fil->MakeBox1(layout.FilCardBox);
    m_fil->MakeBox2(layout.FilCardPassBox);
    m_fil->MakeBox3(layout.FilAmountBox);
    m_fil->MakeBox4(layout.FilOkBox);
    return *m_fil;
}

void PageElementsTest::boxesFollowTheTable()
{
    SampleSkin skin;
    QVERIFY(skin.opened);
    const zq::TiniMian &layout = *skin.doc->Layout;

    zq::TUserLog log(skin.doc->element(Element::LogPage), &skin.preview);
    log.MakeBox1(layout.LogUserBox);
    log.MakeBox2(layout.LogPassBox);
    log.MakeBox3(layout.LogOkBox);
    zq::TFil fil(skin.doc->element(Element::FilPage), &skin.preview);
    fil.MakeBox1(layout.FilCardBox);
    fil.MakeBox2(layout.FilCardPassBox);
    fil.MakeBox3(layout.FilAmountBox);
    fil.MakeBox4(layout.FilOkBox);
    zq::TMan man(skin.doc->element(Element::ManPage), &skin.preview);
    man.MakeBox1(layout.ManPassBox);
    man.MakeBox2(layout.ManOkBox);
    man.MakeBox3(layout.ManShutdownBox);
    man.MakeBox4(layout.ManRestartBox);

    struct Row {
        TTextBox *box;
        zq::TImageButtonA *page;
        const char16_t *caption;
        zq::BoxRect rect;
    };
    const Row rows[] = {
        {log.Box1, &log, u"用户名", layout.LogUserBox},
        {log.Box2, &log, u"登陆密码", layout.LogPassBox},
        {log.Box3, &log, u"确定", layout.LogOkBox},
        {fil.Box1, &fil, u"充值卡号", layout.FilCardBox},
        {fil.Box2, &fil, u"充值卡密码", layout.FilCardPassBox},
        {fil.Box3, &fil, u"充值金额", layout.FilAmountBox},
        {fil.Box4, &fil, u"充值确定", layout.FilOkBox},
        {man.Box1, &man, u"管理密码", layout.ManPassBox},
        {man.Box2, &man, u"管理确定", layout.ManOkBox},
        {man.Box3, &man, u"关机", layout.ManShutdownBox},
        {man.Box4, &man, u"重启", layout.ManRestartBox},
    };
    for (const Row &row : rows) {
        QVERIFY(row.box);
        const QString caption = QString::fromUtf16(row.caption);
        QCOMPARE(row.box->Caption, caption);
        QCOMPARE(row.box->Panel->accessibleName(), caption);
        QCOMPARE(row.box->Panel->parentWidget(), row.page->Panel());
        QCOMPARE(row.box->Panel->geometry(), rectOf(row.rect));
        QVERIFY(row.box->rect() == row.rect);
    }

    // Built visible, then hidden with its page.
    QVERIFY(man.Box4->Panel->isVisible());
    man.HideElement();
    QVERIFY(!man.Box4->Panel->isVisible());
    QVERIFY(man.Box4->Panel->isVisibleTo(man.Panel()));
    QVERIFY(log.Box1->Panel->isVisible());
}

void PageElementsTest::boxesLookLikePlainPanelsOutsideThePageSizing()
{
    zq::TFil &fil = makeFil();
    QVERIFY(m_skin->exposed());
    QFrame *panel = fil.Box2->Panel;
    QCOMPARE(panel->frameStyle(), QFrame::Panel | QFrame::Raised);
    QCOMPARE(panel->lineWidth(), 1);
    QCOMPARE(panel->backgroundRole(), QPalette::Button);
    // Inside the bevel the face colour shows.
    const QImage shot = panel->grab().toImage();
    QCOMPARE(shot.pixel(4, 4), panel->palette().color(QPalette::Button).rgb());

    // A box reaching past the page leaves the page at its picture's size, drawn only inside it.
    const QSize page = fil.Panel()->size();
    TTextBox wide(fil.Panel(), QStringLiteral("x"), {400, 300, 200, 100});
    QCOMPARE(fil.Panel()->size(), page);
    QCOMPARE(wide.Panel->geometry(), QRect(400, 300, 200, 100));
}

void PageElementsTest::managementBoxesThreeAndFourCross()
{
    SampleSkin skin([](QByteArray &ini) {
        setKey(ini, "PageMan", "logbox3left", 10);
        setKey(ini, "PageMan", "logbox3Top", 20);
        setKey(ini, "PageMan", "logbox3Width", 30);
        setKey(ini, "PageMan", "logbox3Height", 40);
        setKey(ini, "PageMan", "logbox4left", 50);
        setKey(ini, "PageMan", "logbox4Top", 60);
        setKey(ini, "PageMan", "logbox4Width", 70);
        setKey(ini, "PageMan", "logbox4Height", 80);
    });
    QVERIFY(skin.opened);
    const zq::TiniMian &layout = *skin.doc->Layout;
    zq::TMan man(skin.doc->element(Element::ManPage), &skin.preview);
    man.MakeBox1(layout.ManPassBox);
    man.MakeBox2(layout.ManOkBox);
    man.MakeBox3(layout.ManShutdownBox);
    man.MakeBox4(layout.ManRestartBox);

    QCOMPARE(man.Box4->Caption, QStringLiteral("重启"));
    QCOMPARE(man.Box4->Panel->geometry(), QRect(10, 20, 30, 40));
    QCOMPARE(man.Box3->Caption, QStringLiteral("关机"));
    QCOMPARE(man.Box3->Panel->geometry(), QRect(50, 60, 70, 80));
    // Created in slot order, so the restart box lies above the shut-down box.
    const QObjectList stack = man.Panel()->children();
    QVERIFY(stack.indexOf(man.Box3->Panel) < stack.indexOf(man.Box4->Panel));
}

void PageElementsTest::boxMovesAndResizesAndRecords_data()
{
    QTest::addColumn<QPoint>("grip");
    QTest::addColumn<QPoint>("travel");
    QTest::addColumn<QRect>("expected");

    // The sample's 充值卡号 box: left 140, top 70, 270 x 34.
    QTest::newRow("move") << QPoint(100, 17) << QPoint(25, -12) << QRect(165, 58, 270, 34);
    QTest::newRow("move off the page") << QPoint(100, 17) << QPoint(-200, -90) << QRect(-60, -20, 270, 34);
    QTest::newRow("right edge") << QPoint(267, 17) << QPoint(30, 5) << QRect(140, 70, 300, 34);
    QTest::newRow("left edge") << QPoint(1, 17) << QPoint(-20, 9) << QRect(120, 70, 290, 34);
    QTest::newRow("bottom-right") << QPoint(269, 33) << QPoint(-70, 16) << QRect(140, 70, 200, 50);
    QTest::newRow("top-left") << QPoint(0, 0) << QPoint(10, 10) << QRect(150, 80, 260, 24);
}

void PageElementsTest::boxMovesAndResizesAndRecords()
{
    QFETCH(QPoint, grip);
    QFETCH(QPoint, travel);
    QFETCH(QRect, expected);

    zq::TFil &fil = makeFil();
    QVERIFY(m_skin->exposed());
    TTextBox &box = *fil.Box1;
    QCOMPARE(geometryOf(box), QRect(140, 70, 270, 34));
    const QPoint press = inWindow(box, grip);
    QWindow *w = m_skin->window();
    whenIdle([&] {
        QTest::mouseMove(w, press + travel / 3);
        QTest::mouseMove(w, press + travel);
        QTest::mouseRelease(w, Qt::LeftButton, {}, press + travel);
    });
    QTest::mousePress(w, Qt::LeftButton, {}, press);

    QCOMPARE(box.Panel->geometry(), expected);
    QCOMPARE(geometryOf(box), expected);
    // The other boxes stay where they were.
    QCOMPARE(geometryOf(*fil.Box2), QRect(140, 120, 270, 34));
}

void PageElementsTest::pressesThatStartNothing_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("right button") << Qt::RightButton << Qt::KeyboardModifiers();
    QTest::newRow("left with Shift") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("left with Ctrl") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("left with Alt") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::AltModifier);
}

void PageElementsTest::pressesThatStartNothing()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);

    zq::TFil &fil = makeFil();
    QVERIFY(m_skin->exposed());
    TTextBox &box = *fil.Box3;
    const QRect start = geometryOf(box);
    const QPoint press = inWindow(box, QPoint(2, 17));
    bool loopSeen = true;
    whenIdle([&] { loopSeen = zq::MoveSizeLoop::isRunning(); });
    const PopupWatch pageMenu([](QWidget *menu) { menu->close(); }); // for a right press
    QTest::mousePress(m_skin->window(), button, modifiers, press);
    QTest::mouseRelease(m_skin->window(), button, modifiers, press);
    if (button == Qt::RightButton)
        QTRY_VERIFY(pageMenu.seen());

    QVERIFY(!loopSeen);
    QCOMPARE(box.Panel->geometry(), start);
    QCOMPARE(geometryOf(box), start);
    QCOMPARE(fil.Panel()->pos(), QPoint(1305, 405));
    // The cursor still shows the zone under the pointer.
    QCOMPARE(box.Panel->cursor().shape(), Qt::SizeHorCursor);
}

void PageElementsTest::doubleClickStartsNothing()
{
    zq::TFil &fil = makeFil();
    QVERIFY(m_skin->exposed());
    TTextBox &box = *fil.Box1;
    const QRect start = geometryOf(box);
    QWindow *w = m_skin->window();
    const QPoint at = inWindow(box, QPoint(100, 17));
    const int t = QTest::lastMouseTimestamp + 10000;
    auto send = [&](QEvent::Type type, Qt::MouseButtons state) {
        qt_handleMouseEvent(w, at, w->mapToGlobal(at), state, Qt::LeftButton, type, {}, t);
    };
    whenIdle([&] { send(QEvent::MouseButtonRelease, Qt::NoButton); });
    send(QEvent::MouseButtonPress, Qt::LeftButton);

    bool loopSeen = true;
    bool fired = false;
    whenIdle([&] {
        loopSeen = zq::MoveSizeLoop::isRunning();
        fired = true;
        send(QEvent::MouseButtonRelease, Qt::NoButton);
    });
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    QTRY_VERIFY(fired);
    QVERIFY(!loopSeen);
    QCOMPARE(geometryOf(box), start);
}

void PageElementsTest::moveWithLeftHeldRecordsToo()
{
    zq::TFil &fil = makeFil();
    QVERIFY(m_skin->exposed());
    TTextBox &box = *fil.Box4; // 充值确定: left 140, top 228, 270 x 40
    QWindow *w = m_skin->window();
    const QPoint press = inWindow(box, QPoint(100, 20));

    // Pressed with Shift: nothing starts. Shift let go, the next move with the button still
    // down starts the loop from the move handler.
    QTest::mousePress(w, Qt::LeftButton, Qt::ShiftModifier, press);
    QVERIFY(!zq::MoveSizeLoop::isRunning());
    whenIdle([&] {
        QTest::mouseMove(w, press + QPoint(40, 25));
        QTest::mouseRelease(w, Qt::LeftButton, {}, press + QPoint(40, 25));
    });
    QTest::mouseMove(w, press + QPoint(10, 5));

    QCOMPARE(box.Panel->geometry(), QRect(170, 248, 270, 40));
    QCOMPARE(geometryOf(box), QRect(170, 248, 270, 40));
}

void PageElementsTest::draggingAPageTakesItsBoxesAlong()
{
    zq::TFil &fil = makeFil();
    QVERIFY(m_skin->exposed());
    const zq::BoxRect before[] = {fil.Box1->rect(), fil.Box2->rect(), fil.Box3->rect(), fil.Box4->rect()};
    const QPoint boxOnScreen = fil.Box2->Panel->mapTo(&m_skin->preview, QPoint(0, 0));

    // A spot of the page picture that no box covers.
    const QPoint press = fil.Panel()->mapTo(&m_skin->preview, QPoint(20, 20));
    const QPoint travel(-700, -300);
    QWindow *w = m_skin->window();
    whenIdle([&] {
        QTest::mouseMove(w, press + travel);
        QTest::mouseRelease(w, Qt::LeftButton, {}, press + travel);
    });
    QTest::mousePress(w, Qt::LeftButton, {}, press);

    QCOMPARE(QPoint(fil.X(), fil.Y()), QPoint(605, 105));
    QCOMPARE(fil.Box2->Panel->mapTo(&m_skin->preview, QPoint(0, 0)), boxOnScreen + travel);
    const zq::BoxRect after[] = {fil.Box1->rect(), fil.Box2->rect(), fil.Box3->rect(), fil.Box4->rect()};
    for (int i = 0; i < 4; ++i)
        QVERIFY(after[i] == before[i]);
}

QTEST_MAIN(PageElementsTest)
#include "page_elements_test.moc"
