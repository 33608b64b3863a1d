#include "info_verb.h"

#include "layout_source.h"

namespace zqskin {

namespace {

QString jsonString(const QString &text)
{
    QString quoted = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == u'"' || c == u'\\')
            quoted += u'\\' + QString(c);
        else if (c == u'\n')
            quoted += QStringLiteral("\\n");
        else if (c == u'\r')
            quoted += QStringLiteral("\\r");
        else if (c == u'\t')
            quoted += QStringLiteral("\\t");
        else if (c.unicode() < 0x20)
            quoted += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        else
            quoted += c;
    }
    return quoted + u'"';
}

QString jsonNumbers(std::initializer_list<std::int32_t> values)
{
    QStringList parts;
    for (std::int32_t v : values)
        parts << QString::number(v);
    return u'[' + parts.join(QStringLiteral(", ")) + u']';
}

void writeJson(const zq::TiniMian &layout, const QString &path, QTextStream &out)
{
    QStringList points;
    for (zq::Element element : zq::allElements) {
        const zq::Point p = layout.position(element);
        points << jsonString(zq::elementName(element).toString()) + QStringLiteral(": ") +
                      jsonNumbers({p.x, p.y});
    }
    QStringList boxes;
    for (const zq::BoxTableRow &row : zq::boxTable) {
        const zq::BoxRect b = layout.box(row.section, row.keyNumber);
        boxes << jsonString(row.caption.toString()) + QStringLiteral(": ") +
                     jsonNumbers({b.left, b.top, b.width, b.height});
    }
    out << "{\"layout\": " << jsonString(path)
        << ", \"size\": " << jsonNumbers({layout.BgSize.width, layout.BgSize.height})
        << ", \"version_ok\": " << (layout.CheckVersion() ? "true" : "false") << ", \"points\": {"
        << points.join(QStringLiteral(", ")) << "}, \"boxes\": {" << boxes.join(QStringLiteral(", "))
        << "}}\n";
}

QString column(std::int32_t value)
{
    return QStringLiteral("%1").arg(value, 8);
}

void writeTable(const zq::TiniMian &layout, const QString &path, QTextStream &out)
{
    out << "Layout   " << path << '\n';
    out << "Size     " << layout.BgSize.width << " x " << layout.BgSize.height << '\n';
    out << "Version  "
        << (layout.CheckVersion() ? "current"
                                  : "older client (log1left above 1): the designer will not open it")
        << "\n\n";
    // Names go last: Chinese characters take two columns in a terminal.
    out << "Pictures       x       y\n";
    for (zq::Element element : zq::allElements) {
        const zq::Point p = layout.position(element);
        out << column(p.x) << column(p.y) << "  " << zq::elementName(element).toString() << '\n';
    }
    out << "\nBoxes       left     top   width  height\n";
    for (const zq::BoxTableRow &row : zq::boxTable) {
        const zq::BoxRect b = layout.box(row.section, row.keyNumber);
        out << column(b.left) << column(b.top) << column(b.width) << column(b.height) << "  "
            << row.caption.toString() << "  (" << zq::elementName(row.page).toString() << ", " << row.section
            << " logbox" << row.keyNumber << ")\n";
    }
}

} // namespace

int runInfo(const Invocation &invocation, QTextStream &out)
{
    const zq::TiniMian layout = openLayout(invocation);
    if (invocation.json)
        writeJson(layout, invocation.layoutPath, out);
    else
        writeTable(layout, invocation.layoutPath, out);
    return 0;
}

} // namespace zqskin
