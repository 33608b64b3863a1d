// zqskin --help and VERB --help: every verb the usage lists explains itself, and asking for
// help never runs the verb.

#include "zqskin_run.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using zqtest::Outcome;
using zqtest::zqskin;

namespace {

// The usage lines of zqskin --help, "zqskin VERB ..." without the "usage:" lead.
QStringList usageLines()
{
    const Outcome help = zqskin({"--help"});
    EXPECT_EQ(help.status, 0);
    QStringList lines;
    static const QRegularExpression usage(QStringLiteral("^(?:usage:)? *(zqskin [a-z]+ .*)$"));
    for (const QString &line : QString::fromUtf8(help.out).split(u'\n')) {
        const QRegularExpressionMatch match = usage.match(line);
        if (match.hasMatch() && !line.contains(u"--help") && !line.contains(u"--version"))
            lines.append(match.captured(1));
    }
    return lines;
}

TEST(ZqskinHelp, everyVerbExplainsItselfUnderItsOwnUsage)
{
    const QStringList lines = usageLines();
    ASSERT_GE(lines.size(), 5);
    for (const QString &line : lines) {
        const QString verb = line.section(u' ', 1, 1);
        for (const QStringList &arguments : {QStringList{verb, "--help"}, QStringList{"-h", verb}}) {
            const Outcome help = zqskin(arguments);
            EXPECT_EQ(help.status, 0) << verb.toStdString();
            QStringList text = QString::fromUtf8(help.out).split(u'\n');
            ASSERT_FALSE(text.isEmpty());
            EXPECT_EQ(text.takeFirst(), QStringLiteral("usage: ") + line);
            // Besides the usage and the words every verb shares, a paragraph of its own.
            text.removeIf([](const QString &l) { return l.startsWith(u"SKIN is "); });
            EXPECT_FALSE(text.join(QString()).trimmed().isEmpty())
                << verb.toStdString() << " has no description";
            EXPECT_TRUE(help.err.isEmpty());
        }
    }
}

TEST(ZqskinHelp, helpWithOperandsNeverRunsTheVerb)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("no-skin");
    // Run for real, each of these fails with status 1 on the missing skin.
    for (const QStringList &arguments : {
             QStringList{"info", missing, "--help"},
             QStringList{"resave", missing, "--help"},
             QStringList{"flatten", missing, "登陆", dir.filePath("no.png"), "--at", "1,2", "--help"},
             QStringList{"background", missing, dir.filePath("no.jpg"), "--help"},
         }) {
        const Outcome help = zqskin(arguments);
        EXPECT_EQ(help.status, 0) << arguments.join(' ').toStdString();
        EXPECT_TRUE(help.out.startsWith("usage: zqskin " + arguments[0].toUtf8() + " SKIN"));
        EXPECT_FALSE(QFileInfo::exists(missing));
    }
}

TEST(ZqskinHelp, helpForAnUnknownVerbIsAUsageError)
{
    const Outcome help = zqskin({"frobnicate", "--help"});
    EXPECT_EQ(help.status, 2);
    EXPECT_TRUE(help.out.isEmpty());
    EXPECT_TRUE(help.err.startsWith("zqskin: unknown command frobnicate\n"));
}

TEST(ZqskinHelp, versionIsOneLineAndRunsNothing)
{
    const Outcome version = zqskin({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^zqskin [0-9]+\\.[0-9]+(\\.[0-9]+)*\n$"))
                    .match(QString::fromUtf8(version.out))
                    .hasMatch())
        << version.out.toStdString();
    EXPECT_EQ(zqskin({"resave", "no-such-skin", "--version"}).status, 0);
}

} // namespace
