#include "background_verb.h"

#include "skin_source.h"

namespace zqskin {

int runBackground(const Invocation &invocation, QTextStream &)
{
    zq::SkinDocument skin = openSkin(invocation.skinPath);
    skin.background()->ReplacePicture(invocation.operands[0]);
    skin.save();
    return 0;
}

} // namespace zqskin
