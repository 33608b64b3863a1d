// The layout-only forms: info and resave with --size, on a layout file with no pictures beside it.

#include "support/test_files.h"
#include "zqskin_run.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using zqtest::Outcome;
using zqtest::readBytes;
using zqtest::writeBytes;
using zqtest::zqskin;

namespace {

const QByteArray sampleLayout =
    "[Normal]\r\nlog1left=0.3\r\nlog1Top=0.5\r\nFil1left=0.4\r\n"
    "[PageMan]\r\nlogbox3left=11\r\nlogbox3Top=12\r\nlogbox3Width=13\r\nlogbox3Height=14\r\n"
    "logbox4left=21\r\nlogbox4Top=22\r\nlogbox4Width=23\r\nlogbox4Height=24\r\n";

class ZqskinTest : public ::testing::Test {
protected:
    QString layout(const QByteArray &bytes = sampleLayout)
    {
        const QString path = dir.filePath("ZqCSkin.ini");
        writeBytes(path, bytes);
        return path;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(ZqskinTest, InfoJsonHasTheKeysInOrder)
{
    const QString path = layout();
    const Outcome run = zqskin({"info", path, "--size", "1000x800", "--json"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty());
    const QString text = QString::fromUtf8(run.out);
    EXPECT_TRUE(text.startsWith("{\"layout\": \"" + path +
                                "\", \"size\": [1000, 800], \"version_ok\": true, "
                                "\"points\": {\"登陆\": [299, 400], \"充值\": [400, 0], "))
        << text.toStdString();
    QStringList order = {"登陆",      "充值",     "管理",     "登陆激活", "充值激活", "管理激活",
                         "\"boxes\"", "用户名",   "登陆密码", "确定",     "充值卡号", "充值卡密码",
                         "充值金额",  "充值确定", "管理密码", "管理确定", "关机",     "重启"};
    qsizetype at = 0;
    for (const QString &key : order) {
        const qsizetype next = text.indexOf(key, at);
        EXPECT_GE(next, at) << key.toStdString();
        at = std::max(at, next);
    }
    // Beside a layout alone there are no pictures to describe.
    EXPECT_TRUE(
        text.endsWith(", \"background\": null, \"pictures\": {\"zqLOG.bmp\": null, \"zqFIL.bmp\": null, "
                      "\"zqMAN.bmp\": null, \"zqLOGed.bmp\": null, \"zqFILed.bmp\": null, "
                      "\"zqMANed.bmp\": null}}\n"))
        << text.toStdString();

    const QJsonObject json = QJsonDocument::fromJson(run.out).object();
    const QJsonObject boxes = json["boxes"].toObject();
    EXPECT_EQ(boxes.size(), 11);
    EXPECT_EQ(boxes["重启"].toArray(), (QJsonArray{11, 12, 13, 14}));
    EXPECT_EQ(boxes["关机"].toArray(), (QJsonArray{21, 22, 23, 24}));
    EXPECT_EQ(boxes["用户名"].toArray(), (QJsonArray{0, 0, 0, 0}));
    EXPECT_EQ(json["points"].toObject().size(), 6);
}

TEST_F(ZqskinTest, InfoTableShowsTheSameValues)
{
    const Outcome run = zqskin({"info", layout(), "--size", "1000x800"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QString text = QString::fromUtf8(run.out);
    EXPECT_TRUE(text.contains(QRegularExpression("\\b299 +400 +\\(no file\\) +登陆  zqLOG.bmp\\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("\\b21 +22 +23 +24 +关机"))) << text.toStdString();
    EXPECT_TRUE(text.contains("1000 x 800"));
}

TEST_F(ZqskinTest, InfoReportsAnOlderLayout)
{
    const Outcome run = zqskin({"info", layout("[Normal]\nlog1left=300\n"), "--size", "1000x800", "--json"});
    ASSERT_EQ(run.status, 0);
    EXPECT_FALSE(QJsonDocument::fromJson(run.out).object()["version_ok"].toBool(true));
}

TEST_F(ZqskinTest, ResaveKeepsEveryPositionAndTheFilesOtherLines)
{
    const QString path = layout("; hand-made\r\n" + sampleLayout + "[Own]\r\nx=1\r\n");
    const Outcome before = zqskin({"info", path, "--size=1000x800", "--json"});
    const Outcome resave = zqskin({"resave", path, "--size", "1000x800"});
    ASSERT_EQ(resave.status, 0) << resave.err.toStdString();
    EXPECT_TRUE(resave.out.isEmpty());
    const QByteArray saved = readBytes(path);
    EXPECT_TRUE(saved.startsWith(
        "; hand-made\r\n[Normal]\r\nlog1left=0.299000000000001\r\nlog1Top=0.5\r\nFil1left=0.4\r\n"))
        << saved.toStdString();
    EXPECT_TRUE(saved.contains("[Own]\r\nx=1\r\n"));
    EXPECT_TRUE(saved.contains("[PageMan]\r\nlogbox3left=11\r\n"));
    EXPECT_EQ(saved.count("\n"), saved.count("\r\n"));
    const Outcome after = zqskin({"info", path, "--size", "1000x800", "--json"});
    EXPECT_EQ(after.out, before.out);
    // Once resaved, the file is in its settled form.
    ASSERT_EQ(zqskin({"resave", path, "--size", "1000x800"}).status, 0);
    EXPECT_EQ(readBytes(path), saved);
}

TEST_F(ZqskinTest, ResaveRefusesAnOlderLayout)
{
    const QByteArray old = "[Normal]\nlog1left=300\n";
    const QString path = layout(old);
    const Outcome run = zqskin({"resave", path, "--size", "1000x800"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(QString::fromUtf8(run.err).trimmed(),
              path + ": 你的Zenqa客户端版本过低，只能使用第五版软件，或升级你的Zenqa客户端。");
    EXPECT_EQ(readBytes(path), old);
}

TEST_F(ZqskinTest, FailuresAreReportedInTheSystemsWords)
{
    const QString missing = dir.filePath("none.ini");
    Outcome run = zqskin({"info", missing, "--size", "10x10"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.startsWith("Cannot open file \"" + missing.toUtf8() + "\". "))
        << run.err.toStdString();

    // The layout's folder holds a folder of the layout's name: the write cannot replace it.
    const QString folder = dir.filePath("skin.ini");
    ASSERT_TRUE(QDir().mkdir(folder));
    run = zqskin({"resave", folder, "--size", "10x10"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(QFileInfo(folder).isDir());
}
