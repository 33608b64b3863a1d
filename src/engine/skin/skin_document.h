#pragma once

#include "skin/asset_names.h"
#include "skin/bg_image.h"
#include "skin/element_picture.h"
#include "skin/ini_mian.h"

#include <QString>

#include <array>
#include <memory>

namespace zq {

// One skin folder, opened through its layout file: the background, the layout record and
// the six element pictures. Opening reads the files in the client's order (background,
// layout, then the six BMPs); saving writes them in the same order the client expects
// (layout, six BMPs, background). The designer and zqskin both go through here.
class SkinDocument {
public:
    explicit SkinDocument(const QString &layoutPath);

    // The folder part of a layout path, with its trailing separator.
    static QString skinFolderOf(const QString &layoutPath);

    // Finishes or undoes a save of the skin that was stopped part way (by a kill, a crash or
    // a power cut), before anything of it is read: the skin is then all old or all new, and
    // no temporary file of that save is left. Returns what was done in one line, empty when
    // there was nothing to do. Raises when such a save needs finishing but the folder cannot
    // be written, naming the folder: a skin that may mix old files and new is not opened.
    static QString finishInterruptedSave(const QString &layoutPath);
    // The same for this skin; open() begins with it. The line is kept for the one who opens.
    QString finishInterruptedSave();
    const QString &interruptedSaveNote() const { return m_interruptedSaveNote; }

    // Opening, step by step; each step raises the error of the file it meets.
    void openBackground(bool lowColourDisplay = false,
                        BackgroundEncoding encoding = BackgroundEncoding::AtSave);
    // Reads the layout for the background's size; returns the version test's answer.
    bool readLayout();
    ElementPicture &buildElement(Element element);

    // All of the above, finishInterruptedSave first. Returns false, with no element built, when the version
    // test refuses the layout.
    bool open(bool lowColourDisplay = false, BackgroundEncoding encoding = BackgroundEncoding::AtSave);

    // Copies the elements' stored positions into the layout record, then saves the layout,
    // the six pictures and the background, all of them or none: all eight are written to
    // temporary files, forced to the disk together and only then put in place of the old
    // ones. On failure the old files stand as they were and the error names the file that
    // failed. A save stopped part way is mended by the next open (finishInterruptedSave).
    // When the folder cannot be forced to the disk after the files were replaced, the save
    // fails with that said: the files are new but may not last a power cut. Box rectangles are taken from the
    // record as they stand, so a caller that moved boxes puts them there first.
    void save();

    bool hasElement(Element element) const { return m_elements[index(element)] != nullptr; }
    ElementPicture &element(Element element) { return *m_elements[index(element)]; }
    const ElementPicture &element(Element element) const { return *m_elements[index(element)]; }

    const QString &layoutPath() const { return m_layoutPath; }
    // The folder of the layout file, with its trailing separator.
    QString skinFolder() const { return skinFolderOf(m_layoutPath); }
    // The background, once opened; shared: a display may hold the pixels for as long as it
    // shows them.
    const std::shared_ptr<TBGImage> &background() const { return m_background; }
    // Takes a background opened elsewhere (ahead of time) in place of openBackground.
    void setBackground(std::shared_ptr<TBGImage> background) { m_background = std::move(background); }
    // The layout record, once read.
    TiniMian *layout() { return m_layout.get(); }
    const TiniMian *layout() const { return m_layout.get(); }

private:
    QString m_layoutPath;
    std::shared_ptr<TBGImage> m_background;
    std::unique_ptr<TiniMian> m_layout;
    std::array<std::unique_ptr<ElementPicture>, 6> m_elements;

    static size_t index(Element element) { return size_t(element); }

    QString m_interruptedSaveNote;
};

} // namespace zq
