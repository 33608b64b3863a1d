#include "errors/engine_error.h"
#include "numbers/regional_settings.h"
#include "skin/ini_mian.h"
#include "support/geometry_printers.h"
#include "support/test_files.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

using zq::BoxRect;
using zq::PixelSize;
using zq::Point;
using zq::TiniMian;
using zqtest::readBytes;
using zqtest::writeBytes;

namespace {

class TiniMianTest : public ::testing::Test {
protected:
    // A full stop unless a test says otherwise, whatever the machine's own settings.
    void SetUp() override { useSeparator(u'.'); }
    void TearDown() override { useSeparator(u'.'); }

    QString layout(const QByteArray &bytes)
    {
        const QString path = dir.filePath("ZqCSkin.ini");
        writeBytes(path, bytes);
        return path;
    }

    static void useSeparator(QChar separator) { zq::setRegionalSettings({separator}); }

    QTemporaryDir dir;
};

// Every value of the record, told apart by its number.
void fillRecord(TiniMian &record)
{
    int n = 1;
    for (zq::Element e : zq::allElements) {
        record.position(e) = {n * 10, n * 10 + 1};
        ++n;
    }
    for (const zq::BoxTableRow &row : zq::boxTable) {
        record.box(row.section, row.keyNumber) = {n, n + 1, n + 2, -n};
        n += 4;
    }
}

} // namespace

TEST_F(TiniMianTest, ScalesTheFractionsByTheBackgroundSize)
{
    const QString path =
        layout("[Normal]\r\nlog1left=0.3\r\nlog1Top=0.5\r\nFIL1LEFT=-0.1\r\nfil1top=-0.0005\r\n"
               "man1left=1\r\nman1Top=0.25\r\nLog2left=0.125\r\nLog2Top=0.375\r\n"
               "Fil2left=0.625\r\nFil2Top=0.75\r\nMan2left=0.875\r\nMan2Top=2\r\n");
    const TiniMian record(path, {1000, 800});
    EXPECT_EQ(record.LogTabPos, (Point{299, 400}));
    EXPECT_EQ(record.FilTabPos, (Point{-100, 0}));
    EXPECT_EQ(record.ManTabPos, (Point{1000, 200}));
    EXPECT_EQ(record.LogPagePos, (Point{125, 300}));
    EXPECT_EQ(record.FilPagePos, (Point{625, 600}));
    EXPECT_EQ(record.ManPagePos, (Point{875, 1600}));
    EXPECT_EQ(record.BgSize, (PixelSize{1000, 800}));
}

TEST_F(TiniMianTest, ReadsEachBoxFromItsKeys)
{
    QByteArray text;
    for (const char *section : {"PageLog", "PageFil", "PageMan"}) {
        text += QByteArray("[") + section + "]\r\n";
        for (int n = 1; n <= 4; ++n)
            for (const char *part : {"left", "Top", "Width", "Height"})
                text += "logbox" + QByteArray::number(n) + part + "=" +
                        QByteArray::number(section[4] * 100 + n * 10 + int(std::strlen(part))) + "\r\n";
    }
    const TiniMian record(layout(text), {100, 100});
    // 'L' = 76, 'F' = 70, 'M' = 77, then the box number, then the length of the part's name.
    EXPECT_EQ(record.LogUserBox, (BoxRect{7614, 7613, 7615, 7616}));
    EXPECT_EQ(record.LogOkBox, (BoxRect{7634, 7633, 7635, 7636}));
    EXPECT_EQ(record.FilCardBox, (BoxRect{7014, 7013, 7015, 7016}));
    EXPECT_EQ(record.FilOkBox, (BoxRect{7044, 7043, 7045, 7046}));
    EXPECT_EQ(record.ManPassBox, (BoxRect{7714, 7713, 7715, 7716}));
    EXPECT_EQ(record.ManOkBox, (BoxRect{7724, 7723, 7725, 7726}));
    EXPECT_EQ(record.ManRestartBox, (BoxRect{7734, 7733, 7735, 7736}));
    EXPECT_EQ(record.ManShutdownBox, (BoxRect{7744, 7743, 7745, 7746}));
    EXPECT_EQ(&record.box("PageMan", 3), &record.ManRestartBox);
    EXPECT_EQ(&record.box("PageMan", 4), &record.ManShutdownBox);
}

TEST_F(TiniMianTest, WholeValueForms)
{
    const TiniMian record(
        layout("[PageLog]\nlogbox1left=-7\nlogbox1Top=junk\nlogbox1Width=0x1F\nlogbox1Height=12.5\n"),
        {100, 100});
    EXPECT_EQ(record.LogUserBox, (BoxRect{-7, 0, 31, 0}));
}

