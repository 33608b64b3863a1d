#include "document/edit_commands.h"

namespace zq {

namespace {
// Merge ids: key runs merge, everything else stands alone (-1).
constexpr int kElementKeyRun = 1;
constexpr int kBoxKeyRun = 2;
} // namespace

ElementEditCommand::ElementEditCommand(TImageButtonA &element, TImageButtonA::Edit kind, ElementState before,
                                       ElementState after)
    : m_element(element)
    , m_kind(kind)
    , m_before(std::move(before))
    , m_after(std::move(after))
{}

void ElementEditCommand::undo()
{
    m_element.restore(m_before);
}

void ElementEditCommand::redo()
{
    // Pushed once the edit is made: the first redo has nothing to do.
    if (std::exchange(m_done, false))
        return;
    m_element.restore(m_after);
}

int ElementEditCommand::id() const
{
    return m_kind == TImageButtonA::Edit::Key ? kElementKeyRun : -1;
}

bool ElementEditCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const ElementEditCommand *>(other);
    if (&next->m_element != &m_element)
        return false;
    m_after = next->m_after;
    return true;
}

BoxEditCommand::BoxEditCommand(TTextBox &box, TTextBox::Edit kind, BoxRect before, BoxRect after)
    : m_box(box)
    , m_kind(kind)
    , m_before(before)
    , m_after(after)
{}

void BoxEditCommand::undo()
{
    m_box.setRect(m_before);
}

void BoxEditCommand::redo()
{
    if (std::exchange(m_done, false))
        return;
    m_box.setRect(m_after);
}

int BoxEditCommand::id() const
{
    return m_kind == TTextBox::Edit::Key ? kBoxKeyRun : -1;
}

bool BoxEditCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const BoxEditCommand *>(other);
    if (&next->m_box != &m_box)
        return false;
    m_after = next->m_after;
    return true;
}

BackgroundCommand::BackgroundCommand(TBGImage &background, TBGImage::Picture before, TBGImage::Picture after,
                                     std::function<void()> afterUndo, std::function<void()> show)
    : m_background(background)
    , m_before(std::move(before))
    , m_after(std::move(after))
    , m_afterUndo(std::move(afterUndo))
    , m_show(std::move(show))
{}

void BackgroundCommand::undo()
{
    m_background.RestorePicture(m_before);
    m_afterUndo();
    m_show();
}

void BackgroundCommand::redo()
{
    if (std::exchange(m_done, false))
        return;
    m_background.RestorePicture(m_after);
    m_show();
}

} // namespace zq
