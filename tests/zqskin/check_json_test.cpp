// check --json: one object per skin whose problems carry a stable code for every kind the
// text form reports, and a background that libjpeg decodes only with warnings is one of them.

#include "skin_files.h"
#include "zqskin_run.h"

#include <QJsonArray>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <tuple>

using namespace zqtest;

namespace {

using Finding = std::tuple<QString, QString, QString>; // file, element ("" for null), code

std::set<Finding> findingsOf(const QJsonObject &report)
{
    std::set<Finding> findings;
    for (const QJsonValue &p : report["problems"].toArray()) {
        const QJsonObject problem = p.toObject();
        EXPECT_TRUE(problem.contains("element"));
        EXPECT_FALSE(problem["message"].toString().isEmpty());
        findings.insert({problem["file"].toString(),
                         problem["element"].isNull() ? "" : problem["element"].toString(),
                         problem["code"].toString()});
    }
    return findings;
}

struct Case {
    const char *what;
    std::function<void(const SampleSkinCopy &)> spoil;
    std::set<Finding> expected;
};

} // namespace

TEST(SkinCheckJson, EveryKindOfProblemHasItsCode)
{
    const std::vector<Case> cases = {
        {"sound", [](const SampleSkinCopy &) {}, {}},
        {"missing picture",
         [](const SampleSkinCopy &s) { QFile::remove(s.path("zqMANed.bmp")); },
         {{"zqMANed.bmp", "管理激活", "file_missing"}}},
        {"broken picture",
         [](const SampleSkinCopy &s) { writeBytes(s.path("zqFIL.bmp"), "BM but nothing else"); },
         {{"zqFIL.bmp", "充值", "file_unreadable"}}},
        {"broken background",
         [](const SampleSkinCopy &s) { writeBytes(s.path("zqLOCKPIC.jpg"), "no JPEG"); },
         {{"zqLOCKPIC.jpg", "", "file_unreadable"}}},
        {"missing layout",
         [](const SampleSkinCopy &s) { QFile::remove(s.layout()); },
         {{"ZqCSkin.ini", "", "file_missing"}}},
        {"older layout",
         [](const SampleSkinCopy &s) { replaceIn(s, "log1left=0.6796875", "log1left=1305"); },
         {{"ZqCSkin.ini", "", "layout_old_version"}}},
        {"picture off the background",
         [](const SampleSkinCopy &s) { replaceIn(s, "Man1left=0.8359375", "Man1left=0.99"); },
         {{"ZqCSkin.ini", "管理", "picture_outside_background"}}},
        {"box off its page",
         [](const SampleSkinCopy &s) { replaceIn(s, "logbox4left=283", "logbox4left=400"); },
         {{"ZqCSkin.ini", "关机", "box_outside_page"}}},
        {"box without area",
         [](const SampleSkinCopy &s) { replaceIn(s, "logbox4Height=40", "logbox4Height=0"); },
         {{"ZqCSkin.ini", "充值确定", "box_without_area"}, {"ZqCSkin.ini", "关机", "box_without_area"}}},
        {"truncated background",
         [](const SampleSkinCopy &s) {
             const QByteArray jpeg = s.bytes("zqLOCKPIC.jpg");
             writeBytes(s.path("zqLOCKPIC.jpg"), jpeg.left(jpeg.size() / 2));
         },
         {{"zqLOCKPIC.jpg", "", "background_decode_warnings"}}},
        {"corrupt background",
         [](const SampleSkinCopy &s) {
             QByteArray jpeg = s.bytes("zqLOCKPIC.jpg");
             // A marker in the middle of the entropy-coded data.
             jpeg[jpeg.size() / 2] = char(0xFF);
             jpeg[jpeg.size() / 2 + 1] = char(0xD3);
             writeBytes(s.path("zqLOCKPIC.jpg"), jpeg);
         },
         {{"zqLOCKPIC.jpg", "", "background_decode_warnings"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SampleSkinCopy skin;
        c.spoil(skin);
        const Outcome json = zqskin({"check", skin.dir.path(), "--json"});
        const Outcome text = zqskin({"check", skin.dir.path()});
        EXPECT_EQ(json.status, c.expected.empty() ? 0 : 1);
        EXPECT_EQ(text.status, json.status);
        EXPECT_EQ(json.out.count('\n'), 1);
        const QJsonObject report = jsonOf(json.out);
        EXPECT_EQ(report["ok"].toBool(), c.expected.empty());
        EXPECT_EQ(findingsOf(report), c.expected);
        // The same findings, one per line, in the text form.
        EXPECT_EQ(QString::fromUtf8(text.out).split('\n', Qt::SkipEmptyParts).size(),
                  c.expected.empty() ? 1 : qsizetype(c.expected.size()));
    }
}
