#pragma once

#include "editing/key_steps.h"
#include "view/hit_zone.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>

#include <map>
#include <vector>

class QWidget;

namespace zq {

class EditOverlay;
class SkinWorkspace;
class TForm2;
class TImageButtonA;
class TPageElement;
class TTextBox;

// The editing comforts over the preview: a selection (a picture or a text box) outlined by
// an overlay, arrow keys that move it, Tab that walks through what is shown, snapping and guides while
// dragging, and a readout of the dragged or keyed item's bounds. Every change goes through the elements' and
// boxes' own entry points, so the workspace records it as the mouse's edits are.
class LayoutEditor : public QObject {
    Q_OBJECT
public:
    static constexpr int kSnapDistance = 6;
    static constexpr int kReadoutMs = 1000;

    // `keepClear` is the control window: the element dialogs open clear of it.
    LayoutEditor(SkinWorkspace &workspace, TForm2 *preview, QWidget *keepClear);
    ~LayoutEditor() override;

    // Watches the elements and boxes the workspace has just built.
    void attach();

    // The selected element's or box's window, or null.
    QWidget *selected() const { return m_selected; }
    void select(QWidget *item);
    void clearSelection();
    // Tab order: the visible pictures, then the boxes of the page shown.
    void selectNext(bool backwards);
    // One arrow key's step on the selection.
    void step(const KeyStep &step);

    EditOverlay *overlay() const { return m_overlay; }

    // Every key and gesture, one a line.
    static QString helpText();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void installShortcuts();
    std::vector<QWidget *> tabOrder() const;
    bool isShown(QWidget *item) const;
    QRect itemRect(QWidget *item) const;
    QRect itemClip(QWidget *item) const;
    QString readoutText(QWidget *item) const;
    void refreshSelection();
    void showReadout(QWidget *item, QPoint at, bool expires);
    QRect snapStep(QWidget *control, HitZone zone, const QRect &wanted, Qt::KeyboardModifiers held);
    void dragStep(QWidget *control, bool running);

    SkinWorkspace &m_workspace;
    TForm2 *m_preview;
    EditOverlay *m_overlay;
    // The control window: dialogs open clear of it.
    QPointer<QWidget> m_keepClear;
    QPointer<QWidget> m_selected;
    std::map<QWidget *, TImageButtonA *> m_elements;
    std::map<QWidget *, TTextBox *> m_boxes;
    std::map<const TTextBox *, TPageElement *> m_pageOf;
    QTimer m_readoutTimer;
};

} // namespace zq
