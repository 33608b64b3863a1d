#include "files/file_set_writer.h"

#include "files/save_journal.h"
#include "platform/file_replace.h"
#include "platform/save_step_stop.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>

#include <algorithm>

namespace zq {

namespace {

QString temporaryPrefix(const QFileInfo &target)
{
    return temporaryPrefixFor(target.fileName());
}

QString randomDigits()
{
    return QString::number(QRandomGenerator::global()->generate() % 1000000).rightJustified(6, u'0');
}

void removeStaleTemporaries(const QFileInfo &target)
{
    const QString prefix = temporaryPrefix(target);
    const QDir folder = target.absoluteDir();
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names)
        if (name.startsWith(prefix))
            QFile::remove(folder.filePath(name));
}

bool openTemporary(const QFileInfo &target, QFile &file)
{
    const QString base = target.absoluteDir().filePath(temporaryPrefix(target));
    for (int attempt = 0; attempt < 100; ++attempt) {
        file.setFileName(base + randomDigits());
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return true;
        if (file.exists())
            continue;
        return false;
    }
    return false;
}

// A short write sets no error of its own (the reason reads "Unknown error"); writing the
// rest makes the system say why, for example that the disk is full.
bool writeAll(QFile &file, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return file.flush();
}

// A name that is there, even as a link that leads nowhere.
bool isThere(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

FileSetWriter::~FileSetWriter()
{
    for (File &file : m_files) {
        if (file.temporary && !file.moved) {
            file.temporary->close();
            file.temporary->remove();
        }
    }
    removeSecondNames();
    removeJournal();
}

FileWriteResult FileSetWriter::add(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    if (target.isDir())
        return {false, QStringLiteral("It is a folder, not a file")};
    removeStaleTemporaries(target);
    auto temporary = std::make_unique<QFile>();
    if (!openTemporary(target, *temporary))
        return {false, temporary->errorString()};
    const auto fail = [&temporary](const QString &reason) {
        temporary->close();
        temporary->remove();
        return FileWriteResult{false, reason};
    };
    if (!writeAll(*temporary, bytes))
        return fail(temporary->errorString());
    if (target.exists() && !temporary->setPermissions(target.permissions()))
        return fail(temporary->errorString());
    m_files.push_back({path, std::move(temporary), false, {}, bytes.size(), journalChecksum(bytes)});
    platform::stopAtSaveStepIfAsked(QStringLiteral("written-%1").arg(m_files.size()));
    return {true, {}};
}

FileSetWriter::Result FileSetWriter::commit()
{
    Result result;
    // The journal goes to the disk with the temporary files, in the same flush; the folder's
    // flush then makes its name and theirs last.
    std::unique_ptr<QFile> journal;
    if (wantsJournal() && !writeJournal(journal, result))
        return result;
    std::vector<QFile *> toFlush;
    for (File &file : m_files)
        toFlush.push_back(file.temporary.get());
    if (journal)
        toFlush.push_back(journal.get());
    if (!platform::flushTogether(toFlush, result.failed, result.reason)) {
        result.ok = false;
        result.failed = std::min(result.failed, qsizetype(m_files.size()) - 1);
        journal.reset();
        removeJournal();
        return result;
    }
    for (File &file : m_files)
        file.temporary->close();
    journal.reset();
    platform::stopAtSaveStepIfAsked(QStringLiteral("flushed"));
    if (!keepOldFiles(result)) {
        removeJournal();
        return result;
    }
    if (!m_journal.isEmpty()) {
        if (!flushFolders(result.reason)) {
            result.ok = false;
            result.failed = 0;
            removeJournal();
            return result;
        }
        platform::stopAtSaveStepIfAsked(QStringLiteral("journal"));
    }

    // Everything the moves need is made first: a kill between two of them is the one moment
    // that leaves old and new files side by side, which the journal then mends.
    std::vector<std::pair<platform::NativePath, platform::NativePath>> moves;
    moves.reserve(m_files.size());
    for (const File &file : m_files)
        moves.emplace_back(platform::NativePath(file.temporary->fileName()),
                           platform::NativePath(file.target));
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (!platform::moveOver(moves[i].first, moves[i].second, result.reason)) {
            putBack(i, result.reason);
            QString unflushed;
            flushFolders(unflushed);
            removeJournal();
            result.ok = false;
            result.failed = qsizetype(i);
            return result;
        }
        m_files[i].moved = true;
        platform::stopAtSaveStepIfAsked(QStringLiteral("rename-%1").arg(i + 1));
    }
    removeSecondNames();
    if (!flushFolders(result.reason)) {
        result.ok = false;
        result.failed = -1;
    }
    platform::stopAtSaveStepIfAsked(QStringLiteral("folder-flushed"));
    removeJournal();
    return result;
}

bool FileSetWriter::wantsJournal() const
{
    if (m_files.size() < 2)
        return false;
    const QString folder = QFileInfo(m_files.front().target).absolutePath();
    return std::all_of(m_files.begin(), m_files.end(), [&folder](const File &file) {
        return QFileInfo(file.target).absolutePath() == folder;
    });
}

// Written whole and left open, not flushed: commit flushes it with the temporary files.
bool FileSetWriter::writeJournal(std::unique_ptr<QFile> &journal, Result &result)
{
    std::vector<JournalEntry> entries;
    for (const File &file : m_files)
        entries.push_back({QFileInfo(file.target).fileName(),
                           QFileInfo(file.temporary->fileName()).fileName(), file.size, file.checksum});
    const QFileInfo first(m_files.front().target);
    m_journal = first.absoluteDir().filePath(journalNameFor(first.fileName()));
    journal = std::make_unique<QFile>(m_journal);
    if (!journal->open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        !writeAll(*journal, journalText(entries))) {
        result = {false, 0, journal->errorString()};
        journal.reset();
        removeJournal();
        return false;
    }
    return true;
}

void FileSetWriter::removeJournal()
{
    if (!m_journal.isEmpty())
        QFile::remove(m_journal);
    m_journal.clear();
}

// Every old file but the last gets a second name: if a move is refused, the files moved
// before it go back from those. The last file's move is the last step, after which nothing
// needs putting back.
bool FileSetWriter::keepOldFiles(Result &result)
{
    for (size_t i = 0; i + 1 < m_files.size(); ++i) {
        File &file = m_files[i];
        if (!isThere(file.target))
            continue;
        const QString secondName = file.temporary->fileName() + QStringLiteral("-old");
        if (!platform::keepUnderSecondName(file.target, secondName, result.reason)) {
            result.ok = false;
            result.failed = qsizetype(i);
            return false;
        }
        file.secondName = secondName;
    }
    return true;
}

void FileSetWriter::putBack(size_t count, QString &reason)
{
    for (size_t i = 0; i < count; ++i) {
        File &file = m_files[i];
        if (file.secondName.isEmpty()) {
            // There was no file: the new one goes.
            QFile::remove(file.target);
            continue;
        }
        QString why;
        if (platform::moveOver(platform::NativePath(file.secondName), platform::NativePath(file.target),
                               why)) {
            file.secondName.clear();
            continue;
        }
        const QString kept = setAside(file.secondName, file.target);
        reason += QStringLiteral("; %1 could not be put back (%2), its old bytes are in %3")
                      .arg(QDir::toNativeSeparators(file.target), why, QDir::toNativeSeparators(kept));
        file.secondName.clear(); // kept for the user to find
    }
}

void FileSetWriter::removeSecondNames()
{
    for (File &file : m_files) {
        if (!file.secondName.isEmpty())
            QFile::remove(file.secondName);
        file.secondName.clear();
    }
}

QString FileSetWriter::setAside(const QString &secondName, const QString &target)
{
    const QString base = target + QStringLiteral(".zqkept-");
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString kept = base + randomDigits();
        if (isThere(kept))
            continue;
        QString why;
        if (platform::moveOver(platform::NativePath(secondName), platform::NativePath(kept), why))
            return kept;
        if (platform::keepUnderSecondName(secondName, kept, why)) {
            QFile::remove(secondName);
            return kept;
        }
        break;
    }
    return secondName;
}

// False, with the system's words, when a folder that can be flushed failed to be.
bool FileSetWriter::flushFolders(QString &reason) const
{
    QSet<QString> folders;
    for (const File &file : m_files)
        folders.insert(QFileInfo(file.target).absolutePath());
    bool flushed = true;
    for (const QString &folder : folders) {
        QString why;
        if (platform::flushFolder(folder, why) == platform::FolderFlush::Failed) {
            reason = QStringLiteral("The folder %1 could not be forced to the disk: %2")
                         .arg(QDir::toNativeSeparators(folder), why);
            flushed = false;
        }
    }
    return flushed;
}

} // namespace zq
