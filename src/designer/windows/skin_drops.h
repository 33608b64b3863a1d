#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class QMimeData;

namespace zq {

class SkinWorkspace;
class TForm2;
class TImageButtonA;

// Where a drop lands: on one of the skin's pictures (a page's boxes count as its page), on
// the background outside them, or anywhere else (the control window, before a skin is open).
enum class DropSpot { Picture, Background, Elsewhere };

// What a drop does.
struct DropAction {
    enum class Kind { None, OpenSkin, ReplacePicture, ReplaceBackground };
    Kind kind = Kind::None;
    // The layout file to open, or the picture to take.
    QString path;
};

// One local file is taken: a ZqCSkin.ini or a folder (its ZqCSkin.ini) opens anywhere; a PNG
// on a picture replaces that picture; a JPEG, PNG or BMP on the background replaces the
// background. Anything else is refused.
DropAction planDrop(const QMimeData &data, DropSpot spot);

// Takes drops on the preview (and everything on it): the pointer shows whether the drop is
// taken, and a drop hands its action, with the picture it landed on, to `act` once the drag is
// over, so that the dragging program is not kept waiting while a question is open.
class SkinDropTarget : public QObject {
    Q_OBJECT
public:
    using Act = std::function<void(const DropAction &action, TImageButtonA *picture)>;

    SkinDropTarget(TForm2 *preview, const SkinWorkspace &workspace, Act act);

    // The picture at `at` (preview coordinates), or null.
    TImageButtonA *pictureAt(QPoint at) const;
    DropSpot spotAt(QPoint at) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TForm2 *m_preview;
    const SkinWorkspace &m_workspace;
    Act m_act;
};

} // namespace zq
