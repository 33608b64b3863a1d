#pragma once

#include "command_line.h"

#include <QTextStream>

#include <span>

namespace zqskin {

// Options a verb accepts besides SKIN and its operands.
// ManySkinsOption: several SKIN arguments (and --jobs) are taken.
enum VerbOption : unsigned {
    NoOptions = 0,
    JsonOption = 1,
    SizeOption = 2,
    AtOption = 4,
    RectOption = 8,
    BackgroundOption = 16,
    ForceOption = 32,
    TabOption = 64,
    BoxesOption = 128,
    ScaleOption = 256,
    OutDirOption = 512,
    ManySkinsOption = 1024,
    ScreenOption = 2048,
};

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
