#pragma once

#include <QString>

#include <future>
#include <memory>

namespace zq {

class TBGImage;

// Decodes a skin's background on a second thread while the program's windows come up, for
// the open the command line asks for. The open takes the result when it is for the same file
// at full colour; otherwise it decodes as usual and the result is dropped.
class BackgroundPreload {
public:
    explicit BackgroundPreload(const QString &jpegPath);
    ~BackgroundPreload(); // waits for the decode
    BackgroundPreload(const BackgroundPreload &) = delete;
    BackgroundPreload &operator=(const BackgroundPreload &) = delete;

    // The background of jpegPath decoded ahead, or null when there is none for it. A decode
    // that failed raises its error here, where the open would have met it.
    std::shared_ptr<TBGImage> take(const QString &jpegPath, bool lowColourDisplay);

private:
    QString m_path;
    std::future<std::shared_ptr<TBGImage>> m_result;
};

} // namespace zq
