// Text in the system's code page, the way the system itself converts it. The run names the code
// page it expects in ZQ_EXPECT_CODE_PAGE (936 for a Chinese Windows, 1252 for a Western one);
// without it, only the round trip is checked.
#include "platform/code_page.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

struct Spelling {
    const char *codePage;
    QString text;
    QByteArray bytes;
};

// The bytes each code page gives these texts, from its published table.
const Spelling spellings[] = {
    {"936", QStringLiteral("皮肤\\冬季"), QByteArray("\xC6\xA4\xB7\xF4\\\xB6\xAC\xBC\xBE")},
    {"936", QStringLiteral("登陆"), QByteArray("\xB5\xC7\xC2\xBD")},
    {"1252", QStringLiteral("Café"), QByteArray("Caf\xE9")},
    {"UTF-8", QStringLiteral("皮肤\\冬季"), QByteArray("\xE7\x9A\xAE\xE8\x82\xA4\\\xE5\x86\xAC\xE5\xAD\xA3")},
};

std::string expectedCodePage()
{
    const char *value = std::getenv("ZQ_EXPECT_CODE_PAGE");
    return value ? value : "";
}

} // namespace

TEST(CodePage, SpellsTextAsTheSystemsCodePageDoes)
{
    const std::string codePage = expectedCodePage();
    if (codePage.empty())
        GTEST_SKIP() << "ZQ_EXPECT_CODE_PAGE names no code page for this run";
    int checked = 0;
    for (const Spelling &s : spellings) {
        if (codePage != s.codePage)
            continue;
        ++checked;
        EXPECT_EQ(zq::platform::toSystemCodePage(s.text), s.bytes) << s.text.toStdString();
        EXPECT_EQ(zq::platform::fromSystemCodePage(s.bytes), s.text) << s.text.toStdString();
    }
    EXPECT_GT(checked, 0) << "no spellings for code page " << codePage;
}

TEST(CodePage, PlainTextAndEmptyTextRoundTrip)
{
    for (const QString &text : {QStringLiteral("0.523437"), QStringLiteral("ZqCSkin.ini"), QString()}) {
        const QByteArray bytes = zq::platform::toSystemCodePage(text);
        EXPECT_EQ(bytes, text.toLatin1());
        EXPECT_EQ(zq::platform::fromSystemCodePage(bytes), text);
    }
}
