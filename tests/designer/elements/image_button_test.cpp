#include "elements/image_button.h"
#include "elements/set_ui.h"
#include "fixtures/designer_fixture.h"
#include "fixtures/drag_probe.h"
#include "shared/error_report.h"
#include "view/move_size_loop.h"
#include "view/skin_canvas.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <optional>

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

using zq::Element;
using zq::TImageButtonA;
using zq::TSetUi;

namespace {

QImage shotOf(QWidget *w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A PNG whose left half is fully transparent and right half opaque `colour`, written by Qt,
// without a gamma chunk, so the flattened result is known pixel for pixel.
QString writeHalfClearPng(const QString &path, QSize size, QRgb colour)
{
    QImage png(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            png.setPixel(x, y, x < size.width() / 2 ? qRgba(0, 0, 0, 0) : colour);
    png.save(path, "PNG");
    return path;
}

} // namespace

class ImageButtonTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showsItsPictureAtTheStoredPosition();
    void dragMovesByPointerTravel_data();
    void dragMovesByPointerTravel();
    void rightPressAndDoubleClickStartNothing();
    void menuReadsClickReplaceSettings();
    void settingsFillsTheFieldsAndTheCaption();
    void upArrowMovesAtOnce();
    void badFieldKeepsTheFieldsBeforeIt_data();
    void badFieldKeepsTheFieldsBeforeIt();
    void typedPositionIsStoredAndReflattened();
    void eachDialogAppliesItsOwnFields();
    void pngTakesItsSizeAndABrokenOneChangesNothing();
    void sendToBackStaysAboveTheBackground();
    void pressBesideThePictureStartsNoDrag();
    void pictureFirstShownLateIsTheCurrentOne_data();
    void pictureFirstShownLateIsTheCurrentOne();

private:
    TImageButtonA &make(Element which);
    QPoint inWindow(QPoint local) const { return m_element->Panel()->mapTo(&m_skin->preview, local); }
    // Right-clicks the element at `local` and picks `caption` from its menu; returns the
    // menu's captions as shown.
    QStringList pickFromMenu(QPoint local, const QString &caption);
    void drag(QPoint local, QPoint travel, Qt::KeyboardModifiers modifiers = {});

    std::unique_ptr<SampleSkin> m_skin;
    std::unique_ptr<TImageButtonA> m_element;
    QStringList m_errors;
    QStringList m_clicks;
};

void ImageButtonTest::init()
{
    m_errors.clear();
    m_clicks.clear();
    zq::setErrorPresenter([this](QWidget *, const QString &text) { m_errors << text; });
    m_skin = std::make_unique<SampleSkin>();
    QVERIFY(m_skin->opened);
    QVERIFY(m_skin->exposed());
}

void ImageButtonTest::cleanup()
{
    QVERIFY(!zq::MoveSizeLoop::isRunning());
    m_element.reset();
    m_skin.reset();
    zq::setErrorPresenter({});
}

TImageButtonA &ImageButtonTest::make(Element which)
{
    m_element = std::make_unique<TImageButtonA>(m_skin->doc->element(which), m_skin->preview.canvas());
    connect(m_element.get(), &zq::TImageButtonA::OnElementClick, this,
            [this](const QString &name) { m_clicks << name; });
    return *m_element;
}

QStringList ImageButtonTest::pickFromMenu(QPoint local, const QString &caption)
{
    QStringList shown;
    const PopupWatch watch([&](QWidget *popup) {
        auto *menu = qobject_cast<QMenu *>(popup);
        if (!menu) {
            popup->close();
            return;
        }
        QAction *chosen = nullptr;
        for (QAction *a : menu->actions()) {
            shown << a->text();
            if (a->text() == caption)
                chosen = a;
        }
        if (chosen)
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
        else
            menu->close();
    });
    QTest::mouseClick(m_skin->window(), Qt::RightButton, {}, inWindow(local));
    [&] { QTRY_VERIFY(watch.seen()); }();
    return shown;
}

void ImageButtonTest::drag(QPoint local, QPoint travel, Qt::KeyboardModifiers modifiers)
{
    const QPoint press = inWindow(local);
    whenIdle([=, this] {
        QTest::mouseMove(m_skin->window(), press + travel / 2);
        QTest::mouseMove(m_skin->window(), press + travel);
        QTest::mouseRelease(m_skin->window(), Qt::LeftButton, modifiers, press + travel);
    });
    QTest::mousePress(m_skin->window(), Qt::LeftButton, modifiers, press);
}

void ImageButtonTest::showsItsPictureAtTheStoredPosition()
{
    TImageButtonA &e = make(Element::LogTab);
    const zq::ElementPicture &pic = m_skin->doc->element(Element::LogTab);
    // Read back by Qt's own BMP reader, independently of the engine.
    const QImage file = QImage(pic.BmpPath).convertToFormat(QImage::Format_RGB32);

    QCOMPARE(e.Name(), QStringLiteral("登陆"));
    QCOMPARE(e.Panel()->parentWidget(), m_skin->preview.canvas());
    QVERIFY(e.Panel()->isVisible());
    QCOMPARE(e.Panel()->accessibleName(), QStringLiteral("登陆"));
    QCOMPARE(e.Panel()->geometry(), QRect(QPoint(pic.X, pic.Y), file.size()));
    QCOMPARE(shotOf(e.Panel()), file);
    QCOMPARE(shotOf(&m_skin->preview).copy(e.Panel()->geometry()), file);

    e.HideElement();
    QVERIFY(!e.Panel()->isVisible());
    e.ShowElement();
    QVERIFY(e.Panel()->isVisible());
}

void ImageButtonTest::dragMovesByPointerTravel_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("left alone") << Qt::KeyboardModifiers();
    QTest::newRow("with Shift") << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("with Ctrl") << Qt::KeyboardModifiers(Qt::ControlModifier);
}

