#include "verbs.h"

#include "background_verb.h"
#include "check_verb.h"
#include "flatten_verb.h"
#include "info_verb.h"
#include "resave_verb.h"

#include <array>

namespace zqskin {

namespace {

const std::array<Verb, 5> table = {{
    {u"info", u"info SKIN [--json] [--size WxH]", 0, JsonOption | SizeOption, &runInfo},
    {u"check", u"check SKIN", 0, NoOptions, &runCheck},
    {u"resave", u"resave SKIN [--size WxH]", 0, SizeOption, &runResave},
    {u"flatten", u"flatten SKIN ELEMENT PNG [--at X,Y]", 2, AtOption, &runFlatten},
    {u"background", u"background SKIN JPEG", 1, NoOptions, &runBackground},
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
