// info, check and render over several skins: one report per skin in the order given, whatever
// the number of threads, the same as each skin alone, and exit 1 when any failed.

#include "skin_files.h"
#include "zqskin_run.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zqtest;

TEST(ManySkins, ReportsInTheOrderGivenAsEachSkinAlone)
{
    QTemporaryDir home;
    QStringList skins;
    for (const char *name : {"autumn", "winter", "spring"}) {
        skins << home.filePath(name);
        ASSERT_EQ(zqskin({"new", skins.back(), "--size", name == QString("winter") ? "1024x768" : "800x600"})
                      .status,
                  0);
    }
    // The third has lost its login page.
    ASSERT_TRUE(QFile::remove(QDir(skins[2]).filePath("zqLOGed.bmp")));
    const QStringList withMissing = skins + QStringList{home.filePath("none")};

    for (const char *jobs : {"1", "2", "3"}) {
        SCOPED_TRACE(jobs);
        const Outcome check = zqskin(QStringList{"check", "--json", "--jobs", jobs} + withMissing);
        EXPECT_EQ(check.status, 1);
        const QList<QByteArray> lines = check.out.trimmed().split('\n');
        ASSERT_EQ(lines.size(), withMissing.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const Outcome alone = zqskin({"check", "--json", withMissing[i]});
            EXPECT_EQ(lines[i] + '\n', alone.out) << i;
            EXPECT_EQ(jsonOf(lines[i])["ok"].toBool(), i < 2) << i;
        }

        const Outcome info = zqskin(QStringList{"info", "--json", "--jobs", jobs} + withMissing);
        EXPECT_EQ(info.status, 1);
        const QList<QByteArray> facts = info.out.trimmed().split('\n');
        ASSERT_EQ(facts.size(), withMissing.size());
        for (qsizetype i = 0; i < 2; ++i)
            EXPECT_EQ(facts[i] + '\n', zqskin({"info", "--json", skins[i]}).out) << i;
        EXPECT_TRUE(jsonOf(facts[2])["error"].toString().contains("zqLOGed.bmp"));
        EXPECT_TRUE(jsonOf(facts[3]).contains("error"));
    }

    const QString out = home.filePath("out");
    ASSERT_TRUE(QDir().mkpath(out));
    const Outcome render =
        zqskin(QStringList{"render", "--out-dir", out, "--tab", "充值", "--scale", "0.5"} + skins);
    EXPECT_EQ(render.status, 1);
    for (qsizetype i = 0; i < 2; ++i) {
        const QString alone = home.filePath("alone.png");
        ASSERT_EQ(zqskin({"render", skins[i], alone, "--tab", "充值", "--scale", "0.5"}).status, 0);
        EXPECT_EQ(readBytes(QDir(out).filePath(QFileInfo(skins[i]).fileName() + ".png")), readBytes(alone))
            << i;
    }
    // The third's render needed its missing page, so nothing is written for it.
    EXPECT_FALSE(QFileInfo::exists(QDir(out).filePath("spring.png")));
    EXPECT_TRUE(render.err.contains("zqLOGed.bmp")) << render.err.toStdString();
}
