#pragma once

#include "elements/image_button.h"
#include "elements/text_box.h"
#include "skin/asset_names.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace zq {

// A page: a picture element that carries text boxes, one a slot, captioned from the box table.
class TPageElement : public TImageButtonA {
public:
    ~TPageElement() override;

    // Fills a slot (1-based) with a new box over the page's panel; a box already in the slot
    // goes with it. A slot the page does not have gets nothing.
    void MakeBox(int slot, BoxRect r);
    TTextBox *BoxInSlot(int slot) const; // null when empty or not on this page

protected:
    // `slotMembers` are the page's Box1, Box2... members, kept pointing at the boxes made.
    TPageElement(ElementPicture &picture, QWidget *preview, Element page,
                 std::initializer_list<TTextBox **> slotMembers);

private:
    Element m_page;
    std::vector<TTextBox **> m_slots;
    std::vector<std::unique_ptr<TTextBox>> m_boxes;
};

// The log-in page with its three text boxes.
class TUserLog : public TPageElement {
public:
    TUserLog(ElementPicture &picture, QWidget *preview);

    TTextBox *Box1 = nullptr;
    TTextBox *Box2 = nullptr;
    TTextBox *Box3 = nullptr;

    void MakeBox1(BoxRect r) { MakeBox(1, r); }
    void MakeBox2(BoxRect r) { MakeBox(2, r); }
    void MakeBox3(BoxRect r) { MakeBox(3, r); }
};

// The top-up page with its four text boxes.
class TFil : public TPageElement {
public:
    TFil(ElementPicture &picture, QWidget *preview);

    TTextBox *Box1 = nullptr;
    TTextBox *Box2 = nullptr;
    TTextBox *Box3 = nullptr;
    TTextBox *Box4 = nullptr;

    void MakeBox1(BoxRect r) { MakeBox(1, r); }
    void MakeBox2(BoxRect r) { MakeBox(2, r); }
    void MakeBox3(BoxRect r) { MakeBox(3, r); }
    void MakeBox4(BoxRect r) { MakeBox(4, r); }
};

// The management page with its four text boxes; Box3 is shut down, Box4 restart.
class TMan : public TPageElement {
public:
    TMan(ElementPicture &picture, QWidget *preview);

    TTextBox *Box1 = nullptr;
    TTextBox *Box2 = nullptr;
    TTextBox *Box3 = nullptr;
    TTextBox *Box4 = nullptr;

    void MakeBox1(BoxRect r) { MakeBox(1, r); }
    void MakeBox2(BoxRect r) { MakeBox(2, r); }
    void MakeBox3(BoxRect r) { MakeBox(3, r); }
    void MakeBox4(BoxRect r) { MakeBox(4, r); }
};

} // namespace zq
