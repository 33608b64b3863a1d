// Kills zqskin with SIGKILL while it saves a 4K skin, at moments spread over the whole save,
// and checks that no file of the skin is ever torn, that after the next open (zqskin info)
// the skin is all old or all new with nothing of the killed save left, and that the next
// save leaves no temporary file behind. Then stops a save at each of its steps in turn
// (ZQ_SAVE_STOP_AT) and checks the same after the next open.
//
// ZQ_KILLS sets the number of kills in all (default 20), shared among the verbs.

#include "engine/skin/skin_fixture.h"
#include "platform/save_step_stop.h"
#include "zqskin_run.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <map>
#include <string>
#include <thread>

using namespace zqtest;

namespace {

using Files = std::map<std::string, QByteArray>;

Files snapshot(const QString &folder)
{
    Files files;
    for (const char *name : sampleFiles)
        files[name] = readBytes(QDir(folder).filePath(QString::fromLatin1(name)));
    return files;
}

void restore(const QString &folder, const Files &files)
{
    for (const auto &[name, bytes] : files)
        writeBytes(QDir(folder).filePath(QString::fromStdString(name)), bytes);
}

// Everything in the folder that is neither a skin file nor one of the verb's own inputs.
QStringList strayFiles(const QString &folder, const QSet<QString> &inputs)
{
    QStringList stray;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        bool known = inputs.contains(name);
        for (const char *file : sampleFiles)
            known = known || name == QLatin1String(file);
        if (!known)
            stray << name;
    }
    return stray;
}

// A 3840 x 2160 picture with enough detail to take the encoder some time.
QImage fourK(int seed)
{
    QImage image(3840, 2160, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb((x * 255 / 3839 + seed) & 255, (y * 255 / 2159) & 255, ((x ^ y) + seed * 7) & 255);
    }
    return image;
}

struct Verb {
    const char *name;
    QStringList arguments; // after "zqskin", with the skin folder first
};

QProcessEnvironment environment(const QString &stopAt = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    if (!stopAt.isEmpty())
        environment.insert(QStringLiteral("ZQ_SAVE_STOP_AT"), stopAt);
    return environment;
}

// Runs zqskin, stopped at a save step when one is named.
Outcome zqskinStoppedAt(const QString &stopAt, const QStringList &arguments)
{
    QProcess process;
    process.setProcessEnvironment(environment(stopAt));
    process.start(QStringLiteral(ZQSKIN_PATH), arguments);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

int killsWanted()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("ZQ_KILLS", &ok);
    return ok && n > 0 ? n : 20;
}

} // namespace

