#include "errors/engine_error.h"
#include "profile/profile_file.h"
#include "support/test_files.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using zq::ProfileFile;
using zqtest::readBytes;
using zqtest::writeBytes;

namespace {

// Runs f and returns the message of the engine error it raises, or "" when it raises none.
template <typename F> QString errorOf(F f)
{
    try {
        f();
    } catch (const zq::EngineError &e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST(ProfileFile, AMissingFileReadsEmptyAndIsCreatedByAWrite)
{
    QTemporaryDir dir;
    const ProfileFile file(dir.filePath("new.ini"));
    EXPECT_EQ(file.readValue("Normal", "log1left"), "");
    file.writeValue("Normal", "log1left", "0.5");
    file.writeValue("PageLog", "logbox1left", "7");
    EXPECT_EQ(readBytes(file.path()), "[Normal]\r\nlog1left=0.5\r\n[PageLog]\r\nlogbox1left=7\r\n");
    EXPECT_EQ(file.readValue("normal", "LOG1LEFT"), "0.5");
}

TEST(ProfileFile, EachWriteReachesTheFileAndChangesOnlyItsLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    writeBytes(path, "; skin\r\n[Normal]\r\nlog1left=0.1\r\nextra=keep\r\n\r\n[Other]\r\nx=y\r\n");
    const ProfileFile file(path);
    file.writeValue("NORMAL", "Log1Left", "0.2");
    EXPECT_EQ(readBytes(path), "; skin\r\n[Normal]\r\nlog1left=0.2\r\nextra=keep\r\n\r\n[Other]\r\nx=y\r\n");
}

TEST(ProfileFile, ABatchEndsAsTheSameWritesOneByOne)
{
    QTemporaryDir dir;
    const QByteArray start = "[B]\nk=0\n";
    writeBytes(dir.filePath("one.ini"), start);
    writeBytes(dir.filePath("batch.ini"), start);
    const ProfileFile one(dir.filePath("one.ini"));
    const ProfileFile batch(dir.filePath("batch.ini"));
    const QList<std::array<const char *, 3>> writes = {
        {"A", "x", "1"}, {"B", "K", "2"}, {"a", "y", "3"}, {"C", "z", "4"}, {"A", "X", "5"}};
    zq::ProfileDocument document = batch.loadForUpdate();
    for (const auto &w : writes) {
        one.writeValue(w[0], w[1], w[2]);
        document.setValue(w[0], w[1], w[2]);
    }
    batch.save(document);
    EXPECT_EQ(readBytes(batch.path()), readBytes(one.path()));
}

TEST(ProfileFile, AWriteIntoAGoneFolderFailsWithTheMessage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("gone/ZqCSkin.ini");
    EXPECT_EQ(errorOf([&] { ProfileFile(path).writeValue("Normal", "log1left", "0"); }),
              "Unable to write to " + path);
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(ProfileFile, AFileThatCannotBeReadIsNotOverwritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("folder.ini");
    ASSERT_TRUE(QDir().mkdir(path));
    EXPECT_EQ(ProfileFile(path).readValue("S", "a"), "");
    EXPECT_EQ(errorOf([&] { ProfileFile(path).writeValue("S", "a", "1"); }), "Unable to write to " + path);
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST(ProfileFile, AFailedSaveLeavesTheOldFileWhole)
{
    if (!zqtest::FileSizeLimit::available())
        GTEST_SKIP() << "no way to make a write fail on this system";
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    const QByteArray old = "[S]\r\na=1\r\n";
    writeBytes(path, old);
    const ProfileFile file(path);
    QString message;
    {
        zqtest::FileSizeLimit limit(64);
        message = errorOf([&] { file.writeValue("S", "b", QByteArray(200, 'v')); });
    }
    EXPECT_EQ(message, "Unable to write to " + path);
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"a.ini"}); // no temporary left
}

TEST(ProfileFile, ASaveKeepsTheFilesPermissions)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "a Windows file has no owner and group permissions, only its read-only flag";
#endif
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    writeBytes(path, "[S]\na=1\n");
    const auto permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path, permissions));
    ProfileFile(path).writeValue("S", "a", "2");
    EXPECT_EQ(QFile::permissions(path) & QFileDevice::Permissions::fromInt(0x7077), permissions);
    EXPECT_EQ(readBytes(path), "[S]\na=2\n");
}
