#include "files/interrupted_save.h"

#include "errors/engine_error.h"
#include "files/file_set_writer.h"
#include "files/safe_file.h"
#include "files/save_journal.h"
#include "platform/file_replace.h"
#include "platform/save_step_stop.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <vector>

namespace zq {

namespace {

// The largest journal read: a few lines per file.
constexpr qint64 maxJournalBytes = 64 * 1024;

bool isThere(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool holds(const QString &path, qint64 size, std::uint32_t checksum)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() != size)
        return false;
    QByteArray bytes;
    QString reason;
    return readWholeFile(path, bytes, reason) && journalChecksum(bytes) == checksum;
}

EngineError cannotFinish(const QString &folder, const QString &reason)
{
    return EngineError(QStringLiteral("An interrupted save in %1 needs finishing, but the folder cannot "
                                      "be written (%2); the skin is not opened until it can be")
                           .arg(QDir::toNativeSeparators(folder), reason));
}

// Removes every temporary file and second name of the files; true if there was any.
bool removeLeftovers(const QDir &dir, const QStringList &fileNames)
{
    bool removed = false;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const bool leftover = std::any_of(fileNames.begin(), fileNames.end(), [&name](const QString &file) {
            return name.startsWith(temporaryPrefixFor(file));
        });
        if (leftover && QFile::remove(dir.filePath(name)))
            removed = true;
    }
    return removed;
}

// A journal is only followed for the files it was asked about, and for temporary files
// that are theirs.
bool fits(const std::vector<JournalEntry> &entries, const QStringList &fileNames)
{
    return std::all_of(entries.begin(), entries.end(), [&fileNames](const JournalEntry &entry) {
        return fileNames.contains(entry.target) &&
               entry.temporary.startsWith(temporaryPrefixFor(entry.target)) &&
               !entry.temporary.contains(u'/') && !entry.temporary.contains(u'\\');
    });
}

enum class EntryState { Waiting, InPlace, Lost };

EntryState stateOf(const QDir &dir, const JournalEntry &entry)
{
    if (holds(dir.filePath(entry.temporary), entry.size, entry.checksum))
        return EntryState::Waiting;
    if (holds(dir.filePath(entry.target), entry.size, entry.checksum))
        return EntryState::InPlace;
    return EntryState::Lost;
}

void move(const QString &folder, const QString &from, const QString &to)
{
    QString reason;
    if (!platform::moveOver(platform::NativePath(from), platform::NativePath(to), reason))
        throw cannotFinish(folder, reason);
}

void rollForward(const QDir &dir, const std::vector<JournalEntry> &entries,
                 const std::vector<EntryState> &states)
{
    for (size_t i = 0; i < entries.size(); ++i) {
        if (states[i] != EntryState::Waiting)
            continue;
        move(dir.path(), dir.filePath(entries[i].temporary), dir.filePath(entries[i].target));
        platform::stopAtSaveStepIfAsked(QStringLiteral("finishing-%1").arg(i + 1));
    }
}

// Puts back the old file of every file the save had already replaced: from its second name,
// or, where it had none, there was no file before.
void rollBack(const QDir &dir, const std::vector<JournalEntry> &entries,
              const std::vector<EntryState> &states)
{
    for (size_t i = 0; i < entries.size(); ++i) {
        if (states[i] != EntryState::InPlace)
            continue;
        const QString target = dir.filePath(entries[i].target);
        const QString secondName = dir.filePath(entries[i].temporary + QStringLiteral("-old"));
        if (isThere(secondName)) {
            move(dir.path(), secondName, target);
        } else {
            QFile file(target);
            if (!file.remove())
                throw cannotFinish(dir.path(), file.errorString());
        }
    }
}

} // namespace

InterruptedSave finishInterruptedSave(const QString &folder, const QStringList &fileNames)
{
    const QDir dir(folder);
    if (fileNames.isEmpty() || !dir.exists())
        return {};
    const QString shownFolder = QDir::toNativeSeparators(QDir::cleanPath(dir.absolutePath()));
    const QString undone =
        QStringLiteral("An interrupted save in %1 was undone: the files stand as they were before it")
            .arg(shownFolder);
    const QString journalPath = dir.filePath(journalNameFor(fileNames.first()));
    if (!isThere(journalPath)) {
        if (!removeLeftovers(dir, fileNames))
            return {};
        return {InterruptedSave::Outcome::Undone, undone};
    }

    QByteArray text;
    QString reason;
    if (!readWholeFile(journalPath, text, reason, maxJournalBytes)) {
        const QFileInfo info(journalPath);
        if (info.isFile() && info.size() <= maxJournalBytes)
            throw cannotFinish(folder, reason);
        text.clear(); // not a journal of ours: as good as torn
    }
    std::optional<std::vector<JournalEntry>> entries = readJournalText(text);
    if (entries && !fits(*entries, fileNames))
        entries.reset();
    std::vector<EntryState> states;
    if (entries)
        for (const JournalEntry &entry : *entries)
            states.push_back(stateOf(dir, entry));
    // With the last file in place every move was made: a file that changed since does not
    // make the save undone.
    const bool finish = entries && (states.back() == EntryState::InPlace ||
                                    std::none_of(states.begin(), states.end(),
                                                 [](EntryState state) { return state == EntryState::Lost; }));
    if (finish)
        rollForward(dir, *entries, states);
    else if (entries)
        rollBack(dir, *entries, states);
    removeLeftovers(dir, fileNames);
    QString unflushed;
    const bool flushed = platform::flushFolder(folder, unflushed) != platform::FolderFlush::Failed;
    QFile journal(journalPath);
    if (!journal.remove())
        throw cannotFinish(folder, journal.errorString());

    InterruptedSave result;
    result.outcome = finish ? InterruptedSave::Outcome::Finished : InterruptedSave::Outcome::Undone;
    result.note =
        finish
            ? QStringLiteral("An interrupted save in %1 was finished: its new files stand").arg(shownFolder)
            : undone;
    if (!flushed)
        result.note += QStringLiteral(" (the folder could not be forced to the disk: %1)").arg(unflushed);
    return result;
}

} // namespace zq