TEST_F(TiniMianTest, AMissingFileReadsZerosAndPassesTheVersionTest)
{
    const TiniMian record(dir.filePath("none.ini"), {1920, 1080});
    EXPECT_EQ(record.ManPagePos, (Point{0, 0}));
    EXPECT_EQ(record.ManShutdownBox, (BoxRect{0, 0, 0, 0}));
    EXPECT_TRUE(record.CheckVersion());
}

TEST_F(TiniMianTest, VersionTestReadsTheFileAgain)
{
    const QString path = layout("[Normal]\nlog1left=1\n");
    const TiniMian record(path, {100, 100});
    EXPECT_TRUE(record.CheckVersion());
    for (const char *older : {"1.0000001", "300", "1E1"}) {
        writeBytes(path, QByteArray("[Normal]\nLOG1LEFT=") + older + "\n");
        EXPECT_FALSE(record.CheckVersion()) << older;
    }
    for (const char *current : {"0", "-5", "unparsable", ""}) {
        writeBytes(path, QByteArray("[Normal]\nlog1left=") + current + "\n");
        EXPECT_TRUE(record.CheckVersion()) << current;
    }
}

TEST_F(TiniMianTest, AFileWrittenFromNothingHoldsTheFourSectionsInWriteOrder)
{
    const QString path = dir.filePath("ZqCSkin.ini");
    TiniMian record(path, {1024, 1024});
    fillRecord(record);
    record.WriteLayout();
    QStringList lines = QString::fromLatin1(readBytes(path)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4 + 56 + 1);
    EXPECT_EQ(lines.takeLast(), "");
    EXPECT_EQ(lines.mid(0, 13),
              (QStringList{"[Normal]", "log1left=0.009765625", "log1Top=0.0107421875", "Fil1left=0.01953125",
                           "Fil1Top=0.0205078125", "Man1left=0.029296875", "Man1Top=0.0302734375",
                           "Log2left=0.0390625", "Log2Top=0.0400390625", "Fil2left=0.048828125",
                           "Fil2Top=0.0498046875", "Man2left=0.05859375", "Man2Top=0.0595703125"}));
    EXPECT_EQ(lines.mid(13, 6), (QStringList{"[PageLog]", "logbox1left=7", "logbox1Top=8", "logbox1Width=9",
                                             "logbox1Height=-7", "logbox2left=11"}));
    EXPECT_EQ(lines[26], "[PageFil]");
    EXPECT_EQ(lines[43], "[PageMan]");
    // Slot 3 of the management page (shut down) is key 4, slot 4 (restart) key 3.
    EXPECT_EQ(lines.mid(52, 8),
              (QStringList{"logbox3left=47", "logbox3Top=48", "logbox3Width=49", "logbox3Height=-47",
                           "logbox4left=43", "logbox4Top=44", "logbox4Width=45", "logbox4Height=-43"}));
}

TEST_F(TiniMianTest, PositionsSurviveASaveAndReopen)
{
    const QString path = dir.filePath("ZqCSkin.ini");
    TiniMian record(path, {1000, 1920});
    fillRecord(record);
    record.LogTabPos = {300, 1};
    record.FilTabPos = {9, 1919};
    record.ManPagePos = {-300, 3000};
    record.WriteLayout();
    EXPECT_TRUE(readBytes(path).contains("log1left=0.300000000000001\r\n"));
    EXPECT_TRUE(readBytes(path).contains("log1Top=0.000520833333333334\r\n"));
    TiniMian reopened(path, {1000, 1920});
    for (zq::Element e : zq::allElements)
        EXPECT_EQ(reopened.position(e), record.position(e)) << zq::elementName(e).toString().toStdString();
    for (const zq::BoxTableRow &row : zq::boxTable)
        EXPECT_EQ(reopened.box(row.section, row.keyNumber), record.box(row.section, row.keyNumber));

    // And again: a second save of the reopened record changes nothing.
    const QByteArray first = readBytes(path);
    reopened.WriteLayout();
    EXPECT_EQ(readBytes(path), first);
}

