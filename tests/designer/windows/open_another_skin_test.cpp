// Any skin at any time: another skin replaces the open one whole, an open that fails leaves
// the open one exactly as it was, and 导出图片 writes the lock screen of the page shown as
// zqskin render draws it.

#include "document/skin_workspace.h"
#include "editing/layout_editor.h"
#include "elements/image_button.h"
#include "elements/page_elements.h"
#include "elements/text_box.h"
#include "fixtures/designer_fixture.h"
#include "picture/jpeg_codec.h"
#include "picture/png_writer.h"
#include "skin/lock_screen.h"
#include "view/preview_window.h"
#include "view/skin_canvas.h"
#include "windows/control_window.h"
#include "windows/text_constants.h"

#include <QDir>
#include <QFrame>
#include <QImage>
#include <QPushButton>
#include <QTest>

using zq::Element;
using State = zq::SkinWorkspace::State;

namespace {

const QString kStar = QStringLiteral(" *");

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file of a skin, by name.
QMap<QString, QByteArray> filesOf(const SkinCopy &skin)
{
    QMap<QString, QByteArray> files;
    for (const QString &name : kSaveOrder)
        files[name] = fileBytes(skin.path(name));
    return files;
}

// Edits of every kind on the open skin: a tab moved by keys, the 充值 page shown with a box
// moved, the background replaced. Leaves the 充值 page shown.
void editEverything(ControlHarness &h, const QString &jpeg)
{
    h.form->editor().select(h.panel(Element::FilTab));
    h.key(Qt::Key_Left, Qt::ShiftModifier);
    h.form->POnClick(QStringLiteral("充值"));
    h.form->editor().select(h.workspace().filPage()->Box2->Panel);
    h.key(Qt::Key_Down);
    h.nextPicture = jpeg;
    QTest::mouseClick(h.form->Button3(), Qt::LeftButton);
}

// The stacking of the canvas's children by name, bottom up.
QStringList shownNames(const ControlHarness &h)
{
    QStringList names;
    for (QObject *child : h.preview()->canvas()->children())
        if (auto *w = qobject_cast<QWidget *>(child))
            names << w->accessibleName();
    return names;
}

} // namespace

class OpenAnotherSkinTest : public QObject {
    Q_OBJECT
private slots:
    void anotherSkinReplacesTheOpenOneWhole();
    void anOpenThatFailsLeavesTheSkinAsItWas_data();
    void anOpenThatFailsLeavesTheSkinAsItWas();
    void exportWritesTheLockScreenOfThePageShown_data();
    void exportWritesTheLockScreenOfThePageShown();
};

