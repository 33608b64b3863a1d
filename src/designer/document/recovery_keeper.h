#pragma once

#include "recovery/recovery_store.h"
#include "recovery/skin_snapshot.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <memory>
#include <optional>
#include <thread>

namespace zq {

class SkinWorkspace;

// Keeps a recovery copy of the open skin while it has unsaved changes, so that a designer
// that dies (a crash, a kill, a forced logout) loses nothing: a second after the last edit
// the skin's state is copied on this thread and encoded and written on another, whole or
// not at all, into the data folder. The copy goes when the skin is saved (or undone back to
// what was saved), and when the user lets the edits go.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    // The quiet time after an edit before the copy is taken; the copy is on the disk well
    // within two seconds of the last edit.
    static constexpr int kDelayMs = 1000;

    // With an empty data folder no copy is ever kept.
    RecoveryKeeper(SkinWorkspace &workspace, const QString &dataFolder);
    ~RecoveryKeeper() override;

    bool enabled() const { return m_store.has_value(); }
    const RecoveryStore *store() const { return m_store ? &*m_store : nullptr; }

    // The copy on the disk, found when the skin opened, is the open skin's from now on: it
    // goes as the keeper's own do.
    void adoptCopy(const QString &layoutPath);
    // The user let the open skin's edits go (不保存, 放弃): its copy goes, and none is made
    // again until the next edit.
    void discard();
    // Waits for a copy being written to be on the disk.
    void finishWriting();

signals:
    // A copy was written (or failed to be) for the skin at layoutPath.
    void copyWritten(const QString &layoutPath, bool ok);

private:
    void editsChanged();
    void takeCopy();
    void writingDone(const QString &layoutPath, bool ok);
    void removeCopy();

    SkinWorkspace &m_workspace;
    std::optional<RecoveryStore> m_store;
    QTimer m_timer;
    std::thread m_worker;
    std::atomic<bool> m_working = false;
    bool m_again = false; // an edit came while a copy was being written
    // The copy on the disk, or being written, is of this skin.
    QString m_copyOf;
    // The last snapshot written: a background that has not changed is not encoded again.
    std::shared_ptr<SkinSnapshot> m_previous;
};

} // namespace zq
