#include "resave_verb.h"

#include "layout_source.h"
#include "platform/engine_error.h"

namespace zqskin {

int runResave(const Invocation &invocation, QTextStream &out)
{
    (void)out;
    const zq::TiniMian layout = openLayout(invocation);
    if (!layout.CheckVersion())
        throw zq::EngineError(zq::oldLayoutMessage());
    layout.WriteLayout();
    return 0;
}

} // namespace zqskin
