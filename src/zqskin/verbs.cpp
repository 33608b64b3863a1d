#include "verbs.h"

#include "info_verb.h"
#include "resave_verb.h"

#include <array>

namespace zqskin {

namespace {

const std::array<Verb, 2> table = {{
    {u"info", u"info LAYOUT --size WxH [--json]", true, &runInfo},
    {u"resave", u"resave LAYOUT --size WxH", false, &runResave},
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
