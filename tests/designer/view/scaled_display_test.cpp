// The skin at a fractional display scaling: run with QT_SCALE_FACTOR=1.5, where one logical
// pixel is a pixel and a half of the screen. One picture pixel must still be one screen pixel,
// and the mouse must move things by the screen pixels it travels.

#include "editing/edit_overlay.h"
#include "editing/layout_editor.h"
#include "elements/page_elements.h"
#include "elements/set_ui.h"
#include "fixtures/designer_fixture.h"
#include "view/canvas_overview.h"
#include "view/device_pixels.h"
#include "view/skin_canvas.h"

#include <QAccessible>
#include <QBackingStore>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using zq::Element;

namespace {

constexpr qreal kRatio = 1.5;
const QSize kScreen(1920, 1080); // device pixels; the sample's background is as large

// Mouse events at device pixels of a window, as the window system reports them.
class Pointer {
public:
    explicit Pointer(QWindow *window)
        : m_window(window)
    {}

    void press(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers held = {})
    {
        m_buttons |= button;
        send(QEvent::MouseButtonPress, at, button, held);
    }
    void move(QPoint at, Qt::KeyboardModifiers held = {}) { send(QEvent::MouseMove, at, Qt::NoButton, held); }
    void release(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers held = {})
    {
        m_buttons &= ~button;
        send(QEvent::MouseButtonRelease, at, button, held);
    }

    // Press at `from`, two steps, release at `from + travel`; the steps run in the move/size
    // loop the press starts.
    void drag(QPoint from, QPoint travel, Qt::KeyboardModifiers held = {})
    {
        QTimer::singleShot(0, [=, this] {
            move(from + travel / 3, held);
            move(from + travel, held);
            release(from + travel, Qt::LeftButton, held);
        });
        press(from, Qt::LeftButton, held);
    }

private:
    void send(QEvent::Type type, QPoint device, Qt::MouseButton button, Qt::KeyboardModifiers held)
    {
        const QPointF local = QPointF(device) / m_window->devicePixelRatio();
        s_time += 1000; // never a double click
        qt_handleMouseEvent(m_window, local, QPointF(m_window->position()) + local, m_buttons, button, type,
                            held, s_time);
    }

    QWindow *m_window;
    Qt::MouseButtons m_buttons;
    static inline int s_time = 100000;
};

// How a widget looks at scale 1: painted into a plain image, one of its pixels on one of the
// image's.
QImage atScaleOne(QWidget *widget)
{
    QImage image(widget->size(), QImage::Format_RGB32);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
}

} // namespace

class ScaledDisplayTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everyDevicePixelRoundTrips_data();
    void everyDevicePixelRoundTrips();
    void skinShowsPixelForPixelAsAtScaleOne();
    void dragsMoveByTheScreenPixelsTravelled_data();
    void dragsMoveByTheScreenPixelsTravelled();
    void editorCountsInScreenPixels();
    void screenReadersFindEachItemWhereItShows();
    void overviewOnlyForASkinLargerThanTheScreen_data();
    void overviewOnlyForASkinLargerThanTheScreen();
};

void ScaledDisplayTest::initTestCase()
{
    // Everything below is about a fractional factor; under any other the test proves nothing.
    QWidget probe;
    QCOMPARE(probe.devicePixelRatioF(), kRatio);
}

void ScaledDisplayTest::everyDevicePixelRoundTrips_data()
{
    QTest::addColumn<qreal>("ratio");
    for (qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0, 2.25})
        QTest::addRow("%g", ratio) << ratio;
}

void ScaledDisplayTest::everyDevicePixelRoundTrips()
{
    QFETCH(qreal, ratio);
    // The window system reports whole device pixels; Qt divides them into logical ones.
    for (int n = 0; n < 4000; ++n) {
        const QPoint device(n, 4000 - n);
        QCOMPARE(zq::devicePixelAt(QPointF(device) / ratio, ratio), device);
        // A rectangle of device pixels is covered by the logical one drawn again for it.
        const QRect pixels(device, QSize(n % 7 + 1, n % 5 + 1));
        const QRect logical = zq::logicalRectOf(pixels, ratio);
        QVERIFY(zq::deviceRectOf(logical, ratio).contains(pixels));
        QVERIFY(logical.width() <= std::ceil(pixels.width() / ratio) + 1);
    }
}

