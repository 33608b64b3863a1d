#include "check_verb.h"

#include "json_text.h"
#include "skin_batch.h"
#include "skin_source.h"

#include "errors/engine_error.h"
#include "picture/bmp_reader.h"
#include "picture/jpeg_codec.h"
#include "skin/client_screens.h"
#include "skin/skin_document.h"

#include <QFileInfo>

#include <algorithm>
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

// A box's rectangle on the background: its page's position plus its place on the page. A sum
// beyond 32 bits is held at the limit, which lies beyond every screen as the sum does.
zq::BoxRect onBackground(zq::Point page, const zq::BoxRect &box)
{
    const auto held = [](std::int64_t v) {
        return std::int32_t(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return {held(std::int64_t(page.x) + box.left), held(std::int64_t(page.y) + box.top), box.width,
            box.height};
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
    Checker(const QString &skinPath, const std::vector<zq::PixelSize> &screens)
        : m_layoutPath(layoutPathOf(skinPath))
        , m_folder(zq::SkinDocument::skinFolderOf(m_layoutPath))
    {
        // A screen given twice is looked at once.
        for (zq::PixelSize screen : screens)
            if (std::find(m_screens.begin(), m_screens.end(), screen) == m_screens.end())
                m_screens.push_back(screen);
    }

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
        const bool placed = current && m_backgroundSize;
        if (placed)
            for (zq::Element element : zq::allElements)
                checkPicture(layout, element);
        for (const zq::BoxTableRow &row : zq::boxTable)
            checkBox(layout, row, placed);
    }

    // A problem for each screen that cuts the rectangle (in background pixels) off.
    void checkScreens(const zq::BoxRect &rect, const QString &element, const QString &where)
    {
        for (zq::PixelSize screen : m_screens)
            if (zq::liesBeyondScreen(rect, screen))
                m_problems.push_back(
                    {zq::layoutFileName.toString(), element, QStringLiteral("outside_screen"),
                     where + QStringLiteral(" reaches past a %1 screen").arg(sizeText(screen)), false});
    }

    void checkPicture(const zq::TiniMian &layout, zq::Element element)
    {
        const std::optional<zq::PixelSize> &size = m_pictureSizes[size_t(element)];
        if (!size)
            return;
        const zq::Point at = layout.position(element);
        const QString name = zq::elementName(element).toString();
        const QString where = QStringLiteral("%1 (%2) at %3,%4, %5,")
                                  .arg(name, zq::elementPictureFileName(element))
                                  .arg(at.x)
                                  .arg(at.y)
                                  .arg(sizeText(*size));
        if (!inside(at.x, at.y, size->width, size->height, m_backgroundSize->width, m_backgroundSize->height))
            m_problems.push_back(
                {zq::layoutFileName.toString(), name, QStringLiteral("picture_outside_background"),
                 where + QStringLiteral(" reaches past the background (%1)").arg(sizeText(*m_backgroundSize)),
                 false});
        checkScreens({at.x, at.y, size->width, size->height}, name, where);
    }

    void checkBox(const zq::TiniMian &layout, const zq::BoxTableRow &row, bool placed)
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
        if (!placed)
            return;
        const zq::BoxRect rect = onBackground(layout.position(row.page), box);
        checkScreens(rect, caption,
                     where +
                         QStringLiteral(" is at %1,%2 on the background and").arg(rect.left).arg(rect.top));
    }

    QString m_layoutPath;
    QString m_folder;
    std::vector<zq::PixelSize> m_screens;
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
            const std::vector<Problem> problems = Checker(skin, invocation.screens).run();
            return SkinReport{problems.empty(),
                              invocation.json ? jsonReport(skin, problems) : lineReport(skin, problems)};
        });
    const std::vector<Problem> problems = Checker(invocation.skinPath, invocation.screens).run();
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
