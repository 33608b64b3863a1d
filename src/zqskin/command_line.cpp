#include "command_line.h"

#include "verbs.h"

#include <QRegularExpression>

namespace zqskin {

namespace {

zq::PixelSize parseSize(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,10})[xX]([0-9]{1,10})$"));
    const QRegularExpressionMatch match = form.match(text);
    bool widthOk = false, heightOk = false;
    const qlonglong width = match.hasMatch() ? match.captured(1).toLongLong(&widthOk) : 0;
    const qlonglong height = match.hasMatch() ? match.captured(2).toLongLong(&heightOk) : 0;
    constexpr qlonglong limit = 2147483647;
    if (!widthOk || !heightOk || width < 1 || height < 1 || width > limit || height > limit)
        throw UsageError(
            QStringLiteral("--size wants WIDTHxHEIGHT in pixels, both above 0, not \"%1\"").arg(text));
    return {static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)};
}

} // namespace

Invocation parseCommandLine(const QStringList &arguments)
{
    Invocation invocation;
    QStringList positional;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == u"-h" || argument == u"--help") {
            invocation.help = true;
        } else if (argument == u"--json") {
            invocation.json = true;
        } else if (argument == u"--size") {
            if (i + 1 == arguments.size())
                throw UsageError(QStringLiteral("--size needs a value"));
            invocation.size = parseSize(arguments[++i]);
        } else if (argument.startsWith(u"--size=")) {
            invocation.size = parseSize(argument.mid(7));
        } else if (argument.startsWith(u'-') && argument.size() > 1) {
            throw UsageError(QStringLiteral("unknown option %1").arg(argument));
        } else {
            positional.append(argument);
        }
    }
    if (invocation.help)
        return invocation;
    if (positional.isEmpty())
        throw UsageError(QStringLiteral("no command given"));
    invocation.verb = positional.takeFirst();
    const Verb *verb = findVerb(invocation.verb);
    if (verb == nullptr)
        throw UsageError(QStringLiteral("unknown command %1").arg(invocation.verb));
    if (positional.size() != 1)
        throw UsageError(QStringLiteral("%1 takes one layout file").arg(invocation.verb));
    invocation.layoutPath = positional.front();
    if (invocation.json && !verb->acceptsJson)
        throw UsageError(QStringLiteral("--json is not an option of %1").arg(invocation.verb));
    return invocation;
}

QString usageText()
{
    QString text;
    for (const Verb &verb : verbs())
        text += (text.isEmpty() ? QStringLiteral("usage: ") : QStringLiteral("       ")) +
                QStringLiteral("zqskin ") + verb.synopsis.toString() + u'\n';
    return text;
}

} // namespace zqskin
