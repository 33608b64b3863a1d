#include "document/skin_workspace.h"
#include "elements/image_button.h"
#include "elements/page_elements.h"
#include "fixtures/designer_fixture.h"
#include "picture/bitmap.h"
#include "picture/jpeg_codec.h"
#include "shared/error_report.h"
#include "skin/element_picture.h"
#include "view/background_preload.h"
#include "view/preview_window.h"
#include "view/skin_canvas.h"
#include "windows/control_window.h"
#include "windows/text_constants.h"
#include "windows/title_bar_frame.h"

#include <QAction>
#include <QDesktopServices>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cmath>
#include <memory>

using zq::Element;
using zq::SkinWorkspace;
using zq::TForm1;
using State = SkinWorkspace::State;

namespace {

const QString kSaved = QStringLiteral("皮肤保存成功");

// The control window, and the order of what lies on its preview.
class Harness : public ControlHarness {
public:
    // The canvas's children from the bottom up, by name, then the control window ("form"),
    // which the preview keeps above the canvas.
    QStringList stacking() const
    {
        QStringList order;
        for (QObject *child : preview()->canvas()->children()) {
            if (auto *w = qobject_cast<QWidget *>(child))
                order << w->accessibleName();
        }
        const QObjectList top = preview()->children();
        if (top.indexOf(form.get()) > top.indexOf(preview()->canvas()))
            order << QStringLiteral("form");
        return order;
    }
};

// Pixel position of a fraction of the background, as the layout file defines it.
int scaled(const QString &fraction, int size)
{
    return int(std::trunc(fraction.toDouble() * size));
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Keeps the home-page link from starting a browser.
class UrlSink : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl &) {}
};

const QString kLogTab = QStringLiteral("登陆");
const QString kFilTab = QStringLiteral("充值");
const QString kManTab = QStringLiteral("管理");
const QString kLogPage = QStringLiteral("登陆激活");
const QString kFilPage = QStringLiteral("充值激活");
const QString kManPage = QStringLiteral("管理激活");

} // namespace

class SkinWorkspaceTest : public QObject {
    Q_OBJECT
private slots:
    void cancelledOpenChangesNothing();
    void openBuildsTheSixElementsAndSwitchesTheButtons();
    void refusedLayoutShowsTheVersionMessageAndALaterOpenWorks();
    void missingPictureStopsTheOpenPartWay();
    void preloadedBackgroundCountsOnlyForItsOwnFile_data();
    void preloadedBackgroundCountsOnlyForItsOwnFile();
    void layoutThatDoesNotExistOpensAtZeroAndSaveCreatesIt();
    void tabSwitch_data();
    void tabSwitch();
    void pageNamesChangeNothing();
    void formClickFromTheBackgroundAndFromTheControlWindow();
    void saveWritesEveryFileInOrderAndSaysSo();
    void saveWritesAMovedBoxToTheKeysItCameFrom();
    void failingSaveReportsAndReplacesNoFile_data();
    void failingSaveReportsAndReplacesNoFile();
    void closingWithoutSavingWritesNothing();
    void loginTabDraggedBeyondTheRightEdgeIsNotSaved();
    void replacedBackgroundIsShownAndSavedIntoTheSkin();
};

void SkinWorkspaceTest::cancelledOpenChangesNothing()
{
    Harness h;
    h.open(QString());
    QCOMPARE(h.layoutDialogRuns, 1);
    QCOMPARE(h.workspace().state(), State::NoSkin);
    QVERIFY(!h.workspace().document());
    QVERIFY(!h.form->preview()->hasBackground());
    QVERIFY(h.form->Button1()->isEnabled());
    QVERIFY(!h.form->Button3()->isEnabled());
    QVERIFY(!h.form->Button4()->isEnabled());
    QVERIFY(h.errors.isEmpty() && h.notices.isEmpty());
    // Dialogs belong to the preview's window, so they come up above it.
    QCOMPARE(h.dialogParents.size(), 1);
    QCOMPARE(h.dialogParents[0]->window(), h.form->preview());
}

