#pragma once

#include "recovery/skin_snapshot.h"
#include "skin/asset_names.h"
#include "skin/skin_document.h"

#include <QString>
#include <QUndoStack>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace zq {

class BackgroundPreload;
struct RecoveredSkin;
class TForm2;
class TImageButtonA;
class TUserLog;
class TFil;
class TMan;
class TTextBox;

// The one skin edited in a run: the preview it is laid out on, the skin document (layout
// path, skin folder, background, layout record, element pictures) and the six elements
// that show it. Opening fills it step by step; each step raises the error of the file it
// meets and leaves what came before it in place.
class SkinWorkspace {
public:
    enum class State { NoSkin, SkinRejected, SkinOpen };

    // The preview must outlive the workspace.
    explicit SkinWorkspace(TForm2 *preview);
    ~SkinWorkspace();
    SkinWorkspace(const SkinWorkspace &) = delete;
    SkinWorkspace &operator=(const SkinWorkspace &) = delete;

    State state() const { return m_state; }
    TForm2 *preview() const { return m_preview; }
    QString layoutPath() const;
    QString skinFolder() const;
    // The skin being opened or open; null before the first open.
    SkinDocument *document() const { return m_skin ? m_skin->document.get() : nullptr; }

    // A background decoded ahead for the next open, which takes it when it is for that skin's
    // file (see BackgroundPreload); any later open reads the file as it is then.
    void setPreloadedBackground(std::unique_ptr<BackgroundPreload> preload);

    // The first steps of an open: takes the path and its folder, loads the background and
    // shows it, reads the layout. Returns the version test's answer; a refused layout
    // leaves the workspace in SkinRejected. An open after a refused or failed one starts
    // a new skin; elements a failed one left on the preview stay there, abandoned.
    bool openLayout(const QString &layoutPath);

    // Reads a whole skin (background, layout, the six pictures) without touching the open one;
    // raises the error of the first file that fails. Null when the version test refuses the
    // layout.
    std::unique_ptr<SkinDocument> readSkin(const QString &layoutPath) const;
    // Puts a skin readSkin read in place of everything shown: the elements, the background
    // and the edits of the skin before go, and so do elements an earlier failed open left.
    // buildElements then builds the new skin's elements from the pictures already read.
    void replaceSkin(std::unique_ptr<SkinDocument> document);

    // Builds the six elements over the preview in the skin's order, each bound to
    // `onElementClick`, the pages with their text boxes and hidden. Stops at the first
    // picture that fails, keeping the elements built before it; SkinOpen once all six stand.
    void buildElements(const std::function<void(const QString &)> &onElementClick);

    // The element, or null while it does not exist.
    TImageButtonA *element(Element element) const;
    TUserLog *logPage() const;
    TFil *filPage() const;
    TMan *manPage() const;
    // The text box of a box table row, or null while its page does not exist.
    TTextBox *box(const BoxTableRow &row) const;

    // Draws the JPEG at path over the background and shows the result.
    void replaceBackground(const QString &jpegPath);

    // Copies the text boxes' rectangles into the layout record, then saves the skin: the
    // layout (with the elements' stored positions), the six pictures, the background. A
    // save that completes marks the undo stack clean.
    void save();

    // What a save would write now, copied for a recovery copy (the text boxes' rectangles
    // included); raises what the save would raise for the layout.
    SkinSnapshot snapshot();
    // Shows a recovery copy's state of the open skin (its six pictures built) as one edit:
    // the pictures, their places, the text boxes and the background; one undo takes it all
    // back.
    void restore(const RecoveredSkin &recovered);

    // Every edit of the open skin, one command each; emptied when a skin is opened.
    QUndoStack &undoStack() { return m_undo; }

private:
    struct Skin {
        std::unique_ptr<SkinDocument> document;
        std::array<std::unique_ptr<TImageButtonA>, 6> elements;
        ~Skin();
    };

    void showBackground();
    void storeBoxes();
    // Shows the background as it now is and records its change from `before` as one edit.
    void recordBackground(TBGImage::Picture before);
    void recordEdits(TImageButtonA &element);

    TForm2 *m_preview;
    bool m_lowColourDisplay;
    std::unique_ptr<BackgroundPreload> m_preload;
    State m_state = State::NoSkin;
    std::unique_ptr<Skin> m_skin;
    // Skins given up by a later open; their elements stay on the preview until the end.
    std::vector<std::unique_ptr<Skin>> m_abandoned;
    // Last: its commands refer to the elements, so it empties first.
    QUndoStack m_undo;
};

} // namespace zq
