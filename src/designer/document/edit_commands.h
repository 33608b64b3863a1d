#pragma once

#include "elements/element_state.h"
#include "elements/image_button.h"
#include "elements/text_box.h"
#include "skin/bg_image.h"
#include "skin/geometry.h"

#include <QUndoCommand>

#include <functional>

namespace zq {

// One recorded edit of a picture element. The edit has already been made when the command
// is pushed; undo and redo put the element into the state before or after it.
class ElementEditCommand : public QUndoCommand {
public:
    ElementEditCommand(TImageButtonA &element, TImageButtonA::Edit kind, ElementState before,
                       ElementState after);

    void undo() override;
    void redo() override;
    int id() const override;
    // A run of key steps on one element is one edit.
    bool mergeWith(const QUndoCommand *other) override;

private:
    TImageButtonA &m_element;
    TImageButtonA::Edit m_kind;
    ElementState m_before;
    ElementState m_after;
    bool m_done = true;
};

// One recorded move or resize of a text box.
class BoxEditCommand : public QUndoCommand {
public:
    BoxEditCommand(TTextBox &box, TTextBox::Edit kind, BoxRect before, BoxRect after);

    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    TTextBox &m_box;
    TTextBox::Edit m_kind;
    BoxRect m_before;
    BoxRect m_after;
    bool m_done = true;
};

// One background replacement. Undo puts the earlier pixels back exactly and then
// `afterUndo` runs (the elements that carry a PNG flatten again onto them); both directions
// end with `show`.
class BackgroundCommand : public QUndoCommand {
public:
    BackgroundCommand(TBGImage &background, TBGImage::Picture before, TBGImage::Picture after,
                      std::function<void()> afterUndo, std::function<void()> show);

    void undo() override;
    void redo() override;

private:
    TBGImage &m_background;
    TBGImage::Picture m_before;
    TBGImage::Picture m_after;
    std::function<void()> m_afterUndo;
    std::function<void()> m_show;
    bool m_done = true;
};

} // namespace zq