void OpenAnotherSkinTest::anotherSkinReplacesTheOpenOneWhole()
{
    SkinCopy first, second;
    QVERIFY(first.isValid() && second.isValid());
    // The second skin differs in every part: a smaller blue background, pictures and boxes
    // elsewhere.
    zq::Bitmap blue(1280, 720, zq::BitmapFormat::rgb24());
    for (int y = 0; y < blue.height(); ++y)
        for (int x = 0; x < blue.width(); ++x)
            blue.setPixel(x, y, qRgb(0, 0, 230));
    zq::JpegCodec().saveFile(second.path(QStringLiteral("zqLOCKPIC.jpg")), blue);
    QVERIFY(second.editLayout("log1left=0.6796875", "log1left=0.125"));
    QVERIFY(second.editLayout([](QByteArray &text) {
        const qsizetype at = text.indexOf("[PageFil]");
        text.replace(text.indexOf("logbox2left=140", at), 15, "logbox2left=7");
    }));
    QTemporaryDir elsewhere;
    const QString white = elsewhere.filePath(QStringLiteral("white.jpg"));
    zq::JpegCodec().saveFile(white, zq::Bitmap(32, 32, zq::BitmapFormat::rgb24()));

    ControlHarness h;
    h.open(first.layout());
    QVERIFY(QTest::qWaitForWindowExposed(h.preview()));
    editEverything(h, white);
    QCOMPARE(h.errors, QStringList());
    QCOMPARE(h.undo().count(), 3);
    QVERIFY(h.form->windowTitle().endsWith(kStar));
    const QMap<QString, QByteArray> firstFiles = filesOf(first);

    h.nextAnswer = zq::SaveChoice::Discard;
    h.open(second.layout());
    QCOMPARE(h.questions, 1);
    QCOMPARE(h.errors, QStringList());
    QCOMPARE(h.workspace().state(), State::SkinOpen);
    QCOMPARE(h.workspace().layoutPath(), second.layout());

    // The second skin's background, elements and boxes; the pages hidden; each element once.
    QCOMPARE(h.preview()->backgroundSize(), QSize(1280, 720));
    QCOMPARE(h.preview()->grab().toImage().pixelColor(3, 3), QColor(0, 0, 230));
    QCOMPARE(h.panel(Element::LogTab)->x(), 160);
    QCOMPARE(h.workspace().filPage()->Box2->Panel->x(), 7);
    for (Element page : {Element::LogPage, Element::FilPage, Element::ManPage})
        QVERIFY(!h.panel(page)->isVisible());
    for (Element e : zq::allElements)
        QCOMPARE(shownNames(h).count(h.element(e)->Name()), 1);
    // Nothing of the first skin's edits: nothing to undo, a clean caption, and the keys act on
    // the second skin.
    QCOMPARE(h.undo().count(), 0);
    QCOMPARE(h.form->windowTitle(), zq::textConstant(zq::ControlCaptionText));
    h.key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(h.panel(Element::LogTab)->x(), 160);
    QVERIFY(h.form->Button1()->isEnabled() && h.form->Button4()->isEnabled());
    // The first skin's files are as they were.
    QCOMPARE(filesOf(first), firstFiles);
    QCOMPARE(h.openedSkins, (QStringList{first.layout(), second.layout()}));
}

void OpenAnotherSkinTest::anOpenThatFailsLeavesTheSkinAsItWas_data()
{
    QTest::addColumn<QString>("broken");      // the file of the second skin made unreadable
    QTest::addColumn<QByteArray>("contents"); // what it holds instead (empty: it is gone)
    QTest::addColumn<QString>("error");       // part of the error shown; empty: the version message
    QTest::newRow("older client's layout")
        << "ZqCSkin.ini" << QByteArray("[Normal]\r\nlog1left=1.5\r\n") << QString();
    QTest::newRow("background missing") << "zqLOCKPIC.jpg" << QByteArray() << "zqLOCKPIC.jpg";
    QTest::newRow("background not a JPEG") << "zqLOCKPIC.jpg" << QByteArray("not a picture") << "JPEG error";
    QTest::newRow("page picture missing") << "zqMANed.bmp" << QByteArray() << "zqMANed.bmp";
    QTest::newRow("tab picture broken")
        << "zqFIL.bmp" << QByteArray("BM broken") << "Bitmap image is not valid";
}