TEST(KilledSave, LeavesTheOldSkinOrTheNewOneWholeAndTheNextSaveLeavesNoTemporaryFile)
{
    SampleSkinCopy skin;
    const QString folder = skin.dir.path();
    skin.writePicture(QStringLiteral("zqLOCKPIC.jpg"), fourK(0), 90);
    QImage tab(300, 120, QImage::Format_ARGB32);
    tab.fill(qRgba(30, 200, 90, 140));
    const QString png = skin.writePicture(QStringLiteral("tab.png"), tab);
    const QString jpeg = skin.writePicture(QStringLiteral("other.jpg"), fourK(99), 90);
    const QSet<QString> inputs{QStringLiteral("tab.png"), QStringLiteral("other.jpg")};
    SampleSkinCopy::writeUnlikeASave(folder);
    const Files old = snapshot(folder);

    const Verb verbs[] = {
        {"resave", {QStringLiteral("resave"), folder}},
        {"flatten",
         {QStringLiteral("flatten"), folder, QStringLiteral("充值"), png, QStringLiteral("--at"),
          QStringLiteral("300,270")}},
        {"background", {QStringLiteral("background"), folder, jpeg}},
    };
    const int total = killsWanted();
    int kills = 0, torn = 0, leftByKill = 0, leftByOpen = 0, leftBySave = 0;
    int allOld = 0, mixed = 0, allNew = 0; // what each kill left
    int mixedAfterOpen = 0;                // what the next open left
    for (size_t v = 0; v < std::size(verbs); ++v) {
        const Verb &verb = verbs[v];
        SCOPED_TRACE(verb.name);
        // The new content, from one run left to finish; how long a run takes, and when its
        // saving begins (its first temporary file appears): most of a run is reading.
        restore(folder, old);
        QProcess calibration;
        calibration.setProcessEnvironment(environment());
        QElapsedTimer clock;
        clock.start();
        calibration.start(QStringLiteral(ZQSKIN_PATH), verb.arguments);
        qint64 saveMs = -1, savedMs = -1;
        while (!calibration.waitForFinished(2)) {
            if (strayFiles(folder, inputs).isEmpty())
                continue;
            savedMs = clock.elapsed();
            if (saveMs < 0)
                saveMs = savedMs;
        }
        const qint64 runMs = clock.elapsed();
        ASSERT_EQ(calibration.exitCode(), 0) << calibration.readAllStandardError().toStdString();
        if (saveMs < 0)
            saveMs = savedMs = runMs / 2;
        const Files fresh = snapshot(folder);
        for (const auto &[name, bytes] : fresh)
            ASSERT_NE(bytes, old.at(name)) << name << " is the same old and new: a mixed skin would not show";

        const int share = total / int(std::size(verbs)) + (int(v) < total % int(std::size(verbs)) ? 1 : 0);
        for (int k = 0; k < share; ++k) {
            restore(folder, old);
            // Half the kills spread over the whole run, a little past its end for the last ones;
            // half over its saving.
            const bool whileSaving = k % 2 == 1;
            const int count = whileSaving ? share / 2 : share - share / 2;
            const double from = whileSaving ? double(saveMs) * 0.95 : 0.0;
            const double to = whileSaving ? double(savedMs) * 1.05 + 5 : double(runMs) * 1.05;
            const double step = (to - from) / count;
            const auto delay = std::chrono::microseconds(qint64(1000.0 * (from + step * (k / 2 + 0.5))));
            QProcess process;
            process.setProcessEnvironment(environment());
            process.start(QStringLiteral(ZQSKIN_PATH), verb.arguments);
            ASSERT_TRUE(process.waitForStarted());
            std::this_thread::sleep_for(delay);
            process.kill();
            process.waitForFinished();
            ++kills;
            const Files after = snapshot(folder);
            allOld += after == old;
            allNew += after == fresh;
            mixed += after != old && after != fresh;
            for (const auto &[name, bytes] : after) {
                if (bytes != old.at(name) && bytes != fresh.at(name)) {
                    ++torn;
                    ADD_FAILURE() << name << " is neither old nor new after a kill at "
                                  << std::chrono::duration_cast<std::chrono::milliseconds>(delay).count()
                                  << " ms";
                }
            }
            leftByKill += int(strayFiles(folder, inputs).size());

            // The next open finishes or undoes the killed save.
            const Outcome open = zqskin({QStringLiteral("info"), folder});
            EXPECT_EQ(open.status, 0) << open.err.toStdString();
            const Files opened = snapshot(folder);
            if (opened != old && opened != fresh) {
                ++mixedAfterOpen;
                ADD_FAILURE() << "a mixed skin after the open; the kill came at "
                              << std::chrono::duration_cast<std::chrono::milliseconds>(delay).count()
                              << " ms";
            }
            const QStringList leftOpen = strayFiles(folder, inputs);
            leftByOpen += int(leftOpen.size());
            EXPECT_TRUE(leftOpen.isEmpty()) << leftOpen.join(u' ').toStdString();

            // The next save of the same skin clears what the killed one left.
            const Outcome next = zqskin(verb.arguments);
            EXPECT_EQ(next.status, 0) << next.err.toStdString();
            const QStringList stray = strayFiles(folder, inputs);
            leftBySave += int(stray.size());
            EXPECT_TRUE(stray.isEmpty()) << stray.join(u' ').toStdString();
        }
    }
    std::printf("%d kills: %d left the old skin, %d the new one, %d a mixed skin; %d torn files; "
                "%d temporary files left by the kills; after the next open %d mixed skins and %d files "
                "left; %d after the next save\n",
                kills, allOld, allNew, mixed, torn, leftByKill, mixedAfterOpen, leftByOpen, leftBySave);
    EXPECT_EQ(kills, total);
    EXPECT_EQ(mixedAfterOpen, 0);
    EXPECT_EQ(leftByOpen, 0);
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(leftBySave, 0);
}

