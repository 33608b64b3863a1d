#pragma once

#include "recovery/skin_snapshot.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace zq {

// A recovery copy as its manifest describes it.
struct RecoveryEntry {
    QString layoutPath;  // the skin it is a copy of
    QDateTime written;   // when the copy was made
    QString filesFolder; // where its files lie, under the skin's own names
    struct File {
        QString name;
        qint64 size = 0;
        QByteArray sha256; // hex
    };
    // In the order a save writes them: layout, the six pictures, the background.
    std::vector<File> files;
    // Made after every file of the skin last changed: the skin was not saved since.
    bool newerThanSkin = false;
};

// The recovery copies of skins with unsaved edits, one entry per skin under
// <data folder>/recovery, named by a hash of the skin's layout path. An entry holds a
// manifest (the skin's path, the time of the copy, each file's size and checksum) and a
// folder of the files as a save would write them. Writing one is whole or nothing: the
// files go to a new folder through the save's own writer, and only then does a new
// manifest, replaced in one step, point at it; a kill at any moment leaves the earlier copy
// or the new one.
class RecoveryStore {
public:
    explicit RecoveryStore(const QString &dataFolder);

    // <data folder>/recovery.
    const QString &folder() const { return m_folder; }
    // The entry of the skin whose layout is at layoutPath.
    QString entryFolder(const QString &layoutPath) const;

    // Makes `files` the skin's recovery copy. Raises EngineError naming the file that failed;
    // the earlier copy then stands.
    void write(const QString &layoutPath, const SkinFiles &files) const;
    // The skin's copy, when there is one with a manifest that reads.
    std::optional<RecoveryEntry> find(const QString &layoutPath) const;
    // Removes the skin's copy; true when none is left.
    bool remove(const QString &layoutPath) const;

private:
    QString m_folder;
};

} // namespace zq
