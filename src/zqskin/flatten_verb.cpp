#include "flatten_verb.h"

#include "skin_source.h"

namespace zqskin {

int runFlatten(const Invocation &invocation, QTextStream &)
{
    const zq::Element element = parseElement(invocation.operands[0]);
    // The background is saved as it was opened: its encode can start with its decode.
    zq::SkinDocument skin = openSkin(invocation.skinPath, zq::BackgroundEncoding::Ahead);
    zq::ElementPicture &picture = skin.element(element);
    const zq::Point at = invocation.at.value_or(zq::Point{picture.X(), picture.Y()});
    picture.LoadPng(invocation.operands[1], at.x, at.y);
    skin.save();
    return 0;
}

} // namespace zqskin
