#include "command_line.h"

#include "verbs.h"

#include <QRegularExpression>

namespace zqskin {

namespace {

constexpr qlonglong int32Max = 2147483647;

zq::PixelSize parseSize(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,10})[xX]([0-9]{1,10})$"));
    const QRegularExpressionMatch match = form.match(text);
    bool widthOk = false, heightOk = false;
    const qlonglong width = match.hasMatch() ? match.captured(1).toLongLong(&widthOk) : 0;
    const qlonglong height = match.hasMatch() ? match.captured(2).toLongLong(&heightOk) : 0;
    if (!widthOk || !heightOk || width < 1 || height < 1 || width > int32Max || height > int32Max)
        throw UsageError(
            QStringLiteral("--size wants WIDTHxHEIGHT in pixels, both above 0, not \"%1\"").arg(text));
    return {static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)};
}

zq::Point parsePoint(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^([-+]?[0-9]{1,10}),([-+]?[0-9]{1,10})$"));
    const QRegularExpressionMatch match = form.match(text);
    bool xOk = false, yOk = false;
    const qlonglong x = match.hasMatch() ? match.captured(1).toLongLong(&xOk) : 0;
    const qlonglong y = match.hasMatch() ? match.captured(2).toLongLong(&yOk) : 0;
    const auto inRange = [](qlonglong v) { return v >= -int32Max - 1 && v <= int32Max; };
    if (!xOk || !yOk || !inRange(x) || !inRange(y))
        throw UsageError(QStringLiteral("--at wants X,Y in background pixels, not \"%1\"").arg(text));
    return {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
}

// The value of an option given as "--name value" or "--name=value".
bool optionValue(const QStringList &arguments, qsizetype &i, QStringView name, QString &value)
{
    const QString &argument = arguments[i];
    if (argument == name) {
        if (i + 1 == arguments.size())
            throw UsageError(QStringLiteral("%1 needs a value").arg(name));
        value = arguments[++i];
        return true;
    }
    if (argument.startsWith(name) && argument.mid(name.size()).startsWith(u'=')) {
        value = argument.mid(name.size() + 1);
        return true;
    }
    return false;
}

void refuseOption(const Verb &verb, unsigned option, bool given, QStringView name)
{
    if (given && (verb.options & option) == 0)
        throw UsageError(QStringLiteral("%1 is not an option of %2").arg(name, verb.name));
}

} // namespace

Invocation parseCommandLine(const QStringList &arguments)
{
    Invocation invocation;
    QStringList positional;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        QString value;
        if (argument == u"-h" || argument == u"--help") {
            invocation.help = true;
        } else if (argument == u"--version") {
            invocation.version = true;
        } else if (argument == u"--json") {
            invocation.json = true;
        } else if (optionValue(arguments, i, u"--size", value)) {
            invocation.size = parseSize(value);
        } else if (optionValue(arguments, i, u"--at", value)) {
            invocation.at = parsePoint(value);
        } else if (argument.startsWith(u'-') && argument.size() > 1) {
            throw UsageError(QStringLiteral("unknown option %1").arg(argument));
        } else {
            positional.append(argument);
        }
    }
    if (invocation.version)
        return invocation;
    if (invocation.help && positional.isEmpty())
        return invocation;
    if (positional.isEmpty())
        throw UsageError(QStringLiteral("no command given"));
    invocation.verb = positional.takeFirst();
    const Verb *verb = findVerb(invocation.verb);
    if (verb == nullptr)
        throw UsageError(QStringLiteral("unknown command %1").arg(invocation.verb));
    if (invocation.help)
        return invocation;
    if (positional.size() != 1 + verb->operandCount)
        throw UsageError(QStringLiteral("wrong number of arguments for %1").arg(invocation.verb));
    invocation.skinPath = positional.takeFirst();
    invocation.operands = positional;
    refuseOption(*verb, JsonOption, invocation.json, u"--json");
    refuseOption(*verb, SizeOption, invocation.size.has_value(), u"--size");
    refuseOption(*verb, AtOption, invocation.at.has_value(), u"--at");
    return invocation;
}

zq::Element parseElement(const QString &name)
{
    for (zq::Element element : zq::allElements)
        if (zq::elementName(element) == name)
            return element;
    throw UsageError(QStringLiteral("no element is called \"%1\"").arg(name));
}

QString usageText()
{
    QString text;
    for (const Verb &verb : verbs())
        text += (text.isEmpty() ? QStringLiteral("usage: ") : QStringLiteral("       ")) +
                QStringLiteral("zqskin ") + verb.synopsis.toString() + u'\n';
    text += QStringLiteral("SKIN is the layout file ZqCSkin.ini or the skin folder; ELEMENT is one of "
                           "登陆 充值 管理 登陆激活 充值激活 管理激活.\n");
    return text;
}

} // namespace zqskin
