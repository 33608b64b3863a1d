// A save stopped at any point is finished or undone by the next open: the journal's states
// and what each leaves.

#include "errors/engine_error.h"
#include "files/file_set_writer.h"
#include "files/interrupted_save.h"
#include "files/save_journal.h"
#include "support/test_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>

using zq::InterruptedSave;
using zq::JournalEntry;

namespace {

const QStringList names{"layout.ini", "one.bmp", "two.jpg"};

// A folder with the old files and a save of new ones stopped after it wrote its temporary
// files and second names, before any journal and any move.
struct StoppedSave {
    QTemporaryDir dir;
    std::map<QString, QByteArray> oldBytes, newBytes;
    std::vector<JournalEntry> entries;

    StoppedSave()
    {
        for (int i = 0; i < names.size(); ++i) {
            const QString name = names[i];
            oldBytes[name] = "old " + name.toUtf8() + QByteArray(100 * i, 'o');
            newBytes[name] = "new bytes of " + name.toUtf8() + QByteArray(300 * i, 'n');
            zqtest::writeBytes(path(name), oldBytes[name]);
            const QString temporary = zq::temporaryPrefixFor(name) + QString::number(100000 + i);
            zqtest::writeBytes(path(temporary), newBytes[name]);
            if (i + 1 < names.size()) // as the save does, every old file but the last
                zqtest::writeBytes(path(temporary + "-old"), oldBytes[name]);
            entries.push_back({name, temporary, newBytes[name].size(), zq::journalChecksum(newBytes[name])});
        }
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    QString journalPath() const { return path(zq::journalNameFor(names.first())); }
    void writeJournal(const QByteArray &text) const { zqtest::writeBytes(journalPath(), text); }
    // The save's first `count` moves.
    void move(int count) const
    {
        for (int i = 0; i < count; ++i) {
            QFile::remove(path(names[i]));
            ASSERT_TRUE(QFile::rename(path(entries[size_t(i)].temporary), path(names[i])));
        }
    }
    bool holds(const std::map<QString, QByteArray> &bytes) const
    {
        for (const QString &name : names)
            if (zqtest::readBytes(path(name)) != bytes.at(name))
                return false;
        return true;
    }
    QStringList filesThere() const
    {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
};

struct Case {
    const char *what;
    std::function<void(StoppedSave &)> stop;
    InterruptedSave::Outcome outcome;
};

QByteArray whole(const StoppedSave &save)
{
    return zq::journalText(save.entries);
}

const Case cases[] = {
    {"no journal, nothing left behind",
     [](StoppedSave &save) {
         for (const QString &name : save.filesThere())
             if (!names.contains(name))
                 QFile::remove(save.path(name));
     },
     InterruptedSave::Outcome::None},
    {"no journal: stopped before it committed", [](StoppedSave &) {}, InterruptedSave::Outcome::Undone},
    {"a whole journal, every temporary file there", [](StoppedSave &save) { save.writeJournal(whole(save)); },
     InterruptedSave::Outcome::Finished},
    {"a whole journal, two files already moved",
     [](StoppedSave &save) {
         save.writeJournal(whole(save));
         save.move(2);
     },
     InterruptedSave::Outcome::Finished},
    {"a whole journal, every file moved",
     [](StoppedSave &save) {
         save.writeJournal(whole(save));
         save.move(3);
     },
     InterruptedSave::Outcome::Finished},
    {"a journal cut short", [](StoppedSave &save) { save.writeJournal(whole(save).chopped(12)); },
     InterruptedSave::Outcome::Undone},
    {"a journal cut after its first line",
     [](StoppedSave &save) { save.writeJournal(whole(save).left(whole(save).indexOf('\n') + 1)); },
     InterruptedSave::Outcome::Undone},
    {"an empty journal", [](StoppedSave &save) { save.writeJournal({}); }, InterruptedSave::Outcome::Undone},
    {"a journal whose own checksum is wrong",
     [](StoppedSave &save) {
         QByteArray text = whole(save);
         text[text.indexOf("one.bmp")] = 'O';
         save.writeJournal(text);
     },
     InterruptedSave::Outcome::Undone},
    {"a temporary file missing",
     [](StoppedSave &save) {
         save.writeJournal(whole(save));
         QFile::remove(save.path(save.entries[1].temporary));
     },
     InterruptedSave::Outcome::Undone},
    {"a temporary file with the wrong checksum",
     [](StoppedSave &save) {
         save.writeJournal(whole(save));
         QByteArray bytes = save.newBytes.at(names[2]);
         bytes[5] = '!';
         zqtest::writeBytes(save.path(save.entries[2].temporary), bytes);
     },
     InterruptedSave::Outcome::Undone},
    {"a temporary file cut short",
     [](StoppedSave &save) {
         save.writeJournal(whole(save));
         zqtest::writeBytes(save.path(save.entries[2].temporary), save.newBytes.at(names[2]).chopped(1));
     },
     InterruptedSave::Outcome::Undone},
    {"one file moved, the next one's temporary file missing: the moved one goes back",
     [](StoppedSave &save) {
         save.writeJournal(whole(save));
         save.move(1);
         QFile::remove(save.path(save.entries[1].temporary));
     },
     InterruptedSave::Outcome::Undone},
    {"a journal naming a file it was not asked about",
     [](StoppedSave &save) {
         std::vector<JournalEntry> entries = save.entries;
         entries[0].target = "../elsewhere.ini";
         save.writeJournal(zq::journalText(entries));
     },
     InterruptedSave::Outcome::Undone},
};

} // namespace

TEST(InterruptedSave, EachStateIsFinishedOrUndoneAndNothingIsLeftBehind)
{
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        StoppedSave save;
        c.stop(save);
        const InterruptedSave done = zq::finishInterruptedSave(save.dir.path(), names);
        EXPECT_EQ(done.outcome, c.outcome);
        EXPECT_EQ(done.note.isEmpty(), c.outcome == InterruptedSave::Outcome::None);
        EXPECT_FALSE(done.note.contains(u'\n'));
        if (!done.note.isEmpty()) {
            EXPECT_TRUE(done.note.contains(QDir::toNativeSeparators(QDir(save.dir.path()).absolutePath())))
                << done.note.toStdString();
        }
        EXPECT_TRUE(c.outcome == InterruptedSave::Outcome::Finished ? save.holds(save.newBytes)
                                                                    : save.holds(save.oldBytes));
        EXPECT_EQ(save.filesThere(), QStringList({"layout.ini", "one.bmp", "two.jpg"}));
        // Run again, as after a kill during the first run: nothing more to do.
        EXPECT_EQ(zq::finishInterruptedSave(save.dir.path(), names).outcome, InterruptedSave::Outcome::None);
    }
}

TEST(InterruptedSave, AFolderThatCannotBeWrittenKeepsTheJournalAndSaysTheSaveNeedsFinishing)
{
    StoppedSave save;
    save.writeJournal(whole(save));
    // A folder where the last file should go: its move is refused, as in a folder that
    // cannot be written.
    QFile::remove(save.path(names[2]));
    ASSERT_TRUE(QDir(save.dir.path()).mkdir(names[2]));
    QDir(save.path(names[2])).mkdir("inside");
    try {
        zq::finishInterruptedSave(save.dir.path(), names);
        ADD_FAILURE() << "finished in a folder that refuses it";
    } catch (const zq::EngineError &e) {
        EXPECT_TRUE(e.message().contains("needs finishing")) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(save.dir.path())))
            << e.message().toStdString();
    }
    EXPECT_TRUE(QFile::exists(save.journalPath()));
    // Once the way is clear, the next open finishes it.
    ASSERT_TRUE(QDir(save.path(names[2])).removeRecursively());
    EXPECT_EQ(zq::finishInterruptedSave(save.dir.path(), names).outcome, InterruptedSave::Outcome::Finished);
    EXPECT_TRUE(save.holds(save.newBytes));
}