void OpenAnotherSkinTest::anOpenThatFailsLeavesTheSkinAsItWas()
{
    QFETCH(QString, broken);
    QFETCH(QByteArray, contents);
    QFETCH(QString, error);
    SkinCopy first, second;
    QVERIFY(first.isValid() && second.isValid());
    QVERIFY(QFile::remove(second.path(broken)));
    if (!contents.isEmpty()) {
        QFile file(second.path(broken));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
    }
    QTemporaryDir elsewhere;
    const QString white = elsewhere.filePath(QStringLiteral("white.jpg"));
    zq::JpegCodec().saveFile(white, zq::Bitmap(32, 32, zq::BitmapFormat::rgb24()));

    ControlHarness h;
    h.open(first.layout());
    QVERIFY(QTest::qWaitForWindowExposed(h.preview()));
    editEverything(h, white);
    QList<zq::TImageButtonA *> elements;
    QList<QRect> places;
    for (Element e : zq::allElements) {
        elements << h.element(e);
        places << h.panel(e)->geometry();
    }
    const QImage shown = h.skinShown();
    const QStringList stacking = shownNames(h);
    const QString caption = h.form->windowTitle();

    h.nextAnswer = zq::SaveChoice::Discard;
    h.open(second.layout());
    QCOMPARE(h.questions, 1);
    if (error.isEmpty()) {
        QCOMPARE(h.notices, QStringList{zq::textConstant(zq::VersionMessageText)});
        QCOMPARE(h.errors, QStringList());
    } else {
        QCOMPARE(h.errors.size(), 1);
        QVERIFY2(h.errors[0].contains(error), qPrintable(h.errors[0]));
    }

    // Everything as it was: the same elements at the same places, in the same order, the
    // same picture on the screen, the edits still there to undo and still unsaved.
    QCOMPARE(h.workspace().state(), State::SkinOpen);
    QCOMPARE(h.workspace().layoutPath(), first.layout());
    for (Element e : zq::allElements) {
        QCOMPARE(h.element(e), elements[int(e)]);
        QCOMPARE(h.panel(e)->geometry(), places[int(e)]);
    }
    QCOMPARE(shownNames(h), stacking);
    QCOMPARE(h.skinShown(), shown);
    QCOMPARE(h.undo().count(), 3);
    QCOMPARE(h.form->windowTitle(), caption);
    QCOMPARE(h.openedSkins, QStringList{first.layout()});
    h.key(Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(h.skinShown() != shown);
}

void OpenAnotherSkinTest::exportWritesTheLockScreenOfThePageShown_data()
{
    QTest::addColumn<QString>("chosen"); // the tab whose page is shown; empty: none
    QTest::addColumn<int>("tab");        // the tab the picture is drawn for
    QTest::newRow("no page shown") << QString() << int(Element::LogTab);
    QTest::newRow("登陆") << QStringLiteral("登陆") << int(Element::LogTab);
    QTest::newRow("充值") << QStringLiteral("充值") << int(Element::FilTab);
    QTest::newRow("管理") << QStringLiteral("管理") << int(Element::ManTab);
}

void OpenAnotherSkinTest::exportWritesTheLockScreenOfThePageShown()
{
    QFETCH(QString, chosen);
    QFETCH(int, tab);
    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("winter"));
    QVERIFY(QDir().mkpath(folder) && zqtest::copySampleSkin(folder));
    const QString layout = QDir(folder).filePath(QStringLiteral("ZqCSkin.ini"));
    ControlHarness h;
    h.open(layout);
    if (!chosen.isEmpty())
        h.form->POnClick(chosen);

    // The skin's own files, drawn as zqskin render draws them.
    auto rendered = [&] {
        zq::LockScreenSkin files = zq::LockScreenSkin::read(layout);
        return zq::encodePng(zq::renderLockScreen(files, Element(tab)));
    };
    const QString out = home.filePath(QStringLiteral("out.png"));
    h.nextExport = out;
    h.key(Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(h.exportSuggestions, QStringList{home.filePath(QStringLiteral("winter.png"))});
    QCOMPARE(h.errors, QStringList());
    QCOMPARE(fileBytes(out), rendered());

    // Unsaved edits are in the picture. Saved and opened again, the skin draws as its files
    // do. (The save encodes the background afresh, so only a skin as it was read is drawn
    // byte for byte as its files are.)
    const Element moved = Element(tab) == Element::ManTab ? Element::LogTab : Element::ManTab;
    h.form->editor().select(h.panel(moved));
    h.key(Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(h.undo().count(), 1);
    QTest::mouseClick(h.form->Button7(), Qt::LeftButton);
    QVERIFY(fileBytes(out) != rendered());
    QTest::mouseClick(h.form->Button4(), Qt::LeftButton);
    h.open(layout);
    QCOMPARE(h.questions, 0);
    if (!chosen.isEmpty())
        h.form->POnClick(chosen);
    QTest::mouseClick(h.form->Button7(), Qt::LeftButton);
    QCOMPARE(fileBytes(out), rendered());
    QCOMPARE(h.errors, QStringList());
}

QTEST_MAIN(OpenAnotherSkinTest)
#include "open_another_skin_test.moc"
