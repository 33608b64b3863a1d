#include "windows/text_constants.h"

#include "skin/asset_names.h"
#include "skin/ini_mian.h"

namespace zq {

QString textConstant(int index)
{
    switch (index) {
    case ControlCaptionText:
        return QStringLiteral("Zenqa皮肤设计工具 v6.3");
    case PreviewCaptionText:
        return QStringLiteral("Zenqa界面设计");
    // The file names and the version message come from the skin's own tables, so the
    // designer and the engine can never disagree on them.
    case LogTabPictureText:
        return elementPictureFileName(Element::LogTab).toString();
    case FilTabPictureText:
        return elementPictureFileName(Element::FilTab).toString();
    case ManTabPictureText:
        return elementPictureFileName(Element::ManTab).toString();
    case LogPagePictureText:
        return elementPictureFileName(Element::LogPage).toString();
    case FilPagePictureText:
        return elementPictureFileName(Element::FilPage).toString();
    case ManPagePictureText:
        return elementPictureFileName(Element::ManPage).toString();
    case HomePageText:
        return QStringLiteral("https://zqskin-designer.example.org/");
    case CreditText:
        return QStringLiteral("Zenqa皮肤设计工具 · Qt 版");
    case VersionMessageText:
        return oldLayoutMessage();
    case BackgroundPictureText:
        return backgroundFileName.toString();
    }
    return {};
}

} // namespace zq
