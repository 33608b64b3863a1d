// set and box: one picture's or one box's keys change in the layout file, nothing else does,
// and what was asked for reads back exactly.

#include "skin_files.h"
#include "zqskin_run.h"

#include <QJsonArray>

#include <gtest/gtest.h>

using namespace zqtest;

namespace {

// Lines of the layout file that differ, by position; the file keeps its line count.
QStringList changedLines(const QByteArray &before, const QByteArray &after)
{
    const QList<QByteArray> a = before.split('\n');
    const QList<QByteArray> b = after.split('\n');
    EXPECT_EQ(a.size(), b.size());
    QStringList changed;
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            changed << QString::fromUtf8(b[i].left(b[i].indexOf('=')));
    return changed;
}

void expectOtherFilesUnchanged(const std::map<std::string, QByteArray> &before, const SampleSkinCopy &skin)
{
    for (const auto &[name, bytes] : snapshot(skin)) {
        if (name != "ZqCSkin.ini") {
            EXPECT_EQ(bytes, before.at(name)) << name;
        }
    }
}

} // namespace

TEST(SkinSet, ChangesOnlyThatPicturesKeysAndReadsBackExactly)
{
    struct Case {
        const char *element;
        int x, y;
        QStringList keys;
    };
    // Positions whose fractions of 1920 x 1080 have no short decimal form.
    const Case cases[] = {
        {"登陆", 7, 1, {"log1left", "log1Top"}},        {"充值", 1001, 333, {"Fil1left", "Fil1Top"}},
        {"管理", 1919, 1079, {"Man1left", "Man1Top"}},  {"登陆激活", -13, 701, {"Log2left", "Log2Top"}},
        {"充值激活", 299, -1, {"Fil2left", "Fil2Top"}}, {"管理激活", 1470, 2000, {"Man2left", "Man2Top"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.element);
        SampleSkinCopy skin;
        const auto before = snapshot(skin);
        const Outcome run =
            zqskin({"set", skin.dir.path(), c.element, "--at", QStringLiteral("%1,%2").arg(c.x).arg(c.y)});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(changedLines(before.at("ZqCSkin.ini"), skin.bytes("ZqCSkin.ini")), c.keys);
        expectOtherFilesUnchanged(before, skin);
        const QJsonArray point =
            jsonOf(zqskin({"info", skin.dir.path(), "--json"}).out)["points"].toObject()[c.element].toArray();
        EXPECT_EQ(point, (QJsonArray{c.x, c.y}));
    }
}

TEST(SkinBox, ChangesOnlyThatBoxsKeysAndReadsBackExactly)
{
    struct Case {
        const char *caption;
        const char *rect;
        const char *section;
        int key;
    };
    const Case cases[] = {
        {"用户名", "1,2,3,4", "[PageLog]", 1},
        {"充值确定", "-5,0,0x1F,7", "[PageFil]", 4},
        {"重启", "-2147483648,2147483647,10,20", "[PageMan]", 3},
        {"关机", "300,-40,99,-1", "[PageMan]", 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.caption);
        SampleSkinCopy skin;
        const auto before = snapshot(skin);
        const Outcome run = zqskin({"box", skin.dir.path(), c.caption, "--rect", c.rect});
        if (QByteArray(c.rect).contains("0x")) {
            // Only plain decimals are taken; nothing is written.
            EXPECT_EQ(run.status, 2);
            EXPECT_EQ(snapshot(skin), before);
            continue;
        }
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QByteArray after = skin.bytes("ZqCSkin.ini");
        const QString prefix = QStringLiteral("logbox%1").arg(c.key);
        EXPECT_EQ(changedLines(before.at("ZqCSkin.ini"), after),
                  (QStringList{prefix + "left", prefix + "Top", prefix + "Width", prefix + "Height"}));
        // The keys changed are those of the right section.
        const qsizetype section = after.indexOf(c.section);
        EXPECT_GT(after.indexOf(prefix.toUtf8() + "left=", section), section);
        expectOtherFilesUnchanged(before, skin);
        QJsonArray expected;
        for (const QByteArray &part : QByteArray(c.rect).split(','))
            expected.append(part.toLongLong());
        EXPECT_EQ(
            jsonOf(zqskin({"info", skin.dir.path(), "--json"}).out)["boxes"].toObject()[c.caption].toArray(),
            expected);
    }
}

TEST(SkinSet, RefusesUnknownNamesAndALoginTabPastTheRightEdge)
{
    SampleSkinCopy skin;
    const auto before = snapshot(skin);
    const Outcome element = zqskin({"set", skin.dir.path(), "登录", "--at", "1,1"});
    EXPECT_EQ(element.status, 2);
    for (const char *name : {"登陆", "充值", "管理", "登陆激活", "充值激活", "管理激活"})
        EXPECT_TRUE(element.err.contains(name)) << name;
    const Outcome caption = zqskin({"box", skin.dir.path(), "密码", "--rect", "1,1,1,1"});
    EXPECT_EQ(caption.status, 2);
    for (const char *name : {"用户名", "登陆密码", "确定", "充值卡号", "充值卡密码", "充值金额", "充值确定",
                             "管理密码", "管理确定", "关机", "重启"})
        EXPECT_TRUE(caption.err.contains(name)) << name;
    // At the right edge the layout still opens; one pixel further it would be taken for old.
    EXPECT_EQ(zqskin({"set", skin.dir.path(), "登陆", "--at", "1921,0"}).status, 1);
    EXPECT_EQ(snapshot(skin), before);
    EXPECT_EQ(zqskin({"set", skin.dir.path(), "登陆", "--at", "1920,0"}).status, 0);
    EXPECT_EQ(zqskin({"check", skin.dir.path()}).out.contains("older client"), false);
    EXPECT_EQ(zqskin({"info", skin.dir.path(), "--json"}).out.contains("\"version_ok\": true"), true);
}
