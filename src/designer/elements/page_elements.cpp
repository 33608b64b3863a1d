#include "elements/page_elements.h"

namespace zq {

namespace {

QString boxCaption(Element page, int slot)
{
    for (const BoxTableRow &row : boxTable) {
        if (row.page == page && row.slot == slot)
            return row.caption.toString();
    }
    return {};
}

} // namespace

TPageElement::TPageElement(ElementPicture &picture, QWidget *preview, Element page,
                           std::initializer_list<TTextBox **> slotMembers)
    : TImageButtonA(picture, preview)
    , m_page(page)
    , m_slots(slotMembers)
    , m_boxes(slotMembers.size())
{}

TPageElement::~TPageElement() = default;

void TPageElement::MakeBox(int slot, BoxRect r)
{
    if (slot < 1 || size_t(slot) > m_slots.size())
        return;
    auto &owner = m_boxes[size_t(slot) - 1];
    owner = std::make_unique<TTextBox>(Panel(), boxCaption(m_page, slot), r);
    *m_slots[size_t(slot) - 1] = owner.get();
}

TTextBox *TPageElement::BoxInSlot(int slot) const
{
    if (slot < 1 || size_t(slot) > m_boxes.size())
        return nullptr;
    return m_boxes[size_t(slot) - 1].get();
}

TUserLog::TUserLog(ElementPicture &picture, QWidget *preview)
    : TPageElement(picture, preview, Element::LogPage, {&Box1, &Box2, &Box3})
{}

TFil::TFil(ElementPicture &picture, QWidget *preview)
    : TPageElement(picture, preview, Element::FilPage, {&Box1, &Box2, &Box3, &Box4})
{}

TMan::TMan(ElementPicture &picture, QWidget *preview)
    : TPageElement(picture, preview, Element::ManPage, {&Box1, &Box2, &Box3, &Box4})
{}

} // namespace zq
