#pragma once

#include "errors/engine_error.h"
#include "errors/error_texts.h"

#include <QString>

namespace zq {

// A picture whose header claims more pixels than the engine opens, refused before anything
// is allocated for it. Its own text is the reader's usual one; a reader that knows the
// file's path raises namedFor(path) instead, which says which file and how large.
class PictureTooLarge : public EngineError {
public:
    PictureTooLarge(const QString &message, qint64 width, qint64 height)
        : EngineError(message)
        , m_width(width)
        , m_height(height)
    {}

    EngineError namedFor(const QString &path) const
    {
        return EngineError(errors::cannotOpenFile(
            path,
            QStringLiteral("The picture is %1 x %2 pixels, too large to open").arg(m_width).arg(m_height)));
    }

private:
    qint64 m_width;
    qint64 m_height;
};

} // namespace zq
