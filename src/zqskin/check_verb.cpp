#include "check_verb.h"

#include "skin_source.h"

#include "files/engine_error.h"
#include "picture/bmp_reader.h"
#include "skin/bg_image.h"

#include <array>
#include <optional>

namespace zqskin {

namespace {

// Whether a rectangle lies wholly within (0, 0, areaWidth, areaHeight). Sums in 64 bits: the
// layout's values span the whole 32-bit range.
bool inside(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height,
            std::int64_t areaWidth, std::int64_t areaHeight)
{
    return left >= 0 && top >= 0 && left + width <= areaWidth && top + height <= areaHeight;
}

QString sizeText(zq::PixelSize size)
{
    return QStringLiteral("%1 x %2").arg(size.width).arg(size.height);
}

class Checker {
public:
    explicit Checker(const QString &skinPath)
        : m_layoutPath(layoutPathOf(skinPath))
        , m_folder(zq::SkinDocument::skinFolderOf(m_layoutPath))
    {}

    QStringList run()
    {
        const bool layoutReads = attempt(zq::layoutFileName, [&] { requireLayoutFile(m_layoutPath); });
        attempt(zq::backgroundFileName, [&] {
            const zq::TBGImage background(m_folder + zq::backgroundFileName.toString());
            m_backgroundSize = zq::PixelSize{background.BgBitmap().width(), background.BgBitmap().height()};
        });
        for (zq::Element element : zq::allElements)
            attempt(zq::elementPictureFileName(element), [&] {
                const zq::Bitmap picture =
                    zq::readBmpFile(m_folder + zq::elementPictureFileName(element).toString());
                m_pictureSizes[size_t(element)] = zq::PixelSize{picture.width(), picture.height()};
            });
        if (layoutReads)
            checkLayout();
        return m_problems;
    }

private:
    template <typename Read> bool attempt(QStringView file, Read &&read)
    {
        try {
            read();
            return true;
        } catch (const zq::EngineError &e) {
            m_problems << file.toString() + QStringLiteral(": ") + e.message();
            return false;
        }
    }

    void checkLayout()
    {
        // Without a background the positions cannot be scaled; the boxes need no scaling.
        const zq::TiniMian layout(m_layoutPath, m_backgroundSize.value_or(zq::PixelSize{1, 1}));
        const bool current = layout.CheckVersion();
        if (!current)
            m_problems << zq::layoutFileName.toString() + QStringLiteral(": ") + zq::oldLayoutMessage();
        // An older layout's positions mean something else: placing them would only add noise.
        if (current && m_backgroundSize)
            for (zq::Element element : zq::allElements)
                checkPicture(layout, element);
        for (const zq::BoxTableRow &row : zq::boxTable)
            checkBox(layout, row);
    }

    void checkPicture(const zq::TiniMian &layout, zq::Element element)
    {
        const std::optional<zq::PixelSize> &size = m_pictureSizes[size_t(element)];
        if (!size)
            return;
        const zq::Point at = layout.position(element);
        if (!inside(at.x, at.y, size->width, size->height, m_backgroundSize->width, m_backgroundSize->height))
            m_problems << QStringLiteral("%1 (%2) at %3,%4, %5, reaches past the background (%6)")
                              .arg(zq::elementName(element), zq::elementPictureFileName(element))
                              .arg(at.x)
                              .arg(at.y)
                              .arg(sizeText(*size), sizeText(*m_backgroundSize));
    }

    void checkBox(const zq::TiniMian &layout, const zq::BoxTableRow &row)
    {
        const zq::BoxRect box = layout.box(row.section, row.keyNumber);
        const QString where = QStringLiteral("%1 (%2 logbox%3) at %4,%5, %6 x %7,")
                                  .arg(row.caption, QString::fromLatin1(row.section))
                                  .arg(row.keyNumber)
                                  .arg(box.left)
                                  .arg(box.top)
                                  .arg(box.width)
                                  .arg(box.height);
        // A box without area cannot be clicked in the client: the mark of a missing entry.
        if (box.width <= 0 || box.height <= 0) {
            m_problems << where + QStringLiteral(" has no area");
            return;
        }
        const std::optional<zq::PixelSize> &page = m_pictureSizes[size_t(row.page)];
        if (page && !inside(box.left, box.top, box.width, box.height, page->width, page->height))
            m_problems << where + QStringLiteral(" reaches past its page %1 (%2)")
                                      .arg(zq::elementName(row.page), sizeText(*page));
    }

    QString m_layoutPath;
    QString m_folder;
    QStringList m_problems;
    std::optional<zq::PixelSize> m_backgroundSize;
    std::array<std::optional<zq::PixelSize>, 6> m_pictureSizes;
};

} // namespace

int runCheck(const Invocation &invocation, QTextStream &out)
{
    const QStringList problems = Checker(invocation.skinPath).run();
    for (const QString &problem : problems)
        out << problem << '\n';
    if (!problems.isEmpty())
        return 1;
    out << "ok\n";
    return 0;
}

} // namespace zqskin