void ScaledDisplayTest::skinShowsPixelForPixelAsAtScaleOne()
{
    SampleSkin skin;
    QVERIFY(skin.opened);
    skin.preview.setGeometry(QRect(QPoint(0, 0), kScreen / kRatio));
    const zq::TiniMian &layout = *skin.doc->layout();
    std::vector<std::unique_ptr<zq::TImageButtonA>> elements;
    for (Element e : {Element::LogTab, Element::FilTab, Element::ManTab})
        elements.push_back(std::make_unique<zq::TImageButtonA>(skin.doc->element(e), skin.preview.canvas()));
    auto page = std::make_unique<zq::TFil>(skin.doc->element(Element::FilPage), skin.preview.canvas());
    page->MakeBox1(layout.FilCardBox);
    page->MakeBox2(layout.FilCardPassBox);
    page->MakeBox3(layout.FilAmountBox);
    page->MakeBox4(layout.FilOkBox);
    const std::vector<zq::TTextBox *> boxes = {page->Box1, page->Box2, page->Box3, page->Box4};
    // Off its layout point by an odd number of pixels, which no logical position reaches.
    page->ApplyBounds(page->X() - 301, page->Y() + 77, 0, 0, false, zq::TImageButtonA::Edit::Key);
    elements.push_back(std::move(page));
    QVERIFY(skin.exposed());

    // The background 1:1 from the screen's corner, each picture at its place and the boxes on
    // the page exactly as a screen at scale 1 shows them, their captions at the same size.
    auto expected = [&] {
        QImage screen = skin.background().toImage().convertToFormat(QImage::Format_RGB32);
        QPainter painter(&screen);
        std::vector<zq::TImageButtonA *> bottomUp;
        for (const auto &element : elements)
            bottomUp.push_back(element.get());
        const QObjectList &stacking = skin.preview.canvas()->children();
        std::sort(bottomUp.begin(), bottomUp.end(), [&](auto *a, auto *b) {
            return stacking.indexOf(a->Panel()) < stacking.indexOf(b->Panel());
        });
        for (const zq::TImageButtonA *element : bottomUp) {
            const QPoint at = element->Panel()->pos();
            painter.setClipping(false);
            painter.drawImage(at, element->bitmap().toImage());
            painter.setClipRect(QRect(at, element->Panel()->size()));
            for (zq::TTextBox *box : boxes) {
                if (box->Panel->parentWidget() == element->Panel())
                    painter.drawImage(at + box->Panel->pos(), atScaleOne(box->Panel));
            }
        }
        return screen;
    };
    QImage shown;
    QTRY_VERIFY((shown = onScreen(&skin.preview)).size() == kScreen);
    QCOMPARE(firstDifference(shown, expected()), QString());

    // Dragged in steps across the page and the 充值 tab, and dropped on a box: every place the
    // tab passed over shows again what lies there.
    zq::TImageButtonA &tab = *elements[0];
    tab.BringElementToFront();
    const QPoint grip = tab.Panel()->pos() + QPoint(31, 17);
    Pointer(skin.window()).drag(grip, boxes[2]->Panel->mapTo(skin.preview.canvas(), QPoint(17, 3)) - grip);
    QVERIFY(tab.Panel()->geometry().intersects(skin.preview.canvas()->viewRect(boxes[2]->Panel)));
    QCOMPARE(firstDifference(onScreen(&skin.preview), expected()), QString());
}

void ScaledDisplayTest::dragsMoveByTheScreenPixelsTravelled_data()
{
    QTest::addColumn<QString>("what"); // "tab", or a box zone
    QTest::addColumn<QPoint>("grab");  // in the item, device pixels
    QTest::addColumn<QPoint>("travel");
    QTest::addColumn<QRect>("change"); // added to the item's geometry
    QTest::newRow("tab (40, 30)") << "tab" << QPoint(31, 17) << QPoint(40, 30) << QRect(40, 30, 0, 0);
    QTest::newRow("tab by one") << "tab" << QPoint(30, 16) << QPoint(1, -1) << QRect(1, -1, 0, 0);
    QTest::newRow("tab (-41, 7)") << "tab" << QPoint(75, 22) << QPoint(-41, 7) << QRect(-41, 7, 0, 0);
    QTest::newRow("box moved") << "box" << QPoint(101, 17) << QPoint(40, 30) << QRect(40, 30, 0, 0);
    // The left band is 6 pixels deep: its last pixel resizes, the next one moves.
    QTest::newRow("box, left band") << "box" << QPoint(5, 17) << QPoint(-7, 3) << QRect(-7, 0, 7, 0);
    QTest::newRow("box, past the band") << "box" << QPoint(6, 17) << QPoint(-7, 3) << QRect(-7, 3, 0, 0);
    QTest::newRow("box, bottom-right corner")
        << "box" << QPoint(269, 33) << QPoint(13, 11) << QRect(0, 0, 13, 11);
}

