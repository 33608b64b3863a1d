// Files dropped onto the designer: a skin opens wherever it lands; a PNG on a picture and a
// picture on the background do what 换张图片 and 换背景图片 do with the same file, undoably;
// anything else is refused and changes nothing.

#include "document/skin_workspace.h"
#include "editing/layout_editor.h"
#include "elements/image_button.h"
#include "elements/page_elements.h"
#include "elements/text_box.h"
#include "fixtures/designer_fixture.h"
#include "picture/jpeg_codec.h"
#include "skin/element_picture.h"
#include "view/preview_window.h"
#include "view/skin_canvas.h"
#include "windows/control_window.h"

#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using zq::Element;

namespace {

// Where a file is dropped.
enum class Target { Background, LogTab, FilPageBox, ControlWindow };

// What it must do.
enum class Effect { OpensOther, ReplacesPicture, ReplacesBackground, Refused };

// Pictures to drop, made once per test in a scratch folder.
class DropFiles {
public:
    DropFiles()
    {
        // Half transparent, so that a replaced picture shows the background through it.
        QImage png(120, 40, QImage::Format_ARGB32);
        for (int y = 0; y < png.height(); ++y)
            for (int x = 0; x < png.width(); ++x)
                png.setPixel(x, y, qRgba(20, 200, 40, x < 60 ? 255 : 0));
        png.save(path(QStringLiteral("tab.png")));
        zq::Bitmap red(64, 36, zq::BitmapFormat::rgb24());
        for (int y = 0; y < red.height(); ++y)
            for (int x = 0; x < red.width(); ++x)
                red.setPixel(x, y, qRgb(220, 0, 0));
        zq::JpegCodec().saveFile(path(QStringLiteral("red.jpg")), red);
        QImage blue(64, 36, QImage::Format_RGB888);
        blue.fill(QColor(0, 0, 230));
        blue.save(path(QStringLiteral("blue.bmp")));
        blue.save(path(QStringLiteral("blue.png")));
        QFile text(path(QStringLiteral("notes.txt")));
        if (text.open(QIODevice::WriteOnly))
            text.write("not a picture");
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

} // namespace

Q_DECLARE_METATYPE(Target)
Q_DECLARE_METATYPE(Effect)

class SkinDropsTest : public QObject {
    Q_OBJECT
private slots:
    void dropsDoWhatTheirSpotSays_data();
    void dropsDoWhatTheirSpotSays();
    void beforeASkinIsOpenOnlyASkinIsTaken();
};

void SkinDropsTest::dropsDoWhatTheirSpotSays_data()
{
    QTest::addColumn<QString>("file"); // a name in DropFiles; "other:" + a name in the other skin
    QTest::addColumn<Target>("target");
    QTest::addColumn<Effect>("effect");
    QTest::newRow("ZqCSkin.ini on the background")
        << "other:ZqCSkin.ini" << Target::Background << Effect::OpensOther;
    QTest::newRow("skin folder on a picture") << "other:" << Target::LogTab << Effect::OpensOther;
    QTest::newRow("skin folder on the control window")
        << "other:" << Target::ControlWindow << Effect::OpensOther;
    QTest::newRow("PNG on a tab") << "tab.png" << Target::LogTab << Effect::ReplacesPicture;
    QTest::newRow("PNG on a page's box") << "tab.png" << Target::FilPageBox << Effect::ReplacesPicture;
    QTest::newRow("JPEG on the background") << "red.jpg" << Target::Background << Effect::ReplacesBackground;
    QTest::newRow("PNG on the background") << "blue.png" << Target::Background << Effect::ReplacesBackground;
    QTest::newRow("BMP on the background") << "blue.bmp" << Target::Background << Effect::ReplacesBackground;
    QTest::newRow("JPEG on a picture") << "red.jpg" << Target::LogTab << Effect::Refused;
    QTest::newRow("PNG on the control window") << "tab.png" << Target::ControlWindow << Effect::Refused;
    QTest::newRow("text on the background") << "notes.txt" << Target::Background << Effect::Refused;
    QTest::newRow("two pictures") << "red.jpg,blue.png" << Target::Background << Effect::Refused;
}

void SkinDropsTest::dropsDoWhatTheirSpotSays()
{
    QFETCH(QString, file);
    QFETCH(Target, target);
    QFETCH(Effect, effect);
    const DropFiles files;
    SkinCopy skin, other;
    QVERIFY(skin.isValid() && other.isValid());
    // The other skin's 登陆 tab stands elsewhere, so that its opening shows.
    QVERIFY(other.editLayout("log1left=0.6796875", "log1left=0.25"));
    ControlHarness h;
    h.open(skin.layout());
    QVERIFY(QTest::qWaitForWindowExposed(h.preview()));
    // Dropped on a page's box, the 充值 page is shown.
    if (target == Target::FilPageBox)
        h.form->POnClick(QStringLiteral("充值"));

    QStringList paths;
    for (const QString &name : file.split(u','))
        paths << (name.startsWith(QStringLiteral("other:")) ? QDir(other.folder()).filePath(name.mid(6))
                                                            : files.path(name));
    QPoint at;
    zq::TImageButtonA *picture = nullptr;
    switch (target) {
    case Target::Background:
        at = QPoint(5, 5);
        break;
    case Target::LogTab:
        picture = h.element(Element::LogTab);
        // The screen may be smaller than the skin: the view goes where the picture is.
        h.preview()->canvas()->panTo(picture->Panel()->pos() - QPoint(20, 20));
        at = h.inPreview(picture->Panel(), QPoint(20, 10));
        break;
    case Target::FilPageBox: {
        picture = h.element(Element::FilPage);
        h.preview()->canvas()->panTo(picture->Panel()->pos() - QPoint(20, 20));
        QWidget *box = h.workspace().filPage()->Box1->Panel;
        at = h.inPreview(box, QPoint(box->width() / 2, box->height() / 2));
        break;
    }
    case Target::ControlWindow:
        at = h.inPreview(h.form->Memo1(), QPoint(5, 5));
        break;
    }
    const QImage shownBefore = h.skinShown();
    const zq::Bitmap pictureBefore = picture ? picture->bitmap() : zq::Bitmap();
    const zq::TImageButtonA *logTab = h.element(Element::LogTab);

    const bool taken = dropFiles(h.window(), at, paths);
    QCOMPARE(taken, effect != Effect::Refused);
    QCOMPARE(h.errors, QStringList());

    switch (effect) {
    case Effect::OpensOther:
        QCOMPARE(h.workspace().layoutPath(), other.layout());
        QVERIFY(h.element(Element::LogTab) != logTab);
        QCOMPARE(h.panel(Element::LogTab)->x(), 480);
        break;
    case Effect::ReplacesPicture: {
        const zq::Bitmap dropped = picture->bitmap();
        QCOMPARE(dropped.width(), 120);
        QCOMPARE(h.undo().count(), 1);
        h.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(picture->bitmap(), pictureBefore);
        // What 换张图片 makes of the same PNG on a skin of its own.
        SkinCopy again;
        QVERIFY(again.isValid());
        ControlHarness menu;
        menu.open(again.layout());
        if (target == Target::FilPageBox)
            menu.form->POnClick(QStringLiteral("充值"));
        zq::TImageButtonA *same =
            menu.workspace().element(target == Target::LogTab ? Element::LogTab : Element::FilPage);
        same->PngChooser = [&](QWidget *) { return paths[0]; };
        same->ReplaceItem()->trigger();
        QCOMPARE(dropped, same->bitmap());
        break;
    }
    case Effect::ReplacesBackground: {
        const zq::Bitmap dropped = h.workspace().document()->Background->BgBitmap();
        QVERIFY(h.skinShown() != shownBefore);
        QCOMPARE(h.undo().count(), 1);
        h.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(h.skinShown(), shownBefore);
        // What 换背景图片 makes of the same file.
        SkinCopy again;
        QVERIFY(again.isValid());
        ControlHarness menu;
        menu.open(again.layout());
        menu.nextPicture = paths[0];
        QTest::mouseClick(menu.form->Button3(), Qt::LeftButton);
        QCOMPARE(dropped, menu.workspace().document()->Background->BgBitmap());
        break;
    }
    case Effect::Refused:
        QCOMPARE(h.workspace().layoutPath(), skin.layout());
        QCOMPARE(h.element(Element::LogTab), logTab);
        QCOMPARE(h.undo().count(), 0);
        QCOMPARE(h.skinShown(), shownBefore);
        break;
    }
    QCOMPARE(h.questions, 0);
}

void SkinDropsTest::beforeASkinIsOpenOnlyASkinIsTaken()
{
    const DropFiles files;
    SkinCopy skin;
    QVERIFY(skin.isValid());
    ControlHarness h;
    QVERIFY(QTest::qWaitForWindowExposed(h.preview()));
    QVERIFY(!dropFiles(h.window(), QPoint(5, 5), {files.path(QStringLiteral("red.jpg"))}));
    QVERIFY(!h.preview()->hasBackground());
    QVERIFY(dropFiles(h.window(), QPoint(5, 5), {skin.folder()}));
    QCOMPARE(h.workspace().state(), zq::SkinWorkspace::State::SkinOpen);
    QCOMPARE(h.workspace().layoutPath(), skin.layout());
    QCOMPARE(h.openedSkins, QStringList{skin.layout()});
}

QTEST_MAIN(SkinDropsTest)
#include "skin_drops_test.moc"
