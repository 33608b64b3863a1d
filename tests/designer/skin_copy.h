#pragma once

// A private copy of the sample skin for one test, and small helpers to look at its files.

#include "support/sample_skin_files.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The skin's files in the order a save writes them.
inline const QStringList kSaveOrder = {QStringLiteral("ZqCSkin.ini"), QStringLiteral("zqLOG.bmp"),
                                       QStringLiteral("zqFIL.bmp"),   QStringLiteral("zqMAN.bmp"),
                                       QStringLiteral("zqLOGed.bmp"), QStringLiteral("zqFILed.bmp"),
                                       QStringLiteral("zqMANed.bmp"), QStringLiteral("zqLOCKPIC.jpg")};

class SkinCopy {
public:
    SkinCopy()
        : m_ok(zqtest::copySampleSkin(m_dir.path()))
    {}

    bool isValid() const { return m_ok && m_dir.isValid(); }
    QString folder() const { return m_dir.path(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString layout() const { return path(QStringLiteral("ZqCSkin.ini")); }

    // Dates every file back a day, so that a write shows in its modification time.
    void ageFiles() const
    {
        const QDateTime past = QDateTime::currentDateTime().addDays(-1);
        for (const QString &name : kSaveOrder) {
            QFile file(path(name));
            if (file.open(QIODevice::ReadWrite))
                file.setFileTime(past, QFileDevice::FileModificationTime);
        }
    }

    // The files written since ageFiles(), in save order.
    QStringList writtenFiles() const
    {
        const QDateTime recent = QDateTime::currentDateTime().addSecs(-3600);
        QStringList written;
        for (const QString &name : kSaveOrder) {
            const QFileInfo info(path(name));
            if (info.isFile() && info.lastModified() > recent)
                written << name;
        }
        return written;
    }

    // One value of the layout file, as text: the key's line in its section, names matched
    // without regard to case as the profile files do.
    QString value(const QString &section, const QString &key) const
    {
        QFile file(layout());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QString current;
        for (const QByteArray &raw : file.readAll().split('\n')) {
            const QString line = QString::fromLatin1(raw).trimmed();
            if (line.startsWith(u'[') && line.endsWith(u']'))
                current = line.mid(1, line.size() - 2);
            else if (current.compare(section, Qt::CaseInsensitive) == 0 &&
                     line.section(u'=', 0, 0).trimmed().compare(key, Qt::CaseInsensitive) == 0)
                return line.section(u'=', 1).trimmed();
        }
        return {};
    }

    // Replaces one text of the layout file by another.
    bool editLayout(const QByteArray &before, const QByteArray &after) const
    {
        QFile file(layout());
        if (!file.open(QIODevice::ReadOnly))
            return false;
        QByteArray text = file.readAll();
        file.close();
        if (!text.contains(before))
            return false;
        text.replace(before, after);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
    }

private:
    QTemporaryDir m_dir; // first: made before the files are copied into it
    bool m_ok;
};
