#include "resave_verb.h"

#include "skin_source.h"

#include "platform/engine_error.h"

namespace zqskin {

int runResave(const Invocation &invocation, QTextStream &)
{
    if (invocation.size) {
        const zq::TiniMian layout = openLayout(layoutPathOf(invocation.skinPath), *invocation.size);
        if (!layout.CheckVersion())
            throw zq::EngineError(zq::oldLayoutMessage());
        layout.WriteLayout();
        return 0;
    }
    zq::SkinDocument skin = openSkin(invocation.skinPath);
    skin.save();
    return 0;
}

} // namespace zqskin
