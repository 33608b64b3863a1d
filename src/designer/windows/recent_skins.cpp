#include "windows/recent_skins.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace zq {

namespace {

const QString kKey = QStringLiteral("recentSkins");

// One spelling per skin, whatever path led to it.
QString canonical(const QString &layoutPath)
{
    return QDir::cleanPath(QFileInfo(layoutPath).absoluteFilePath());
}

} // namespace

RecentSkins::RecentSkins(QSettings &settings)
    : m_settings(settings)
{}

QStringList RecentSkins::layouts() const
{
    QStringList kept;
    for (const QString &path : m_settings.value(kKey).toStringList()) {
        if (!path.isEmpty() && !kept.contains(path) && kept.size() < kKept)
            kept << path;
    }
    return kept;
}

QStringList RecentSkins::folders() const
{
    QStringList folders;
    for (const QString &layout : layouts()) {
        const QString folder = QFileInfo(layout).path();
        if (!folders.contains(folder))
            folders << folder;
    }
    return folders;
}

QString RecentSkins::startFolder() const
{
    return folders().value(0);
}

void RecentSkins::add(const QString &layoutPath)
{
    const QString path = canonical(layoutPath);
    QStringList kept = layouts();
    kept.removeAll(path);
    kept.prepend(path);
    while (kept.size() > kKept)
        kept.removeLast();
    m_settings.setValue(kKey, kept);
    m_settings.sync();
}

} // namespace zq
