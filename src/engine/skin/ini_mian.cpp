#include "skin/ini_mian.h"

#include "errors/engine_error.h"
#include "numbers/number_text.h"
#include "numbers/regional_settings.h"
#include "platform/code_page.h"
#include "skin/fraction_text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

namespace zq {

namespace {

constexpr char normalSection[] = "Normal";

enum class Axis { X, Y };

// Section "Normal" in file order. Six keys are written with a capital first letter where
// they are read with a small one; names match without regard to case, so both address the
// same entry.
struct NormalKey {
    const char *readKey;
    const char *writeKey;
    Element element;
    Axis axis;
};

constexpr std::array<NormalKey, 12> normalKeys = {{
    {"log1left", "log1left", Element::LogTab, Axis::X},
    {"log1Top", "log1Top", Element::LogTab, Axis::Y},
    {"fil1left", "Fil1left", Element::FilTab, Axis::X},
    {"fil1Top", "Fil1Top", Element::FilTab, Axis::Y},
    {"man1left", "Man1left", Element::ManTab, Axis::X},
    {"man1Top", "Man1Top", Element::ManTab, Axis::Y},
    {"Log2left", "Log2left", Element::LogPage, Axis::X},
    {"Log2Top", "Log2Top", Element::LogPage, Axis::Y},
    {"Fil2left", "Fil2left", Element::FilPage, Axis::X},
    {"Fil2Top", "Fil2Top", Element::FilPage, Axis::Y},
    {"man2left", "Man2left", Element::ManPage, Axis::X},
    {"man2Top", "Man2Top", Element::ManPage, Axis::Y},
}};

// One box of the layout file: its section, its key number and the record's field that holds it.
struct BoxKey {
    const char *section;
    int number;
    BoxRect TiniMian::*field;
};

// The boxes in file order: the table of boxes section by section, each section by key number
// (in "PageMan" key 3 is the restart box and key 4 the shut-down box). The record declares its
// box fields in the table's order.
std::array<BoxKey, 11> boxKeysInFileOrder()
{
    constexpr std::array<BoxRect TiniMian::*, 11> fields = {
        &TiniMian::LogUserBox,     &TiniMian::LogPassBox,     &TiniMian::LogOkBox,      &TiniMian::FilCardBox,
        &TiniMian::FilCardPassBox, &TiniMian::FilAmountBox,   &TiniMian::FilOkBox,      &TiniMian::ManPassBox,
        &TiniMian::ManOkBox,       &TiniMian::ManShutdownBox, &TiniMian::ManRestartBox,
    };
    std::array<BoxKey, 11> keys;
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i] = {boxTable[i].section, boxTable[i].keyNumber, fields[i]};
    // The table keeps each section's rows together: each such run goes by key number.
    for (auto run = keys.begin(); run != keys.end();) {
        const char *section = run->section;
        const auto end = std::find_if(
            run, keys.end(), [section](const BoxKey &key) { return std::strcmp(key.section, section) != 0; });
        std::sort(run, end, [](const BoxKey &a, const BoxKey &b) { return a.number < b.number; });
        run = end;
    }
    return keys;
}

const std::array<BoxKey, 11> boxKeys = boxKeysInFileOrder();

constexpr std::array<std::pair<const char *, std::int32_t BoxRect::*>, 4> boxParts = {{
    {"left", &BoxRect::left},
    {"Top", &BoxRect::top},
    {"Width", &BoxRect::width},
    {"Height", &BoxRect::height},
}};

QByteArray boxKeyName(int number, const char *part)
{
    return "logbox" + QByteArray::number(number) + part;
}

std::int32_t &coordinate(Point &point, Axis axis)
{
    return axis == Axis::X ? point.x : point.y;
}

std::int32_t extent(PixelSize size, Axis axis)
{
    return axis == Axis::X ? size.width : size.height;
}

QString textOf(const QByteArray &value)
{
    return platform::fromSystemCodePage(value);
}

} // namespace

