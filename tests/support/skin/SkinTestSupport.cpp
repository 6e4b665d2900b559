#include "SkinTestSupport.h"

#include <stdio.h>

namespace skintest
{
void Pixels::Fill(int x, int y, int cx, int cy, COLORREF colour)
{
    for (int j = y; j < y + cy; ++j)
        for (int i = x; i < x + cx; ++i)
            At(i, j) = colour;
}

namespace
{
void Put16(std::vector<BYTE>& out, DWORD v)
{
    out.push_back(BYTE(v));
    out.push_back(BYTE(v >> 8));
}
void Put32(std::vector<BYTE>& out, DWORD v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
} // namespace

std::vector<BYTE> Bmp24(const Pixels& pixels)
{
    const DWORD rowBytes = (DWORD(pixels.width) * 3 + 3) & ~3u;
    const DWORD imageBytes = rowBytes * DWORD(pixels.height);
    std::vector<BYTE> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 14 + 40 + imageBytes);
    Put32(out, 0);
    Put32(out, 14 + 40);
    Put32(out, 40);
    Put32(out, DWORD(pixels.width));
    Put32(out, DWORD(pixels.height));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0); // BI_RGB
    Put32(out, imageBytes);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = pixels.height - 1; y >= 0; --y) {
        DWORD written = 0;
        for (int x = 0; x < pixels.width; ++x, written += 3) {
            COLORREF c = pixels.At(x, y);
            out.push_back(GetBValue(c));
            out.push_back(GetGValue(c));
            out.push_back(GetRValue(c));
        }
        for (; written < rowBytes; ++written)
            out.push_back(0);
    }
    return out;
}

HBITMAP MakeDib(const Pixels& pixels)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    DWORD* p = static_cast<DWORD*>(bits);
    for (size_t i = 0; i < pixels.colours.size(); ++i) {
        COLORREF c = pixels.colours[i];
        p[i] = 0xFF000000 | (DWORD(GetRValue(c)) << 16) | (DWORD(GetGValue(c)) << 8) | GetBValue(c);
    }
    GdiFlush();
    return bitmap;
}

namespace
{
int WindowWidth(HWND hWnd)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    return rc.right - rc.left;
}

int WindowHeight(HWND hWnd)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    return rc.bottom - rc.top;
}
} // namespace

Snapshot::Snapshot(HWND hWnd, COLORREF crBackground)
    : CMemoryCanvas(WindowWidth(hWnd), WindowHeight(hWnd), crBackground)
{
    Print(hWnd);
}

bool HasWindowRegion(HWND hWnd)
{
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    int kind = GetWindowRgn(hWnd, rgn);
    DeleteObject(rgn);
    return kind != ERROR;
}

bool RegionHolds(HWND hWnd, int x, int y)
{
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    bool holds;
    if (GetWindowRgn(hWnd, rgn) == ERROR) {
        RECT rc;
        GetWindowRect(hWnd, &rc);
        holds = x >= 0 && y >= 0 && x < rc.right - rc.left && y < rc.bottom - rc.top;
    } else {
        holds = PtInRegion(rgn, x, y) != FALSE;
    }
    DeleteObject(rgn);
    return holds;
}

BOOL RecordingParent::CreateParent(int cx, int cy, COLORREF crBackground)
{
    background = crBackground;
    return CreateEx(0, NULL, "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, cx, cy, NULL, NULL);
}

int RecordingParent::Count(UINT message, UINT nCode) const
{
    int n = 0;
    for (const Message& m : messages) {
        if (m.message == message && m.nCode == nCode)
            ++n;
    }
    return n;
}

LRESULT RecordingParent::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: messages.push_back({message, wParam, lParam, HIWORD(wParam), LOWORD(wParam)}); break;
    case WM_NOTIFY: {
        const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
        messages.push_back({message, wParam, lParam, pHdr->code, UINT(pHdr->idFrom)});
        if (pHdr->code == (UINT)TCN_SELCHANGING)
            return selChangingAnswer;
        return 0;
    }
    case WM_ERASEBKGND: {
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        HBRUSH brush = CreateSolidBrush(background);
        FillRect((HDC)wParam, &rc, brush);
        DeleteObject(brush);
        return TRUE;
    }
    default:
        if (message >= WM_USER)
            messages.push_back({message, wParam, lParam, 0, 0});
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
} // namespace skintest
