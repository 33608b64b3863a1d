#include "info_verb.h"

#include "json_text.h"
#include "skin_batch.h"
#include "skin_facts.h"
#include "skin_source.h"

namespace zqskin {

namespace {

QString jsonBool(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QString jsonBackground(const std::optional<BackgroundFacts> &bg)
{
    if (!bg)
        return QStringLiteral("null");
    return QStringLiteral("{\"width\": %1, \"height\": %2, \"progressive\": %3, \"grayscale\": %4}")
        .arg(bg->width)
        .arg(bg->height)
        .arg(jsonBool(bg->progressive), jsonBool(bg->grayscale));
}

QString jsonPicture(const std::optional<PictureFacts> &picture)
{
    if (!picture)
        return QStringLiteral("null");
    return QStringLiteral("{\"width\": %1, \"height\": %2, \"bits\": %3, \"header\": %4}")
        .arg(picture->width)
        .arg(picture->height)
        .arg(picture->bits)
        .arg(picture->header);
}

QString jsonText(const SkinFacts &facts)
{
    const zq::TiniMian &layout = *facts.layout;
    QStringList points;
    QStringList pictures;
    for (zq::Element element : zq::allElements) {
        const zq::Point p = layout.position(element);
        points << jsonString(zq::elementName(element).toString()) + QStringLiteral(": ") +
                      jsonNumbers({p.x, p.y});
        pictures << jsonString(zq::elementPictureFileName(element).toString()) + QStringLiteral(": ") +
                        jsonPicture(facts.pictures[size_t(element)]);
    }
    QStringList boxes;
    for (const zq::BoxTableRow &row : zq::boxTable) {
        const zq::BoxRect b = layout.box(row.section, row.keyNumber);
        boxes << jsonString(row.caption.toString()) + QStringLiteral(": ") +
                     jsonNumbers({b.left, b.top, b.width, b.height});
    }
    const QString separator = QStringLiteral(", ");
    QString text;
    QTextStream out(&text);
    out << "{\"layout\": " << jsonString(facts.layoutPath)
        << ", \"size\": " << jsonNumbers({layout.BgSize.width, layout.BgSize.height})
        << ", \"version_ok\": " << jsonBool(layout.CheckVersion()) << ", \"points\": {"
        << points.join(separator) << "}, \"boxes\": {" << boxes.join(separator)
        << "}, \"background\": " << jsonBackground(facts.background) << ", \"pictures\": {"
        << pictures.join(separator) << "}}";
    out.flush();
    return text;
}

// Numbers right-aligned in their columns, each heading set over its column the same way.
QString column(std::int32_t value, int width = 8)
{
    return QStringLiteral("%1").arg(value, width);
}

QString heading(const char *title, int width = 8)
{
    return QStringLiteral("%1").arg(QLatin1String(title), width);
}

QString backgroundLine(const std::optional<BackgroundFacts> &bg)
{
    if (!bg)
        return QStringLiteral("none in the folder");
    return QStringLiteral("%1 x %2, %3, %4")
        .arg(bg->width)
        .arg(bg->height)
        .arg(bg->progressive ? QStringLiteral("progressive") : QStringLiteral("baseline"),
             bg->grayscale ? QStringLiteral("grayscale") : QStringLiteral("colour"));
}

void writeTable(const SkinFacts &facts, QTextStream &out)
{
    const zq::TiniMian &layout = *facts.layout;
    out << "Layout      " << facts.layoutPath << '\n';
    out << "Size        " << layout.BgSize.width << " x " << layout.BgSize.height << '\n';
    out << "Version     "
        << (layout.CheckVersion() ? "current"
                                  : "older client (log1left above 1): the designer will not open it")
        << '\n';
    out << "Background  " << backgroundLine(facts.background) << "\n\n";
    // Names go last: Chinese characters take two columns in a terminal.
    out << "Pictures\n"
        << heading("x") << heading("y") << heading("width") << heading("height") << heading("bits", 6)
        << heading("header") << "  name  file\n";
    for (zq::Element element : zq::allElements) {
        const zq::Point p = layout.position(element);
        out << column(p.x) << column(p.y);
        if (const std::optional<PictureFacts> &picture = facts.pictures[size_t(element)])
            out << column(picture->width) << column(picture->height) << column(picture->bits, 6)
                << column(picture->header);
        else
            out << QStringLiteral("%1").arg(QStringLiteral("(no file)"), 30);
        out << "  " << zq::elementName(element).toString() << "  "
            << zq::elementPictureFileName(element).toString() << '\n';
    }
    out << "\nBoxes\n"
        << heading("left") << heading("top") << heading("width") << heading("height")
        << "  caption  (page, section key)\n";
    for (const zq::BoxTableRow &row : zq::boxTable) {
        const zq::BoxRect b = layout.box(row.section, row.keyNumber);
        out << column(b.left) << column(b.top) << column(b.width) << column(b.height) << "  "
            << row.caption.toString() << "  (" << zq::elementName(row.page).toString() << ", " << row.section
            << " logbox" << row.keyNumber << ")\n";
    }
}

// One skin of several on one line.
QString summaryLine(const SkinFacts &facts)
{
    const zq::TiniMian &layout = *facts.layout;
    return QStringLiteral("%1: %2 x %3, %4, background %5")
        .arg(facts.layoutPath)
        .arg(layout.BgSize.width)
        .arg(layout.BgSize.height)
        .arg(layout.CheckVersion() ? QStringLiteral("current") : QStringLiteral("older client"),
             backgroundLine(facts.background));
}

} // namespace

int runInfo(const Invocation &invocation, QTextStream &out)
{
    if (invocation.skinPaths.size() > 1) {
        const auto failure = [&](const QString &skin, const QString &message) {
            return invocation.json
                       ? SkinReport{false, QStringLiteral("{\"layout\": %1, \"error\": %2}")
                                               .arg(jsonString(layoutPathOf(skin)), jsonString(message))}
                       : SkinReport{false, skin + QStringLiteral(": ") + message, true};
        };
        return runOnSkins(
            invocation, out,
            [&](const QString &skin) {
                Invocation one = invocation;
                one.skinPath = skin;
                const SkinFacts facts = gatherFacts(one);
                return SkinReport{true, invocation.json ? jsonText(facts) : summaryLine(facts)};
            },
            failure);
    }
    const SkinFacts facts = gatherFacts(invocation);
    if (invocation.json)
        out << jsonText(facts) << '\n';
    else
        writeTable(facts, out);
    return 0;
}

} // namespace zqskin
