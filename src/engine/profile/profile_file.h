#pragma once

#include "profile/profile_document.h"

#include <QString>

#include <utility>

namespace zq {

// A profile (INI) file given by its path. The file is not held open: every read and every
// write goes to the file by itself, as the platform's profile calls do. A whole set of
// writes can also be made at once (loadForUpdate, change the document, save): the file
// then ends exactly as after the same writes one by one, but is replaced in one step.
class ProfileFile {
public:
    // A layout file is a few kilobytes; one past this size is refused rather than read.
    static constexpr qint64 maxFileBytes = qint64(1) << 20;

    explicit ProfileFile(QString path)
        : path_(std::move(path))
    {}

    const QString &path() const { return path_; }

    // The file as it is now; empty when it is missing or cannot be read, and when it is no
    // ordinary file (a pipe would never end) or larger than maxFileBytes.
    ProfileDocument load() const;
    // Empty (missing value, section or file) reads as empty text.
    QByteArray readValue(QByteArrayView section, QByteArrayView key) const;

    // The file as the base of a change. Raises "Unable to write to %s" when the file exists
    // but cannot be read, since writing then would lose its other lines.
    ProfileDocument loadForUpdate() const;
    // Replaces the file with the document's text, never leaving it half-written. Raises
    // "Unable to write to %s" on failure, with the old file left whole.
    void save(const ProfileDocument &document) const;
    // One write call: creates the key, section or file as needed.
    void writeValue(QByteArrayView section, QByteArrayView key, QByteArrayView value) const;

private:
    QString path_;
};

} // namespace zq
