#include "command_line.h"

#include "verbs.h"

#include "skin/client_screens.h"

#include <QRegularExpression>

#include <array>

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

zq::BoxRect parseRect(const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral("^([-+]?[0-9]{1,10}),([-+]?[0-9]{1,10}),([-+]?[0-9]{1,10}),([-+]?[0-9]{1,10})$"));
    const QRegularExpressionMatch match = form.match(text);
    std::array<qlonglong, 4> v{};
    bool ok = match.hasMatch();
    for (int i = 0; ok && i < 4; ++i) {
        v[size_t(i)] = match.captured(i + 1).toLongLong(&ok);
        ok = ok && v[size_t(i)] >= -int32Max - 1 && v[size_t(i)] <= int32Max;
    }
    if (!ok)
        throw UsageError(
            QStringLiteral("--rect wants LEFT,TOP,WIDTH,HEIGHT in pixels of the page, not \"%1\"").arg(text));
    return {std::int32_t(v[0]), std::int32_t(v[1]), std::int32_t(v[2]), std::int32_t(v[3])};
}

double parseScale(const QString &text)
{
    bool ok = false;
    const double scale = text.toDouble(&ok);
    if (!ok || !(scale > 0.0) || scale > 1.0)
        throw UsageError(
            QStringLiteral("--scale wants a number above 0 and at most 1, not \"%1\"").arg(text));
    return scale;
}

int parseJobs(const QString &text)
{
    bool ok = false;
    const int jobs = text.toInt(&ok);
    if (!ok || jobs < 1 || jobs > 1024)
        throw UsageError(
            QStringLiteral("--jobs wants a number of threads from 1 to 1024, not \"%1\"").arg(text));
    return jobs;
}

// A client machine's screen, in the form the designer's list of screens reads as well.
zq::PixelSize parseScreen(const QString &text)
{
    if (const std::optional<zq::PixelSize> screen = zq::parseScreenSize(text))
        return *screen;
    throw UsageError(
        QStringLiteral("--screen wants WIDTHxHEIGHT in pixels, both from 1 to 65535, not \"%1\"").arg(text));
}

QString quotedList(const QStringList &names)
{
    return QStringLiteral("\"") + names.join(QStringLiteral("\", \"")) + u'"';
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

// Takes the argument at i into the invocation: an option, with its value (i then moves past
// it), or else a positional argument.
void takeArgument(const QStringList &arguments, qsizetype &i, Invocation &invocation, QStringList &positional)
{
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
    } else if (optionValue(arguments, i, u"--rect", value)) {
        invocation.rect = parseRect(value);
    } else if (optionValue(arguments, i, u"--background", value)) {
        invocation.background = value;
    } else if (optionValue(arguments, i, u"--tab", value)) {
        parseTab(value);
        invocation.tab = value;
    } else if (optionValue(arguments, i, u"--scale", value)) {
        invocation.scale = parseScale(value);
    } else if (optionValue(arguments, i, u"--out-dir", value)) {
        invocation.outDir = value;
    } else if (optionValue(arguments, i, u"--jobs", value)) {
        invocation.jobs = parseJobs(value);
    } else if (optionValue(arguments, i, u"--screen", value)) {
        invocation.screens.push_back(parseScreen(value));
    } else if (argument == u"--force") {
        invocation.force = true;
    } else if (argument == u"--boxes") {
        invocation.boxes = true;
    } else if (argument.startsWith(u'-') && argument.size() > 1) {
        throw UsageError(QStringLiteral("unknown option %1").arg(argument));
    } else {
        positional.append(argument);
    }
}

// Refuses the first option given that the verb does not take.
void refuseOptionsNotOf(const Verb &verb, const Invocation &invocation)
{
    refuseOption(verb, JsonOption, invocation.json, u"--json");
    refuseOption(verb, SizeOption, invocation.size.has_value(), u"--size");
    refuseOption(verb, AtOption, invocation.at.has_value(), u"--at");
    refuseOption(verb, RectOption, invocation.rect.has_value(), u"--rect");
    refuseOption(verb, BackgroundOption, invocation.background.has_value(), u"--background");
    refuseOption(verb, TabOption, invocation.tab.has_value(), u"--tab");
    refuseOption(verb, ScaleOption, invocation.scale.has_value(), u"--scale");
    refuseOption(verb, OutDirOption, invocation.outDir.has_value(), u"--out-dir");
    refuseOption(verb, ManySkinsOption, invocation.jobs.has_value(), u"--jobs");
    refuseOption(verb, ScreenOption, !invocation.screens.empty(), u"--screen");
    refuseOption(verb, ForceOption, invocation.force, u"--force");
    refuseOption(verb, BoxesOption, invocation.boxes, u"--boxes");
}

} // namespace

Invocation parseCommandLine(const QStringList &arguments)
{
    Invocation invocation;
    QStringList positional;
    for (qsizetype i = 0; i < arguments.size(); ++i)
        takeArgument(arguments, i, invocation, positional);
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
    // Several skins take the place of SKIN and its operands: render writes into --out-dir then.
    const bool manySkins =
        (verb->options & ManySkinsOption) != 0 && (verb->operandCount == 0 || invocation.outDir.has_value());
    if (manySkins ? positional.isEmpty() : positional.size() != 1 + verb->operandCount)
        throw UsageError(QStringLiteral("wrong number of arguments for %1").arg(invocation.verb));
    invocation.skinPaths = manySkins ? positional : positional.mid(0, 1);
    invocation.skinPath = positional.takeFirst();
    invocation.operands = manySkins ? QStringList() : positional;
    refuseOptionsNotOf(*verb, invocation);
    return invocation;
}

zq::Element parseElement(const QString &name)
{
    for (zq::Element element : zq::allElements)
        if (zq::elementName(element) == name)
            return element;
    QStringList names;
    for (zq::Element element : zq::allElements)
        names << zq::elementName(element).toString();
    throw UsageError(
        QStringLiteral("no element is called \"%1\"; the elements are %2").arg(name, quotedList(names)));
}

const zq::BoxTableRow &parseBoxCaption(const QString &caption)
{
    for (const zq::BoxTableRow &row : zq::boxTable)
        if (row.caption == caption)
            return row;
    QStringList captions;
    for (const zq::BoxTableRow &row : zq::boxTable)
        captions << row.caption.toString();
    throw UsageError(
        QStringLiteral("no box is called \"%1\"; the boxes are %2").arg(caption, quotedList(captions)));
}

zq::Element parseTab(const QString &name)
{
    for (zq::Element tab : {zq::Element::LogTab, zq::Element::FilTab, zq::Element::ManTab})
        if (zq::elementName(tab) == name)
            return tab;
    throw UsageError(QStringLiteral("--tab wants \"登陆\", \"充值\" or \"管理\", not \"%1\"").arg(name));
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
