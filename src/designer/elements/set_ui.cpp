#include "elements/set_ui.h"

#include "numbers/strict_int.h"
#include "shared/designer_font.h"
#include "shared/error_report.h"
#include "ui_set_ui.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace zq {

TSetUi::TSetUi(QWidget *owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::WindowStaysOnTopHint)
    , ui(std::make_unique<Ui::TSetUi>())
{
    ui->setupUi(this);
    setFixedSize(225, 150);
    // Closing only hides it, and must never end the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    const QFont type = designerFont(font());
    setFont(type);
    for (QLineEdit *edit : {ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4})
        edit->setFont(type);

    // No default button: Enter and Esc do nothing here.
    for (QPushButton *button : {ui->Button1, ui->Button2, ui->Button3, ui->Button4, ui->Button5}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    connect(ui->Button1, &QPushButton::clicked, this, &TSetUi::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TSetUi::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TSetUi::Button3Click);
    connect(ui->Button4, &QPushButton::clicked, this, &TSetUi::Button4Click);
    connect(ui->Button5, &QPushButton::clicked, this, &TSetUi::Button5Click);
}

TSetUi::~TSetUi() = default;

void TSetUi::showFields(int left, int top, int width, int height)
{
    ui->Edit1->setText(QString::number(top));
    ui->Edit2->setText(QString::number(left));
    ui->Edit3->setText(QString::number(width));
    ui->Edit4->setText(QString::number(height));
}

void TSetUi::ShowBounds(int left, int top, int width, int height)
{
    showFields(left, top, width, height);

    centreOnScreen();
    show();
    // The frame is known only once the window is up; centre the whole window, not its inside.
    centreOnScreen();
    raise();
    activateWindow();
}

void TSetUi::centreOnScreen()
{
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect frame(QPoint(0, 0), frameGeometry().size());
    move(screen->geometry().center() - frame.center());
}

QRect placeBeside(const QRect &screen, const QRect &item, QSize size, const QRect &keepClear)
{
    constexpr int gap = 8;
    auto fits = [&](const QRect &r) { return screen.contains(r) && !r.intersects(keepClear); };
    // The item's top, else just below or above the window to keep clear of.
    auto tops = [&](int preferred) {
        const int highest = screen.bottom() - size.height() + 1;
        return std::array<int, 3>{std::clamp(preferred, screen.top(), std::max(screen.top(), highest)),
                                  keepClear.bottom() + 1 + gap, keepClear.top() - gap - size.height()};
    };
    const QRect seen = item & screen;
    const QRect anchor = seen.isEmpty() ? item : seen;
    for (const int left : {anchor.right() + 1 + gap, anchor.left() - gap - size.width()}) {
        for (const int top : tops(anchor.top())) {
            const QRect r(QPoint(left, top), size);
            if (fits(r))
                return r;
        }
    }
    const int left =
        std::clamp(anchor.left(), screen.left(), std::max(screen.left(), screen.right() - size.width() + 1));
    for (const int top : {anchor.bottom() + 1 + gap, anchor.top() - gap - size.height()}) {
        const QRect r(QPoint(left, top), size);
        if (fits(r))
            return r;
    }
    for (const QPoint corner :
         {screen.topLeft(), QPoint(screen.right() - size.width() + 1, screen.top()),
          QPoint(screen.left(), screen.bottom() - size.height() + 1),
          QPoint(screen.right() - size.width() + 1, screen.bottom() - size.height() + 1)}) {
        const QRect r(corner, size);
        if (fits(r))
            return r;
    }
    return QRect(screen.topLeft(), size);
}

void TSetUi::placeBeside(const QRect &item, const QRect &keepClear)
{
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    // The frame counts: it is what must stay clear.
    const QRect frame = frameGeometry();
    const QRect placed = zq::placeBeside(s->geometry(), item, frame.size(), keepClear);
    move(pos() + placed.topLeft() - frame.topLeft());
}

void TSetUi::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TSetUi::setButton1Click(Button1Action action)
{
    m_button1Action = std::move(action);
}

QLineEdit *TSetUi::Edit1() const
{
    return ui->Edit1;
}
QLineEdit *TSetUi::Edit2() const
{
    return ui->Edit2;
}
QLineEdit *TSetUi::Edit3() const
{
    return ui->Edit3;
}
QLineEdit *TSetUi::Edit4() const
{
    return ui->Edit4;
}
QPushButton *TSetUi::Button1() const
{
    return ui->Button1;
}
QPushButton *TSetUi::Button2() const
{
    return ui->Button2;
}
QPushButton *TSetUi::Button3() const
{
    return ui->Button3;
}
QPushButton *TSetUi::Button4() const
{
    return ui->Button4;
}
QPushButton *TSetUi::Button5() const
{
    return ui->Button5;
}

void TSetUi::Button1Click()
{
    if (!m_button1Action)
        return;
    runReportingErrors([this] { m_button1Action(*this); });
}

void TSetUi::Button2Click()
{
    stepField(ui->Edit1, -1);
}

void TSetUi::Button3Click()
{
    stepField(ui->Edit2, +1);
}

void TSetUi::Button4Click()
{
    stepField(ui->Edit1, +1);
}

void TSetUi::Button5Click()
{
    stepField(ui->Edit2, -1);
}

void TSetUi::stepField(QLineEdit *field, int change)
{
    runReportingErrors([&] {
        const int64_t stepped = int64_t{strToIntStrict(field->text())} + change;
        // At the ends of the range the value stays put rather than wrapping to the other end.
        const int64_t clamped = std::clamp<int64_t>(stepped, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max());
        field->setText(QString::number(clamped));
        ui->Button1->click();
    });
}

} // namespace zq
