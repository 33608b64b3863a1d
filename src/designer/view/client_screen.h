#pragma once

#include <QList>
#include <QSize>
#include <QString>

#include <optional>

class QPainter;
class QWidget;

namespace zq {

// The client screen the skin is checked against: none, one of the common sizes, or the
// background's own size (which follows the background). The client draws the background 1:1
// from the screen's top-left corner, so whatever lies right of or below the screen is cut off.
struct ClientScreenChoice {
    enum class Kind { None, Size, Background };
    Kind kind = Kind::None;
    QSize size; // for Kind::Size

    // The screen for a background of `background`; none for Kind::None.
    std::optional<QSize> screenFor(QSize background) const;

    // As kept in the settings: "", "1366x768" or "background"; anything else reads as none.
    QString key() const;
    static ClientScreenChoice fromKey(const QString &key);

    friend bool operator==(const ClientScreenChoice &, const ClientScreenChoice &) = default;
};

// The shown items under `root` (pictures and the boxes on them, at any depth) that lie wholly or
// partly beyond a screen of `screen` from the skin's top-left corner, bottom up.
QList<QWidget *> itemsBeyondScreen(const QWidget *root, QSize screen);

// Frames the items beyond `screen` and draws its right and bottom edges, with `painter` in
// pixels of the skin at `zoom` under `root`. Drawn inside the edges they mark, so that an item's
// own repaints cover its frame.
void paintScreenCut(QPainter &painter, const QWidget *root, QSize screen, double zoom);

} // namespace zq
