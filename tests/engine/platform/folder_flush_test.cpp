#include "platform/file_replace.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

using zq::platform::FolderFlush;

TEST(FolderFlush, AFileSystemWithoutFolderFlushesIsNoFailureButAnIoErrorIs)
{
    const struct {
        int error;
        FolderFlush outcome;
    } cases[] = {
        {0, FolderFlush::Done},
        {EINVAL, FolderFlush::NotPossibleHere},
        {ENOTSUP, FolderFlush::NotPossibleHere},
        {EOPNOTSUPP, FolderFlush::NotPossibleHere},
        {EIO, FolderFlush::Failed},
        {ENOSPC, FolderFlush::Failed},
        {EROFS, FolderFlush::Failed},
    };
    for (const auto &c : cases)
        EXPECT_EQ(zq::platform::folderFlushOutcome(c.error), c.outcome) << c.error;
}

TEST(FolderFlush, AnOrdinaryFolderFlushesOrCannotBeFlushedHere)
{
    QTemporaryDir dir;
    QString reason;
    EXPECT_NE(zq::platform::flushFolder(dir.path(), reason), FolderFlush::Failed) << reason.toStdString();
}