void ScaledDisplayTest::dragsMoveByTheScreenPixelsTravelled()
{
    QFETCH(QString, what);
    QFETCH(QPoint, grab);
    QFETCH(QPoint, travel);
    QFETCH(QRect, change);

    SampleSkin skin;
    QVERIFY(skin.opened);
    skin.preview.setGeometry(QRect(QPoint(0, 0), kScreen / kRatio));
    zq::TImageButtonA tab(skin.doc->element(Element::LogTab), skin.preview.canvas());
    zq::TFil page(skin.doc->element(Element::FilPage), skin.preview.canvas());
    page.MakeBox1(skin.doc->layout()->FilCardBox);
    page.ApplyBounds(211, 97, 0, 0, false, zq::TImageButtonA::Edit::Key);
    QVERIFY(skin.exposed());

    QWidget *item = what == "tab" ? tab.Panel() : page.Box1->Panel;
    const QRect before = item->geometry();
    const QPoint at = skin.preview.canvas()->viewPos(item) + grab;
    QCOMPARE(skin.preview.canvas()->itemAt(at), item);
    Pointer(skin.window()).drag(at, travel);

    const QRect after = item->geometry();
    QCOMPARE(after, before.adjusted(change.x(), change.y(), change.x() + change.width(),
                                    change.y() + change.height()));
    if (what == "tab")
        QCOMPARE(QPoint(tab.X(), tab.Y()), after.topLeft());
    else
        QVERIFY(page.Box1->rect() == zq::BoxRect({after.x(), after.y(), after.width(), after.height()}));
}

void ScaledDisplayTest::editorCountsInScreenPixels()
{
    ControlHarness h;
    SkinCopy skin;
    QVERIFY(skin.isValid());
    h.preview()->setGeometry(QRect(QPoint(0, 0), kScreen / kRatio));
    h.open(skin.layout());
    h.form->move(0, 0); // out of the drags' way, wherever the system's screen put it
    h.preview()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(h.preview()));
    QCOMPARE(h.errors, QStringList());
    zq::SkinCanvas *canvas = h.preview()->canvas();
    zq::EditOverlay *overlay = h.form->editor().overlay();
    QWidget *log = h.panel(Element::LogTab);
    QWidget *fil = h.panel(Element::FilTab);
    Pointer pointer(h.window());

    // A press selects: the outline lies on the tab's own edge pixels.
    const QPoint start = log->pos();
    pointer.drag(canvas->viewPos(log) + QPoint(10, 10), QPoint(0, 0));
    QCOMPARE(h.form->editor().selected(), log);
    QCOMPARE(overlay->selectionRect(), QRect(start, log->size()));
    QImage shown;
    QTRY_VERIFY((shown = onScreen(h.preview())).size() == kScreen);
    const QImage picture =
        h.element(Element::LogTab)->bitmap().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint middleOfTop(start.x() + 40, start.y());
    QVERIFY(shown.pixel(middleOfTop) != picture.pixel(40, 0));
    QCOMPARE(shown.pixel(middleOfTop + QPoint(0, 2)), picture.pixel(40, 2));

    // Arrow keys step by one screen pixel, the readout in picture pixels.
    h.key(Qt::Key_Right);
    h.key(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(log->pos(), start + QPoint(1, 10));
    QCOMPARE(overlay->readoutText(),
             QStringLiteral("%1, %2  150 × 44").arg(start.x() + 1).arg(start.y() + 10));
    h.undo().undo();
    QCOMPARE(log->pos(), start);

    // Snapping within 6 screen pixels: the 登陆 tab's right edge dragged to 6 pixels short of the
    // 充值 tab's left edge lands against it; 7 short, it stays where it was dropped.
    const QPoint away(-300, 200);
    h.form->editor().select(log);
    const QPoint grip = canvas->viewPos(log) + QPoint(31, 21);
    pointer.drag(grip, away);
    const QPoint dropped = start + away;
    QCOMPARE(log->pos(), dropped);
    for (const int gap : {6, 7}) {
        const QPoint grab = canvas->viewPos(log) + QPoint(31, 21);
        const int travel = fil->x() - gap - (log->x() + log->width());
        pointer.drag(grab, QPoint(travel, fil->y() - log->y()));
        QCOMPARE(log->x() + log->width(), gap <= zq::LayoutEditor::kSnapDistance ? fil->x() : fil->x() - gap);
        QCOMPARE(log->y(), fil->y());
        h.undo().undo();
        QCOMPARE(log->pos(), dropped);
    }

    // The position dialog and the saved layout count in picture pixels too.
    zq::TSetUi *dialog = h.element(Element::LogTab)->OpenPositionDialog();
    QCOMPARE(dialog->Edit2()->text(), QString::number(dropped.x()));
    QCOMPARE(dialog->Edit1()->text(), QString::number(dropped.y()));
    dialog->close();
    h.preview()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(h.preview()));
    h.key(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(h.notices, QStringList{QStringLiteral("皮肤保存成功")});
    zq::SkinDocument saved(skin.layout());
    QVERIFY(saved.open());
    QCOMPARE(QPoint(saved.element(Element::LogTab).X(), saved.element(Element::LogTab).Y()), dropped);
}

