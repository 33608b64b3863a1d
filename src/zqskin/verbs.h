#pragma once

#include "command_line.h"

#include <QTextStream>

#include <span>

namespace zqskin {

// One command of the tool. run writes its report to out and returns the exit status;
// failures are raised as zq::EngineError.
struct Verb {
    QStringView name;
    QStringView synopsis;
    bool acceptsJson;
    int (*run)(const Invocation &invocation, QTextStream &out);
};

std::span<const Verb> verbs();
const Verb *findVerb(const QString &name);

} // namespace zqskin
