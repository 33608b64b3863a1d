#include "document/skin_workspace.h"
#include "editing/edit_overlay.h"
#include "editing/layout_editor.h"
#include "elements/image_button.h"
#include "elements/page_elements.h"
#include "elements/set_ui.h"
#include "elements/text_box.h"
#include "fixtures/designer_fixture.h"
#include "picture/bitmap.h"
#include "picture/jpeg_codec.h"
#include "shared/error_report.h"
#include "skin/bg_image.h"
#include "skin/skin_document.h"
#include "view/move_size_loop.h"
#include "view/preview_window.h"
#include "view/skin_canvas.h"
#include "windows/control_window.h"
#include "windows/text_constants.h"

#include <QAccessible>
#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QWindow>

#include <memory>

using zq::Element;
using zq::TForm1;

namespace {

// The control window over a copy of the sample skin, opened, its preview as large as the
// background so that every element can be reached; dialogs and message boxes recorded.
class Editor : public ControlHarness {
public:
    Editor()
    {
        preview()->setGeometry(0, 0, 1920, 1080);
        open(skin.layout());
        preview()->activateWindow();
    }

    bool ready() { return QTest::qWaitForWindowActive(preview()) && errors.isEmpty(); }
    zq::LayoutEditor &editor() const { return form->editor(); }

    SkinCopy skin;
};

QString writeJpeg(const QString &path, QRgb colour)
{
    zq::Bitmap picture(64, 36, zq::BitmapFormat::rgb24());
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 64; ++x)
            picture.setPixel(x, y, colour);
    zq::JpegCodec().saveFile(path, picture);
    return path;
}

// Half transparent, half opaque: the flattened result depends on the background under it.
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

class LayoutEditorTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QVERIFY(!zq::MoveSizeLoop::isRunning()); }
    void keysMoveTheSelectedPictureAndItsStoredPosition();
    void ctrlArrowsResizeABoxAndARunIsOneUndo();
    void undoAndRedoRestoreEachKindOfEdit();
    void cancelledDragPushesNothing();
    void captionMarksUnsavedChanges();
    void dragSnapsAgainstANeighbourUnlessAltIsHeld();
    void tabWalksThroughWhatIsShown();
    void selectionFollowsThePan();
    void keysActOnTheSkinAfterTheControlWindowAndDialogs_data();
    void keysActOnTheSkinAfterTheControlWindowAndDialogs();
};

