// Helpers of the skin-library and toolkit tests: pictures built pixel by
// pixel and written as BMP files, windows printed into memory, a parent
// window that records what its children tell it.
#pragma once

#include <afxwin.h>

#include "MemoryCanvas.h"
#include "TempFolder.h"
#include "TestWait.h"

#include <string>
#include <vector>

namespace skintest
{
// Pixels as COLORREF, rows top to bottom.
struct Pixels
{
    int width = 0;
    int height = 0;
    std::vector<COLORREF> colours;

    Pixels() {}
    Pixels(int w, int h, COLORREF fill) : width(w), height(h), colours(size_t(w) * h, fill) {}
    COLORREF& At(int x, int y) { return colours[size_t(y) * width + x]; }
    COLORREF At(int x, int y) const { return colours[size_t(y) * width + x]; }
    void Fill(int x, int y, int cx, int cy, COLORREF colour);
};

// A 24-bit BMP file (rows bottom up, padded to 4 bytes).
std::vector<BYTE> Bmp24(const Pixels& pixels);
// A 32-bit top-down DIB section of the pixels (the caller deletes it).
HBITMAP MakeDib(const Pixels& pixels);

// The shared temporary folder, which also writes pictures as BMP files.
class TempFolder : public CTempFolder
{
public:
    TempFolder() : CTempFolder("skin_tests") {}
    std::string WriteBmp(const char* name, const Pixels& pixels) const { return Write(name, Bmp24(pixels)); }
};

// A window printed into a memory canvas first filled with the background
// colour (PrintWindow: the window paints itself into it).
class Snapshot : public CMemoryCanvas
{
public:
    explicit Snapshot(HWND hWnd, COLORREF crBackground = RGB(1, 2, 3));
};

// A memory canvas filled with one colour, with the names these tests use.
class Canvas : public CMemoryCanvas
{
public:
    using CMemoryCanvas::CMemoryCanvas;
    HDC Dc() const { return GetSafeHdc(); }
    CDC* Cdc() const { return DC(); }
};

// The window's region holds the point (window coordinates); windows
// without a region hold every point of their rectangle.
bool RegionHolds(HWND hWnd, int x, int y);
bool HasWindowRegion(HWND hWnd);


// A top-level parent that records the messages its children send it.
class RecordingParent : public CWnd
{
public:
    struct Message
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        UINT nCode; // WM_NOTIFY code or WM_COMMAND notification
        UINT nID;
    };

    BOOL CreateParent(int cx, int cy, COLORREF crBackground = RGB(10, 20, 30));
    std::vector<Message> messages;
    int Count(UINT message, UINT nCode) const;
    // Answer given to TCN_SELCHANGING.
    LRESULT selChangingAnswer = 0;
    COLORREF background = RGB(10, 20, 30);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
} // namespace skintest
