#include "platform/save_step_stop.h"

#include <QByteArray>

#include <cstdlib>

namespace zq::platform {

void stopAtSaveStepIfAsked(const QString &step)
{
    static const QByteArray wanted = qgetenv("ZQ_SAVE_STOP_AT");
    if (wanted.isEmpty() || wanted != step.toUtf8())
        return;
    std::_Exit(saveStepStopStatus);
}

} // namespace zq::platform
