// Kills zqskin with SIGKILL while it saves a 4K skin, at moments spread over the whole save,
// and checks that no file of the skin is ever torn, that the skin is all old or all new (a
// kill between two of the save's last steps may leave one mixed skin in a hundred), and that
// the next save leaves no temporary file behind.
//
// ZQ_KILLS sets the number of kills in all (default 20), shared among the verbs.

#include "engine/skin/skin_fixture.h"
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

QProcessEnvironment environment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    return environment;
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
    int kills = 0, torn = 0, leftByKill = 0, leftBySave = 0;
    int allOld = 0, mixed = 0, allNew = 0; // what each kill left
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

            // The next save of the same skin clears what the killed one left.
            const Outcome next = zqskin(verb.arguments);
            EXPECT_EQ(next.status, 0) << next.err.toStdString();
            const QStringList stray = strayFiles(folder, inputs);
            leftBySave += int(stray.size());
            EXPECT_TRUE(stray.isEmpty()) << stray.join(u' ').toStdString();
        }
    }
    std::printf("%d kills: %d left the old skin, %d the new one, %d a mixed skin; %d torn files; "
                "%d temporary files left by the kills, %d after the next save\n",
                kills, allOld, allNew, mixed, torn, leftByKill, leftBySave);
    EXPECT_EQ(kills, total);
    EXPECT_LE(mixed, (total + 99) / 100);
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(leftBySave, 0);
}
