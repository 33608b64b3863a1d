// A layout file read with a background size is written back; the written file reads to the
// same points and boxes, and every line the layout does not own stays as it was.
#include "fuzz_support.h"

#include "errors/engine_error.h"
#include "numbers/regional_settings.h"
#include "profile/profile_document.h"
#include "skin/asset_names.h"
#include "skin/ini_mian.h"

#include <QFile>
#include <QTemporaryDir>

#include <array>

namespace {

constexpr std::array<zq::PixelSize, 6> backgroundSizes = {{
    {640, 480},
    {1920, 1080},
    {1, 1},
    {3, 7},
    {3840, 2160},
    {65535, 1},
}};

bool sameLayout(const zq::TiniMian &a, const zq::TiniMian &b)
{
    for (zq::Element element : zq::allElements)
        if (!(a.position(element) == b.position(element)))
            return false;
    for (const zq::BoxTableRow &row : zq::boxTable)
        if (!(a.box(row.section, row.keyNumber) == b.box(row.section, row.keyNumber)))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace zq;
    static const QTemporaryDir folder;
    const QString path = folder.filePath(layoutFileName.toString());

    const QByteArray bytes = fuzz::bytesOf(data, size);
    fuzz::check(ProfileDocument(bytes).bytes() == bytes, "a profile document does not give back its bytes");

    const unsigned choice = fuzz::lastByte(data, size);
    setRegionalSettings(RegionalSettings{(choice & 1) ? u',' : u'.'});
    const PixelSize background = backgroundSizes[(choice >> 1) % backgroundSizes.size()];
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fuzz::fail("cannot write the layout file");
        file.write(bytes);
    }
    const TiniMian first(path, background);
    // An older client's layout is refused on opening, so nothing ever writes it back; every
    // layout that opens must save as it is.
    if (!first.CheckVersion())
        return 0;
    try {
        first.WriteLayout();
    } catch (const EngineError &) {
        fuzz::fail("a layout that reads cannot be written");
    }
    const TiniMian second(path, background);
    fuzz::check(sameLayout(first, second), "the written layout reads back other points or boxes");
    return 0;
}
