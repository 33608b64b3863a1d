#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace zq {

// The journal a save of several files writes beside them once every new file is on the disk
// and before the first old one is replaced. While it is there, a save was under way: a whole
// journal says which temporary file becomes which file, so the save can be finished; a torn
// one says the save never got that far. It is text:
//
//     zqsave journal 1
//     <size> <checksum> <file name>/<temporary file name>     (one line per file, in order)
//     end <checksum of every byte above>
//
// Checksums are CRC-32, in eight hexadecimal digits; names are those of files in the
// journal's own folder, UTF-8.
struct JournalEntry {
    QString target;    // the file the save replaces
    QString temporary; // the temporary file holding its new bytes
    qint64 size = 0;
    std::uint32_t checksum = 0;

    bool operator==(const JournalEntry &) const = default;
};

std::uint32_t journalChecksum(QByteArrayView bytes);

QByteArray journalText(const std::vector<JournalEntry> &entries);

// The entries of a whole journal; nothing for a torn or foreign one.
std::optional<std::vector<JournalEntry>> readJournalText(const QByteArray &text);

// The start of the names of a file's temporary files and second names during a save:
// "<name>.zqsave-". A save removes those a killed one left.
QString temporaryPrefixFor(const QString &fileName);

// The journal's name for a set whose first file is `firstFileName`. It does not begin like
// the set's temporary files ("<name>.zqsave-"), which a later save removes as left behind.
QString journalNameFor(const QString &firstFileName);

} // namespace zq
