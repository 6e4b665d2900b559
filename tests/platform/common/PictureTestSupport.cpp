#include "PictureTestSupport.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace support
{
void SetPixels(CPicture& picture, const fixtures::Pixels& pixels)
{
    BITMAPINFO info;
    memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = LONG(pixels.width);
    info.bmiHeader.biHeight = -LONG(pixels.height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    memcpy(bits, pixels.argb.data(), pixels.argb.size() * 4);
    picture.CreateFromHBITMAP(bitmap);
    DeleteObject(bitmap);
}

fixtures::Pixels GetPixels(const CPicture& picture)
{
    fixtures::Pixels out;
    HBITMAP bitmap = picture.MakeBitmap();
    if (bitmap == NULL)
        return out;
    DIBSECTION section;
    GetObject(bitmap, sizeof(section), &section);
    out.width = picture.GetWidth();
    out.height = picture.GetHeight();
    const DWORD* bits = static_cast<const DWORD*>(section.dsBm.bmBits);
    out.argb.assign(bits, bits + size_t(out.width) * out.height);
    DeleteObject(bitmap);
    return out;
}

Canvas::Canvas(int width, int height, COLORREF fill) : m_width(width)
{
    BITMAPINFO info;
    memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    m_bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    m_bits = static_cast<DWORD*>(bits);
    m_dc = CreateCompatibleDC(NULL);
    m_old = SelectObject(m_dc, m_bitmap);
    RECT all = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(m_dc, &all, brush);
    DeleteObject(brush);
}

Canvas::~Canvas()
{
    SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
    DeleteObject(m_bitmap);
}

DWORD Canvas::At(int x, int y) const
{
    GdiFlush();
    return m_bits[size_t(y) * m_width + x] & 0xFFFFFF;
}

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    char name[MAX_PATH];
    snprintf(name, sizeof(name), "%scommon_tests_%lu_%d", base, GetCurrentProcessId(), ++counter);
    CreateDirectoryA(name, NULL);
    m_path = name;
}

TempFolder::~TempFolder()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((m_path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((m_path + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(m_path.c_str());
}

std::string TempFolder::Path(const char* name) const
{
    return m_path + "\\" + name;
}

void TempFolder::Write(const char* name, const fixtures::Bytes& bytes) const
{
    FILE* file = fopen(Path(name).c_str(), "wb");
    if (file == NULL)
        return;
    if (!bytes.empty())
        fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

bool Near(DWORD a, DWORD b, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8) {
        int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (d < -tolerance || d > tolerance)
            return false;
    }
    return true;
}
}
