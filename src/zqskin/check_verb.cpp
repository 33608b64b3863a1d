#include "check_verb.h"

#include "json_text.h"
#include "skin_batch.h"
#include "skin_source.h"

#include "errors/engine_error.h"
#include "picture/bmp_reader.h"
#include "picture/jpeg_codec.h"
#include "skin/skin_document.h"

#include <QFileInfo>

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

// One finding: the skin file it is about, the element or box caption when there is one, a
// code that stays the same from release to release, and the words the text form prints.
struct Problem {
    QString file;
    std::optional<QString> element;
    QString code;
    QString message;
    // Problems of reading a file name it first in the text form; the others name themselves.
    bool fileFirst = true;

    QString line() const { return fileFirst ? file + QStringLiteral(": ") + message : message; }
};

class Checker {
public:
    explicit Checker(const QString &skinPath)
        : m_layoutPath(layoutPathOf(skinPath))
        , m_folder(zq::SkinDocument::skinFolderOf(m_layoutPath))
    {}

    std::vector<Problem> run()
    {
        const bool layoutReads = attempt(zq::layoutFileName, {}, [&] { requireLayoutFile(m_layoutPath); });
        attempt(zq::backgroundFileName, {}, [&] { readBackground(); });
        for (zq::Element element : zq::allElements)
            attempt(zq::elementPictureFileName(element), zq::elementName(element).toString(), [&] {
                const zq::Bitmap picture =
                    zq::readBmpFile(m_folder + zq::elementPictureFileName(element).toString());
                m_pictureSizes[size_t(element)] = zq::PixelSize{picture.width(), picture.height()};
            });
        if (layoutReads)
            checkLayout();
        return m_problems;
    }

private:
    template <typename Read> bool attempt(QStringView file, std::optional<QString> element, Read &&read)
    {
        try {
            read();
            return true;
        } catch (const zq::EngineError &e) {
            const bool missing = !QFileInfo::exists(m_folder + file.toString()) &&
                                 (file != zq::layoutFileName || !QFileInfo::exists(m_layoutPath));
            m_problems.push_back(
                {file.toString(), std::move(element),
                 missing ? QStringLiteral("file_missing") : QStringLiteral("file_unreadable"), e.message()});
            return false;
        }
    }

    void readBackground()
    {
        zq::JpegCodec jpeg;
        jpeg.loadFile(m_folder + zq::backgroundFileName.toString());
        zq::JpegWarnings warnings;
        const zq::Bitmap picture = jpeg.decode(false, nullptr, &warnings);
        m_backgroundSize = zq::PixelSize{picture.width(), picture.height()};
        // libjpeg fills in what is cut short or corrupt; the client then shows grey or garbage there.
        if (warnings.count > 0)
            m_problems.push_back(
                {zq::backgroundFileName.toString(), std::nullopt,
                 QStringLiteral("background_decode_warnings"),
                 QStringLiteral("decodes only with %1 warning(s), the first \"%2\": part of the "
                                "picture would show grey or garbled")
                     .arg(warnings.count)
                     .arg(warnings.first)});
    }

    void checkLayout()
    {
        // Without a background the positions cannot be scaled; the boxes need no scaling.
        const zq::TiniMian layout(m_layoutPath, m_backgroundSize.value_or(zq::PixelSize{1, 1}));
        const bool current = layout.CheckVersion();
        if (!current)
            m_problems.push_back({zq::layoutFileName.toString(), std::nullopt,
                                  QStringLiteral("layout_old_version"), zq::oldLayoutMessage()});
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
            m_problems.push_back({zq::layoutFileName.toString(), zq::elementName(element).toString(),
                                  QStringLiteral("picture_outside_background"),
                                  QStringLiteral("%1 (%2) at %3,%4, %5, reaches past the background (%6)")
                                      .arg(zq::elementName(element), zq::elementPictureFileName(element))
                                      .arg(at.x)
                                      .arg(at.y)
                                      .arg(sizeText(*size), sizeText(*m_backgroundSize)),
                                  false});
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
        const QString caption = row.caption.toString();
        if (box.width <= 0 || box.height <= 0) {
            m_problems.push_back({zq::layoutFileName.toString(), caption, QStringLiteral("box_without_area"),
                                  where + QStringLiteral(" has no area"), false});
            return;
        }
        const std::optional<zq::PixelSize> &page = m_pictureSizes[size_t(row.page)];
        if (page && !inside(box.left, box.top, box.width, box.height, page->width, page->height))
            m_problems.push_back({zq::layoutFileName.toString(), caption, QStringLiteral("box_outside_page"),
                                  where + QStringLiteral(" reaches past its page %1 (%2)")
                                              .arg(zq::elementName(row.page), sizeText(*page)),
                                  false});
    }

    QString m_layoutPath;
    QString m_folder;
    std::vector<Problem> m_problems;
    std::optional<zq::PixelSize> m_backgroundSize;
    std::array<std::optional<zq::PixelSize>, 6> m_pictureSizes;
};

QString jsonReport(const QString &skinPath, const std::vector<Problem> &problems)
{
    QStringList items;
    for (const Problem &p : problems)
        items << QStringLiteral("{\"file\": %1, \"element\": %2, \"code\": %3, \"message\": %4}")
                     .arg(jsonString(p.file), p.element ? jsonString(*p.element) : QStringLiteral("null"),
                          jsonString(p.code), jsonString(p.message));
    return QStringLiteral("{\"skin\": %1, \"ok\": %2, \"problems\": [%3]}")
        .arg(jsonString(skinPath), problems.empty() ? QStringLiteral("true") : QStringLiteral("false"),
             items.join(QStringLiteral(", ")));
}

// One line for one skin of several.
QString lineReport(const QString &skinPath, const std::vector<Problem> &problems)
{
    if (problems.empty())
        return skinPath + QStringLiteral(": ok");
    QStringList lines;
    for (const Problem &p : problems)
        lines << p.line();
    return skinPath + QStringLiteral(": %1 problem(s): ").arg(problems.size()) +
           lines.join(QStringLiteral("; "));
}

} // namespace

int runCheck(const Invocation &invocation, QTextStream &out)
{
    if (invocation.skinPaths.size() > 1)
        return runOnSkins(invocation, out, [&](const QString &skin) {
            const std::vector<Problem> problems = Checker(skin).run();
            return SkinReport{problems.empty(),
                              invocation.json ? jsonReport(skin, problems) : lineReport(skin, problems)};
        });
    const std::vector<Problem> problems = Checker(invocation.skinPath).run();
    if (invocation.json) {
        out << jsonReport(invocation.skinPath, problems) << '\n';
        return problems.empty() ? 0 : 1;
    }
    for (const Problem &problem : problems)
        out << problem.line() << '\n';
    if (!problems.empty())
        return 1;
    out << "ok\n";
    return 0;
}

} // namespace zqskin
