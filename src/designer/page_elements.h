#pragma once

#include "image_button.h"
#include "text_box.h"

#include <memory>

namespace zq {

// The log-in page with its three text boxes.
class TUserLog : public TImageButtonA {
public:
    using TImageButtonA::TImageButtonA;
    ~TUserLog() override;

    TTextBox *Box1 = nullptr;
    TTextBox *Box2 = nullptr;
    TTextBox *Box3 = nullptr;

    void MakeBox1(BoxRect r);
    void MakeBox2(BoxRect r);
    void MakeBox3(BoxRect r);

private:
    std::unique_ptr<TTextBox> m_boxes[3];
};

// The top-up page with its four text boxes.
class TFil : public TImageButtonA {
public:
    using TImageButtonA::TImageButtonA;
    ~TFil() override;

    TTextBox *Box1 = nullptr;
    TTextBox *Box2 = nullptr;
    TTextBox *Box3 = nullptr;
    TTextBox *Box4 = nullptr;

    void MakeBox1(BoxRect r);
    void MakeBox2(BoxRect r);
    void MakeBox3(BoxRect r);
    void MakeBox4(BoxRect r);

private:
    std::unique_ptr<TTextBox> m_boxes[4];
};

// The management page with its four text boxes; Box3 is shut down, Box4 restart.
class TMan : public TImageButtonA {
public:
    using TImageButtonA::TImageButtonA;
    ~TMan() override;

    TTextBox *Box1 = nullptr;
    TTextBox *Box2 = nullptr;
    TTextBox *Box3 = nullptr;
    TTextBox *Box4 = nullptr;

    void MakeBox1(BoxRect r);
    void MakeBox2(BoxRect r);
    void MakeBox3(BoxRect r);
    void MakeBox4(BoxRect r);

private:
    std::unique_ptr<TTextBox> m_boxes[4];
};

} // namespace zq
