#pragma once

// Small file helpers shared by the tests.

#include <QByteArray>
#include <QFile>
#include <QString>

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/resource.h>
#endif

namespace zqtest {

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Makes every file write past a few bytes fail, even for root, while it lives: the way the
// tests make a save fail on a disk that is otherwise writable.
class FileSizeLimit {
public:
    static bool available()
    {
#if defined(Q_OS_UNIX)
        return true;
#else
        return false;
#endif
    }

    explicit FileSizeLimit(unsigned long bytes)
    {
#if defined(Q_OS_UNIX)
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
#else
        (void)bytes;
#endif
    }

    ~FileSizeLimit()
    {
#if defined(Q_OS_UNIX)
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
#endif
    }

    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
#if defined(Q_OS_UNIX)
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
#endif
};

} // namespace zqtest
