#include "page_elements.h"

namespace zq {

TUserLog::~TUserLog() = default;
void TUserLog::MakeBox1(BoxRect) {}
void TUserLog::MakeBox2(BoxRect) {}
void TUserLog::MakeBox3(BoxRect) {}

TFil::~TFil() = default;
void TFil::MakeBox1(BoxRect) {}
void TFil::MakeBox2(BoxRect) {}
void TFil::MakeBox3(BoxRect) {}
void TFil::MakeBox4(BoxRect) {}

TMan::~TMan() = default;
void TMan::MakeBox1(BoxRect) {}
void TMan::MakeBox2(BoxRect) {}
void TMan::MakeBox3(BoxRect) {}
void TMan::MakeBox4(BoxRect) {}

} // namespace zq
