#pragma once

#include "picture/bitmap.h"

#include <QByteArray>
#include <QString>

namespace zq {

class JpegEncodeAhead;

// What libjpeg warned of while decoding: data cut short or corrupt, which it fills in (grey
// or garbled) rather than failing.
struct JpegWarnings {
    long count = 0;
    QString first; // libjpeg's text of the first one
};

// A JPEG file held compressed, with the facts of its header, decoded on demand; and the
// encoder that writes a bitmap back. The progressive setting of the encoder follows the
// last file loaded, so a progressive background is saved progressive.
//
// Errors raise EngineError: "Cannot open file ..." when the file cannot be read,
// "JPEG error #n" (libjpeg's message number) when the data is not a usable JPEG,
// "Cannot create file ..." when the output cannot be written. Warnings are ignored.
class JpegCodec {
public:
    // Reads the whole file and its header. On failure the codec keeps what it held.
    void loadFile(const QString &path);
    // Same, from bytes already in memory.
    void loadData(const QByteArray &data);

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool isGrayscale() const { return m_grayscale; }
    bool isProgressive() const { return m_progressive; }
    const QByteArray &data() const { return m_data; }

    // Full size, accurate DCT, block smoothing. Colour files give a 24-bit bitmap; grayscale
    // files, or any file when the display shows 8 bits per pixel or fewer, an 8-bit bitmap of
    // at most 236 palette colours. ahead, when given, is handed each row as it is finished;
    // warnings, when given, learns what libjpeg warned of.
    Bitmap decode(bool lowColourDisplay = false, JpegEncodeAhead *ahead = nullptr,
                  JpegWarnings *warnings = nullptr) const;

    // A colour JPEG of the bitmap at quality 90 with baseline tables, progressive exactly
    // when the last file loaded had more than one scan.
    QByteArray encode(const Bitmap &bitmap) const;
    // Encodes and replaces the file at path without ever leaving it half-written.
    void saveFile(const QString &path, const Bitmap &bitmap) const;
    // Same, for bytes already encoded.
    static void writeEncoded(const QString &path, const QByteArray &bytes);

    // Palette size of 8-bit decoding.
    static constexpr int paletteColours = 236;
    // Pictures past this many pixels are refused before anything is allocated for them.
    static constexpr qint64 maxPixels = qint64(1) << 28;

private:
    QByteArray m_data;
    int m_width = 0;
    int m_height = 0;
    bool m_grayscale = false;
    bool m_progressive = false;
};

} // namespace zq
