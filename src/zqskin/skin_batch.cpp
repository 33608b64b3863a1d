#include "skin_batch.h"

#include "errors/engine_error.h"

#include <QThread>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace zqskin {

int runOnSkins(const Invocation &invocation, QTextStream &out,
               const std::function<SkinReport(const QString &skin)> &one,
               const std::function<SkinReport(const QString &skin, const QString &message)> &failure)
{
    const QStringList &skins = invocation.skinPaths;
    const size_t count = size_t(skins.size());
    std::vector<std::optional<SkinReport>> reports(count);
    std::mutex mutex;
    std::condition_variable done;
    std::atomic<size_t> next{0};

    const auto failed = [&](const QString &skin, const QString &message) {
        SkinReport report =
            failure ? failure(skin, message) : SkinReport{false, skin + QStringLiteral(": ") + message, true};
        report.ok = false;
        return report;
    };
    const auto work = [&] {
        for (size_t i = next++; i < count; i = next++) {
            SkinReport report;
            try {
                report = one(skins[qsizetype(i)]);
            } catch (const zq::EngineError &e) {
                report = failed(skins[qsizetype(i)], e.message());
            } catch (const std::exception &e) {
                // Out of memory on one large skin should not take the others with it.
                report = failed(skins[qsizetype(i)], QString::fromLocal8Bit(e.what()));
            }
            const std::lock_guard lock(mutex);
            reports[i] = std::move(report);
            done.notify_one();
        }
    };

    const int cores = std::max(1, QThread::idealThreadCount());
    const size_t threads = std::min(count, size_t(invocation.jobs.value_or(cores)));
    std::vector<std::jthread> workers;
    for (size_t t = 0; t < threads; ++t)
        workers.emplace_back(work);

    int status = 0;
    QTextStream err(stderr);
    for (size_t i = 0; i < count; ++i) {
        std::unique_lock lock(mutex);
        done.wait(lock, [&] { return reports[i].has_value(); });
        const SkinReport report = std::move(*reports[i]);
        lock.unlock();
        if (!report.ok)
            status = 1;
        QTextStream &stream = report.toStderr ? err : out;
        stream << report.text << '\n';
        stream.flush();
    }
    return status;
}

} // namespace zqskin
