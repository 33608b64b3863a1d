#pragma once

// Runs the built zqskin as a user would, and collects what it says.

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace zqtest {

struct Outcome {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

inline Outcome zqskin(const QStringList &arguments)
{
    QProcess process;
    // Regional settings decide the decimal separator; the expectations use a full stop.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ZQSKIN_PATH), arguments);
    process.waitForFinished(120000);
    QByteArray out = process.readAllStandardOutput();
    QByteArray err = process.readAllStandardError();
#ifdef Q_OS_WIN
    // The C run-time of Windows ends each printed line with CR LF; the text is the same.
    out.replace("\r\n", "\n");
    err.replace("\r\n", "\n");
#endif
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, out, err};
}

} // namespace zqtest
