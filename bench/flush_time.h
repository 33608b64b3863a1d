#pragma once

// What one flush of the device costs here, the yardstick of a save's wait for the disk.

#include <QString>

namespace bench {

// Prints the median time, in milliseconds, that forcing a freshly written 4 MB file to the
// disk takes in `folder`, through the engine's own flush; nothing else on the line. Returns
// false, saying why on stderr, when the file cannot be written or flushed.
bool printFlushTime(const QString &folder);

} // namespace bench