void ImageButtonTest::dragMovesByPointerTravel()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    TImageButtonA &e = make(Element::FilTab);
    const QPoint start(e.X(), e.Y());
    const QSize size = e.Panel()->size();
    const zq::Bitmap before = e.picture().Bitmap;

    drag(QPoint(20, 10), QPoint(-137, 61), modifiers);

    QCOMPARE(e.Panel()->geometry(), QRect(start + QPoint(-137, 61), size));
    QCOMPARE(QPoint(e.X(), e.Y()), start + QPoint(-137, 61));
    // Without a PNG the picture is left as loaded.
    QVERIFY(e.picture().Bitmap == before);
}

void ImageButtonTest::rightPressAndDoubleClickStartNothing()
{
    TImageButtonA &e = make(Element::ManTab);
    const QRect start = e.Panel()->geometry();
    const QPoint at = inWindow(QPoint(30, 20));
    QWindow *w = m_skin->window();

    // A right press opens the menu, nothing else.
    bool loopSeen = true;
    whenIdle([&] { loopSeen = zq::MoveSizeLoop::isRunning(); });
    const PopupWatch menu([](QWidget *popup) { popup->close(); });
    QTest::mousePress(w, Qt::RightButton, {}, at);
    // Released on the element still: Windows opens a menu where the button comes up.
    QTest::mouseMove(w, at + QPoint(12, 6));
    QTest::mouseRelease(w, Qt::RightButton, {}, at + QPoint(12, 6));
    QTRY_VERIFY(menu.seen());
    QVERIFY(!loopSeen);
    QCOMPARE(e.Panel()->geometry(), start);

    // The first press of a double click is an ordinary (empty) drag; the second starts none.
    const int t = QTest::lastMouseTimestamp + 10000;
    auto send = [&](QEvent::Type type, Qt::MouseButtons state) {
        qt_handleMouseEvent(w, at, w->mapToGlobal(at), state, Qt::LeftButton, type, {}, t);
    };
    whenIdle([&] { send(QEvent::MouseButtonRelease, Qt::NoButton); });
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    loopSeen = true;
    bool fired = false;
    whenIdle([&] {
        loopSeen = zq::MoveSizeLoop::isRunning();
        fired = true;
        send(QEvent::MouseButtonRelease, Qt::NoButton);
    });
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    QTRY_VERIFY(fired);
    QVERIFY(!loopSeen);
    QCOMPARE(e.Panel()->geometry(), start);
}

