#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace zq {

// The skins opened last, newest first, kept across runs in the designer's settings: the open
// dialog starts in the newest one's folder and offers their folders in its history.
class RecentSkins {
public:
    static constexpr int kKept = 8;

    // `settings` must outlive this.
    explicit RecentSkins(QSettings &settings);

    // Layout paths, newest first, at most kKept, each once.
    QStringList layouts() const;
    // The folders of those skins, in the same order, each once.
    QStringList folders() const;
    // The newest skin's folder; empty before any skin was opened.
    QString startFolder() const;

    // Puts a skin just opened first.
    void add(const QString &layoutPath);

private:
    QSettings &m_settings;
};

} // namespace zq
