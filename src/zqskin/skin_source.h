#pragma once

#include "command_line.h"
#include "skin/ini_mian.h"
#include "skin/skin_document.h"

#include <QTextStream>

namespace zqskin {

// The layout file SKIN names: the file itself, or ZqCSkin.ini inside a folder.
QString layoutPathOf(const QString &skinPath);

// Finishes or undoes a save of each of the skins that was stopped part way, before anything
// of them is read, and says on `err` what was done, a line for each. Raises when one needs
// finishing but its folder cannot be written.
void finishInterruptedSaves(const QStringList &skinPaths, QTextStream &err);

// Raises "Cannot open file" when the layout file cannot be read. The designer reads a missing
// layout as all zeros; here that is almost always a mistyped path.
void requireLayoutFile(const QString &layoutPath);

// The designer's message for a layout made for an older client, after the file's path.
QString oldLayoutError(const QString &layoutPath);

// Reads the layout alone against a given background size.
zq::TiniMian openLayout(const QString &layoutPath, zq::PixelSize size);

// Opens the whole skin as the designer does. A layout made for an older client is refused
// with the designer's message, as the designer will not edit it either. A verb that saves
// the background unchanged asks for it to be encoded ahead, on the machine's second core,
// while the rest of the skin is read and edited.
zq::SkinDocument openSkin(const QString &skinPath,
                          zq::BackgroundEncoding encoding = zq::BackgroundEncoding::AtSave);

} // namespace zqskin