void ImageButtonTest::menuReadsClickReplaceSettings()
{
    make(Element::FilTab);
    const QStringList shown = pickFromMenu(QPoint(10, 10), QStringLiteral("点击"));
    QCOMPARE(shown,
             QStringList({QStringLiteral("点击"), QStringLiteral("换张图片"), QStringLiteral("设置")}));
    QCOMPARE(m_clicks, QStringList{QStringLiteral("充值")});

    // A page is a picture element too: its "点击" names the page.
    make(Element::ManPage);
    pickFromMenu(QPoint(200, 300), QStringLiteral("点击"));
    QCOMPARE(m_clicks, QStringList({QStringLiteral("充值"), QStringLiteral("管理激活")}));
    QVERIFY(m_errors.isEmpty());
}

void ImageButtonTest::settingsFillsTheFieldsAndTheCaption()
{
    TImageButtonA &e = make(Element::LogPage);
    e.Panel()->move(123, 456); // the dialog shows the panel's bounds as they stand
    pickFromMenu(QPoint(10, 10), QStringLiteral("设置"));

    TSetUi *d = e.PositionDialog();
    QVERIFY(d);
    QVERIFY(d->isVisible());
    QCOMPARE(d->windowTitle(), QStringLiteral("登陆激活"));
    QCOMPARE(d->Edit1()->text(), QStringLiteral("456"));
    QCOMPARE(d->Edit2()->text(), QStringLiteral("123"));
    QCOMPARE(d->Edit3()->text(), QString::number(e.picture().Bitmap.width()));
    QCOMPARE(d->Edit4()->text(), QString::number(e.picture().Bitmap.height()));
}

void ImageButtonTest::upArrowMovesAtOnce()
{
    TImageButtonA &e = make(Element::LogTab);
    TSetUi *d = e.OpenPositionDialog();
    d->Edit1()->setText(QStringLiteral("50"));
    QTest::mouseClick(d->Button2(), Qt::LeftButton); // "↑"

    QCOMPARE(d->Edit1()->text(), QStringLiteral("49"));
    QCOMPARE(e.Panel()->y(), 49);
    QCOMPARE(e.Y(), 49);
    QVERIFY(m_errors.isEmpty());
}

void ImageButtonTest::badFieldKeepsTheFieldsBeforeIt_data()
{
    // Fields are applied left, top, width, height; each row spoils one of them.
    QTest::addColumn<int>("field"); // 1 top, 2 left, 3 width, 4 height
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("expected");
    QTest::addColumn<QString>("message");

    const QRect start(1305, 405, 150, 44); // the sample's 登陆 tab
    QTest::newRow("trailing blank in width") << 3 << QStringLiteral("30 ") << QRect(70, 80, 150, 44)
                                             << QStringLiteral("'30 ' is not a valid integer value.");
    QTest::newRow("empty height") << 4 << QString() << QRect(70, 80, 30, 44)
                                  << QStringLiteral("'' is not a valid integer value.");
    QTest::newRow("letters in top") << 1 << QStringLiteral("8o") << QRect(70, 405, 150, 44)
                                    << QStringLiteral("'8o' is not a valid integer value.");
    QTest::newRow("left first: nothing applied")
        << 2 << QStringLiteral("-") << start << QStringLiteral("'-' is not a valid integer value.");
}

void ImageButtonTest::badFieldKeepsTheFieldsBeforeIt()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QRect, expected);
    QFETCH(QString, message);

    TImageButtonA &e = make(Element::LogTab);
    QCOMPARE(e.Panel()->geometry(), QRect(1305, 405, 150, 44));
    TSetUi *d = e.OpenPositionDialog();
    const QList<QLineEdit *> edits = {d->Edit1(), d->Edit2(), d->Edit3(), d->Edit4()};
    const QStringList typed = {QStringLiteral("80"), QStringLiteral("70"), QStringLiteral("30"),
                               QStringLiteral("20")};
    for (int i = 0; i < 4; ++i)
        edits[i]->setText(i + 1 == field ? text : typed[i]);
    QTest::mouseClick(d->Button1(), Qt::LeftButton);

    QCOMPARE(m_errors, QStringList{message});
    QCOMPARE(e.Panel()->geometry(), expected);
    // What is on screen is what a save would store.
    QCOMPARE(QPoint(e.X(), e.Y()), expected.topLeft());
    QVERIFY(d->isVisible());
}

