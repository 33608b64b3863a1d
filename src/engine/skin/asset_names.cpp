#include "skin/asset_names.h"

namespace zq {

QStringView elementName(Element element)
{
    switch (element) {
    case Element::LogTab:
        return u"登陆";
    case Element::FilTab:
        return u"充值";
    case Element::ManTab:
        return u"管理";
    case Element::LogPage:
        return u"登陆激活";
    case Element::FilPage:
        return u"充值激活";
    case Element::ManPage:
        return u"管理激活";
    }
    return {};
}

QStringView elementPictureFileName(Element element)
{
    switch (element) {
    case Element::LogTab:
        return u"zqLOG.bmp";
    case Element::FilTab:
        return u"zqFIL.bmp";
    case Element::ManTab:
        return u"zqMAN.bmp";
    case Element::LogPage:
        return u"zqLOGed.bmp";
    case Element::FilPage:
        return u"zqFILed.bmp";
    case Element::ManPage:
        return u"zqMANed.bmp";
    }
    return {};
}

const std::array<BoxTableRow, 11> boxTable = {{
    {Element::LogPage, 1, u"用户名", "PageLog", 1},
    {Element::LogPage, 2, u"登陆密码", "PageLog", 2},
    {Element::LogPage, 3, u"确定", "PageLog", 3},
    {Element::FilPage, 1, u"充值卡号", "PageFil", 1},
    {Element::FilPage, 2, u"充值卡密码", "PageFil", 2},
    {Element::FilPage, 3, u"充值金额", "PageFil", 3},
    {Element::FilPage, 4, u"充值确定", "PageFil", 4},
    {Element::ManPage, 1, u"管理密码", "PageMan", 1},
    {Element::ManPage, 2, u"管理确定", "PageMan", 2},
    {Element::ManPage, 3, u"关机", "PageMan", 4},
    {Element::ManPage, 4, u"重启", "PageMan", 3},
}};

} // namespace zq
