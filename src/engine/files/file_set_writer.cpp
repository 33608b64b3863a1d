#include "files/file_set_writer.h"

#include "platform/file_replace.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>

namespace zq {

namespace {

QString temporaryPrefix(const QFileInfo &target)
{
    return target.fileName() + QStringLiteral(".zqsave-");
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
        file.setFileName(
            base + QString::number(QRandomGenerator::global()->generate() % 1000000).rightJustified(6, u'0'));
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
    m_files.push_back({path, std::move(temporary), false, {}});
    return {true, {}};
}

FileSetWriter::Result FileSetWriter::commit()
{
    Result result;
    std::vector<QFile *> temporaries;
    for (File &file : m_files)
        temporaries.push_back(file.temporary.get());
    if (!platform::flushTogether(temporaries, result.failed, result.reason)) {
        result.ok = false;
        return result;
    }
    for (File &file : m_files)
        file.temporary->close();
    if (!keepOldFiles(result))
        return result;

    // Everything the moves need is made first: a kill between two of them is the one moment
    // that leaves old and new files side by side, and it is kept as short as it can be.
    std::vector<std::pair<platform::NativePath, platform::NativePath>> moves;
    moves.reserve(m_files.size());
    for (const File &file : m_files)
        moves.emplace_back(platform::NativePath(file.temporary->fileName()),
                           platform::NativePath(file.target));
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (!platform::moveOver(moves[i].first, moves[i].second, result.reason)) {
            putBack(i, result.reason);
            flushFolders();
            result.ok = false;
            result.failed = qsizetype(i);
            return result;
        }
        m_files[i].moved = true;
    }
    removeSecondNames();
    flushFolders();
    return result;
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
        reason +=
            QStringLiteral("; %1 could not be put back (%2), its old bytes are in %3")
                .arg(QDir::toNativeSeparators(file.target), why, QDir::toNativeSeparators(file.secondName));
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

void FileSetWriter::flushFolders() const
{
    QSet<QString> folders;
    for (const File &file : m_files)
        folders.insert(QFileInfo(file.target).absolutePath());
    for (const QString &folder : folders)
        platform::flushFolder(folder);
}

} // namespace zq