void ImageButtonTest::typedPositionIsStoredAndReflattened()
{
    TImageButtonA &e = make(Element::FilTab);
    const QString png =
        writeHalfClearPng(m_skin->path(QStringLiteral("half.png")), QSize(40, 30), qRgb(200, 30, 60));
    e.LoadPng(png);

    TSetUi *d = e.OpenPositionDialog();
    d->Edit1()->setText(QStringLiteral("300"));
    d->Edit2()->setText(QStringLiteral("$64")); // 100
    d->Edit3()->setText(QStringLiteral("90"));
    d->Edit4()->setText(QStringLiteral("35"));
    QTest::mouseClick(d->Button1(), Qt::LeftButton);
    QVERIFY(m_errors.isEmpty());

    QCOMPARE(e.Panel()->geometry(), QRect(100, 300, 90, 35));
    QCOMPARE(QPoint(e.X(), e.Y()), QPoint(100, 300));
    // The PNG lies over the background of its new place; its picture keeps the PNG's size.
    const zq::Bitmap &pic = e.picture().Bitmap;
    QCOMPARE(QSize(pic.width(), pic.height()), QSize(40, 30));
    for (QPoint p : {QPoint(0, 0), QPoint(19, 29), QPoint(7, 13)})
        QCOMPARE(pic.pixel(p.x(), p.y()), m_skin->background().pixel(100 + p.x(), 300 + p.y()));
    QCOMPARE(pic.pixel(20, 0), qRgb(200, 30, 60));
    const QImage shot = shotOf(e.Panel());
    QCOMPARE(shot.pixel(5, 5), m_skin->background().pixel(105, 305));
    QCOMPARE(shot.pixel(39, 29), qRgb(200, 30, 60));

    // The next drag sizes the panel to the picture again and flattens at the new place.
    drag(QPoint(30, 10), QPoint(11, 7));
    QCOMPARE(e.Panel()->geometry(), QRect(111, 307, 40, 30));
    QCOMPARE(e.picture().Bitmap.pixel(3, 4), m_skin->background().pixel(114, 311));
}

void ImageButtonTest::eachDialogAppliesItsOwnFields()
{
    TImageButtonA &e = make(Element::ManTab);
    TSetUi *first = e.OpenPositionDialog();
    TSetUi *second = e.OpenPositionDialog();
    QVERIFY(first != second);
    QCOMPARE(e.PositionDialog(), second);
    first->Edit2()->setText(QStringLiteral("10"));
    first->Edit1()->setText(QStringLiteral("20"));
    second->Edit2()->setText(QStringLiteral("500"));
    second->Edit1()->setText(QStringLiteral("600"));

    QTest::mouseClick(first->Button1(), Qt::LeftButton);
    QCOMPARE(e.Panel()->pos(), QPoint(10, 20));
    QTest::mouseClick(second->Button3(), Qt::LeftButton); // "→" steps left by one
    QCOMPARE(e.Panel()->pos(), QPoint(501, 600));
    QTest::mouseClick(first->Button1(), Qt::LeftButton);
    QCOMPARE(e.Panel()->pos(), QPoint(10, 20));
    QCOMPARE(QPoint(e.X(), e.Y()), QPoint(10, 20));
}