void SkinWorkspaceTest::openBuildsTheSixElementsAndSwitchesTheButtons()
{
    SkinCopy skin;
    QVERIFY(skin.isValid());
    Harness h;
    h.open(skin.layout());

    QCOMPARE(h.errors, QStringList());
    QCOMPARE(h.notices, QStringList());
    QCOMPARE(h.workspace().state(), State::SkinOpen);
    QCOMPARE(h.workspace().skinFolder(), skin.folder() + u'/');
    // Another skin can be opened at any time.
    QVERIFY(h.form->Button1()->isEnabled());
    QVERIFY(h.form->Button3()->isEnabled());
    QVERIFY(h.form->Button4()->isEnabled());
    QVERIFY(h.form->Button7()->isEnabled());
    QCOMPARE(h.openedSkins, QStringList{skin.layout()});

    const QImage background(skin.path(QStringLiteral("zqLOCKPIC.jpg")));
    QCOMPARE(h.form->preview()->backgroundSize(), background.size());

    // Each element stands at its layout point, in the preview, at its picture's size.
    struct Row {
        Element element;
        QString name, picture, leftKey, topKey;
        bool visible;
    };
    const Row rows[] = {
        {Element::LogTab, kLogTab, "zqLOG.bmp", "log1left", "log1Top", true},
        {Element::FilTab, kFilTab, "zqFIL.bmp", "fil1left", "fil1Top", true},
        {Element::ManTab, kManTab, "zqMAN.bmp", "man1left", "man1Top", true},
        {Element::LogPage, kLogPage, "zqLOGed.bmp", "Log2left", "Log2Top", false},
        {Element::FilPage, kFilPage, "zqFILed.bmp", "Fil2left", "Fil2Top", false},
        {Element::ManPage, kManPage, "zqMANed.bmp", "man2left", "man2Top", false},
    };
    for (const Row &row : rows) {
        zq::TImageButtonA *e = h.element(row.element);
        QVERIFY(e);
        QCOMPARE(e->Name(), row.name);
        QCOMPARE(e->Panel()->parentWidget(), h.form->preview()->canvas());
        const QPoint at(scaled(skin.value("Normal", row.leftKey), background.width()),
                        scaled(skin.value("Normal", row.topKey), background.height()));
        QCOMPARE(e->Panel()->pos(), at);
        QCOMPARE(QPoint(e->X(), e->Y()), at);
        QCOMPARE(e->Panel()->size(), QImage(skin.path(row.picture)).size());
        QCOMPARE(e->Panel()->isVisible(), row.visible);
    }

    // Every box on its page at the rectangle of its keys; the management page crosses 3 and 4.
    for (const zq::BoxTableRow &row : zq::boxTable) {
        zq::TTextBox *box = h.workspace().box(row);
        QVERIFY(box);
        QCOMPARE(box->Caption, row.caption.toString());
        QCOMPARE(box->Panel->parentWidget(), h.panel(row.page));
        const QString section = QString::fromLatin1(row.section);
        const QString key = QStringLiteral("logbox%1").arg(row.keyNumber);
        const QRect expected(
            skin.value(section, key + "left").toInt(), skin.value(section, key + "Top").toInt(),
            skin.value(section, key + "Width").toInt(), skin.value(section, key + "Height").toInt());
        QCOMPARE(box->Panel->geometry(), expected);
    }
    QCOMPARE(h.workspace().manPage()->Box3->Caption, QStringLiteral("关机"));
    QCOMPARE(h.workspace().manPage()->Box3->Left, skin.value("PageMan", "logbox4left").toInt());
    QCOMPARE(h.workspace().manPage()->Box4->Caption, QStringLiteral("重启"));

    // Nothing changed: the open command runs its dialog at once, asking nothing.
    h.open(skin.layout());
    QCOMPARE(h.layoutDialogRuns, 2);
    QCOMPARE(h.questions, 0);
    QCOMPARE(h.workspace().state(), State::SkinOpen);
}