void ScaledDisplayTest::screenReadersFindEachItemWhereItShows()
{
    SampleSkin skin;
    QVERIFY(skin.opened);
    skin.preview.setGeometry(QRect(QPoint(0, 0), kScreen / kRatio));
    zq::TImageButtonA tab(skin.doc->element(Element::ManTab), skin.preview.canvas());
    zq::TMan page(skin.doc->element(Element::ManPage), skin.preview.canvas());
    page.MakeBox3(skin.doc->layout()->ManShutdownBox);
    page.ApplyBounds(101, 203, 0, 0, false, zq::TImageButtonA::Edit::Key);
    QVERIFY(skin.exposed());

    zq::SkinCanvas *canvas = skin.preview.canvas();
    QAccessibleInterface *onCanvas = QAccessible::queryAccessibleInterface(canvas);
    const QPoint origin = canvas->mapToGlobal(QPoint(0, 0));
    const std::pair<QWidget *, QString> items[] = {
        {tab.Panel(), QStringLiteral("管理")},
        {page.Panel(), QStringLiteral("管理激活")},
        {page.Box3->Panel, QStringLiteral("关机")},
    };
    for (const auto &[item, name] : items) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(item);
        QCOMPARE(face->text(QAccessible::Name), name);
        QVERIFY(face->parent() == onCanvas || face->parent()->parent() == onCanvas);
        // In screen pixels, it covers the item and no more than the pixel a logical one adds.
        const QRect shown = canvas->viewRect(item);
        const QRect told = zq::deviceRectOf(face->rect().translated(-origin), kRatio);
        QVERIFY2(told.contains(shown) && shown.adjusted(-2, -2, 2, 2).contains(told),
                 qPrintable(QStringLiteral("%1: told %2,%3 %4x%5")
                                .arg(name)
                                .arg(told.x())
                                .arg(told.y())
                                .arg(told.width())
                                .arg(told.height())));
    }
}

void ScaledDisplayTest::overviewOnlyForASkinLargerThanTheScreen_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("pans");
    QTest::newRow("as large as the screen") << kScreen << false;
    QTest::newRow("a pixel wider") << kScreen + QSize(1, 0) << true;
    QTest::newRow("a pixel higher") << kScreen + QSize(0, 1) << true;
    QTest::newRow("twice as large") << kScreen * 2 << true;
}

void ScaledDisplayTest::overviewOnlyForASkinLargerThanTheScreen()
{
    QFETCH(QSize, picture);
    QFETCH(bool, pans);
    zq::TForm2 preview;
    preview.setGeometry(QRect(QPoint(0, 0), kScreen / kRatio));
    QImage background(picture, QImage::Format_RGB32);
    background.fill(qRgb(10, 120, 30));
    preview.setBackground(background);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    zq::SkinCanvas *canvas = preview.canvas();
    QCOMPARE(canvas->viewSize(), kScreen);
    QCOMPARE(canvas->pans(), pans);
    QCOMPARE(preview.overview()->isVisible(), pans);

    // The middle button drags the view by the screen pixels the pointer travels, as far as the
    // picture goes.
    const QPoint travel(-41, -17);
    const QPoint most(picture.width() - kScreen.width(), picture.height() - kScreen.height());
    Pointer pointer(preview.windowHandle());
    pointer.press(QPoint(301, 205), Qt::MiddleButton);
    pointer.move(QPoint(301, 205) + travel);
    pointer.release(QPoint(301, 205) + travel, Qt::MiddleButton);
    QCOMPARE(canvas->pan(), QPoint(std::min(41, most.x()), std::min(17, most.y())));
}

QTEST_MAIN(ScaledDisplayTest)
#include "scaled_display_test.moc"
