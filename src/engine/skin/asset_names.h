#pragma once

#include <QStringView>

#include <array>

// The fixed names of a skin: its files, its six elements and its eleven text boxes.
namespace zq {

inline constexpr QStringView layoutFileName = u"ZqCSkin.ini";
inline constexpr QStringView backgroundFileName = u"zqLOCKPIC.jpg";

// The six movable pictures: three tabs, then the three pages, in the order the skin builds them.
enum class Element { LogTab, FilTab, ManTab, LogPage, FilPage, ManPage };

inline constexpr std::array<Element, 6> allElements = {Element::LogTab,  Element::FilTab,  Element::ManTab,
                                                       Element::LogPage, Element::FilPage, Element::ManPage};

// "登陆", "充值", "管理", "登陆激活", "充值激活", "管理激活".
QStringView elementName(Element element);
// "zqLOG.bmp" ... "zqMANed.bmp".
QStringView elementPictureFileName(Element element);

// One text box: the page that carries it, its slot on that page (1-based), its caption and
// the layout keys it is read from and saved to ("logbox<keyNumber>left" ... in section).
struct BoxTableRow {
    Element page;
    int slot;
    QStringView caption;
    const char *section;
    int keyNumber;
};

// In slot order, which is also the order the boxes are created in. On the management page
// slot 3 (shut down) is key 4 and slot 4 (restart) is key 3.
extern const std::array<BoxTableRow, 11> boxTable;

} // namespace zq
