#include "skin/skin_document.h"

#include <QFileInfo>

namespace zq {

SkinDocument::SkinDocument(const QString &layoutPath)
    : LayoutPath(layoutPath)
    , SkinFolder(skinFolderOf(layoutPath))
{}

QString SkinDocument::skinFolderOf(const QString &layoutPath)
{
    QString folder = QFileInfo(layoutPath).path();
    if (!folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder += u'/';
    return folder;
}

void SkinDocument::openBackground(bool lowColourDisplay, BackgroundEncoding encoding)
{
    Background =
        std::make_unique<TBGImage>(SkinFolder + backgroundFileName.toString(), lowColourDisplay, encoding);
}

bool SkinDocument::readLayout()
{
    const Bitmap &bg = Background->BgBitmap();
    Layout = std::make_unique<TiniMian>(LayoutPath, PixelSize{bg.width(), bg.height()});
    return Layout->CheckVersion();
}

ElementPicture &SkinDocument::buildElement(Element element)
{
    const Point at = Layout->position(element);
    Elements[index(element)] = std::make_unique<ElementPicture>(
        Background->BgBitmap(), SkinFolder + elementPictureFileName(element).toString(), at.x, at.y,
        elementName(element).toString());
    return *Elements[index(element)];
}

bool SkinDocument::open(bool lowColourDisplay, BackgroundEncoding encoding)
{
    openBackground(lowColourDisplay, encoding);
    if (!readLayout())
        return false;
    for (Element e : allElements)
        buildElement(e);
    return true;
}

void SkinDocument::save()
{
    for (Element e : allElements)
        if (hasElement(e))
            Layout->position(e) = Point{element(e).X, element(e).Y};
    Layout->WriteLayout();
    for (Element e : allElements)
        if (hasElement(e))
            element(e).SaveBitmap();
    Background->SaveBackground();
}

} // namespace zq
