#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class QLineEdit;
class QPushButton;

namespace Ui {
class TSetUi;
}

namespace zq {

// Where a window of `size` goes beside `item` on `screen` without covering `keepClear`:
// right of the item, else left of it, each at the item's top or moved above or below
// `keepClear`; then below or above the item; then the screen's corners. All rectangles in
// one coordinate system.
QRect placeBeside(const QRect &screen, const QRect &item, QSize size, const QRect &keepClear);

// The position dialog: four fields (top, left, width, height), an OK button whose action
// the opener supplies, and four arrow buttons that nudge top or left by one pixel and then
// click OK. It knows nothing of what it positions. Modeless and on top; several may be open
// at once; the close box hides it.
class TSetUi : public QWidget {
    Q_OBJECT
public:
    // OK's action. It is handed the dialog whose OK was clicked, so that every dialog
    // applies its own fields even when one element has opened several.
    using Button1Action = std::function<void(TSetUi &dialog)>;

    // `owner` keeps the dialog alive; the dialog is a window of its own above the owner's.
    explicit TSetUi(QWidget *owner = nullptr);
    ~TSetUi() override;

    // Fills Edit1 with top, Edit2 with left, Edit3 with width, Edit4 with height, then
    // shows the dialog centred on the screen and brings it to the front.
    void ShowBounds(int left, int top, int width, int height);

    // Writes the four fields as ShowBounds does, without showing or moving the dialog.
    void showFields(int left, int top, int width, int height);

    void setButton1Click(Button1Action action);

    // Moves the shown dialog beside `item` (global coordinates): to its right, or to its
    // left where the screen ends, clear of `keepClear`.
    void placeBeside(const QRect &item, const QRect &keepClear);

    // Edit1 top, Edit2 left, Edit3 width, Edit4 height.
    QLineEdit *Edit1() const;
    QLineEdit *Edit2() const;
    QLineEdit *Edit3() const;
    QLineEdit *Edit4() const;
    QPushButton *Button1() const;
    QPushButton *Button2() const;
    QPushButton *Button3() const;
    QPushButton *Button4() const;
    QPushButton *Button5() const;

protected:
    // Esc hides the dialog, as its close box does.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void stepField(QLineEdit *field, int change);
    void centreOnScreen();

    std::unique_ptr<Ui::TSetUi> ui;
    Button1Action m_button1Action;
};

} // namespace zq
