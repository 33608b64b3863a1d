#pragma once

#include "command_line.h"

#include <QTextStream>

#include <functional>

namespace zqskin {

// What one skin of several gives: whether it passed, and its line (or JSON object) of output.
struct SkinReport {
    bool ok = false;
    QString text;
    bool toStderr = false; // an error message rather than the verb's output
};

// Runs `one` for every SKIN given, on --jobs threads (default: one per core), and prints the
// reports in the order the skins were given, each as soon as it and those before it are done.
// An EngineError from `one` fails that skin alone: `failure` makes its report from the skin
// and the message. Returns 1 when any skin failed, else 0.
int runOnSkins(const Invocation &invocation, QTextStream &out,
               const std::function<SkinReport(const QString &skin)> &one,
               const std::function<SkinReport(const QString &skin, const QString &message)> &failure = {});

} // namespace zqskin
