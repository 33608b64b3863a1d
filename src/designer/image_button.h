#pragma once

#include <QPoint>
#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

namespace zq {

class ElementPicture;
class ImagePanel;
class TSetUi;

// One movable skin picture on the preview: a borderless panel showing the element's picture
// 1:1 at its stored position. Dragging it, its popup menu and its position dialog change the
// element's position and picture.
class TImageButtonA {
public:
    // Shows `picture` (owned by the skin, outlives the element) as a borderless panel,
    // child of `preview`, at (picture.X, picture.Y), sized to the picture; visible on return.
    TImageButtonA(ElementPicture &picture, QWidget *preview);
    virtual ~TImageButtonA();

    TImageButtonA(const TImageButtonA &) = delete;
    TImageButtonA &operator=(const TImageButtonA &) = delete;

    const QString &Name() const;
    int X() const; // the stored position
    int Y() const;
    ElementPicture &picture();
    QWidget *Panel() const; // parent of a page's text boxes

    // Called with the element's name by the menu's "点击"; installed by the owner.
    std::function<void(const QString &)> OnElementClick;

    // Picks the PNG for "换张图片"; returns an empty path when cancelled. Defaults to the
    // file dialog; tests put their own in place.
    std::function<QString(QWidget *parent)> PngChooser;

    void HideElement();
    void ShowElement();
    void BringElementToFront(); // raise() among the preview's children
    void SendElementToBack();   // lower() among the preview's children, then Recomposite
    void SaveBitmap() const;

    // A left press on the picture: drag it, then record where it was left.
    void ImageMouseDown(QPoint globalPos);
    void DragMove(QPoint globalStart);
    // Records the panel's place as the stored position, re-flattens a PNG there and shows
    // the new picture, sized to it.
    void Recomposite();
    // Loads a PNG at the panel's place; a broken PNG leaves everything as it was.
    void LoadPng(const QString &path);

    void ClickItemClick();
    void ReplaceItemClick();
    // Opens a new position dialog captioned with the element's name and returns it
    // (owned by the panel).
    TSetUi *OpenPositionDialog();
    // Applies `dialog`'s four fields in order: top, left, width, height.
    void ApplyPosition(TSetUi &dialog);

    // The picture as shown, converted once per change.
    void refreshPicture();

private:
    ElementPicture &m_picture;
    QPointer<ImagePanel> m_panel;
};

} // namespace zq
