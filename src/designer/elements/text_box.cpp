#include "elements/text_box.h"

#include "view/canvas_item.h"
#include "view/move_panel.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPainter>

namespace zq {

namespace {

// The platform panel's default look: raised one-pixel bevel, button face, the caption
// centred on one line. Presses and moves go to the box. On the skin canvas it is laid out
// and painted in device pixels, and so is its caption: the client draws its fields' text at
// its own size, whatever the display's scaling.
class TextBoxFrame : public QFrame, public CanvasItem {
public:
    TextBoxFrame(QWidget *parent, TTextBox &box)
        : QFrame(parent)
        , m_box(box)
    {
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        setLineWidth(1);
        setBackgroundRole(QPalette::Button);
        setAutoFillBackground(true);
        // Hover alone sets the cursor for the zone under the pointer.
        setMouseTracking(true);
    }

    // The face and the raised one-pixel bevel are drawn here, not by the style, which would
    // widen the bevel under display scaling.
    void paintItem(QPainter &painter, const QRegion &) override
    {
        const QRect r = rect();
        painter.fillRect(r, palette().brush(backgroundRole()));
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.setFont(font());
        painter.drawText(contentsRect(), Qt::AlignCenter | Qt::TextSingleLine, m_box.Caption);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        paintItem(painter, event->region());
    }
    // Every press is the box's, whether or not it starts anything: none reaches the page.
    void mousePressEvent(QMouseEvent *event) override { m_box.BoxMouseDown(*event); }
    void mouseDoubleClickEvent(QMouseEvent *event) override { m_box.BoxMouseDown(*event); }
    void mouseMoveEvent(QMouseEvent *event) override { m_box.BoxMouseMove(*event); }

private:
    TTextBox &m_box;
};

} // namespace

TTextBox::TTextBox(QWidget *parentPanel, const QString &caption, BoxRect rect)
    : Caption(caption)
    , Left(rect.left)
    , Top(rect.top)
    , Width(rect.width)
    , Height(rect.height)
{
    Panel = new TextBoxFrame(parentPanel, *this);
    m_panel = Panel;
    Panel->setAccessibleName(Caption);
    Panel->setGeometry(Left, Top, Width, Height);
    Panel->show();
}

TTextBox::~TTextBox()
{
    delete m_panel.data();
}

void TTextBox::BoxMouseDown(const QMouseEvent &event)
{
    const BoxRect before = rect();
    MovePanelByMouse(Panel, event, kMovePrecision);
    recordRect();
    report(Edit::Mouse, before);
}

void TTextBox::BoxMouseMove(const QMouseEvent &event)
{
    const BoxRect before = rect();
    MovePanelByMouse(Panel, event, kMovePrecision);
    // A move with the left button held alone starts the loop too; what it leaves is what the
    // screen shows, so record it as a press does. Hovering changes no geometry.
    recordRect();
    report(Edit::Mouse, before);
}

void TTextBox::setRect(BoxRect r)
{
    Panel->setGeometry(r.left, r.top, r.width, r.height);
    recordRect();
}

void TTextBox::ApplyRect(BoxRect r, Edit kind)
{
    const BoxRect before = rect();
    setRect(r);
    report(kind, before);
}

void TTextBox::report(Edit kind, BoxRect before)
{
    if (!(before == rect()))
        emit edited(kind, before, rect());
}

void TTextBox::recordRect()
{
    const QRect g = Panel->geometry();
    Left = g.x();
    Top = g.y();
    Width = g.width();
    Height = g.height();
}

} // namespace zq