TEST_F(TiniMianTest, ASaveTouchesOnlyTheLayoutsValues)
{
    const QByteArray before =
        "; Zenqa skin\r\n[Normal]\r\nFIL1LEFT=0.5\r\nlog1left = 0.25\r\nmystery=42\r\n\r\n"
        "[Extra]\r\nkeep=me\r\n[PageMan]\r\n; restart\r\nLOGBOX3LEFT=5\r\n";
    const QString path = layout(before);
    TiniMian(path, {100, 100}).WriteLayout();
    const QByteArray after = readBytes(path);

    EXPECT_TRUE(
        after.startsWith("; Zenqa skin\r\n[Normal]\r\nFIL1LEFT=0.5\r\nlog1left =0.25\r\nmystery=42\r\n"));
    EXPECT_TRUE(after.contains("\r\n[Extra]\r\nkeep=me\r\n[PageMan]\r\n; restart\r\nLOGBOX3LEFT=5\r\n"));
    EXPECT_EQ(after.count("\n"), after.count("\r\n"));
    EXPECT_EQ(
        QString::fromLatin1(after).count(QRegularExpression(
            "^fil1left=", QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption)),
        1);
    EXPECT_EQ(after.count("[Normal]"), 1);
    EXPECT_EQ(after.count("[PageMan]"), 1);
    EXPECT_EQ(
        QString::fromLatin1(after).count(QRegularExpression("^\\w+ *=", QRegularExpression::MultilineOption)),
        56 + 2); // every key once, plus mystery and keep
}

TEST_F(TiniMianTest, UsesTheRegionalDecimalSeparator)
{
    useSeparator(u',');
    const QString path = dir.filePath("ZqCSkin.ini");
    TiniMian record(path, {1000, 1000});
    record.LogTabPos = {500, 300};
    record.WriteLayout();
    EXPECT_TRUE(readBytes(path).startsWith("[Normal]\r\nlog1left=0,5\r\nlog1Top=0,300000000000001\r\n"));
    EXPECT_EQ(TiniMian(path, {1000, 1000}).LogTabPos, (Point{500, 300}));
    useSeparator(u'.');
    EXPECT_EQ(TiniMian(path, {1000, 1000}).LogTabPos, (Point{0, 0}));
}

TEST_F(TiniMianTest, ASaveIntoAGoneFolderFailsWithTheMessage)
{
    const QString path = dir.filePath("gone/ZqCSkin.ini");
    TiniMian record(path, {100, 100});
    try {
        record.WriteLayout();
        ADD_FAILURE() << "the save did not fail";
    } catch (const zq::EngineError &e) {
        EXPECT_EQ(e.message(), "Unable to write to " + path);
    }
}

TEST_F(TiniMianTest, AFailedSaveLeavesTheOldFileWhole)
{
    if (!zqtest::FileSizeLimit::available())
        GTEST_SKIP() << "no way to make a write fail on this system";
    const QByteArray old = "[Normal]\r\nlog1left=0.5\r\n";
    const QString path = layout(old);
    TiniMian record(path, {1000, 1000});
    record.LogTabPos = {1, 2};
    QString message;
    {
        zqtest::FileSizeLimit limit(100);
        try {
            record.WriteLayout();
        } catch (const zq::EngineError &e) {
            message = e.message();
        }
    }
    EXPECT_EQ(message, "Unable to write to " + path);
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"ZqCSkin.ini"});
}

TEST_F(TiniMianTest, ALoginTabBeyondTheRightEdgeIsRefusedBeforeAnythingIsWritten)
{
    struct Row {
        std::int32_t width;
        std::int32_t x;
        bool refused;
    };
    const Row rows[] = {
        {640, 640, false}, {640, 641, true},     {1920, 1920, false},   {1920, 1921, true},
        {7, 8, true},      {1000, -5000, false}, {1, 2147483647, true}, {2147483647, 2147483647, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << row.x << " on " << row.width);
        const QByteArray old = "[Normal]\r\nlog1left=0.5\r\n";
        const QString path = layout(old);
        TiniMian record(path, {row.width, 100});
        record.LogTabPos = {row.x, 3};
        QString message;
        try {
            record.WriteLayout();
        } catch (const zq::EngineError &e) {
            message = e.message();
        }
        if (row.refused) {
            EXPECT_TRUE(message.contains(QStringLiteral("登陆")) && message.contains("right edge"))
                << message.toStdString();
            EXPECT_EQ(readBytes(path), old);
        } else {
            EXPECT_EQ(message, QString());
            // What was written passes the version test and reads back where it was.
            EXPECT_TRUE(record.CheckVersion());
            EXPECT_EQ(TiniMian(path, {row.width, 100}).LogTabPos.x, row.x);
        }
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"ZqCSkin.ini"});
    }
}
