#include "help_text.h"

#include "command_line.h"
#include "verbs.h"

#include <array>

namespace zqskin {

namespace {

// What each verb does, after its usage line. A verb without a row here still shows its usage.
struct VerbHelp {
    QStringView verb;
    QStringView text;
};

const std::array<VerbHelp, 5> helpTable = {{
    {u"info", u"Shows the skin as the designer opens it: the background's size and kind, each picture's\n"
              u"position, size, bit depth and BMP header size, the eleven input boxes (relative to their\n"
              u"page) and whether the designer accepts the layout.\n"
              u"\n"
              u"  --json      one JSON object on one line instead of the tables\n"
              u"  --size WxH  read the layout against this background size; the layout file alone is\n"
              u"              then enough (missing pictures show as \"(no file)\", null in JSON)\n"},
    {u"check", u"Looks the skin over: every file present and readable, the layout of the current kind,\n"
               u"every picture inside the background and every input box inside its page. Prints one\n"
               u"problem per line and exits with status 1, or prints \"ok\". Changes nothing.\n"},
    {u"resave", u"Opens the skin and saves it as the designer does when nothing was changed: the layout\n"
                u"file, the six pictures in the format they were loaded in, and the background encoded\n"
                u"again (JPEG quality 90, progressive if it was). Other lines of the layout file and its\n"
                u"line endings are kept.\n"
                u"\n"
                u"  --size WxH  read and write back the layout file alone, against this background size\n"},
    {u"flatten",
     u"Replaces the picture ELEMENT by the PNG, flattened onto the background behind it, as the\n"
     u"designer's 换张图片 does: the picture takes the PNG's size and keeps its bit depth. The\n"
     u"whole skin is saved.\n"
     u"\n"
     u"  --at X,Y    first move the picture to X,Y (background pixels from its top-left corner)\n"},
    {u"background", u"Draws the JPEG over the whole background, stretched to its size, as the designer's\n"
                    u"换背景图片 does; every position in the layout stays right. The whole skin is saved.\n"},
}};

const QString skinWords =
    QStringLiteral("SKIN is the layout file ZqCSkin.ini or the skin folder; ELEMENT is one of "
                   "登陆 充值 管理 登陆激活 充值激活 管理激活.\n");

} // namespace

QString toolHelpText()
{
    return usageText() +
           QStringLiteral("\nzqskin reads, checks and changes a Zenqa lock-screen skin without a window.\n"
                          "  zqskin VERB --help  what one verb does\n"
                          "  zqskin --version    the version\n"
                          "Exit status: 0 done, 1 failed (the reason on standard error), 2 usage.\n");
}

QString verbHelpText(QStringView verb)
{
    for (const Verb &known : verbs()) {
        if (known.name != verb)
            continue;
        QString text = QStringLiteral("usage: zqskin ") + known.synopsis.toString() + u'\n';
        for (const VerbHelp &help : helpTable)
            if (help.verb == verb)
                text += u'\n' + help.text.toString();
        return text + u'\n' + skinWords;
    }
    return {};
}

QString versionText()
{
    return QStringLiteral("zqskin " ZQ_VERSION "\n");
}

} // namespace zqskin
