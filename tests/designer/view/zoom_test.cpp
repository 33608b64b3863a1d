#include "document/skin_workspace.h"
#include "editing/edit_overlay.h"
#include "editing/layout_editor.h"
#include "elements/page_elements.h"
#include "elements/text_box.h"
#include "fixtures/designer_fixture.h"
#include "picture/reduced_copies.h"
#include "view/move_size_loop.h"
#include "view/skin_canvas.h"
#include "view/zoom_steps.h"
#include "windows/control_dialogs.h"

#include <QAccessible>
#include <QComboBox>
#include <QSettings>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QWheelEvent>

#include <cmath>

using zq::Element;
using zq::SkinCanvas;

namespace {

// The control window over a copy of the sample skin (1920 × 1080), opened, on a laptop's
// 1366 × 768 screen.
class Laptop : public ControlHarness {
public:
    Laptop()
    {
        preview()->setGeometry(0, 0, 1366, 768);
        open(skin.layout());
        preview()->activateWindow();
    }

    bool ready() { return QTest::qWaitForWindowActive(preview()) && errors.isEmpty(); }
    SkinCanvas *canvas() const { return preview()->canvas(); }

    // Zooms to `zoom` and pans so that the middle of `item` (or its bottom-right corner) shows
    // in the middle of the view.
    void showAt(double zoom, QWidget *item, bool corner) const
    {
        canvas()->setZoom(zoom);
        const QRect shown = canvas()->viewRect(item);
        const QPoint middle = (corner ? shown.bottomRight() : shown.center()) + canvas()->pan();
        const QSize view = canvas()->viewSize();
        canvas()->panTo(middle - QPoint(view.width() / 2, view.height() / 2));
    }

    // Presses at a pixel of the view, moves by `travel` in three steps, releases. The
    // offscreen screen has one device pixel to a logical one: the view's pixels are the window's.
    void dragInView(QPoint from, QPoint travel) const
    {
        QTimer::singleShot(0, [=, this] {
            QTest::mouseMove(window(), from + travel / 3);
            QTest::mouseMove(window(), from + travel * 2 / 3);
            QTest::mouseMove(window(), from + travel);
            QTest::mouseRelease(window(), Qt::LeftButton, {}, from + travel);
        });
        QTest::mousePress(window(), Qt::LeftButton, {}, from);
    }

    SkinCopy skin;
};

// A Ctrl+wheel turn of `angle` over the canvas at `at`.
void ctrlWheel(QWidget *canvas, QPoint at, int angle)
{
    QWheelEvent event(QPointF(at), QPointF(canvas->mapToGlobal(at)), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &event);
}

QImage pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x % 251, y % 241, (x * 7 + y * 3) % 256));
    return img;
}

int rounded(double v)
{
    return int(std::lround(v));
}

} // namespace

class ZoomTest : public QObject {
    Q_OBJECT
private slots:
    void dragMovesByTravelOverZoom_data();
    void dragMovesByTravelOverZoom();
    void zoomAroundThePointerAndBack_data();
    void zoomAroundThePointerAndBack();
    void keysFitAndActualSizeAndTheBoxSaysIt();
    void panShowsWhatAWholeRepaintShows_data();
    void panShowsWhatAWholeRepaintShows();
};

void ZoomTest::dragMovesByTravelOverZoom_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<bool>("box");
    QTest::addColumn<QPoint>("travel");
    for (const double zoom : {1.0 / 8, 1.0 / 3, 0.5, 2.0 / 3, 1.0, 1.5, 2.0, 3.0, 8.0}) {
        const QByteArray name = zq::zoomText(zoom).toUtf8();
        QTest::addRow("picture at %s", name.constData()) << zoom << false << QPoint(40, 30);
        QTest::addRow("picture at %s, odd travel", name.constData()) << zoom << false << QPoint(-37, 11);
        // A box's corner is 5 screen pixels deep: at 12.5 % a whole box is border. Reduced, a
        // shorter travel keeps it on its page, where it can be grabbed again.
        if (zoom >= 1.0 / 3)
            QTest::addRow("box corner at %s", name.constData())
                << zoom << true << (zoom < 1.0 ? QPoint(12, 9) : QPoint(40, 30));
    }
}