void SkinWorkspaceTest::refusedLayoutShowsTheVersionMessageAndALaterOpenWorks()
{
    SkinCopy skin;
    QVERIFY(skin.isValid());
    QVERIFY(skin.editLayout("log1left=0.6796875", "log1left=1.5"));
    Harness h;
    h.open(skin.layout());

    QCOMPARE(h.notices, QStringList{QStringLiteral(
                            "你的Zenqa客户端版本过低，只能使用第五版软件，或升级你的Zenqa客户端。")});
    QCOMPARE(h.errors, QStringList());
    QCOMPARE(h.workspace().state(), State::SkinRejected);
    QVERIFY(h.form->preview()->hasBackground());
    for (Element e : zq::allElements)
        QVERIFY(!h.element(e));
    QVERIFY(h.form->Button1()->isEnabled());
    QVERIFY(!h.form->Button3()->isEnabled());
    QVERIFY(!h.form->Button4()->isEnabled());

    QVERIFY(skin.editLayout("log1left=1.5", "log1left=0.6796875"));
    h.open(skin.layout());
    QCOMPARE(h.notices.size(), 1);
    QCOMPARE(h.workspace().state(), State::SkinOpen);
    QVERIFY(h.element(Element::ManPage));
    QVERIFY(h.form->Button1()->isEnabled());
}

void SkinWorkspaceTest::preloadedBackgroundCountsOnlyForItsOwnFile_data()
{
    QTest::addColumn<bool>("ownFile");
    QTest::addColumn<bool>("jpegMissing");
    QTest::newRow("own file") << true << false;
    QTest::newRow("another skin's file") << false << false;
    QTest::newRow("own file, missing") << true << true;
    QTest::newRow("another skin's file, own missing") << false << true;
}

void SkinWorkspaceTest::preloadedBackgroundCountsOnlyForItsOwnFile()
{
    QFETCH(bool, ownFile);
    QFETCH(bool, jpegMissing);
    SkinCopy skin, other;
    QVERIFY(skin.isValid() && other.isValid());
    const QString background = QStringLiteral("zqLOCKPIC.jpg");
    zq::Bitmap red(64, 36, zq::BitmapFormat::rgb24());
    for (int y = 0; y < red.height(); ++y)
        for (int x = 0; x < red.width(); ++x)
            red.setPixel(x, y, qRgb(220, 0, 0));
    zq::JpegCodec().saveFile(other.path(background), red);
    if (jpegMissing)
        QVERIFY(QFile::remove(skin.path(background)));

    // What the same open does with nothing decoded ahead.
    QStringList errors;
    State state;
    QImage shown;
    {
        Harness plain;
        plain.open(skin.layout());
        errors = plain.errors;
        state = plain.workspace().state();
        shown = plain.skinShown();
    }
    Harness h;
    h.workspace().setPreloadedBackground(
        std::make_unique<zq::BackgroundPreload>((ownFile ? skin : other).path(background)));
    h.open(skin.layout());
    QCOMPARE(h.errors, errors);
    QCOMPARE(h.workspace().state(), state);
    QCOMPARE(h.skinShown(), shown);
}

void SkinWorkspaceTest::missingPictureStopsTheOpenPartWay()
{
    SkinCopy skin;
    QVERIFY(skin.isValid());
    const QString man = skin.path(QStringLiteral("zqMAN.bmp"));
    QVERIFY(QFile::rename(man, man + ".away"));
    Harness h;
    h.open(skin.layout());

    QCOMPARE(h.errors.size(), 1);
    QVERIFY2(h.errors[0].contains(man), qPrintable(h.errors[0]));
    QVERIFY(h.errors[0].endsWith(u'.'));
    QVERIFY(h.notices.isEmpty());
    QVERIFY(h.element(Element::LogTab) && h.element(Element::FilTab));
    QVERIFY(h.panel(Element::FilTab)->isVisible());
    for (Element e : {Element::ManTab, Element::LogPage, Element::FilPage, Element::ManPage})
        QVERIFY(!h.element(e));
    QVERIFY(h.form->Button1()->isEnabled());
    QVERIFY(!h.form->Button3()->isEnabled());
    QVERIFY(!h.form->Button4()->isEnabled());
    QVERIFY(h.workspace().state() != State::SkinOpen);

    // The background's click is not bound: a click there leaves a hidden tab hidden.
    h.element(Element::LogTab)->HideElement();
    QTest::mouseClick(h.form->preview(), Qt::LeftButton, {}, QPoint(3, 3));
    QVERIFY(!h.panel(Element::LogTab)->isVisible());
    // A tab switch from a built element touches only what exists.
    h.element(Element::FilTab)->ClickItem()->trigger();
    QVERIFY(h.panel(Element::LogTab)->isVisible());
    QVERIFY(!h.panel(Element::FilTab)->isVisible());
    QVERIFY(h.errors.size() == 1);

    // A new open removes nothing of the old one and builds a whole skin.
    QVERIFY(QFile::rename(man + ".away", man));
    QWidget *oldLogTab = h.panel(Element::LogTab);
    h.open(skin.layout());
    QCOMPARE(h.workspace().state(), State::SkinOpen);
    QCOMPARE(h.stacking().count(kLogTab), 2);
    QCOMPARE(h.stacking().count(kManPage), 1);
    QVERIFY(h.panel(Element::LogTab) != oldLogTab);
    QVERIFY(h.form->preview()->isAncestorOf(oldLogTab));
}

