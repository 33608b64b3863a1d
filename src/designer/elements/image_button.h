#pragma once

#include "elements/element_state.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QMouseEvent;
class QWidget;

namespace zq {

class ElementPicture;
class ImagePanel;
class TSetUi;

// One movable skin picture on the preview: a borderless panel showing the element's picture
// 1:1 at its stored position. Dragging it, its popup menu and its position dialog change the
// element's position and picture. Every command reports its own errors and keeps what it
// did before one.
class TImageButtonA : public QObject {
    Q_OBJECT
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
    const ElementPicture &picture() const;
    const zq::Bitmap &bitmap() const; // what is shown and saved
    QWidget *Panel() const;           // parent of a page's text boxes

    // The kinds of edit an element reports.
    enum class Edit { Drag, Key, Dialog, Picture };

    // The element's place, and its place and picture.
    ElementState place() const;
    ElementState state() const;
    // Puts the element back into a state taken earlier; reports nothing.
    void restore(const ElementState &state);

    // The one way typed or keyed bounds reach the element: the panel goes to (left, top),
    // the stored position follows it (a PNG is flattened there again), and a typed size
    // becomes the panel's own until the next Recomposite. Reported as one edit of `kind`.
    void ApplyBounds(int left, int top, int width, int height, bool sizeTyped, Edit kind);

    // The window a position dialog must not cover (global coordinates); none when unset.
    std::function<QRect()> DialogKeepClear;

    // Picks the PNG for "换张图片"; an empty path means cancelled. The picture dialog unless
    // replaced (tests put their own here).
    std::function<QString(QWidget *parent)> PngChooser;

    void HideElement();
    void ShowElement();
    void BringElementToFront(); // raise() among the preview's children
    void SendElementToBack();   // lower() among the preview's children, then Recomposite
    void SaveBitmap() const;

    // A press on the picture: the left button (with any keys held, but not the second press
    // of a double click) drags it.
    void ImageMouseDown(const QMouseEvent &event);
    // Moves the panel with the pointer until the left button is released, then Recomposite.
    void DragMove(QPointF globalStart);
    // Records the panel's place as the stored position and sizes the panel to the picture
    // again; an element with a PNG flattens it afresh there and shows the result.
    void Recomposite();
    // An element that carries a PNG flattens it again at its stored position, onto the
    // background as it is now; the panel keeps its place and size.
    void FlattenAgain();
    // Loads a PNG at the panel's place; a broken PNG leaves everything as it was.
    void LoadPng(const QString &path);

    // The popup menu's actions.
    void ClickItemClick();
    void ReplaceItemClick();
    // Opens a new position dialog (owned by the panel) captioned with the element's name.
    TSetUi *OpenPositionDialog();
    // Applies `dialog`'s fields in the order left, top, width, height, as far as they
    // convert, through ApplyBounds; the fields then show the bounds as applied.
    void ApplyPosition(TSetUi &dialog);

    QMenu *PopupMenu() const { return m_popupMenu; }
    QAction *ClickItem() const { return m_clickItem; }
    QAction *ReplaceItem() const { return m_replaceItem; }
    QAction *SettingsItem() const { return m_settingsItem; }
    // The position dialog this element opened last, while it exists.
    TSetUi *PositionDialog() const;

signals:
    // After every edit that changed something, with the state before and after (the picture
    // included for a replacement); the owner records it.
    void edited(TImageButtonA::Edit kind, const ElementState &before, const ElementState &after);
    // The menu's "点击", with the element's name; the owner connects its tab switch.
    void OnElementClick(const QString &name);

private:
    void showPicture();
    void fitToPicture();
    void storePanelPosition();
    void report(Edit kind, const ElementState &before, const ElementState &after);
    QString choosePng();

    ElementPicture &m_picture;
    QPointer<ImagePanel> m_panel;
    QMenu *m_popupMenu = nullptr;
    QAction *m_clickItem = nullptr;
    QAction *m_replaceItem = nullptr;
    QAction *m_settingsItem = nullptr;
    QPointer<TSetUi> m_positionDialog;
    bool m_autoSize = true;
};

} // namespace zq