void LayoutEditorTest::keysMoveTheSelectedPictureAndItsStoredPosition()
{
    Editor h;
    QVERIFY(h.ready());
    QWidget *tab = h.panel(Element::FilTab);
    const QPoint start = tab->pos();
    // A press selects (the empty drag it starts moves nothing).
    h.drag(tab, QPoint(20, 10), QPoint(0, 0));
    QCOMPARE(h.editor().selected(), tab);
    QCOMPARE(h.editor().overlay()->selectionRect(), tab->geometry());

    struct Row {
        int key;
        Qt::KeyboardModifiers held;
        QPoint by;
    };
    const Row rows[] = {{Qt::Key_Right, {}, {1, 0}},
                        {Qt::Key_Down, {}, {0, 1}},
                        {Qt::Key_Left, Qt::ShiftModifier, {-10, 0}},
                        {Qt::Key_Up, Qt::ShiftModifier, {0, -10}},
                        // Ctrl resizes boxes only: a picture keeps its size and place.
                        {Qt::Key_Right, Qt::ControlModifier, {0, 0}}};
    QPoint expected = start;
    for (const Row &row : rows) {
        h.key(row.key, row.held);
        expected += row.by;
        QCOMPARE(tab->pos(), expected);
        QCOMPARE(QPoint(h.element(Element::FilTab)->X(), h.element(Element::FilTab)->Y()), expected);
        QCOMPARE(h.editor().overlay()->selectionRect(), tab->geometry());
    }
    QCOMPARE(h.editor().overlay()->readoutText(), QStringLiteral("%1, %2  %3 × %4")
                                                      .arg(expected.x())
                                                      .arg(expected.y())
                                                      .arg(tab->width())
                                                      .arg(tab->height()));
    QTRY_VERIFY_WITH_TIMEOUT(h.editor().overlay()->readoutText().isEmpty(), 3000);

    // The save writes where the keys put it.
    h.key(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(h.notices, QStringList{QStringLiteral("皮肤保存成功")});
    zq::SkinDocument saved(h.skin.layout());
    QVERIFY(saved.open());
    QCOMPARE(QPoint(saved.element(Element::FilTab).X, saved.element(Element::FilTab).Y), expected);
}

void LayoutEditorTest::ctrlArrowsResizeABoxAndARunIsOneUndo()
{
    Editor h;
    QVERIFY(h.ready());
    h.form->POnClick(QStringLiteral("充值"));
    zq::TTextBox *box = h.workspace().filPage()->Box2;
    const zq::BoxRect start = box->rect();
    h.editor().select(box->Panel);

    struct Row {
        int key;
        Qt::KeyboardModifiers held;
        int dl, dt, dw, dh;
    };
    const Row rows[] = {{Qt::Key_Right, Qt::ControlModifier, 0, 0, 1, 0},
                        {Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier, 0, 0, 0, 10},
                        {Qt::Key_Left, {}, -1, 0, 0, 0},
                        {Qt::Key_Up, Qt::ShiftModifier, 0, -10, 0, 0}};
    zq::BoxRect expected = start;
    for (const Row &row : rows) {
        h.key(row.key, row.held);
        expected = {expected.left + row.dl, expected.top + row.dt, expected.width + row.dw,
                    expected.height + row.dh};
        QCOMPARE(box->rect(), expected);
        QCOMPARE(box->Panel->geometry(), QRect(expected.left, expected.top, expected.width, expected.height));
    }
    // The height never goes below 0.
    for (int i = 0; i < expected.height / 10 + 2; ++i)
        h.key(Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(box->rect().height, 0);
    QCOMPARE(box->rect().width, expected.width);

    // The whole run on one box is one edit.
    QCOMPARE(h.undo().count(), 1);
    h.key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box->rect(), start);
    QCOMPARE(box->Panel->geometry(), QRect(start.left, start.top, start.width, start.height));
    h.key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(box->rect().height, 0);
}

void LayoutEditorTest::undoAndRedoRestoreEachKindOfEdit()
{
    Editor h;
    QVERIFY(h.ready());
    QTemporaryDir elsewhere;
    h.form->POnClick(QStringLiteral("登陆"));
    zq::TImageButtonA *page = h.element(Element::LogPage);
    zq::TImageButtonA *tab = h.element(Element::ManTab);
    zq::TTextBox *box = h.workspace().logPage()->Box3;

    // Everything an undo must bring back, taken after each edit.
    struct Snapshot {
        QRect pagePanel, tabPanel;
        QPoint pageStored, tabStored;
        zq::Bitmap pageBitmap;
        zq::BoxRect box;
        zq::Bitmap background;
    };
    auto take = [&] {
        return Snapshot{page->Panel()->geometry(),
                        tab->Panel()->geometry(),
                        {page->X(), page->Y()},
                        {tab->X(), tab->Y()},
                        page->bitmap(),
                        box->rect(),
                        h.workspace().document()->Background->BgBitmap()};
    };
    auto same = [](const Snapshot &a, const Snapshot &b) {
        return a.pagePanel == b.pagePanel && a.tabPanel == b.tabPanel && a.pageStored == b.pageStored &&
               a.tabStored == b.tabStored && a.pageBitmap == b.pageBitmap && a.box == b.box &&
               a.background == b.background;
    };

    // What a save writes for the page as opened.
    auto savedPage = [&] {
        QTest::mouseClick(h.form->Button4(), Qt::LeftButton);
        QFile f(h.skin.path("zqLOGed.bmp"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray pageBytes = savedPage();
    QVERIFY(!pageBytes.isEmpty());

    std::vector<Snapshot> states{take()};
    std::vector<QString> kinds;
    auto edited = [&](const QString &kind) {
        states.push_back(take());
        kinds.push_back(kind);
    };

    // A PNG first, so that later moves and the background flatten it again.
    page->PngChooser = [&](QWidget *) {
        return writeHalfClearPng(elsewhere.filePath("half.png"), QSize(460, 340), qRgb(0, 200, 0));
    };
    page->ReplaceItemClick();
    edited("png");
    h.drag(page->Panel(), QPoint(100, 60), QPoint(-300, -200), Qt::AltModifier);
    edited("page drag");
    h.drag(box->Panel, QPoint(box->Width - 2, box->Height / 2), QPoint(-37, 0), Qt::AltModifier);
    edited("box resize");
    zq::TSetUi *dialog = tab->OpenPositionDialog();
    dialog->Edit2()->setText("333");
    dialog->Edit1()->setText("222");
    QTest::mouseClick(dialog->Button1(), Qt::LeftButton);
    edited("dialog");
    // Its fields show what was applied.
    QCOMPARE(dialog->Edit2()->text(), QString::number(tab->Panel()->x()));
    QTest::mouseClick(dialog->Button3(), Qt::LeftButton);
    edited("dialog arrow");
    dialog->close();
    h.nextPicture = writeJpeg(elsewhere.filePath("blue.jpg"), qRgb(0, 0, 220));
    QTest::mouseClick(h.form->Button3(), Qt::LeftButton);
    edited("background");

    QCOMPARE(h.errors, QStringList());
    QCOMPARE(h.undo().count(), int(kinds.size()));
    for (size_t i = 1; i < states.size(); ++i)
        QVERIFY2(!same(states[i], states[i - 1]), qPrintable(kinds[i - 1] + " changed nothing"));

    h.form->preview()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(h.form->preview()));
    for (size_t i = states.size() - 1; i > 0; --i) {
        h.key(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY2(same(take(), states[i - 1]), qPrintable("undo of " + kinds[i - 1]));
    }
    for (size_t i = 1; i < states.size(); ++i) {
        h.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY2(same(take(), states[i]), qPrintable("redo of " + kinds[i - 1]));
    }

    // Undone to the start, the save writes the page's earlier bytes again.
    while (h.undo().canUndo())
        h.undo().undo();
    QCOMPARE(savedPage(), pageBytes);
}

void LayoutEditorTest::cancelledDragPushesNothing()
{
    Editor h;
    QVERIFY(h.ready());
    QWidget *tab = h.panel(Element::LogTab);
    const QRect start = tab->geometry();
    h.drag(tab, QPoint(10, 10), QPoint(57, 33), {}, [&] { QTest::keyClick(h.window(), Qt::Key_Escape); });
    QCOMPARE(tab->geometry(), start);
    QCOMPARE(h.undo().count(), 0);
    // Nor does a tab switch.
    h.form->POnClick(QStringLiteral("管理"));
    h.form->FormClick();
    QCOMPARE(h.undo().count(), 0);
    QVERIFY(h.undo().isClean());
}

void LayoutEditorTest::captionMarksUnsavedChanges()
{
    Editor h;
    QVERIFY(h.ready());
    const QString caption = zq::textConstant(zq::ControlCaptionText);
    const QString marked = caption + QStringLiteral(" *");
    // The painted caption, and the name screen readers and window lists say.
    auto captionIs = [&](const QString &expected) {
        QCOMPARE(h.form->windowTitle(), expected);
        QCOMPARE(QAccessible::queryAccessibleInterface(h.form.get())->text(QAccessible::Name), expected);
    };
    captionIs(caption);

    h.editor().select(h.panel(Element::ManTab));
    h.key(Qt::Key_Left);
    captionIs(marked);
    h.key(Qt::Key_Z, Qt::ControlModifier);
    captionIs(caption);
    h.key(Qt::Key_Y, Qt::ControlModifier);
    captionIs(marked);
    h.key(Qt::Key_S, Qt::ControlModifier);
    captionIs(caption);
    h.key(Qt::Key_Z, Qt::ControlModifier);
    captionIs(marked);

    // F1 lists the keys, the undo ones among them.
    h.key(Qt::Key_F1);
    QCOMPARE(h.notices.size(), 2);
    QVERIFY(h.notices.last().contains(QStringLiteral("Ctrl+Z")));
}

void LayoutEditorTest::dragSnapsAgainstANeighbourUnlessAltIsHeld()
{
    Editor h;
    QVERIFY(h.ready());
    QWidget *log = h.panel(Element::LogTab);
    QWidget *man = h.panel(Element::ManTab);
    // Take 管理 well below the others, then bring its left edge to 4 px right of 登陆's right
    // edge; its top stays clear of every line.
    h.editor().select(man);
    for (int i = 0; i < 10; ++i)
        h.key(Qt::Key_Down, Qt::ShiftModifier);
    const int against = log->x() + log->width();
    for (const bool alt : {false, true}) {
        const QPoint travel(against + 4 - man->x(), 0);
        const QRect before = man->geometry();
        std::optional<int> guideSeen;
        QString readoutSeen;
        h.drag(man, QPoint(30, 20), travel, alt ? Qt::AltModifier : Qt::KeyboardModifiers(), [&] {
            guideSeen = h.editor().overlay()->xGuide();
            readoutSeen = h.editor().overlay()->readoutText();
        });
        QVERIFY(readoutSeen.endsWith(QStringLiteral("%1 × %2").arg(man->width()).arg(man->height())));
        QCOMPARE(man->x(), alt ? against + 4 : against);
        QCOMPARE(man->y(), before.y());
        QCOMPARE(guideSeen, std::optional<int>(against));
        QVERIFY(!h.editor().overlay()->xGuide());
        QCOMPARE(h.element(Element::ManTab)->X(), man->x());
        h.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(man->geometry(), before);
    }
}

void LayoutEditorTest::tabWalksThroughWhatIsShown()
{
    Editor h;
    QVERIFY(h.ready());
    h.form->POnClick(QStringLiteral("管理"));
    zq::TMan *page = h.workspace().manPage();
    // 管理's own tab picture is hidden under its page.
    const QList<QWidget *> order = {h.panel(Element::LogTab), h.panel(Element::FilTab), page->Panel(),
                                    page->Box1->Panel,        page->Box2->Panel,        page->Box3->Panel,
                                    page->Box4->Panel};
    for (QWidget *expected : order) {
        h.key(Qt::Key_Tab);
        QCOMPARE(h.editor().selected(), expected);
    }
    h.key(Qt::Key_Tab);
    QCOMPARE(h.editor().selected(), order.first());
    h.key(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(h.editor().selected(), order.last());

    // A click on the background clears it.
    QTest::mouseClick(h.window(), Qt::LeftButton, {}, QPoint(3, 3));
    QVERIFY(!h.editor().selected());
    QVERIFY(h.editor().overlay()->selectionRect().isEmpty());
}

void LayoutEditorTest::selectionFollowsThePan()
{
    Editor h;
    QVERIFY(h.ready());
    // A screen smaller than the skin: the view pans.
    h.form->preview()->setGeometry(0, 0, 1000, 700);
    zq::SkinCanvas *canvas = h.form->preview()->canvas();
    QVERIFY(canvas->pans());
    QWidget *tab = h.panel(Element::ManTab);
    h.editor().select(tab);
    for (const QPoint pan : {QPoint(900, 300), QPoint(400, 380), QPoint(0, 0)}) {
        canvas->panTo(pan);
        QCOMPARE(canvas->pan(), pan);
        QCOMPARE(h.editor().overlay()->selectionRect(), tab->geometry().translated(-pan));
    }
    // The keys still move it in picture pixels.
    canvas->panTo(QPoint(900, 300));
    const QPoint before = tab->pos();
    h.key(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(QPoint(h.element(Element::ManTab)->X(), h.element(Element::ManTab)->Y()),
             before + QPoint(0, 10));
    QCOMPARE(h.editor().overlay()->selectionRect(), tab->geometry().translated(-canvas->pan()));
}

void LayoutEditorTest::keysActOnTheSkinAfterTheControlWindowAndDialogs_data()
{
    QTest::addColumn<QString>("step");
    for (const char *step : {"保存皮肤", "保存皮肤 and its message box", "小化窗口", "换背景图片, cancelled",
                             "the memo", "an error's message box", "a position dialog closed with Esc"})
        QTest::newRow(step) << QString::fromUtf8(step);
}

void LayoutEditorTest::keysActOnTheSkinAfterTheControlWindowAndDialogs()
{
    QFETCH(QString, step);
    Editor h;
    QVERIFY(h.ready());
    QWidget *man = h.panel(Element::ManTab);
    const QPoint start = man->pos();
    h.drag(man, QPoint(30, 20), QPoint(-50, 60));
    QCOMPARE(man->pos(), start + QPoint(-50, 60));

    // A modal box on screen, dismissed with Return.
    bool boxShown = false;
    auto dismissBox = [&] {
        QTimer::singleShot(0, [&] {
            QWidget *box = QApplication::activeModalWidget();
            boxShown = box != nullptr;
            if (box)
                QTest::keyClick(box, Qt::Key_Return);
        });
    };

    // What a user does in between, with the mouse or the keyboard, as a user would.
    if (step.startsWith("保存皮肤")) {
        h.realNotices = step.contains("message box");
        if (h.realNotices)
            dismissBox();
        QTest::mouseClick(h.form->Button4(), Qt::LeftButton);
        QCOMPARE(h.notices, QStringList{QStringLiteral("皮肤保存成功")});
        QCOMPARE(boxShown, h.realNotices);
    } else if (step == "小化窗口") {
        QTest::mouseClick(h.form->Button5(), Qt::LeftButton);
    } else if (step == "换背景图片, cancelled") {
        QTest::mouseClick(h.form->Button3(), Qt::LeftButton);
    } else if (step == "the memo") {
        QTest::mouseClick(h.form->Memo1()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    } else if (step == "an error's message box") {
        zq::setErrorPresenter({});
        h.nextPicture = h.skin.path(QStringLiteral("ZqCSkin.ini")); // no JPEG
        dismissBox();
        QTest::mouseClick(h.form->Button3(), Qt::LeftButton);
        QVERIFY(boxShown);
    } else {
        zq::TSetUi *dialog = h.element(Element::LogTab)->OpenPositionDialog();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QCoreApplication::processEvents(); // every request it made to be the active window
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
    }

    // The keys go to whichever window has the keyboard, and act on the skin.
    auto type = [](int key, Qt::KeyboardModifiers held = {}) {
        QWindow *focus = QGuiApplication::focusWindow();
        QVERIFY(focus);
        QTest::keyClick(focus, Qt::Key(key), held);
    };
    QTRY_COMPARE(QApplication::activeWindow(), h.form->preview());
    type(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(man->pos(), start);
    type(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(man->pos(), start + QPoint(-50, 60));
    h.editor().select(man);
    type(Qt::Key_Right);
    QCOMPARE(man->pos(), start + QPoint(-49, 60));
    type(Qt::Key_Tab);
    QVERIFY(h.editor().selected() != man);
}

QTEST_MAIN(LayoutEditorTest)
#include "layout_editor_test.moc"
