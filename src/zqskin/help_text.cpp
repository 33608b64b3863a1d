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

const std::array<VerbHelp, 9> helpTable = {{
    {u"info", u"Shows the skin as the designer opens it: the background's size and kind, each picture's\n"
              u"position, size, bit depth and BMP header size, the eleven input boxes (relative to their\n"
              u"page) and whether the designer accepts the layout.\n"
              u"\n"
              u"  --json      one JSON object on one line instead of the tables\n"
              u"  --size WxH  read the layout against this background size; the layout file alone is\n"
              u"              then enough (missing pictures show as \"(no file)\", null in JSON)\n"
              u"  --jobs N    with several skins, read N at a time (default: one per core)\n"},
    {u"check", u"Looks the skin over: every file present and readable, the layout of the current kind,\n"
               u"every picture inside the background and every input box inside its page. Prints one\n"
               u"problem per line and exits with status 1, or prints \"ok\". Changes nothing.\n"
               u"\n"
               u"  --json        one JSON object per skin: ok and the problems, each with a stable code\n"
               u"  --screen WxH  also report each picture and input box lying wholly or partly beyond a\n"
               u"                client screen of W x H pixels, on which the background is drawn 1:1\n"
               u"                from the top-left corner; may be given more than once\n"
               u"  --jobs N      with several skins, check N at a time (default: one per core)\n"},
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
                    u"换背景图片 does; every position in the layout stays right. The whole skin is saved.\n"
                    u"A PNG (its transparent parts over white) or a BMP is taken as well.\n"},
    {u"render", u"Writes a PNG of the lock screen with a tab chosen: the background, the tab pictures and\n"
                u"the chosen tab's page on top, cut off at the background's edges.\n"
                u"\n"
                u"  --tab T       登陆 (the default), 充值 or 管理\n"
                u"  --boxes       outline the page's input boxes with their captions\n"
                u"  --scale F     a smaller picture, 0 < F <= 1, averaged over each area\n"
                u"  --out-dir DIR with several skins: write <skin folder name>.png into DIR\n"
                u"  --jobs N      with several skins, render N at a time (default: one per core)\n"},
    {u"set", u"Moves the picture ELEMENT to X,Y as the position dialog does. Only the layout file is\n"
             u"written, its other lines untouched; the pictures do not change.\n"},
    {u"box", u"Places the input box CAPTION at L,T (relative to its page) with width W and height H, as\n"
             u"a drag in the designer does. Only the layout file is written.\n"},
    {u"new", u"Creates a complete skin in DIR: the layout file, the background and the six pictures,\n"
             u"laid out as the sample skin and scaled to the background's size.\n"
             u"\n"
             u"  --background PICTURE  the background: a JPEG (stored at quality 90, progressive if\n"
             u"                        it was), or a PNG or BMP (stored as a baseline JPEG at quality\n"
             u"                        90, a PNG's transparent parts over white)\n"
             u"  --size WxH            a plain dark background of this size (default 1920x1080)\n"
             u"  --force               replace the eight skin files in a folder that is not empty\n"},
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
