#include "text_box.h"

#include <QFrame>

namespace zq {

TTextBox::TTextBox(QWidget *parentPanel, const QString &caption, BoxRect rect)
    : Panel(new QFrame(parentPanel))
    , Caption(caption)
    , Left(rect.left)
    , Top(rect.top)
    , Width(rect.width)
    , Height(rect.height)
    , m_guard(Panel)
{
    Panel->setGeometry(Left, Top, Width, Height);
    Panel->show();
}

TTextBox::~TTextBox()
{
    delete m_guard.data();
}

void TTextBox::BoxMouseDown(const QMouseEvent &) {}
void TTextBox::BoxMouseMove(const QMouseEvent &) {}
void TTextBox::recordRect() {}

} // namespace zq