void SkinWorkspaceTest::layoutThatDoesNotExistOpensAtZeroAndSaveCreatesIt()
{
    SkinCopy skin;
    QVERIFY(skin.isValid());
    QVERIFY(QFile::remove(skin.layout()));
    Harness h;
    h.open(skin.layout());
    QCOMPARE(h.workspace().state(), State::SkinOpen);
    QCOMPARE(h.panel(Element::ManTab)->pos(), QPoint(0, 0));
    QCOMPARE(h.workspace().filPage()->Box2->Panel->size(), QSize(0, 0));

    QTest::mouseClick(h.form->Button4(), Qt::LeftButton);
    QCOMPARE(h.notices, QStringList{kSaved});
    QVERIFY(QFileInfo::exists(skin.layout()));
    QCOMPARE(skin.value("Normal", "man2Top"), QStringLiteral("0"));
    QCOMPARE(skin.value("PageMan", "logbox4Height"), QStringLiteral("0"));
}

void SkinWorkspaceTest::tabSwitch_data()
{
    QTest::addColumn<QString>("tab");
    QTest::addColumn<Element>("page");
    QTest::addColumn<QStringList>("stacking");
    // Sent back one after the other in step order (pages, then tabs), so the tabs end lowest
    // in reverse order, then the two other pages; the chosen page is above everything.
    QTest::newRow("登陆") << kLogTab << Element::LogPage
                          << QStringList{kManTab, kFilTab, kLogTab, kManPage, kFilPage, kLogPage, "form"};
    QTest::newRow("充值") << kFilTab << Element::FilPage
                          << QStringList{kManTab, kFilTab, kLogTab, kManPage, kLogPage, kFilPage, "form"};
    QTest::newRow("管理") << kManTab << Element::ManPage
                          << QStringList{kManTab, kFilTab, kLogTab, kFilPage, kLogPage, kManPage, "form"};
}

void SkinWorkspaceTest::tabSwitch()
{
    QFETCH(QString, tab);
    QFETCH(Element, page);
    QFETCH(QStringList, stacking);
    SkinCopy skin;
    QVERIFY(skin.isValid());
    Harness h;
    h.open(skin.layout());
    QCOMPARE(h.workspace().state(), State::SkinOpen);

    // Every panel moved behind its element's back: an element that is sent back records
    // its place again, the one brought forward does not.
    for (Element e : zq::allElements)
        h.panel(e)->move(h.panel(e)->pos() + QPoint(3, 2));

    zq::TImageButtonA *tabElement = nullptr;
    for (Element e : {Element::LogTab, Element::FilTab, Element::ManTab})
        if (h.element(e)->Name() == tab)
            tabElement = h.element(e);
    tabElement->ClickItem()->trigger();

    QCOMPARE(h.stacking(), stacking);
    for (Element e : zq::allElements) {
        const bool isTab = e == Element::LogTab || e == Element::FilTab || e == Element::ManTab;
        const bool chosen = e == page || h.element(e) == tabElement;
        QCOMPARE(h.panel(e)->isVisible(), chosen ? !isTab : isTab);
        const QPoint stored(h.element(e)->X(), h.element(e)->Y());
        QCOMPARE(stored == h.panel(e)->pos(), e != page);
    }
    // Only the chosen page's boxes are on screen.
    for (const zq::BoxTableRow &row : zq::boxTable)
        QCOMPARE(h.workspace().box(row)->Panel->isVisible(), row.page == page);
}

