#include "files/save_journal.h"

#include <QList>

#include <zlib.h>

namespace zq {

namespace {

const QByteArray firstLine = QByteArrayLiteral("zqsave journal 1\n");
const QByteArray endWord = QByteArrayLiteral("end ");

QByteArray hex8(std::uint32_t value)
{
    return QByteArray::number(value, 16).rightJustified(8, '0');
}

std::optional<std::uint32_t> readHex8(QByteArrayView text)
{
    if (text.size() != 8)
        return std::nullopt;
    bool ok = false;
    const auto value = text.toByteArray().toUInt(&ok, 16);
    return ok ? std::optional<std::uint32_t>(value) : std::nullopt;
}

std::optional<JournalEntry> readEntry(const QByteArray &line)
{
    const qsizetype firstSpace = line.indexOf(' ');
    const qsizetype secondSpace = line.indexOf(' ', firstSpace + 1);
    if (firstSpace <= 0 || secondSpace < 0)
        return std::nullopt;
    bool ok = false;
    JournalEntry entry;
    entry.size = line.left(firstSpace).toLongLong(&ok);
    const auto checksum = readHex8(line.mid(firstSpace + 1, secondSpace - firstSpace - 1));
    if (!ok || entry.size < 0 || !checksum)
        return std::nullopt;
    entry.checksum = *checksum;
    const QString names = QString::fromUtf8(line.mid(secondSpace + 1));
    const QStringList parts = names.split(u'/');
    if (parts.size() != 2 || parts[0].isEmpty() || parts[1].isEmpty())
        return std::nullopt;
    entry.target = parts[0];
    entry.temporary = parts[1];
    return entry;
}

} // namespace

std::uint32_t journalChecksum(QByteArrayView bytes)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes lengths as uInt: a large file goes in pieces.
    constexpr qsizetype piece = qsizetype(1) << 30;
    for (qsizetype done = 0; done < bytes.size(); done += piece) {
        const qsizetype n = std::min(piece, bytes.size() - done);
        crc = crc32(crc, reinterpret_cast<const Bytef *>(bytes.data() + done), uInt(n));
    }
    return std::uint32_t(crc);
}

QByteArray journalText(const std::vector<JournalEntry> &entries)
{
    QByteArray text = firstLine;
    for (const JournalEntry &entry : entries)
        text += QByteArray::number(entry.size) + ' ' + hex8(entry.checksum) + ' ' + entry.target.toUtf8() +
                '/' + entry.temporary.toUtf8() + '\n';
    return text + endWord + hex8(journalChecksum(text)) + '\n';
}

std::optional<std::vector<JournalEntry>> readJournalText(const QByteArray &text)
{
    if (!text.startsWith(firstLine) || !text.endsWith('\n'))
        return std::nullopt;
    const qsizetype endAt = text.lastIndexOf('\n', text.size() - 2) + 1;
    const QByteArray last = text.mid(endAt, text.size() - endAt - 1);
    const auto checksum =
        last.startsWith(endWord) ? readHex8(QByteArrayView(last).sliced(endWord.size())) : std::nullopt;
    if (!checksum || *checksum != journalChecksum(QByteArrayView(text).first(endAt)))
        return std::nullopt;
    std::vector<JournalEntry> entries;
    const QList<QByteArray> lines = text.mid(firstLine.size(), endAt - firstLine.size()).split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const std::optional<JournalEntry> entry = readEntry(lines[i]);
        if (!entry)
            return std::nullopt;
        entries.push_back(*entry);
    }
    if (entries.empty())
        return std::nullopt;
    return entries;
}

QString temporaryPrefixFor(const QString &fileName)
{
    return fileName + QStringLiteral(".zqsave-");
}

QString journalNameFor(const QString &firstFileName)
{
    return firstFileName + QStringLiteral(".zqjournal");
}

} // namespace zq
