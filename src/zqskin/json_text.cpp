#include "json_text.h"

#include <QStringList>

namespace zqskin {

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

QString jsonNumbers(std::initializer_list<std::int64_t> values)
{
    QStringList parts;
    for (std::int64_t v : values)
        parts << QString::number(v);
    return u'[' + parts.join(QStringLiteral(", ")) + u']';
}

} // namespace zqskin
