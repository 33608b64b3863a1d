#include "files/safe_file.h"
#include "support/test_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SafeFile, ReplacesTheWholeFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.bin");
    zqtest::writeBytes(path, QByteArray(5000, 'o'));
    EXPECT_TRUE(zq::replaceFile(path, "new").ok);
    EXPECT_EQ(zqtest::readBytes(path), "new");
}

TEST(SafeFile, AShortWriteFailsAndKeepsTheOldFile)
{
    if (!zqtest::FileSizeLimit::available())
        GTEST_SKIP() << "no way to make a write fail on this system";
    QTemporaryDir dir;
    const QString path = dir.filePath("a.bin");
    zqtest::writeBytes(path, "old");
    // Small writes go through the file's buffer, large ones straight to the disk.
    for (qsizetype size : {200, 100000}) {
        zq::FileWriteResult result;
        {
            zqtest::FileSizeLimit limit(64);
            result = zq::replaceFile(path, QByteArray(size, 'n'));
        }
        EXPECT_FALSE(result.ok) << size;
        EXPECT_EQ(zqtest::readBytes(path), "old");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.bin"});
    }
}
