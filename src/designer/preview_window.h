#pragma once

#include <QImage>
#include <QWidget>

#include <memory>

namespace Ui {
class TForm2;
}

namespace zq {

// The full-screen surface the skin is laid out on: borderless, on top while the program is
// active, grey where there is no picture. The background is painted by the window itself,
// 1:1 from its top-left corner, so that it always lies under every child window however the
// children are restacked. A left click on a spot no child covers is a click on the
// background picture (`Image1`).
class TForm2 : public QWidget {
    Q_OBJECT
public:
    static constexpr QRgb kGrey = 0xFF808080; // RGB(128, 128, 128)

    explicit TForm2(QWidget *parent = nullptr);
    ~TForm2() override;

    // Covers the primary display.
    void coverPrimaryScreen();

    // Shows `picture` as the background; an empty picture shows grey only. The image is
    // shared, not copied: one over a bitmap's rows shows those rows as they are at each paint.
    void setBackground(const QImage &picture);
    bool hasBackground() const { return !m_background.isNull(); }
    QSize backgroundSize() const { return m_background.size(); }

    // The image area fills the client area, so its size is the window's.
    QSize imageAreaSize() const { return size(); }

    // Stays above other programs' windows while the program is active and gives up that
    // place while another program is.
    void setKeptOnTop(bool onTop);

signals:
    // A left click on the background (or the grey around it), not on a child window.
    void image1Clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    std::unique_ptr<Ui::TForm2> ui;
    // Opaque, in whatever layout it came in: only the painted part is ever converted.
    QImage m_background;
    bool m_clickArmed = false;
};

} // namespace zq
