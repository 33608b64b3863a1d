#pragma once

// Runs the built zqskin with its address space limited, as on a small machine, and measures
// the most memory it held (through peak_run). Unix only: the tests that need it skip elsewhere.

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace zqtest {

struct LimitedOutcome {
    bool finished = false; // false: still running after the time allowed, then killed
    int status = -1;       // exit status; 128 + the signal after one
    long peakKilobytes = 0;
    QByteArray err; // what it said, on stderr and then stdout
};

constexpr bool limitedRunAvailable()
{
#ifdef PEAK_RUN_PATH
    return true;
#else
    return false;
#endif
}

// Sanitized builds reserve terabytes of address space for their own books, so there the limit
// is left off (0) and only the peak is measured.
inline LimitedOutcome zqskinLimited(const QStringList &arguments, long long addressSpaceBytes,
                                    int seconds = 60)
{
    LimitedOutcome outcome;
#ifdef PEAK_RUN_PATH
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    // The address sanitizer holds freed memory back for a while; the peak is the program's own.
    const QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       (asan.isEmpty() ? QString() : asan + u':') + QStringLiteral("quarantine_size_mb=4"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(PEAK_RUN_PATH),
                  QStringList{QString::number(addressSpaceBytes), QString::number(seconds),
                              QStringLiteral(ZQSKIN_PATH)} +
                      arguments);
    if (!process.waitForFinished((seconds + 30) * 1000)) {
        process.kill();
        process.waitForFinished();
        return outcome;
    }
    // The program's own output, then peak_run's last line.
    QByteArray out = process.readAllStandardOutput().trimmed();
    const qsizetype lastLine = out.lastIndexOf('\n') + 1;
    const QByteArray report = out.mid(lastLine);
    out.truncate(lastLine);
    outcome.finished = report.startsWith("peak ");
    outcome.peakKilobytes = outcome.finished ? report.mid(5).toLong() : 0;
    outcome.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    outcome.err = process.readAllStandardError() + out;
#else
    (void)arguments;
    (void)addressSpaceBytes;
    (void)seconds;
#endif
    return outcome;
}

} // namespace zqtest
