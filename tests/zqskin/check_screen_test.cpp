// check --screen: a problem for each picture and input box that a client's screen cuts off.
// On the sample skin (1920 x 1080) the tabs, 150 x 44, stand at 1305, 1455 and 1605 and the
// pages, 450 x 330, at 1305, all 405 down: the pictures end at 1755, 735. The boxes end at 1715.

#include "skin_files.h"
#include "zqskin_run.h"

#include <QJsonArray>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <tuple>

using namespace zqtest;

namespace {

// element, code, and for outside_screen the screen its message names
using Finding = std::tuple<QString, QString, QString>;

std::multiset<Finding> findingsOf(const QJsonObject &report, const QStringList &screens)
{
    std::multiset<Finding> findings;
    for (const QJsonValue &p : report["problems"].toArray()) {
        const QJsonObject problem = p.toObject();
        const QString code = problem["code"].toString();
        QString named;
        if (code == u"outside_screen") {
            EXPECT_EQ(problem["file"].toString(), "ZqCSkin.ini");
            for (const QString &screen : screens)
                if (problem["message"].toString().contains(
                        QString(screen).replace(u'x', QStringLiteral(" x "))))
                    named = screen;
        }
        findings.insert({problem["element"].toString(), code, named});
    }
    return findings;
}

std::multiset<Finding> cutBy(const QString &screen, const QStringList &elements)
{
    std::multiset<Finding> findings;
    for (const QString &element : elements)
        findings.insert({element, "outside_screen", screen});
    return findings;
}

std::multiset<Finding> operator+(std::multiset<Finding> a, const std::multiset<Finding> &b)
{
    a.insert(b.begin(), b.end());
    return a;
}

const QStringList pages = {"登陆激活", "充值激活", "管理激活"};

struct Case {
    const char *what;
    std::function<void(const SampleSkinCopy &)> spoil;
    QStringList screens;
    std::multiset<Finding> expected;
};

} // namespace

TEST(SkinCheckScreen, EachPictureAndBoxAScreenCutsOffIsAProblem)
{
    const auto sample = [](const SampleSkinCopy &) {};
    const std::vector<Case> cases = {
        {"screens as large as what the skin shows", sample, {"1920x1080", "1755x735"}, {}},
        {"one pixel narrower: the last tab and the pages",
         sample,
         {"1754x1080"},
         cutBy("1754x1080", QStringList{"管理"} + pages)},
        {"one pixel lower: the pages", sample, {"1920x734"}, cutBy("1920x734", pages)},
        {"a tab moved right",
         [](const SampleSkinCopy &s) { replaceIn(s, "Man1left=0.8359375", "Man1left=0.87"); },
         {"1800x1080"},
         cutBy("1800x1080", {"管理"})},
        {"a box reaching past its page",
         [](const SampleSkinCopy &s) { replaceIn(s, "logbox4left=283", "logbox4left=400"); },
         {"1800x1080"},
         std::multiset<Finding>{{"关机", "box_outside_page", ""}} + cutBy("1800x1080", {"关机"})},
        {"several screens, one given twice",
         sample,
         {"1920x734", "1754x1080", "1920x734"},
         cutBy("1920x734", pages) + cutBy("1754x1080", QStringList{"管理"} + pages)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SampleSkinCopy skin;
        c.spoil(skin);
        QStringList screenArguments;
        for (const QString &screen : c.screens)
            screenArguments << "--screen" << screen;
        const Outcome json = zqskin(QStringList{"check", skin.dir.path(), "--json"} + screenArguments);
        const Outcome text = zqskin(QStringList{"check", skin.dir.path()} + screenArguments);
        EXPECT_EQ(json.status, c.expected.empty() ? 0 : 1) << json.err.toStdString();
        EXPECT_EQ(text.status, json.status);
        EXPECT_EQ(findingsOf(jsonOf(json.out), c.screens), c.expected);
        EXPECT_EQ(QString::fromUtf8(text.out).split('\n', Qt::SkipEmptyParts).size(),
                  c.expected.empty() ? 1 : qsizetype(c.expected.size()));
        // Several skins at once report each as one alone.
        const Outcome many =
            zqskin(QStringList{"check", skin.dir.path(), skin.dir.path(), "--json"} + screenArguments);
        EXPECT_EQ(many.status, json.status);
        EXPECT_EQ(many.out, json.out + json.out);
    }
}

TEST(SkinCheckScreen, AMalformedScreenIsAUsageError)
{
    SampleSkinCopy skin;
    const struct {
        QStringList arguments;
        const char *value; // quoted back in the message, or nullptr for a missing value
    } cases[] = {
        {{"--screen", "1366"}, "1366"},
        {{"--screen", "1366x"}, "1366x"},
        {{"--screen", "x768"}, "x768"},
        {{"--screen", "0x768"}, "0x768"},
        {{"--screen", "-1366x768"}, "-1366x768"},
        {{"--screen", "65536x768"}, "65536x768"},
        {{"--screen", "1366x768x2"}, "1366x768x2"},
        {{"--screen=1366,768"}, "1366,768"},
        {{"--screen", ""}, ""},
        {{"--screen", "1920x1080", "--screen"}, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const Outcome run = zqskin(QStringList{"check", skin.dir.path()} + c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.isEmpty());
        const QByteArray says =
            c.value ? "zqskin: --screen wants WIDTHxHEIGHT in pixels, both from 1 to 65535, not \"" +
                          QByteArray(c.value) + "\"\n"
                    : "zqskin: --screen needs a value\n";
        EXPECT_TRUE(run.err.startsWith(says)) << run.err.toStdString();
    }
    // Only check looks at screens.
    const Outcome info = zqskin({"info", skin.dir.path(), "--screen", "1366x768"});
    EXPECT_EQ(info.status, 2);
    EXPECT_TRUE(info.err.startsWith("zqskin: --screen is not an option of info")) << info.err.toStdString();
}