void ZoomTest::dragMovesByTravelOverZoom()
{
    QFETCH(double, zoom);
    QFETCH(bool, box);
    QFETCH(QPoint, travel);
    Laptop h;
    QVERIFY(h.ready());
    // Snapping would pull the edges onto the lines nearby: here the arithmetic alone counts.
    zq::MoveSizeLoop::setStepFilter({});

    QWidget *item = h.panel(Element::LogTab);
    if (box) {
        h.form->POnClick(QStringLiteral("登陆"));
        item = h.workspace().logPage()->Box3->Panel;
    }
    h.showAt(zoom, item, box);
    const QRect start = item->geometry();
    const QRect shown = h.canvas()->viewRect(item);
    // A picture from its middle, a box from 2 screen pixels inside its bottom-right corner.
    const QPoint press = box ? shown.bottomRight() - QPoint(2, 2) : shown.center();
    const QPoint moved(rounded(travel.x() / zoom), rounded(travel.y() / zoom));

    h.dragInView(press, travel);
    if (box)
        QCOMPARE(item->geometry(), start.adjusted(0, 0, moved.x(), moved.y()));
    else
        QCOMPARE(item->geometry(), start.translated(moved));
    QCOMPARE(h.undo().count(), 1);

    // The way back, from where the pointer now is, puts it back exactly.
    h.dragInView(press + travel, -travel);
    QCOMPARE(item->geometry(), start);
    if (!box)
        QCOMPARE(QPoint(h.element(Element::LogTab)->X(), h.element(Element::LogTab)->Y()), start.topLeft());

    // Esc halfway through puts it back without an edit.
    const int edits = h.undo().count();
    QTimer::singleShot(0, [&] {
        QTest::mouseMove(h.window(), press + travel);
        QTest::keyClick(h.window(), Qt::Key_Escape);
        QTest::mouseRelease(h.window(), Qt::LeftButton, {}, press + travel);
    });
    QTest::mousePress(h.window(), Qt::LeftButton, {}, press);
    QCOMPARE(item->geometry(), start);
    QCOMPARE(h.undo().count(), edits);

    // Undo takes both drags back one at a time.
    h.key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(item->geometry(), box ? start.adjusted(0, 0, moved.x(), moved.y()) : start.translated(moved));

    // Arrow keys step one skin pixel, ten with Shift, at any zoom.
    h.key(Qt::Key_Z, Qt::ControlModifier);
    h.form->editor().select(item);
    h.key(Qt::Key_Right);
    h.key(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(item->geometry(), start.translated(1, 10));
    QVERIFY(h.errors.isEmpty());
}

void ZoomTest::zoomAroundThePointerAndBack_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QList<int>>("turns");
    const QList<int> notch = {120};
    const QList<int> touchpad = {30, 30, 45, 15};
    QTest::newRow("100 %, middle") << 1.0 << QPoint(400, 300) << notch;
    QTest::newRow("100 %, corner") << 1.0 << QPoint(13, 577) << notch;
    QTest::newRow("50 %, touchpad") << 0.5 << QPoint(101, 499) << touchpad;
    QTest::newRow("33.3 %, right") << 1.0 / 3 << QPoint(790, 7) << notch;
    QTest::newRow("200 %") << 2.0 << QPoint(333, 222) << notch;
    QTest::newRow("150 %, touchpad") << 1.5 << QPoint(640, 123) << touchpad;
}

void ZoomTest::zoomAroundThePointerAndBack()
{
    QFETCH(double, zoom);
    QFETCH(QPoint, pointer);
    QFETCH(QList<int>, turns);
    zq::TForm2 preview;
    preview.setGeometry(0, 0, 800, 600);
    preview.setBackground(pattern(3000, 2000));
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    SkinCanvas *canvas = preview.canvas();
    canvas->setZoom(zoom);
    canvas->panTo(QPoint(canvas->zoomedSize().width() / 3, canvas->zoomedSize().height() / 4));
    const QPoint pan = canvas->pan();
    const QPoint underPointer = canvas->skinPixelAt(pointer);

    // In by one notch: the skin pixel stays under the pointer, within a screen pixel.
    for (int angle : turns)
        ctrlWheel(canvas, pointer, angle);
    QCOMPARE(canvas->zoom(), zq::zoomStepFrom(zoom, true));
    const QRect shows = canvas->toView(QRect(underPointer, QSize(1, 1))).adjusted(-1, -1, 1, 1);
    QVERIFY2(shows.contains(pointer), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                     .arg(shows.x())
                                                     .arg(shows.y())
                                                     .arg(shows.width())
                                                     .arg(shows.height())));

    // And out again over the same spot: the same view.
    for (int angle : turns)
        ctrlWheel(canvas, pointer, -angle);
    QCOMPARE(canvas->zoom(), zoom);
    QCOMPARE(canvas->pan(), pan);

    // Without Ctrl the wheel pans as before.
    QWheelEvent plain(QPointF(pointer), QPointF(canvas->mapToGlobal(pointer)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &plain);
    QCOMPARE(canvas->zoom(), zoom);
    QCOMPARE(canvas->pan(), zq::clampPan(pan + QPoint(0, 120), canvas->zoomedSize(), canvas->viewSize()));
}