void ImageButtonTest::pngTakesItsSizeAndABrokenOneChangesNothing()
{
    TImageButtonA &e = make(Element::ManTab);
    const QPoint at = e.Panel()->pos();
    QString chosen;
    int asked = 0;
    e.PngChooser = [&](QWidget *) {
        ++asked;
        return chosen;
    };

    // Cancelled: nothing changes.
    pickFromMenu(QPoint(10, 10), QStringLiteral("换张图片"));
    QCOMPARE(asked, 1);
    QCOMPARE(e.Panel()->size(), QSize(150, 44));
    QVERIFY(!e.picture().Png);

    chosen = writeHalfClearPng(m_skin->path(QStringLiteral("wide.png")), QSize(520, 90), qRgb(10, 220, 40));
    pickFromMenu(QPoint(10, 10), QStringLiteral("换张图片"));
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(e.Panel()->geometry(), QRect(at, QSize(520, 90)));
    QCOMPARE(QPoint(e.X(), e.Y()), at);
    const QImage shown = shotOf(e.Panel());
    QCOMPARE(shown.pixel(100, 50), m_skin->background().pixel(at.x() + 100, at.y() + 50));
    QCOMPARE(shown.pixel(400, 50), qRgb(10, 220, 40));
    const zq::Bitmap before = e.picture().Bitmap;

    QFile broken(m_skin->path(QStringLiteral("broken.png")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("\x89PNG\r\n\x1a\n but nothing after the signature");
    broken.close();
    chosen = broken.fileName();
    pickFromMenu(QPoint(10, 10), QStringLiteral("换张图片"));
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors[0].contains(broken.fileName()), qPrintable(m_errors[0]));
    QCOMPARE(e.Panel()->geometry(), QRect(at, QSize(520, 90)));
    QVERIFY(e.picture().Bitmap == before);
    QCOMPARE(shotOf(e.Panel()), shown);
}

void ImageButtonTest::sendToBackStaysAboveTheBackground()
{
    TImageButtonA &e = make(Element::LogTab);
    auto *other = new QWidget(m_skin->preview.canvas()); // a sibling that stays above
    other->setGeometry(0, 0, 10, 10);
    other->show();
    // Moved behind the element's back: its stored position is stale until the restack.
    e.Panel()->move(40, 50);
    QCOMPARE(QPoint(e.X(), e.Y()), QPoint(1305, 405));

    e.SendElementToBack();
    QCOMPARE(QPoint(e.X(), e.Y()), QPoint(40, 50));
    QCOMPARE(m_skin->preview.canvas()->children().indexOf(e.Panel()), 0);
    const QImage file = QImage(e.picture().BmpPath).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shotOf(&m_skin->preview).copy(QRect(QPoint(40, 50), file.size())), file);

    e.BringElementToFront();
    QCOMPARE(m_skin->preview.canvas()->children().last(), e.Panel());
}

void ImageButtonTest::pressBesideThePictureStartsNoDrag()
{
    TImageButtonA &e = make(Element::LogTab);
    TSetUi *d = e.OpenPositionDialog();
    d->Edit3()->setText(QStringLiteral("300"));
    d->Edit4()->setText(QStringLiteral("100"));
    QTest::mouseClick(d->Button1(), Qt::LeftButton);
    const QRect typed = e.Panel()->geometry();
    QCOMPARE(typed.size(), QSize(300, 100));

    // Beside the picture the panel shows its own face.
    QCOMPARE(shotOf(e.Panel()).pixel(250, 80), e.Panel()->palette().color(QPalette::Button).rgb());
    const QPoint at = inWindow(QPoint(250, 80));
    bool loopSeen = true;
    bool fired = false;
    whenIdle([&] {
        loopSeen = zq::MoveSizeLoop::isRunning();
        fired = true;
    });
    QTest::mousePress(m_skin->window(), Qt::LeftButton, {}, at);
    QTRY_VERIFY(fired);
    QTest::mouseMove(m_skin->window(), at + QPoint(30, 30));
    QTest::mouseRelease(m_skin->window(), Qt::LeftButton, {}, at + QPoint(30, 30));
    QVERIFY(!loopSeen);
    QCOMPARE(e.Panel()->geometry(), typed);
    // The menu is there all the same.
    const QStringList shown = pickFromMenu(QPoint(250, 80), QString());
    QCOMPARE(shown.size(), 3);
}

void ImageButtonTest::pictureFirstShownLateIsTheCurrentOne_data()
{
    QTest::addColumn<bool>("paintedBefore");
    QTest::newRow("never painted while hidden") << false;
    QTest::newRow("painted, then hidden") << true;
}

void ImageButtonTest::pictureFirstShownLateIsTheCurrentOne()
{
    QFETCH(bool, paintedBefore);
    TImageButtonA &e = make(Element::FilPage);
    if (paintedBefore)
        QVERIFY(!shotOf(e.Panel()).isNull());
    e.HideElement();
    // A new picture while hidden: the page's palette picture flattened afresh, at a new size.
    const QSize size(40, 30);
    e.LoadPng(writeHalfClearPng(m_skin->path(QStringLiteral("late.png")), size, qRgb(10, 200, 30)));
    QCOMPARE(m_errors, QStringList());
    e.ShowElement();
    QCOMPARE(e.Panel()->size(), size);
    const QImage shot = shotOf(e.Panel());
    const zq::Bitmap &now = e.picture().Bitmap;
    QCOMPARE(QSize(now.width(), now.height()), size);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            QCOMPARE(shot.pixel(x, y), now.pixel(x, y));
}

QTEST_MAIN(ImageButtonTest)
#include "image_button_test.moc"
