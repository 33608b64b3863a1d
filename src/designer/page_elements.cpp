#include "page_elements.h"

#include "skin/asset_names.h"

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

// Fills one slot of a page with a new box over the page's panel; a box already in the slot
// goes with it.
TTextBox *makeBox(std::unique_ptr<TTextBox> &owner, const TImageButtonA &page, Element kind, int slot,
                  BoxRect rect)
{
    owner = std::make_unique<TTextBox>(page.Panel(), boxCaption(kind, slot), rect);
    return owner.get();
}

} // namespace

TUserLog::~TUserLog() = default;

void TUserLog::MakeBox1(BoxRect r)
{
    Box1 = makeBox(m_boxes[0], *this, Element::LogPage, 1, r);
}

void TUserLog::MakeBox2(BoxRect r)
{
    Box2 = makeBox(m_boxes[1], *this, Element::LogPage, 2, r);
}

void TUserLog::MakeBox3(BoxRect r)
{
    Box3 = makeBox(m_boxes[2], *this, Element::LogPage, 3, r);
}

TFil::~TFil() = default;

void TFil::MakeBox1(BoxRect r)
{
    Box1 = makeBox(m_boxes[0], *this, Element::FilPage, 1, r);
}

void TFil::MakeBox2(BoxRect r)
{
    Box2 = makeBox(m_boxes[1], *this, Element::FilPage, 2, r);
}

void TFil::MakeBox3(BoxRect r)
{
    Box3 = makeBox(m_boxes[2], *this, Element::FilPage, 3, r);
}

void TFil::MakeBox4(BoxRect r)
{
    Box4 = makeBox(m_boxes[3], *this, Element::FilPage, 4, r);
}

TMan::~TMan() = default;

void TMan::MakeBox1(BoxRect r)
{
    Box1 = makeBox(m_boxes[0], *this, Element::ManPage, 1, r);
}

void TMan::MakeBox2(BoxRect r)
{
    Box2 = makeBox(m_boxes[1], *this, Element::ManPage, 2, r);
}

void TMan::MakeBox3(BoxRect r)
{
    Box3 = makeBox(m_boxes[2], *this, Element::ManPage, 3, r);
}

void TMan::MakeBox4(BoxRect r)
{
    Box4 = makeBox(m_boxes[3], *this, Element::ManPage, 4, r);
}

} // namespace zq
