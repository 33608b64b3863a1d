#include "document/recovery_keeper.h"

#include "document/skin_workspace.h"
#include "errors/engine_error.h"

#include <QUndoStack>

namespace zq {

RecoveryKeeper::RecoveryKeeper(SkinWorkspace &workspace, const QString &dataFolder)
    : m_workspace(workspace)
{
    if (dataFolder.isEmpty())
        return;
    m_store.emplace(dataFolder);
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::takeCopy);
    connect(&m_workspace.undoStack(), &QUndoStack::indexChanged, this, &RecoveryKeeper::editsChanged);
    connect(&m_workspace.undoStack(), &QUndoStack::cleanChanged, this, [this](bool clean) {
        // Saved, or undone back to what was saved: nothing is left to recover.
        if (clean)
            removeCopy();
    });
}

RecoveryKeeper::~RecoveryKeeper()
{
    // The designer may be ending without the user's word (a logout it may not stop): the
    // copy is what is left of the edits then, so edits not copied yet are copied now, and
    // a copy being written is finished.
    finishWriting();
    if (m_timer.isActive() || m_again) {
        m_timer.stop();
        m_again = false;
        takeCopy();
        finishWriting();
    }
}

void RecoveryKeeper::editsChanged()
{
    if (m_workspace.undoStack().isClean())
        return;
    m_timer.start();
}

void RecoveryKeeper::takeCopy()
{
    const SkinDocument *document = m_workspace.document();
    if (m_workspace.state() != SkinWorkspace::State::SkinOpen || !document ||
        m_workspace.undoStack().isClean())
        return;
    if (m_working) {
        m_again = true;
        return;
    }
    if (m_worker.joinable())
        m_worker.join();
    std::shared_ptr<SkinSnapshot> snapshot;
    try {
        snapshot = std::make_shared<SkinSnapshot>(m_workspace.snapshot());
    } catch (const EngineError &) {
        // A state a save refuses (a 登陆 tab beyond the right edge) keeps the copy before it.
        return;
    }
    const QString layoutPath = document->layoutPath();
    m_copyOf = layoutPath;
    m_working = true;
    m_worker = std::thread([this, snapshot, previous = m_previous, layoutPath, store = *m_store] {
        bool ok = true;
        try {
            store.write(layoutPath, snapshot->encode(previous.get()));
        } catch (...) {
            ok = false;
        }
        m_working = false;
        QMetaObject::invokeMethod(
            this,
            [this, snapshot, layoutPath, ok] {
                m_previous = ok ? snapshot : nullptr;
                writingDone(layoutPath, ok);
            },
            Qt::QueuedConnection);
    });
}

void RecoveryKeeper::writingDone(const QString &layoutPath, bool ok)
{
    emit copyWritten(layoutPath, ok);
    if (std::exchange(m_again, false))
        m_timer.start();
}

void RecoveryKeeper::finishWriting()
{
    if (m_worker.joinable())
        m_worker.join();
}

void RecoveryKeeper::adoptCopy(const QString &layoutPath)
{
    finishWriting();
    m_copyOf = layoutPath;
}

void RecoveryKeeper::discard()
{
    m_timer.stop();
    m_again = false;
    removeCopy();
}

void RecoveryKeeper::removeCopy()
{
    if (!m_store)
        return;
    m_timer.stop();
    m_again = false;
    finishWriting();
    if (!m_copyOf.isEmpty())
        m_store->remove(m_copyOf);
    m_copyOf.clear();
}

} // namespace zq
