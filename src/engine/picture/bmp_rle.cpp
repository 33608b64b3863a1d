#include "picture/bmp_rle.h"

#include "errors/engine_error.h"
#include "errors/error_texts.h"

namespace zq {

namespace {

[[noreturn]] void notValid()
{
    throw EngineError(errors::bitmapNotValid());
}

class RleDecoder {
public:
    RleDecoder(const uint8_t *data, int64_t size, Bitmap &bitmap)
        : m_data(data)
        , m_size(size)
        , m_bitmap(bitmap)
        , m_width(bitmap.width())
        , m_height(bitmap.height())
        , m_entries(bitmap.format().palette.size())
        , m_four(bitmap.format().bitsPerPixel == 4)
    {}

    void run()
    {
        while (true) {
            if (m_size - m_pos < 2) {
                // A missing end-of-bitmap is forgiven only once every row has ended.
                if (m_y >= m_height)
                    return;
                notValid();
            }
            const int count = m_data[m_pos];
            const int value = m_data[m_pos + 1];
            m_pos += 2;
            if (count > 0) {
                for (int i = 0; i < count; ++i)
                    put(m_four ? ((i & 1) ? value & 0xF : value >> 4) : value);
                continue;
            }
            switch (value) {
            case 0: // end of line
                m_x = 0;
                ++m_y;
                break;
            case 1: // end of bitmap
                return;
            case 2: { // delta
                if (m_size - m_pos < 2)
                    notValid();
                m_x += m_data[m_pos];
                m_y += m_data[m_pos + 1];
                m_pos += 2;
                if (m_x > m_width || m_y > m_height)
                    notValid();
                break;
            }
            default: { // absolute run, padded to a 16-bit boundary
                const int64_t bytes = m_four ? (value + 1) / 2 : value;
                if (m_size - m_pos < bytes)
                    notValid();
                const uint8_t *p = m_data + m_pos;
                for (int i = 0; i < value; ++i)
                    put(m_four ? ((i & 1) ? p[i / 2] & 0xF : p[i / 2] >> 4) : p[i]);
                m_pos += bytes + (bytes & 1);
            }
            }
        }
    }

private:
    void put(int index)
    {
        if (size_t(index) >= m_entries || m_y >= m_height)
            notValid();
        if (m_x < m_width)
            m_bitmap.setRawPixel(int(m_x), int(m_height - 1 - m_y), uint32_t(index));
        ++m_x;
    }

    const uint8_t *m_data;
    int64_t m_size;
    int64_t m_pos = 0;
    Bitmap &m_bitmap;
    int64_t m_width;
    int64_t m_height;
    int64_t m_x = 0;
    int64_t m_y = 0; // counted from the bottom row
    size_t m_entries;
    bool m_four;
};

} // namespace

void decodeRle(const uint8_t *data, int64_t size, Bitmap &bitmap)
{
    RleDecoder(data, size, bitmap).run();
}

} // namespace zq
