#include "skin/lock_screen.h"

#include "errors/engine_error.h"
#include "picture/bitmap_ops.h"
#include "picture/bmp_reader.h"
#include "picture/jpeg_codec.h"
#include "picture/png_writer.h"
#include "skin/skin_document.h"

#include <QPoint>
#include <QRect>

#include <stdexcept>

namespace zq {

namespace {

Bitmap widenedTo24Bits(const Bitmap &picture)
{
    Bitmap wide(picture.width(), picture.height(), BitmapFormat::rgb24(), Bitmap::Fill::Zero);
    std::vector<QRgb> line(static_cast<size_t>(picture.width()));
    for (int y = 0; y < picture.height(); ++y) {
        picture.readRgbRow(y, 0, picture.width(), line.data());
        wide.writeRgbRow(y, 0, picture.width(), line.data());
    }
    return wide;
}

// The shown pictures of `tab` copied onto the screen, bottom to top.
template <typename PictureOf, typename PlaceOf>
Bitmap drawShown(Bitmap screen, Element tab, PictureOf pictureOf, PlaceOf placeOf)
{
    for (Element e : shownElements(tab)) {
        const Bitmap &picture = pictureOf(e);
        const Point at = placeOf(e);
        copyRect(screen, QPoint(at.x, at.y), picture, QRect(0, 0, picture.width(), picture.height()));
    }
    return screen;
}

} // namespace

Element pageOf(Element tab)
{
    switch (tab) {
    case Element::LogTab:
        return Element::LogPage;
    case Element::FilTab:
        return Element::FilPage;
    case Element::ManTab:
        return Element::ManPage;
    default:
        throw std::invalid_argument("not a tab picture");
    }
}

std::vector<Element> shownElements(Element tab)
{
    // The switch sends the tab pictures to the back in the order 登陆, 充值, 管理, so the last
    // sent lies lowest; the page comes to the front.
    std::vector<Element> shown;
    for (Element t : {Element::ManTab, Element::FilTab, Element::LogTab})
        if (t != tab)
            shown.push_back(t);
    shown.push_back(pageOf(tab));
    return shown;
}

LockScreenSkin LockScreenSkin::read(const QString &layoutPath)
{
    const QString folder = SkinDocument::skinFolderOf(layoutPath);
    LockScreenSkin skin;
    JpegCodec jpeg;
    jpeg.loadFile(folder + backgroundFileName.toString());
    skin.background = jpeg.decode();
    skin.layout.emplace(layoutPath, PixelSize{skin.background.width(), skin.background.height()});
    if (!skin.layout->CheckVersion())
        throw EngineError(oldLayoutMessage());
    for (Element e : allElements)
        skin.pictures[size_t(e)] = readBmpFile(folder + elementPictureFileName(e).toString());
    return skin;
}

Bitmap renderLockScreen(LockScreenSkin &skin, Element tab)
{
    Bitmap screen = skin.background.format().bitsPerPixel == 24 ? std::move(skin.background)
                                                                : widenedTo24Bits(skin.background);
    return drawShown(
        std::move(screen), tab, [&](Element e) -> const Bitmap & { return skin.pictures[size_t(e)]; },
        [&](Element e) { return skin.layout->position(e); });
}

Bitmap renderLockScreen(const SkinDocument &skin, Element tab)
{
    for (Element e : allElements)
        if (!skin.hasElement(e))
            throw EngineError(QStringLiteral("The skin has no picture %1 to draw").arg(elementName(e)));
    const Bitmap &background = skin.background()->BgBitmap();
    Bitmap screen = background.format().bitsPerPixel == 24 ? background : widenedTo24Bits(background);
    return drawShown(
        std::move(screen), tab, [&](Element e) -> const Bitmap & { return skin.element(e).Bitmap(); },
        [&](Element e) {
            return Point{skin.element(e).X(), skin.element(e).Y()};
        });
}

void exportLockScreen(const SkinDocument &skin, Element tab, const QString &pngPath)
{
    writePngFile(pngPath, renderLockScreen(skin, tab));
}

} // namespace zq