TiniMian::TiniMian(const QString &path, PixelSize backgroundSize)
    : LayoutIni(path)
    , BgSize(backgroundSize)
{
    // Nothing else writes the file meanwhile, so one reading serves all 56 values.
    const ProfileDocument document = LayoutIni.load();
    const QChar separator = regionalSettings().decimalSeparator;
    for (const NormalKey &key : normalKeys) {
        const QString text = textOf(document.value(normalSection, key.readKey));
        coordinate(position(key.element), key.axis) =
            pixelFromFractionText(text, extent(BgSize, key.axis), separator);
    }
    for (const BoxKey &key : boxKeys) {
        BoxRect &rect = this->*key.field;
        for (const auto &[part, member] : boxParts)
            rect.*member = readWholeValue(textOf(document.value(key.section, boxKeyName(key.number, part))));
    }
}

bool TiniMian::CheckVersion() const
{
    const QString text = textOf(LayoutIni.readValue(normalSection, "log1left"));
    return readRealValue(text, regionalSettings().decimalSeparator) <= 1.0;
}

void TiniMian::WriteLayout() const
{
    LayoutIni.save(layoutDocument());
}

ProfileDocument TiniMian::layoutDocument() const
{
    const QChar separator = regionalSettings().decimalSeparator;
    // The version test would take the file for an older client's from then on: refuse
    // before anything is written.
    const QString loginLeft = fractionText(LogTabPos.x, BgSize.width, separator);
    if (readRealValue(loginLeft, separator) > 1.0)
        throw EngineError(loginTabBeyondEdgeMessage(LogTabPos.x, BgSize.width));
    ProfileDocument document = LayoutIni.loadForUpdate();
    for (const NormalKey &key : normalKeys) {
        Point point = position(key.element);
        const QString text = fractionText(coordinate(point, key.axis), extent(BgSize, key.axis), separator);
        document.setValue(normalSection, key.writeKey, platform::toSystemCodePage(text));
    }
    for (const BoxKey &key : boxKeys) {
        const BoxRect &rect = this->*key.field;
        for (const auto &[part, member] : boxParts)
            document.setValue(key.section, boxKeyName(key.number, part),
                              integerText(rect.*member).toLatin1());
    }
    return document;
}

void TiniMian::WritePosition(Element element) const
{
    const QChar separator = regionalSettings().decimalSeparator;
    ProfileDocument document = LayoutIni.loadForUpdate();
    for (const NormalKey &key : normalKeys) {
        if (key.element != element)
            continue;
        Point point = position(key.element);
        const QString text = fractionText(coordinate(point, key.axis), extent(BgSize, key.axis), separator);
        document.setValue(normalSection, key.writeKey, text.toLocal8Bit());
    }
    LayoutIni.save(document);
}

void TiniMian::WriteBox(const char *section, int keyNumber) const
{
    const BoxRect &rect = box(section, keyNumber);
    ProfileDocument document = LayoutIni.loadForUpdate();
    for (const auto &[part, member] : boxParts)
        document.setValue(section, boxKeyName(keyNumber, part), integerText(rect.*member).toLatin1());
    LayoutIni.save(document);
}

Point &TiniMian::position(Element element)
{
    return const_cast<Point &>(std::as_const(*this).position(element));
}

const Point &TiniMian::position(Element element) const
{
    switch (element) {
    case Element::LogTab:
        return LogTabPos;
    case Element::FilTab:
        return FilTabPos;
    case Element::ManTab:
        return ManTabPos;
    case Element::LogPage:
        return LogPagePos;
    case Element::FilPage:
        return FilPagePos;
    case Element::ManPage:
        return ManPagePos;
    }
    throw std::invalid_argument("unknown element");
}

BoxRect &TiniMian::box(const char *section, int keyNumber)
{
    return const_cast<BoxRect &>(std::as_const(*this).box(section, keyNumber));
}

const BoxRect &TiniMian::box(const char *section, int keyNumber) const
{
    for (const BoxKey &key : boxKeys)
        if (std::strcmp(key.section, section) == 0 && key.number == keyNumber)
            return this->*key.field;
    throw std::invalid_argument("no such box key");
}

QString oldLayoutMessage()
{
    return QStringLiteral("你的Zenqa客户端版本过低，只能使用第五版软件，或升级你的Zenqa客户端。");
}

QString loginTabBeyondEdgeMessage(std::int32_t x, std::int32_t backgroundWidth)
{
    return QStringLiteral("The 登陆 picture lies beyond the background's right edge (left %1 on a "
                          "background %2 pixels wide): move it back onto the background before saving; "
                          "nothing was saved")
        .arg(x)
        .arg(backgroundWidth);
}

} // namespace zq
