#pragma once

#include <QString>

// The fixed error texts of the system, filled in with their arguments.
namespace zq::errors {

QString cannotOpenFile(const QString &path, const QString &reason);   // Cannot open file "%s". %s
QString cannotCreateFile(const QString &path, const QString &reason); // Cannot create file "%s". %s
QString unableToWrite(const QString &path);                           // Unable to write to %s
QString jpegError(int messageCode);                                   // JPEG error #%d
QString notValidInteger(const QString &text);                         // '%s' is not a valid integer value
QString bitmapNotValid();                                             // Bitmap image is not valid

} // namespace zq::errors
