#include "view/background_preload.h"

#include "skin/bg_image.h"

#include <system_error>

namespace zq {

BackgroundPreload::BackgroundPreload(const QString &jpegPath)
    : m_path(jpegPath)
{
    try {
        m_result =
            std::async(std::launch::async, [path = m_path] { return std::make_shared<TBGImage>(path); });
    } catch (const std::system_error &) {
        // No second thread: the open decodes as it always does.
    }
}

BackgroundPreload::~BackgroundPreload() = default;

std::shared_ptr<TBGImage> BackgroundPreload::take(const QString &jpegPath, bool lowColourDisplay)
{
    if (!m_result.valid() || jpegPath != m_path || lowColourDisplay)
        return nullptr;
    return m_result.get();
}

} // namespace zq