void SkinWorkspaceTest::pageNamesChangeNothing()
{
    SkinCopy skin;
    QVERIFY(skin.isValid());
    Harness h;
    h.open(skin.layout());
    const QStringList before = h.stacking();
    for (Element e : {Element::LogPage, Element::FilPage, Element::ManPage})
        h.element(e)->ClickItem()->trigger();
    h.form->POnClick(QStringLiteral("登陆 "));
    QCOMPARE(h.stacking(), before);
    QVERIFY(h.panel(Element::LogTab)->isVisible());
    QVERIFY(!h.panel(Element::LogPage)->isVisible());
}

void SkinWorkspaceTest::formClickFromTheBackgroundAndFromTheControlWindow()
{
    SkinCopy skin;
    QVERIFY(skin.isValid());
    Harness h;
    h.open(skin.layout());
    UrlSink browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");

    const auto expectTabsOnTop = [&] {
        const QStringList order = h.stacking();
        QCOMPARE(order.mid(order.size() - 4), (QStringList{kLogTab, kFilTab, kManTab, "form"}));
        QCOMPARE(order.mid(0, 3), (QStringList{kManPage, kFilPage, kLogPage}));
        for (Element e : zq::allElements) {
            const bool isTab = e == Element::LogTab || e == Element::FilTab || e == Element::ManTab;
            QCOMPARE(h.panel(e)->isVisible(), isTab);
        }
    };

    // A free spot of the preview: the grey or picture that no child covers.
    h.form->POnClick(kFilTab);
    QVERIFY(h.panel(Element::FilPage)->isVisible());
    QTest::mouseClick(h.form->preview()->windowHandle(), Qt::LeftButton, {}, QPoint(3, 3));
    expectTabsOnTop();

    // The label and the title bar are not free spots; a free spot of the client area is.
    h.form->POnClick(kManTab);
    QTest::mouseClick(h.form->Label1(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(h.form.get(), Qt::LeftButton, {}, h.form->frame().titleBarRect().center());
    QVERIFY(h.panel(Element::ManPage)->isVisible());
    QTest::mouseClick(h.form->clientArea(), Qt::LeftButton, {}, QPoint(120, 150));
    expectTabsOnTop();
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

void SkinWorkspaceTest::saveWritesEveryFileInOrderAndSaysSo()
{
    SkinCopy skin;
    QVERIFY(skin.isValid());
    const QByteArray layoutBefore = fileBytes(skin.layout());
    Harness h;
    h.open(skin.layout());
    skin.ageFiles();

    QTest::mouseClick(h.form->Button4(), Qt::LeftButton);
    QCOMPARE(h.errors, QStringList());
    QCOMPARE(h.notices, QStringList{kSaved});
    QCOMPARE(skin.writtenFiles(), kSaveOrder);
    // Written one after the other in that order.
    for (int i = 1; i < kSaveOrder.size(); ++i)
        QVERIFY(QFileInfo(skin.path(kSaveOrder[i - 1])).lastModified() <=
                QFileInfo(skin.path(kSaveOrder[i])).lastModified());
    // Nothing moved: the sample's positions are exact fractions, so the text comes back as it was;
    // the pictures come back byte for byte.
    QCOMPARE(fileBytes(skin.layout()), layoutBefore);
    const QDir source(QStringLiteral(ZQ_SOURCE_DIR "/examples/sample-skin"));
    for (const QString &name : kSaveOrder.mid(1, 6))
        QVERIFY2(fileBytes(skin.path(name)) == fileBytes(source.filePath(name)), qPrintable(name));

    skin.ageFiles();
    QTest::mouseClick(h.form->Button4(), Qt::LeftButton);
    QCOMPARE(h.notices, (QStringList{kSaved, kSaved}));
    QCOMPARE(skin.writtenFiles(), kSaveOrder);
}

void SkinWorkspaceTest::saveWritesAMovedBoxToTheKeysItCameFrom()
{
    SkinCopy skin;
    QVERIFY(skin.isValid());
    // The management page where the offscreen screen shows it.
    QVERIFY(skin.editLayout("Man2left=0.6796875", "Man2left=0.05"));
    QVERIFY(skin.editLayout("Man2Top=0.375", "Man2Top=0.05"));
    Harness h;
    h.open(skin.layout());
    h.form->POnClick(kManTab);

    // "重启" is the page's fourth box and lives under key number 3.
    zq::TTextBox *restart = h.workspace().manPage()->Box4;
    QCOMPARE(restart->Caption, QStringLiteral("重启"));
    QWindow *window = h.form->preview()->windowHandle();
    const QPoint press = restart->Panel->mapTo(h.form->preview(), restart->Panel->rect().center());
    QTimer::singleShot(0, [&] {
        QTest::mouseMove(window, press + QPoint(4, 3));
        QTest::mouseMove(window, press + QPoint(9, -6));
        // Alt: the box lands where the pointer puts it, not on a line nearby.
        QTest::mouseRelease(window, Qt::LeftButton, Qt::AltModifier, press + QPoint(9, -6));
    });
    QTest::mousePress(window, Qt::LeftButton, {}, press);
    const int left = skin.value("PageMan", "logbox3left").toInt();
    const int top = skin.value("PageMan", "logbox3Top").toInt();
    QCOMPARE(restart->rect(), (zq::BoxRect{left + 9, top - 6, restart->Width, restart->Height}));

    const QString shutdownBefore = skin.value("PageMan", "logbox4left") + skin.value("PageMan", "logbox4Top");
    QTest::mouseClick(h.form->Button4(), Qt::LeftButton);
    QCOMPARE(h.notices, QStringList{kSaved});
    QCOMPARE(skin.value("PageMan", "logbox3left").toInt(), left + 9);
    QCOMPARE(skin.value("PageMan", "logbox3Top").toInt(), top - 6);
    QCOMPARE(skin.value("PageMan", "logbox4left") + skin.value("PageMan", "logbox4Top"), shutdownBefore);
}

void SkinWorkspaceTest::failingSaveReportsAndReplacesNoFile_data()
{
    QTest::addColumn<int>("blocked");
    for (int i = 1; i < kSaveOrder.size(); ++i)
        QTest::newRow(qPrintable(kSaveOrder[i])) << i;
}

void SkinWorkspaceTest::failingSaveReportsAndReplacesNoFile()
{
    QFETCH(int, blocked);
    SkinCopy skin;
    QVERIFY(skin.isValid());
    Harness h;
    h.open(skin.layout());
    QCOMPARE(h.workspace().state(), State::SkinOpen);

    // A folder where the file should be: no one can write there, not even root.
    const QString victim = skin.path(kSaveOrder[blocked]);
    QVERIFY(QFile::remove(victim));
    QVERIFY(QDir().mkdir(victim));
    skin.ageFiles();

    QTest::mouseClick(h.form->Button4(), Qt::LeftButton);
    QCOMPARE(h.errors.size(), 1);
    QVERIFY2(h.errors[0].contains(kSaveOrder[blocked]), qPrintable(h.errors[0]));
    QCOMPARE(h.notices, QStringList());
    // Not even the files before it in the save's order: the skin stays as it was, whole.
    QCOMPARE(skin.writtenFiles(), QStringList());
    // The program goes on: the skin is still open and can be saved once the way is clear.
    QVERIFY(QDir().rmdir(victim));
    QTest::mouseClick(h.form->Button4(), Qt::LeftButton);
    QCOMPARE(h.notices, QStringList{kSaved});
    QVERIFY(QFileInfo(victim).isFile());
}

void SkinWorkspaceTest::closingWithoutSavingWritesNothing()
{
    SkinCopy skin;
    QVERIFY(skin.isValid());
    Harness h;
    h.open(skin.layout());
    h.form->POnClick(kLogTab);
    h.panel(Element::LogTab)->move(5, 5);
    h.element(Element::LogTab)->Recomposite();
    skin.ageFiles();

    QTest::mouseClick(h.form->Button2(), Qt::LeftButton);
    QVERIFY(!h.form->preview()->isVisible());
    QCOMPARE(skin.writtenFiles(), QStringList());
    QVERIFY(h.errors.isEmpty() && h.notices.isEmpty());
}

void SkinWorkspaceTest::loginTabDraggedBeyondTheRightEdgeIsNotSaved()
{
    SkinCopy skin;
    QVERIFY(skin.isValid());
    // A background narrower than the screen, so the tab can be dragged past its right edge.
    zq::Bitmap small(320, 240, zq::BitmapFormat::rgb24());
    zq::JpegCodec().saveFile(skin.path(QStringLiteral("zqLOCKPIC.jpg")), small);
    QVERIFY(skin.editLayout("log1left=0.6796875", "log1left=0.5"));
    QVERIFY(skin.editLayout("log1Top=0.375", "log1Top=0.25"));
    Harness h;
    h.open(skin.layout());
    QCOMPARE(h.workspace().state(), State::SkinOpen);
    QCOMPARE(h.panel(Element::LogTab)->x(), 160);

    QWindow *window = h.form->preview()->windowHandle();
    const QPoint press = h.panel(Element::LogTab)->geometry().center();
    QTimer::singleShot(0, [&] {
        QTest::mouseMove(window, press + QPoint(100, 0));
        QTest::mouseMove(window, press + QPoint(200, 0));
        QTest::mouseRelease(window, Qt::LeftButton, {}, press + QPoint(200, 0));
    });
    QTest::mousePress(window, Qt::LeftButton, {}, press);
    QCOMPARE(h.element(Element::LogTab)->X(), 360);
    skin.ageFiles();

    QTest::mouseClick(h.form->Button4(), Qt::LeftButton);
    QCOMPARE(h.errors.size(), 1);
    QVERIFY2(h.errors[0].contains(kLogTab) && h.errors[0].contains(QStringLiteral("right edge")),
             qPrintable(h.errors[0]));
    QCOMPARE(h.notices, QStringList());
    QCOMPARE(skin.writtenFiles(), QStringList());

    // Dragged back onto the background, the skin saves and opens again.
    const QPoint back = h.panel(Element::LogTab)->geometry().center();
    QTimer::singleShot(0, [&] {
        QTest::mouseMove(window, back - QPoint(100, 0));
        QTest::mouseMove(window, back - QPoint(200, 0));
        QTest::mouseRelease(window, Qt::LeftButton, {}, back - QPoint(200, 0));
    });
    QTest::mousePress(window, Qt::LeftButton, {}, back);
    QTest::mouseClick(h.form->Button4(), Qt::LeftButton);
    QCOMPARE(h.notices, QStringList{kSaved});
    QCOMPARE(skin.value(QStringLiteral("Normal"), QStringLiteral("log1left")), QStringLiteral("0.5"));
}

void SkinWorkspaceTest::replacedBackgroundIsShownAndSavedIntoTheSkin()
{
    SkinCopy skin;
    QVERIFY(skin.isValid());
    QTemporaryDir elsewhere;
    const QString red = elsewhere.filePath(QStringLiteral("red.jpg"));
    zq::Bitmap redPicture(64, 36, zq::BitmapFormat::rgb24());
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 64; ++x)
            redPicture.setPixel(x, y, qRgb(220, 0, 0));
    zq::JpegCodec().saveFile(red, redPicture);
    const QByteArray chosenBytes = fileBytes(red);

    Harness h;
    // Nothing to replace before a skin is open.
    h.nextPicture = red;
    QTest::mouseClick(h.form->Button3(), Qt::LeftButton);
    QVERIFY(!h.form->preview()->hasBackground());

    h.open(skin.layout());
    const QImage before = h.skinShown();
    h.nextPicture.clear();
    QTest::mouseClick(h.form->Button3(), Qt::LeftButton);
    QCOMPARE(h.skinShown(), before);

    h.nextPicture = red;
    QTest::mouseClick(h.form->Button3(), Qt::LeftButton);
    QCOMPARE(h.errors, QStringList());
    const QColor shown = h.form->preview()->grab().toImage().pixelColor(5, 5);
    QVERIFY2(shown.red() > 200 && shown.green() < 30 && shown.blue() < 30, qPrintable(shown.name()));

    skin.ageFiles();
    QTest::mouseClick(h.form->Button4(), Qt::LeftButton);
    QCOMPARE(h.notices, QStringList{kSaved});
    for (QWidget *parent : h.dialogParents)
        QCOMPARE(parent->window(), h.form->preview());
    QCOMPARE(fileBytes(red), chosenBytes);
    const QImage saved(skin.path(QStringLiteral("zqLOCKPIC.jpg")));
    QCOMPARE(saved.size(), QSize(1920, 1080));
    QVERIFY(qRed(saved.pixel(100, 100)) > 200 && qGreen(saved.pixel(100, 100)) < 30);
}

QTEST_MAIN(SkinWorkspaceTest)
#include "skin_workspace_test.moc"
