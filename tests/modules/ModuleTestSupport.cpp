#include "ModuleTestSupport.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include "Picture.h"
#include "PictureMemFile.h"

void WriteFile(const std::string& path, const std::string& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

void WritePng(const std::string& path, int width, int height, COLORREF colour)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    ASSERT_NE(bitmap, nullptr);
    DWORD pixel = 0xFF000000 | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (int i = 0; i < width * height; ++i)
        static_cast<DWORD*>(bits)[i] = pixel;

    CPicture picture;
    bool made = picture.CreateFromHBITMAP(bitmap);
    DeleteObject(bitmap);
    ASSERT_TRUE(made);
    CPictureMemFile file;
    ASSERT_TRUE(picture.Encode(file, PICTURE_TYPE_PNG));
    WriteFile(path, std::string(reinterpret_cast<const char*>(file.GetBuffer()), file.GetSize()));
}
