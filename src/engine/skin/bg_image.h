#pragma once

#include "picture/bitmap.h"
#include "picture/jpeg_codec.h"
#include "picture/jpeg_encode_ahead.h"

#include <QString>

#include <memory>

namespace zq {

// When the background's save is encoded. Ahead starts the encode on a second thread while
// the picture is decoded, for a caller that saves soon without replacing the background:
// the save then only writes the bytes, which are the same either way.
enum class BackgroundEncoding { AtSave, Ahead };

// The skin's background picture: decoded from the skin folder's JPEG, replaceable by another
// JPEG (or a PNG or BMP), and encoded back to the same file on save. The elements keep a reference to the
// working bitmap and flatten their replacement pictures onto it.
class TBGImage {
public:
    // Decodes the JPEG at path. lowColourDisplay decodes into an 8-bit palette, as for a
    // display of 8 bits per pixel or fewer.
    explicit TBGImage(const QString &path, bool lowColourDisplay = false,
                      BackgroundEncoding encoding = BackgroundEncoding::AtSave);
    // An encode running ahead reads the working bitmap's pixels where they lie.
    TBGImage(const TBGImage &) = delete;
    TBGImage &operator=(const TBGImage &) = delete;

    const Bitmap &BgBitmap() const { return m_bgBitmap; }
    const QString &BgPath() const { return m_bgPath; }
    const JpegCodec &BgJpeg() const { return m_bgJpeg; }

    // Draws the JPEG, PNG or BMP at path over the whole background, stretched to the background's size.
    // The background keeps its size and pixel format, so the layout's fractions still hold.
    // Nothing changes unless the new picture decodes completely.
    void ReplacePicture(const QString &path);

    // What a replacement changes: the pixels and the codec that decides how they are saved.
    // `encoded`, when not empty, holds the bytes a save writes for these very pixels (a
    // recovered picture keeps the file it came from).
    struct Picture {
        Bitmap pixels;
        JpegCodec jpeg;
        QByteArray encoded;
    };
    Picture picture() const { return {m_bgBitmap, m_bgJpeg, m_encoded}; }
    // Puts back a picture taken earlier. The working bitmap stays the same object, so the
    // elements' reference to it holds.
    void RestorePicture(const Picture &picture);

    // Encodes the background to BgPath; the file is replaced whole or left as it was.
    void SaveBackground();
    // The bytes SaveBackground writes: those encoded ahead when there are.
    QByteArray jpegBytes();

private:
    Bitmap m_bgBitmap;
    JpegCodec m_bgJpeg;
    QString m_bgPath;
    bool m_lowColourDisplay;
    QByteArray m_encoded; // see Picture
    // Last, so that it stops before the bitmap it reads goes.
    std::unique_ptr<JpegEncodeAhead> m_encodeAhead;
};

} // namespace zq
