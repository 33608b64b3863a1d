#include "resave_verb.h"

#include "skin_source.h"

#include "errors/engine_error.h"

namespace zqskin {

int runResave(const Invocation &invocation, QTextStream &)
{
    if (invocation.size) {
        const QString layoutPath = layoutPathOf(invocation.skinPath);
        const zq::TiniMian layout = openLayout(layoutPath, *invocation.size);
        if (!layout.CheckVersion())
            throw zq::EngineError(oldLayoutError(layoutPath));
        layout.WriteLayout();
        return 0;
    }
    // The background is saved as it was opened: its encode can start with its decode.
    zq::SkinDocument skin = openSkin(invocation.skinPath, zq::BackgroundEncoding::Ahead);
    skin.save();
    return 0;
}

} // namespace zqskin
