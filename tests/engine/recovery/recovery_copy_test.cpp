#include "engine/skin/skin_fixture.h"
#include "errors/engine_error.h"
#include "recovery/recovered_skin.h"
#include "recovery/recovery_store.h"
#include "recovery/skin_snapshot.h"
#include "skin/skin_document.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

using zq::Element;
using zq::SkinDocument;

namespace {

// An edit as the designer makes it, done on an open document of a scratch skin.
using Edit = std::function<void(SkinDocument &, const zqtest::SampleSkinCopy &)>;

void movePicture(SkinDocument &doc, const zqtest::SampleSkinCopy &)
{
    doc.element(Element::FilTab).Recomposite(doc.element(Element::FilTab).X() + 17, 40);
}

void moveBox(SkinDocument &doc, const zqtest::SampleSkinCopy &)
{
    doc.layout()->box("PageMan", 4) = zq::BoxRect{11, 12, 130, 41};
}

void newBackground(SkinDocument &doc, const zqtest::SampleSkinCopy &skin)
{
    QImage picture(64, 36, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 4, y * 7, 128));
    doc.background()->ReplacePicture(skin.writePicture(QStringLiteral("new.png"), picture));
}

void pngOnAPage(SkinDocument &doc, const zqtest::SampleSkinCopy &skin)
{
    QImage png(90, 50, QImage::Format_ARGB32);
    png.fill(qRgba(200, 30, 30, 120));
    doc.element(Element::LogPage).LoadPng(skin.writePicture(QStringLiteral("page.png"), png), 300, 200);
}

void everything(SkinDocument &doc, const zqtest::SampleSkinCopy &skin)
{
    newBackground(doc, skin);
    pngOnAPage(doc, skin);
    movePicture(doc, skin);
    moveBox(doc, skin);
}

struct RoundTrip {
    const char *name;
    Edit edit;
};

class RecoveryCopyTest : public testing::TestWithParam<RoundTrip> {
protected:
    QTemporaryDir data;
    zq::RecoveryStore store{data.path()};
};

// A copy made of an edited skin, put back into the skin as a new run opens it and then
// saved, writes what saving the edited skin at once writes.
TEST_P(RecoveryCopyTest, RestoredAndSavedWritesWhatADirectSaveWrites)
{
    zqtest::SampleSkinCopy skin;
    zqtest::SampleSkinCopy direct;
    SkinDocument edited(skin.layout());
    SkinDocument savedAtOnce(direct.layout());
    ASSERT_TRUE(edited.open());
    ASSERT_TRUE(savedAtOnce.open());
    GetParam().edit(edited, skin);
    GetParam().edit(savedAtOnce, direct);

    zq::SkinSnapshot snapshot = zq::SkinSnapshot::take(edited);
    store.write(skin.layout(), snapshot.encode());
    savedAtOnce.save();

    SkinDocument reopened(skin.layout());
    ASSERT_TRUE(reopened.open());
    const std::optional<zq::RecoveryEntry> entry = store.find(skin.layout());
    ASSERT_TRUE(entry);
    EXPECT_TRUE(entry->newerThanSkin);
    zq::RecoveredSkin::read(*entry, reopened).applyTo(reopened);
    reopened.save();
    EXPECT_EQ(zqtest::snapshot(skin), zqtest::snapshot(direct));
}

// A recovered replacement PNG is flattened afresh where its picture goes next, onto the
// background, as it was before the copy was made.
TEST(RecoveredSkinTest, AReplacementPngFollowsItsPictureAsBefore)
{
    QTemporaryDir data;
    const zq::RecoveryStore store(data.path());
    zqtest::SampleSkinCopy skin;
    SkinDocument edited(skin.layout());
    ASSERT_TRUE(edited.open());
    pngOnAPage(edited, skin);
    store.write(skin.layout(), zq::SkinSnapshot::take(edited).encode());

    SkinDocument reopened(skin.layout());
    ASSERT_TRUE(reopened.open());
    zq::RecoveredSkin::read(*store.find(skin.layout()), reopened).applyTo(reopened);
    for (SkinDocument *doc : {&edited, &reopened})
        doc->element(Element::LogPage).Recomposite(520, 410);
    EXPECT_TRUE(reopened.element(Element::LogPage).Png().has_value());
    EXPECT_EQ(reopened.element(Element::LogPage).Bitmap(), edited.element(Element::LogPage).Bitmap());
    EXPECT_EQ(reopened.background()->BgBitmap(), edited.background()->BgBitmap());
}

