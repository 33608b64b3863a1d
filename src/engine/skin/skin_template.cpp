#include "skin/skin_template.h"

#include "errors/engine_error.h"
#include "picture/bmp_reader.h"
#include "skin/ini_mian.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zq {

namespace {

QString resourcePath(QStringView name)
{
    return QStringLiteral(":/template/") + name.toString();
}

// The template's arrangement: its pictures' places on the template background and their sizes.
struct Arrangement {
    std::array<Point, 6> at;
    std::array<PixelSize, 6> size;
    std::int64_t left = std::numeric_limits<std::int64_t>::max();
    std::int64_t top = std::numeric_limits<std::int64_t>::max();
    std::int64_t right = std::numeric_limits<std::int64_t>::min();
    std::int64_t bottom = std::numeric_limits<std::int64_t>::min();
};

Arrangement templateArrangement()
{
    Arrangement a;
    const TiniMian layout(resourcePath(layoutFileName), templateBackgroundSize);
    for (Element e : allElements) {
        const Bitmap picture = readBmpFile(resourcePath(elementPictureFileName(e)));
        const size_t i = size_t(e);
        a.at[i] = layout.position(e);
        a.size[i] = {picture.width(), picture.height()};
        a.left = std::min<std::int64_t>(a.left, a.at[i].x);
        a.top = std::min<std::int64_t>(a.top, a.at[i].y);
        a.right = std::max<std::int64_t>(a.right, std::int64_t(a.at[i].x) + picture.width());
        a.bottom = std::max<std::int64_t>(a.bottom, std::int64_t(a.at[i].y) + picture.height());
    }
    return a;
}

// The new start of a span [begin, end) of the template's `length`, on a background of `size`.
std::int64_t placedStart(std::int64_t begin, std::int64_t end, std::int64_t length, std::int64_t size)
{
    const double centre = double(begin + end) / 2.0 / double(length);
    const std::int64_t extent = end - begin;
    const std::int64_t start = std::llround(centre * double(size) - double(extent) / 2.0);
    return std::clamp<std::int64_t>(start, 0, size - extent);
}

} // namespace

QByteArray templateFile(QStringView name)
{
    QFile file(resourcePath(name));
    if (!file.open(QIODevice::ReadOnly))
        throw EngineError(QStringLiteral("The program carries no template file %1").arg(name));
    return file.readAll();
}

std::array<Point, 6> templatePositions(PixelSize size)
{
    const Arrangement a = templateArrangement();
    const std::int64_t width = a.right - a.left;
    const std::int64_t height = a.bottom - a.top;
    if (size.width < width || size.height < height)
        throw EngineError(QStringLiteral("A background of %1 x %2 cannot hold the tabs and pages, which take "
                                         "%3 x %4")
                              .arg(size.width)
                              .arg(size.height)
                              .arg(width)
                              .arg(height));
    const std::int64_t left = placedStart(a.left, a.right, templateBackgroundSize.width, size.width);
    const std::int64_t top = placedStart(a.top, a.bottom, templateBackgroundSize.height, size.height);
    std::array<Point, 6> at;
    for (size_t i = 0; i < at.size(); ++i)
        at[i] = {std::int32_t(left + a.at[i].x - a.left), std::int32_t(top + a.at[i].y - a.top)};
    return at;
}

} // namespace zq
