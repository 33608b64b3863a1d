#include "verbs.h"

#include "background_verb.h"
#include "check_verb.h"
#include "flatten_verb.h"
#include "info_verb.h"
#include "layout_edit_verbs.h"
#include "new_verb.h"
#include "render_verb.h"
#include "resave_verb.h"

#include <array>

namespace zqskin {

namespace {

const std::array<Verb, 9> table = {{
    {u"info", u"info SKIN... [--json] [--size WxH] [--jobs N]", 0, JsonOption | SizeOption | ManySkinsOption,
     &runInfo},
    {u"check", u"check SKIN... [--json] [--screen WxH]... [--jobs N]", 0,
     JsonOption | ScreenOption | ManySkinsOption, &runCheck},
    {u"resave", u"resave SKIN [--size WxH]", 0, SizeOption, &runResave},
    {u"flatten", u"flatten SKIN ELEMENT PNG [--at X,Y]", 2, AtOption, &runFlatten},
    {u"background", u"background SKIN JPEG", 1, NoOptions, &runBackground},
    {u"render",
     u"render SKIN OUT.png | SKIN... --out-dir DIR [--tab 登陆|充值|管理] [--boxes] [--scale F] [--jobs N]",
     1, TabOption | BoxesOption | ScaleOption | OutDirOption | ManySkinsOption, &runRender},
    {u"set", u"set SKIN ELEMENT --at X,Y", 1, AtOption, &runSet},
    {u"box", u"box SKIN CAPTION --rect L,T,W,H", 1, RectOption, &runBox},
    {u"new", u"new DIR [--background PICTURE | --size WxH] [--force]", 0,
     BackgroundOption | SizeOption | ForceOption, &runNew},
}};

} // namespace

std::span<const Verb> verbs()
{
    return table;
}

const Verb *findVerb(const QString &name)
{
    for (const Verb &verb : table)
        if (verb.name == name)
            return &verb;
    return nullptr;
}

} // namespace zqskin