INSTANTIATE_TEST_SUITE_P(Edits, RecoveryCopyTest,
                         testing::Values(RoundTrip{"MovedPicture", movePicture},
                                         RoundTrip{"MovedBox", moveBox},
                                         RoundTrip{"NewBackground", newBackground},
                                         RoundTrip{"PngOnAPage", pngOnAPage},
                                         RoundTrip{"Everything", everything}),
                         [](const auto &info) { return std::string(info.param.name); });

// What becomes of a copy when the skin or the copy changed after it was made.
struct Afterwards {
    const char *name;
    std::function<void(const zqtest::SampleSkinCopy &, const QString &copyFolder)> change;
    bool newer;
    bool fits;
};

void savedLater(const zqtest::SampleSkinCopy &skin, const QString &)
{
    QFile layout(skin.layout());
    ASSERT_TRUE(layout.open(QIODevice::ReadWrite));
    ASSERT_TRUE(layout.setFileTime(QDateTime::currentDateTimeUtc().addSecs(60), QFile::FileModificationTime));
}

void otherBackgroundSize(const zqtest::SampleSkinCopy &skin, const QString &copyFolder)
{
    QImage small(800, 600, QImage::Format_RGB32);
    small.fill(Qt::darkBlue);
    skin.writePicture(QStringLiteral("zqLOCKPIC.jpg"), small);
    savedLater(skin, copyFolder);
}

void damagedCopy(const zqtest::SampleSkinCopy &, const QString &copyFolder)
{
    const QString picture = QDir(copyFolder).filePath(QStringLiteral("zqMAN.bmp"));
    QByteArray bytes = zqtest::readBytes(picture);
    bytes[bytes.size() - 1] = char(bytes.back() ^ 0x5a);
    zqtest::writeBytes(picture, bytes);
}

class RecoveryCopyAfterwards : public testing::TestWithParam<Afterwards> {
protected:
    QTemporaryDir data;
    zq::RecoveryStore store{data.path()};
};

TEST_P(RecoveryCopyAfterwards, SaysWhetherTheCopyIsNewerAndStillFits)
{
    zqtest::SampleSkinCopy skin;
    {
        SkinDocument edited(skin.layout());
        ASSERT_TRUE(edited.open());
        movePicture(edited, skin);
        store.write(skin.layout(), zq::SkinSnapshot::take(edited).encode());
    }
    GetParam().change(skin, store.find(skin.layout())->filesFolder);

    SkinDocument reopened(skin.layout());
    ASSERT_TRUE(reopened.open());
    const std::optional<zq::RecoveryEntry> entry = store.find(skin.layout());
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->newerThanSkin, GetParam().newer);
    if (GetParam().fits)
        EXPECT_NO_THROW(zq::RecoveredSkin::read(*entry, reopened));
    else
        EXPECT_THROW(zq::RecoveredSkin::read(*entry, reopened), zq::EngineError);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, RecoveryCopyAfterwards,
    testing::Values(Afterwards{"Untouched", [](const auto &, const auto &) {}, true, true},
                    Afterwards{"SkinSavedLater", savedLater, false, true},
                    Afterwards{"BackgroundOfAnotherSize", otherBackgroundSize, false, false},
                    Afterwards{"DamagedCopy", damagedCopy, true, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(RecoveryStoreTest, OneEntryPerSkinWhateverThePathsSpellingAndNoneAfterRemoval)
{
    QTemporaryDir data;
    const zq::RecoveryStore store(data.path());
    zqtest::SampleSkinCopy skin;
    zqtest::SampleSkinCopy other;
    SkinDocument doc(skin.layout());
    ASSERT_TRUE(doc.open());
    const QString spelledOtherwise = skin.dir.path() + QStringLiteral("/./ZqCSkin.ini");
    store.write(skin.layout(), zq::SkinSnapshot::take(doc).encode());
    store.write(spelledOtherwise, zq::SkinSnapshot::take(doc).encode());

    EXPECT_EQ(QDir(store.folder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
    // The second copy replaced the first: one folder of files beside the manifest.
    EXPECT_EQ(QDir(store.entryFolder(skin.layout())).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
    EXPECT_TRUE(store.find(spelledOtherwise));
    EXPECT_FALSE(store.find(other.layout()));

    EXPECT_TRUE(store.remove(skin.layout()));
    EXPECT_FALSE(store.find(skin.layout()));
    EXPECT_FALSE(QDir(store.entryFolder(skin.layout())).exists());
}

} // namespace
