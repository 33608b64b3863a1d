#pragma once

#include <QString>
#include <QStringList>

namespace zq {

// What finishing an interrupted save did.
struct InterruptedSave {
    enum class Outcome {
        None,     // no save was interrupted here
        Finished, // a save was stopped after it committed: its new files were put in place
        Undone,   // a save was stopped before it committed: its temporary files were removed
    };
    Outcome outcome = Outcome::None;
    QString note; // what was done, in one line; empty for None
};

// Looks in `folder` for what a save of the files `fileNames` (in the order the save wrote
// them; the first names the journal, see save_journal.h) left when it was stopped, and
// mends it: a whole journal whose every file is there, either still as its temporary file
// with the journal's size and checksum or already in place, is finished; a torn journal, a
// file that is neither, or no journal at all means the save had not committed, and its
// temporary files and second names are removed (files it already replaced go back first).
// Either way the files are then all old or all new. Stopped part way, it can be run again.
//
// Raises an EngineError naming the folder when a journal is there but the folder cannot be
// written: the files may be a mix of old and new until it can.
InterruptedSave finishInterruptedSave(const QString &folder, const QStringList &fileNames);

} // namespace zq
