#pragma once

#include <QFont>
#include <QPointer>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <optional>

namespace zq {

// Drawn above the elements and never part of a picture: the selection's dashed outline
// with its handles, the guide lines of a snap, and the readout of a drag or key step. The
// mouse goes through it, and it leaves out the window it is told to keep clear of. It covers
// the preview and counts in the view's device pixels, as the canvas does, so an outline or a
// guide lies on the screen pixels of the edge it marks at any display scaling; the readout's
// text and margins follow the display's scaling, to stay readable.
class EditOverlay : public QWidget {
    Q_OBJECT
public:
    explicit EditOverlay(QWidget *surface);

    // Device pixels per logical pixel.
    qreal ratio() const { return devicePixelRatioF(); }
    // The device pixel under a logical position of the overlay.
    QPoint toDevice(QPoint logical) const;
    // A distance of the interface (a margin, an offset) in device pixels.
    QPoint scaled(QPoint logical) const;

    // The selected item's rectangle and the area it is seen through (its page, for a box),
    // both in device pixels of the view; an empty rectangle shows no selection.
    void setSelection(const QRect &item, const QRect &clip);
    // Guide lines along x and y, each as far as `extent` reaches.
    void setGuides(std::optional<int> x, std::optional<int> y, const QRect &extent);
    // A readout label with its top-left corner at `at`; empty text hides it.
    void setReadout(const QString &text, QPoint at);
    // The window the overlay never draws over.
    void keepClearOf(QWidget *window) { m_keepClear = window; }
    QWidget *keepClear() const { return m_keepClear; }

    QRect selectionRect() const { return m_item; }
    QString readoutText() const { return m_readout; }
    QRect readoutRect() const;
    std::optional<int> xGuide() const { return m_xGuide; }
    std::optional<int> yGuide() const { return m_yGuide; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRegion drawnArea() const;
    QFont readoutFont() const;
    void refresh(const QRegion &before);
    QRegion allowed() const;

    QRect m_item;
    QRect m_clip;
    std::optional<int> m_xGuide;
    std::optional<int> m_yGuide;
    QRect m_guideExtent;
    QString m_readout;
    QPoint m_readoutAt;
    QPointer<QWidget> m_keepClear;
};

} // namespace zq