// A save stopped at each of its steps in turn, as a kill there would stop it: up to the
// journal the next open undoes it, from the journal on it finishes it; either way the skin is
// whole and nothing of the save is left. An open stopped while it finishes one is run again.
TEST(StoppedSave, AtEveryStepTheNextOpenLeavesTheOldSkinOrTheNewOneWholeAndNothingElse)
{
    SampleSkinCopy skin;
    const QString folder = skin.dir.path();
    SampleSkinCopy::writeUnlikeASave(folder);
    const Files old = snapshot(folder);
    const QStringList resave{QStringLiteral("resave"), folder};
    const QStringList info{QStringLiteral("info"), folder};
    const Outcome saved = zqskin(resave);
    ASSERT_EQ(saved.status, 0) << saved.err.toStdString();
    const Files fresh = snapshot(folder);
    for (const auto &[name, bytes] : fresh)
        ASSERT_NE(bytes, old.at(name)) << name << " is the same old and new: a mixed skin would not show";
    const int files = int(fresh.size());

    struct Step {
        QString name;
        bool committed; // whether the save had passed its commit point there
    };
    std::vector<Step> steps;
    for (int k = 1; k <= files; ++k)
        steps.push_back({QStringLiteral("written-%1").arg(k), false});
    steps.push_back({QStringLiteral("flushed"), true});
    steps.push_back({QStringLiteral("journal"), true});
    for (int k = 1; k <= files; ++k)
        steps.push_back({QStringLiteral("rename-%1").arg(k), true});
    steps.push_back({QStringLiteral("folder-flushed"), true});

    for (const Step &step : steps) {
        SCOPED_TRACE(step.name.toStdString());
        restore(folder, old);
        const Outcome stopped = zqskinStoppedAt(step.name, resave);
        ASSERT_EQ(stopped.status, zq::platform::saveStepStopStatus) << stopped.err.toStdString();
        EXPECT_FALSE(strayFiles(folder, {}).isEmpty()) << "the stopped save left nothing to mend";

        const Outcome opened = zqskin(info);
        ASSERT_EQ(opened.status, 0) << opened.err.toStdString();
        EXPECT_TRUE(opened.err.contains(step.committed ? "was finished" : "was undone"))
            << opened.err.toStdString();
        EXPECT_EQ(opened.err.count('\n'), 1) << opened.err.toStdString();
        EXPECT_TRUE(snapshot(folder) == (step.committed ? fresh : old));
        EXPECT_EQ(strayFiles(folder, {}), QStringList());
        const Outcome again = zqskin(info);
        EXPECT_TRUE(again.err.isEmpty()) << again.err.toStdString();
    }

    // The open that finishes a save stopped after its third move is itself stopped after it
    // moved the sixth file; the open after it finishes the rest.
    restore(folder, old);
    ASSERT_EQ(zqskinStoppedAt(QStringLiteral("rename-3"), resave).status, zq::platform::saveStepStopStatus);
    ASSERT_EQ(zqskinStoppedAt(QStringLiteral("finishing-6"), info).status, zq::platform::saveStepStopStatus);
    const Outcome opened = zqskin(info);
    ASSERT_EQ(opened.status, 0) << opened.err.toStdString();
    EXPECT_TRUE(opened.err.contains("was finished")) << opened.err.toStdString();
    EXPECT_TRUE(snapshot(folder) == fresh);
    EXPECT_EQ(strayFiles(folder, {}), QStringList());

    // zqskin new --force saves its eight files the same way.
    const QStringList renew{QStringLiteral("new"), folder, QStringLiteral("--force"),
                            QStringLiteral("--size"), QStringLiteral("800x600")};
    restore(folder, old);
    ASSERT_EQ(zqskin(renew).status, 0);
    const Files made = snapshot(folder);
    for (const QString &stop : {QStringLiteral("written-4"), QStringLiteral("rename-4")}) {
        SCOPED_TRACE(stop.toStdString());
        restore(folder, old);
        ASSERT_EQ(zqskinStoppedAt(stop, renew).status, zq::platform::saveStepStopStatus);
        ASSERT_EQ(zqskin(info).status, 0);
        EXPECT_TRUE(snapshot(folder) == (stop.startsWith(u"rename") ? made : old));
        EXPECT_EQ(strayFiles(folder, {}), QStringList());
    }
}
