#include "profile/profile_file.h"

#include "errors/engine_error.h"
#include "errors/error_texts.h"
#include "files/safe_file.h"

#include <QFileInfo>

namespace zq {

ProfileDocument ProfileFile::load() const
{
    QByteArray bytes;
    QString reason;
    if (!readWholeFile(path_, bytes, reason, maxFileBytes))
        return {};
    return ProfileDocument(bytes);
}

QByteArray ProfileFile::readValue(QByteArrayView section, QByteArrayView key) const
{
    return load().value(section, key);
}

ProfileDocument ProfileFile::loadForUpdate() const
{
    QByteArray bytes;
    QString reason;
    if (readWholeFile(path_, bytes, reason, maxFileBytes))
        return ProfileDocument(bytes);
    if (QFileInfo::exists(path_))
        throw EngineError(errors::unableToWrite(path_));
    return {};
}

void ProfileFile::save(const ProfileDocument &document) const
{
    if (!replaceFile(path_, document.bytes()).ok)
        throw EngineError(errors::unableToWrite(path_));
}

void ProfileFile::writeValue(QByteArrayView section, QByteArrayView key, QByteArrayView value) const
{
    ProfileDocument document = loadForUpdate();
    document.setValue(section, key, value);
    save(document);
}

} // namespace zq
