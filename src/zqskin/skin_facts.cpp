#include "skin_facts.h"

#include "skin_source.h"

#include "picture/bmp_reader.h"
#include "picture/jpeg_codec.h"
#include "skin/skin_document.h"

#include <QFileInfo>

namespace zqskin {

namespace {

BackgroundFacts readBackground(const QString &path)
{
    zq::JpegCodec jpeg; // the header tells all; nothing needs decoding
    jpeg.loadFile(path);
    return {jpeg.width(), jpeg.height(), jpeg.isProgressive(), jpeg.isGrayscale()};
}

PictureFacts readPicture(const QString &path)
{
    const zq::Bitmap bitmap = zq::readBmpFile(path);
    return {bitmap.width(), bitmap.height(), bitmap.format().bitsPerPixel, int(bitmap.format().header)};
}

} // namespace

SkinFacts gatherFacts(const Invocation &invocation)
{
    SkinFacts facts;
    facts.layoutPath = layoutPathOf(invocation.skinPath);
    requireLayoutFile(facts.layoutPath);
    const QString folder = zq::SkinDocument::skinFolderOf(facts.layoutPath);
    // With --size the pictures are optional, so a layout can be looked at on its own.
    const auto wanted = [&](const QString &path) { return !invocation.size || QFileInfo::exists(path); };

    const QString backgroundPath = folder + zq::backgroundFileName.toString();
    if (wanted(backgroundPath))
        facts.background = readBackground(backgroundPath);
    const zq::PixelSize size =
        invocation.size ? *invocation.size : zq::PixelSize{facts.background->width, facts.background->height};
    facts.layout.emplace(facts.layoutPath, size);

    for (zq::Element element : zq::allElements) {
        const QString path = folder + zq::elementPictureFileName(element).toString();
        if (wanted(path))
            facts.pictures[size_t(element)] = readPicture(path);
    }
    return facts;
}

} // namespace zqskin
