#pragma once

#include "command_line.h"

#include <QTextStream>

#include <span>

namespace zqskin {

// Options a verb accepts besides SKIN and its operands.
enum VerbOption : unsigned { NoOptions = 0, JsonOption = 1, SizeOption = 2, AtOption = 4 };

// One command of the tool. run writes its report to out and returns the exit status;
// failures are raised as zq::EngineError.
struct Verb {
    QStringView name;
    QStringView synopsis;
    int operandCount; // after SKIN
    unsigned options; // VerbOption flags
    int (*run)(const Invocation &invocation, QTextStream &out);
};

std::span<const Verb> verbs();
const Verb *findVerb(const QString &name);

} // namespace zqskin
