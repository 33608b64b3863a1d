#pragma once

#include <QFile>
#include <QString>

namespace zq::platform {

// Puts a finished temporary file in the place of `target` in one step: its bytes are forced
// to the disk first, then it is moved over the target, so that a crash or power cut at any
// moment leaves either the old file or the new one. `temporary` must be open for writing, in
// the target's folder; it is closed on return. On failure the target is untouched and
// `reason` holds the system's words; the temporary file is left for the caller to remove.
bool replaceWithTemporary(QFile &temporary, const QString &target, QString &reason);

} // namespace zq::platform
