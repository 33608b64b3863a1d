#include "errors/error_texts.h"

namespace zq::errors {

QString cannotOpenFile(const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason);
}

QString cannotCreateFile(const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot create file \"%1\". %2").arg(path, reason);
}

QString unableToWrite(const QString &path)
{
    return QStringLiteral("Unable to write to %1").arg(path);
}

QString jpegError(int messageCode)
{
    return QStringLiteral("JPEG error #%1").arg(messageCode);
}

QString notValidInteger(const QString &text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

QString bitmapNotValid()
{
    return QStringLiteral("Bitmap image is not valid");
}

} // namespace zq::errors
