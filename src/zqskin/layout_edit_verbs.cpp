#include "layout_edit_verbs.h"

#include "skin_source.h"

#include "errors/engine_error.h"
#include "picture/jpeg_codec.h"
#include "skin/skin_document.h"

namespace zqskin {

namespace {

// The layout read as the designer reads it: against the background's size, which only the
// JPEG's header is needed for. A layout for an older client is refused, as the designer does.
zq::TiniMian editableLayout(const QString &skinPath)
{
    const QString layoutPath = layoutPathOf(skinPath);
    requireLayoutFile(layoutPath);
    zq::JpegCodec background;
    background.loadFile(zq::SkinDocument::skinFolderOf(layoutPath) + zq::backgroundFileName.toString());
    zq::TiniMian layout = openLayout(layoutPath, zq::PixelSize{background.width(), background.height()});
    if (!layout.CheckVersion())
        throw zq::EngineError(zq::oldLayoutMessage());
    return layout;
}

} // namespace

int runSet(const Invocation &invocation, QTextStream &)
{
    if (!invocation.at)
        throw UsageError(QStringLiteral("set needs --at X,Y"));
    const zq::Element element = parseElement(invocation.operands[0]);
    zq::TiniMian layout = editableLayout(invocation.skinPath);
    // log1left above 1 marks a layout for an older client: the designer would refuse the skin.
    if (element == zq::Element::LogTab && invocation.at->x > layout.BgSize.width)
        throw zq::EngineError(
            QStringLiteral(
                "登陆 at x = %1 would lie past the background's right edge (width %2): the designer "
                "would take the layout for an older client's and refuse it")
                .arg(invocation.at->x)
                .arg(layout.BgSize.width));
    layout.position(element) = *invocation.at;
    layout.WritePosition(element);
    return 0;
}

int runBox(const Invocation &invocation, QTextStream &)
{
    if (!invocation.rect)
        throw UsageError(QStringLiteral("box needs --rect LEFT,TOP,WIDTH,HEIGHT"));
    const zq::BoxTableRow &row = parseBoxCaption(invocation.operands[0]);
    zq::TiniMian layout = editableLayout(invocation.skinPath);
    layout.box(row.section, row.keyNumber) = *invocation.rect;
    layout.WriteBox(row.section, row.keyNumber);
    return 0;
}

} // namespace zqskin
