#pragma once

#include <QComboBox>
#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

namespace zq {

class SkinCanvas;

// The zoom, shown in the control window while it is not 100 %: a small box with the steps and
// 适合屏幕, whose text and accessible name carry the percentage ("缩放 71%"). Choosing an entry
// zooms there. The box is made the first time the zoom leaves 100 %, so the window stays as it
// was until then.
class ZoomBox : public QObject {
    Q_OBJECT
public:
    ZoomBox(SkinCanvas *canvas, QWidget *client, QRect place);

    // Null until the zoom first leaves 100 %.
    QComboBox *box() const { return m_box; }

private:
    void make();
    void follow();
    void choose(int index);
    void fitText();

    SkinCanvas *m_canvas;
    QWidget *m_client;
    QRect m_place;
    QPointer<QComboBox> m_box;
};

} // namespace zq