void ZoomTest::keysFitAndActualSizeAndTheBoxSaysIt()
{
    Laptop h;
    QVERIFY(h.ready());
    SkinCanvas *canvas = h.canvas();
    QCOMPARE(canvas->zoom(), 1.0);
    QVERIFY(canvas->pans());
    // At 100 % the control window is as it always was.
    QVERIFY(!h.form->clientArea()->findChild<QComboBox *>());

    h.key(Qt::Key_0, Qt::ControlModifier);
    const double fit = canvas->zoom();
    QVERIFY(fit < 1.0);
    // The whole background shows, and one step more would not fit.
    const QSize shown = canvas->zoomedSize();
    QVERIFY(shown.width() <= 1366 && shown.height() <= 768);
    QVERIFY(shown.width() == 1366 || shown.height() == 768);
    QVERIFY(!canvas->pans());
    auto *box = h.form->clientArea()->findChild<QComboBox *>();
    QVERIFY(box && box->isVisible());
    const QString percent = QStringLiteral("%1%").arg(rounded(fit * 100));
    QVERIFY2(box->accessibleName().contains(percent), qPrintable(box->accessibleName()));
    QVERIFY(box->currentText().contains(percent));
    // The whole text shows.
    QStyleOptionComboBox option;
    option.initFrom(box);
    const QRect field =
        box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
    QVERIFY2(box->fontMetrics().horizontalAdvance(box->currentText()) <= field.width(),
             qPrintable(QStringLiteral("\"%1\" in %2 pixels").arg(box->currentText()).arg(field.width())));
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(box);
    QVERIFY(face && face->text(QAccessible::Name).contains(percent));

    // Fit stays in force when the screen changes, until another zoom is chosen.
    h.preview()->setGeometry(0, 0, 1024, 768);
    QVERIFY(canvas->zoom() < fit && !canvas->pans());
    h.preview()->setGeometry(0, 0, 1366, 768);
    QCOMPARE(canvas->zoom(), fit);

    // Ctrl+= goes to the next step around the middle; Ctrl+- comes back a step.
    h.key(Qt::Key_Equal, Qt::ControlModifier);
    QCOMPARE(canvas->zoom(), 1.0);
    QVERIFY(!canvas->fitting());
    QVERIFY(!box->isVisible());
    h.key(Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(canvas->zoom(), 2.0 / 3);
    QVERIFY(box->isVisible() && box->accessibleName().contains(QStringLiteral("66.7%")));
    h.preview()->setGeometry(0, 0, 1024, 768);
    QCOMPARE(canvas->zoom(), 2.0 / 3);

    // At 200 % each skin pixel is a square of 2 × 2 screen pixels, at 100 % one pixel.
    h.key(Qt::Key_1, Qt::ControlModifier);
    canvas->panTo(QPoint(0, 0));
    const QImage actual = h.skinShown();
    canvas->zoomAround(2.0, QPoint(0, 0));
    QCOMPARE(canvas->pan(), QPoint(0, 0));
    const QImage doubled = h.skinShown();
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            for (const QPoint square : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
                QCOMPARE(doubled.pixel(QPoint(2 * x, 2 * y) + square), actual.pixel(x, y));

    // At 50 % and 25 % the background shows as its halving copies, pixel for pixel (a corner no
    // element covers).
    const QImage half = zq::halvePicture(canvas->background());
    for (const auto &[zoom, copy] : {std::pair{0.5, half}, std::pair{0.25, zq::halvePicture(half)}}) {
        canvas->zoomAround(zoom, QPoint(0, 0));
        const QImage reduced = h.skinShown().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(firstDifference(reduced.copy(0, 0, 200, 120), copy.copy(0, 0, 200, 120)), QString());
    }
    canvas->setZoom(2.0);

    // Ctrl+1 is 1:1 again; a skin opened at any zoom opens at 100 %.
    h.key(Qt::Key_1, Qt::ControlModifier);
    QCOMPARE(canvas->zoom(), 1.0);
    h.key(Qt::Key_0, Qt::ControlModifier);
    h.open(h.skin.layout());
    QCOMPARE(canvas->zoom(), 1.0);
    QVERIFY(!canvas->fitting());

    // Screen readers are told where an element shows at the zoom.
    canvas->setZoom(0.5);
    QWidget *tab = h.panel(Element::LogTab);
    QAccessibleInterface *element = QAccessible::queryAccessibleInterface(tab);
    QVERIFY(element);
    const QRect onScreen = element->rect();
    QVERIFY(std::abs(onScreen.width() - tab->width() * 0.5) <= 1);
    QVERIFY(std::abs(onScreen.height() - tab->height() * 0.5) <= 1);
    QCOMPARE(h.inPreview(tab, QPoint(0, 0)), h.preview()->mapFromGlobal(onScreen.topLeft()));
    QVERIFY(h.errors.isEmpty());
}

QTEST_MAIN(ZoomTest)
#include "zoom_test.moc"

void ZoomTest::panShowsWhatAWholeRepaintShows_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<bool>("marks");
    QTest::newRow("100 %") << 1.0 << false;
    QTest::newRow("100 %, outline, guides and readout") << 1.0 << true;
    QTest::newRow("150 %, outline, guides and readout") << 1.5 << true;
    QTest::newRow("200 %, outline, guides and readout") << 2.0 << true;
}

// A pan moves what stays on the screen and paints only what comes in: the screen must then be
// what painting it all again gives, under the control window and the overview as well, with
// the selection's outline moved along and the guides and readout where they were.
void ZoomTest::panShowsWhatAWholeRepaintShows()
{
    QFETCH(double, zoom);
    QFETCH(bool, marks);
    Laptop h;
    QVERIFY(h.ready());
    // The control window in a corner, away from the middle of the screen, where a real screen's
    // pointer starts: a control under it would change as it is hovered.
    h.form->move(0, 0);
    QWidget *item = h.panel(Element::LogTab);
    h.showAt(zoom, item, false);
    zq::EditOverlay *overlay = h.form->editor().overlay();
    if (marks) {
        h.form->editor().select(item);
        overlay->setGuides(700, 300, QRect(0, 0, 1366, 768));
        overlay->setReadout(QStringLiteral("1, 2  3 × 4"), QPoint(650, 420));
    }
    QVERIFY(h.canvas()->pans());
    // The screen as a whole repaint leaves it.
    auto repainted = [&h] {
        // Every widget painted again: the canvas lies over the whole preview.
        h.canvas()->update();
        h.preview()->update();
        return onScreen(h.preview());
    };
    // What is still changing settles first: Windows' style fades a control in (the zoom box,
    // just shown), and mid-fade no two paints agree.
    auto settled = [&h, &repainted] {
        const QImage now = onScreen(h.preview());
        return firstDifference(now, repainted()).isEmpty();
    };
    QTRY_VERIFY_WITH_TIMEOUT(settled(), 5000);
    for (const QPoint step : {QPoint(37, -5), QPoint(-120, 0), QPoint(0, 241), QPoint(13, 17),
                              QPoint(-301, -99), QPoint(2000, 2000)}) {
        const QPoint before = h.canvas()->pan();
        h.canvas()->panBy(step);
        const QImage panned = onScreen(h.preview());
        QVERIFY(!panned.isNull());
        const QImage whole = repainted();
        QVERIFY2(firstDifference(panned, whole).isEmpty(),
                 qPrintable(QStringLiteral("after a pan from (%1, %2) by (%3, %4): %5")
                                .arg(before.x())
                                .arg(before.y())
                                .arg(step.x())
                                .arg(step.y())
                                .arg(firstDifference(panned, whole))));
    }
}
