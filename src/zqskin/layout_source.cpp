#include "layout_source.h"

#include "platform/engine_error.h"
#include "platform/error_texts.h"
#include "platform/safe_file.h"

namespace zqskin {

zq::PixelSize backgroundSize(const Invocation &invocation)
{
    if (!invocation.size)
        throw UsageError(
            QStringLiteral("%1 needs --size WxH, the pixel size of the background").arg(invocation.verb));
    return *invocation.size;
}

zq::TiniMian openLayout(const Invocation &invocation)
{
    const zq::PixelSize size = backgroundSize(invocation);
    QByteArray bytes;
    QString reason;
    if (!zq::readWholeFile(invocation.layoutPath, bytes, reason))
        throw zq::EngineError(zq::errors::cannotOpenFile(invocation.layoutPath, reason));
    return zq::TiniMian(invocation.layoutPath, size);
}

} // namespace zqskin