TEST(InterruptedSave, ASetSavedWholeLeavesNoJournalAndOldBytesSetAsideKeepANameNoSaveRemoves)
{
    StoppedSave save;
    for (const QString &name : save.filesThere())
        if (!names.contains(name))
            QFile::remove(save.path(name));
    zq::FileSetWriter writer;
    for (const QString &name : names)
        ASSERT_TRUE(writer.add(save.path(name), save.newBytes.at(name)).ok);
    ASSERT_TRUE(writer.commit().ok);
    EXPECT_TRUE(save.holds(save.newBytes));
    EXPECT_EQ(save.filesThere(), QStringList({"layout.ini", "one.bmp", "two.jpg"}));

    const QString second = save.path(zq::temporaryPrefixFor(names[0]) + "123456-old");
    zqtest::writeBytes(second, "the old layout");
    const QString kept = zq::FileSetWriter::setAside(second, save.path(names[0]));
    EXPECT_FALSE(QFileInfo(kept).fileName().startsWith(zq::temporaryPrefixFor(names[0])));
    EXPECT_EQ(zqtest::readBytes(kept), "the old layout");
    EXPECT_FALSE(QFile::exists(second));
    zq::finishInterruptedSave(save.dir.path(), names);
    EXPECT_TRUE(QFile::exists(kept));
}
