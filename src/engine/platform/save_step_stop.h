#pragma once

#include <QString>

namespace zq::platform {

// A test's way to stop a save at one of its steps as a kill would: when the environment
// variable ZQ_SAVE_STOP_AT names `step`, the process ends there at once, with status
// saveStepStopStatus and without running anything more (no destructors, no clean-up).
// The steps are named where the save and the finishing of an interrupted save take them.
void stopAtSaveStepIfAsked(const QString &step);

inline constexpr int saveStepStopStatus = 86;

} // namespace zq::platform
