#include "GifWriter.h"

#include <algorithm>
#include <stdexcept>

namespace skintest
{
namespace
{

void Put16(std::vector<BYTE>& out, int value)
{
    out.push_back(BYTE(value & 0xFF));
    out.push_back(BYTE((value >> 8) & 0xFF));
}

// Codes of 9 bits over 8-bit literals, with a clear code before the table
// would grow: no compression, but every decoder reads it.
class CodeWriter
{
public:
    explicit CodeWriter(std::vector<BYTE>& out) : m_out(out) {}

    void Code(int code)
    {
        m_bits |= unsigned(code) << m_count;
        m_count += 9;
        while (m_count >= 8) {
            Byte(BYTE(m_bits & 0xFF));
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    void Finish()
    {
        if (m_count > 0)
            Byte(BYTE(m_bits & 0xFF));
        FlushBlock();
        m_out.push_back(0); // block terminator
    }

private:
    void Byte(BYTE b)
    {
        m_block.push_back(b);
        if (m_block.size() == 255)
            FlushBlock();
    }
    void FlushBlock()
    {
        if (m_block.empty())
            return;
        m_out.push_back(BYTE(m_block.size()));
        m_out.insert(m_out.end(), m_block.begin(), m_block.end());
        m_block.clear();
    }

    std::vector<BYTE>& m_out;
    std::vector<BYTE> m_block;
    unsigned m_bits = 0;
    int m_count = 0;
};

} // namespace

std::vector<BYTE> AnimatedGif(const std::vector<GifFrame>& frames)
{
    if (frames.empty())
        throw std::invalid_argument("a GIF needs a frame");
    const int width = frames[0].pixels.width, height = frames[0].pixels.height;
    std::vector<COLORREF> palette;
    for (const GifFrame& frame : frames) {
        if (frame.pixels.width != width || frame.pixels.height != height)
            throw std::invalid_argument("GIF frames differ in size");
        for (COLORREF colour : frame.pixels.colours)
            if (std::find(palette.begin(), palette.end(), colour) == palette.end())
                palette.push_back(colour);
    }
    if (palette.size() > 256)
        throw std::invalid_argument("more than 256 colours");
    palette.resize(256, RGB(0, 0, 0));

    std::vector<BYTE> out = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, width);
    Put16(out, height);
    out.push_back(0xF7); // global colour table of 256 entries
    out.push_back(0);    // background index
    out.push_back(0);    // aspect
    for (COLORREF colour : palette) {
        out.push_back(GetRValue(colour));
        out.push_back(GetGValue(colour));
        out.push_back(GetBValue(colour));
    }
    // Loop for ever.
    const BYTE loop[] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
    out.insert(out.end(), loop, loop + sizeof(loop));

    for (const GifFrame& frame : frames) {
        out.insert(out.end(), {0x21, 0xF9, 4, 0x04}); // graphic control: keep the frame
        Put16(out, frame.delayMs / 10);
        out.insert(out.end(), {0, 0});
        out.push_back(0x2C);
        Put16(out, 0);
        Put16(out, 0);
        Put16(out, width);
        Put16(out, height);
        out.push_back(0);
        out.push_back(8); // minimum code size
        CodeWriter codes(out);
        const int kClear = 256, kEnd = 257;
        int sinceClear = 0;
        codes.Code(kClear);
        for (COLORREF colour : frame.pixels.colours) {
            if (sinceClear == 254) {
                codes.Code(kClear);
                sinceClear = 0;
            }
            codes.Code(int(std::find(palette.begin(), palette.end(), colour) - palette.begin()));
            ++sinceClear;
        }
        codes.Code(kEnd);
        codes.Finish();
    }
    out.push_back(0x3B);
    return out;
}

std::vector<BYTE> SolidGif(int width, int height, const std::vector<COLORREF>& colours, int delayMs)
{
    std::vector<GifFrame> frames;
    for (COLORREF colour : colours)
        frames.push_back({Pixels(width, height, colour), delayMs});
    return AnimatedGif(frames);
}

} // namespace skintest
