#include "flush_time.h"

#include "bench_timing.h"

#include "platform/file_replace.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

bool printFlushTime(const QString &folder)
{
    constexpr int rounds = 9;
    QByteArray bytes(4 << 20, '\0');
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        // Bytes the disk has not seen, so nothing is saved by a device that drops repeats.
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(bytes.data()),
                                              bytes.size() / qsizetype(sizeof(quint32)));
        QFile file(QDir(folder).filePath(QStringLiteral("flush-time.bin")));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() ||
            !file.flush()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return false;
        }
        QFile *files[] = {&file};
        qsizetype failed = -1;
        QString reason;
        bool flushed = false;
        times.push_back(seconds([&] { flushed = zq::platform::flushTogether(files, failed, reason); }));
        file.close();
        file.remove();
        if (!flushed) {
            std::fprintf(stderr, "cannot flush %s: %s\n", qPrintable(file.fileName()), qPrintable(reason));
            return false;
        }
    }
    std::nth_element(times.begin(), times.begin() + rounds / 2, times.end());
    std::printf("%.2f\n", 1000 * times[rounds / 2]);
    return true;
}

} // namespace bench
