#include "CreateValidateCode.h"

#include <stdlib.h>
#include <string.h>

namespace
{
const char* const s_Faces[CCreateValidateCode::FACE_COUNT] = {
    "Arial",       "Arial Narrow", "Batang", "BatangChe",      "Book Antiqua",     "Bookman Old Style",
    "Dotum",       "Garamond",     "Gulim",  "Kartika",        "Monotype Corsiva", "System",
    "方正姚体",    "仿宋_GB2312",  "黑体",   "华文新魏",       "华文行楷",         "隶书",
    "楷体_GB2312", "新宋体",       "幼圆",   "Lucida Console", "Monotype Corsiva"};

int DisplayBitCount()
{
    HDC hDisplay = ::CreateDC("DISPLAY", NULL, NULL, NULL);
    int nBits = 32;
    if (hDisplay != NULL) {
        nBits = ::GetDeviceCaps(hDisplay, BITSPIXEL) * ::GetDeviceCaps(hDisplay, PLANES);
        ::DeleteDC(hDisplay);
    }
    if (nBits <= 1)
        return 1;
    if (nBits <= 4)
        return 4;
    if (nBits <= 8)
        return 8;
    return 24;
}
} // namespace

CCreateValidateCode::CCreateValidateCode() : m_pPixels(new DWORD[PIXEL_COUNT]), m_pFont(NULL)
{
    memset(&m_BitmapInfo, 0, sizeof(m_BitmapInfo));
    BITMAPINFOHEADER& Header = m_BitmapInfo.bmiHeader;
    Header.biSize = sizeof(BITMAPINFOHEADER);
    Header.biWidth = PICTURE_WIDTH;
    Header.biHeight = PICTURE_HEIGHT;
    Header.biPlanes = 1;
    Header.biBitCount = 32;
    Header.biCompression = BI_RGB;
    for (int i = 0; i < PIXEL_COUNT; i++)
        m_pPixels[i] = BACKGROUND;

    memset(&m_LogFont, 0, sizeof(m_LogFont));
    m_LogFont.lfHeight = 15;
    m_LogFont.lfWidth = 2;
    lstrcpyn(m_LogFont.lfFaceName, "新宋体", LF_FACESIZE);
    for (int i = 0; i < FACE_COUNT; i++)
        m_pFaces[i] = new CString(s_Faces[i]);
}

CCreateValidateCode::~CCreateValidateCode()
{
    delete[] m_pPixels;
    delete m_pFont;
    for (int i = 0; i < FACE_COUNT; i++)
        delete m_pFaces[i];
}

bool CCreateValidateCode::MakePicture(CWnd* pWnd, LPCTSTR pszFileName, LPCTSTR pszCode)
{
    for (int i = 0; i < PIXEL_COUNT; i++)
        m_pPixels[i] = BACKGROUND;

    HWND hWnd = pWnd != NULL ? pWnd->GetSafeHwnd() : NULL;
    HDC hWindowDC = ::GetDC(hWnd);
    if (hWindowDC == NULL)
        return false;
    HDC hMemDC = ::CreateCompatibleDC(hWindowDC);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hWindowDC, PICTURE_WIDTH, PICTURE_HEIGHT);
    if (hMemDC == NULL || hBitmap == NULL) {
        if (hBitmap != NULL)
            ::DeleteObject(hBitmap);
        if (hMemDC != NULL)
            ::DeleteDC(hMemDC);
        ::ReleaseDC(hWnd, hWindowDC);
        return false;
    }
    HGDIOBJ hOldBitmap = ::SelectObject(hMemDC, hBitmap);
    ::SetBkMode(hMemDC, TRANSPARENT);

    srand(::GetTickCount());
    // The last face is never drawn: the pick covers the first 22.
    lstrcpyn(m_LogFont.lfFaceName, *m_pFaces[rand() % 22], LF_FACESIZE);
    m_LogFont.lfHeight = rand() % 10 + 15;
    m_LogFont.lfWidth = rand() % 7 + 12;
    m_LogFont.lfWeight = (rand() % 7) * 50;
    m_LogFont.lfItalic = TRUE;
    m_LogFont.lfEscapement = rand() % 80;

    const int nNoise = (int)(2324 * 0.1);
    for (int i = 0; i < nNoise; i++)
        m_pPixels[rand() % 2324] = (DWORD)(rand() % 0xFFFFFF);

    ::SetDIBits(hMemDC, hBitmap, 0, PICTURE_HEIGHT, m_pPixels, &m_BitmapInfo, DIB_RGB_COLORS);
    m_pFont = new CFont;
    m_pFont->CreateFontIndirect(&m_LogFont);
    HGDIOBJ hOldFont = ::SelectObject(hMemDC, m_pFont->GetSafeHandle());
    ::SetTextColor(hMemDC, RGB(0, 0, 0));
    ::TextOut(hMemDC, 2, 5, pszCode, lstrlen(pszCode));
    ::SelectObject(hMemDC, hOldFont);
    ::SelectObject(hMemDC, hOldBitmap);
    ::GetDIBits(hMemDC, hBitmap, 0, PICTURE_HEIGHT, m_pPixels, &m_BitmapInfo, DIB_RGB_COLORS);
    delete m_pFont;
    m_pFont = NULL;
    ::DeleteDC(hMemDC);

    bool bWritten = WriteBitmapFile(hBitmap, pszFileName);
    ::DeleteObject(hBitmap);
    ::ReleaseDC(hWnd, hWindowDC);
    return bWritten;
}

bool CCreateValidateCode::WriteBitmapFile(HBITMAP hBitmap, LPCTSTR pszFileName)
{
    BITMAP Bitmap;
    if (::GetObject(hBitmap, sizeof(Bitmap), &Bitmap) == 0)
        return false;
    const int nBits = DisplayBitCount();
    const DWORD dwPaletteSize = nBits <= 8 ? (DWORD)(1 << nBits) * sizeof(RGBQUAD) : 0;
    const DWORD dwImageSize = (DWORD)(((nBits * Bitmap.bmWidth + 31) / 32) * 4 * Bitmap.bmHeight);

    // Header, colour table and bits in one block, as GetDIBits fills them.
    const DWORD dwInfoSize = sizeof(BITMAPINFOHEADER) + dwPaletteSize;
    BYTE* pInfo = new BYTE[dwInfoSize + dwImageSize];
    memset(pInfo, 0, dwInfoSize + dwImageSize);
    BITMAPINFOHEADER* pHeader = (BITMAPINFOHEADER*)pInfo;
    pHeader->biSize = sizeof(BITMAPINFOHEADER);
    pHeader->biWidth = Bitmap.bmWidth;
    pHeader->biHeight = Bitmap.bmHeight;
    pHeader->biPlanes = 1;
    pHeader->biBitCount = (WORD)nBits;
    pHeader->biCompression = BI_RGB;
    pHeader->biSizeImage = dwImageSize;

    HDC hScreen = ::GetDC(NULL);
    HPALETTE hOldPalette = ::SelectPalette(hScreen, (HPALETTE)::GetStockObject(DEFAULT_PALETTE), FALSE);
    ::RealizePalette(hScreen);
    ::GetDIBits(hScreen, hBitmap, 0, (UINT)Bitmap.bmHeight, pInfo + dwInfoSize, (BITMAPINFO*)pInfo, DIB_RGB_COLORS);
    if (hOldPalette != NULL) {
        ::SelectPalette(hScreen, hOldPalette, TRUE);
        ::RealizePalette(hScreen);
    }
    ::ReleaseDC(NULL, hScreen);
    // GetDIBits may rewrite the size fields; the file keeps the computed ones.
    pHeader->biSizeImage = dwImageSize;

    HANDLE hFile = ::CreateFile(pszFileName, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (hFile == INVALID_HANDLE_VALUE) {
        delete[] pInfo;
        return false;
    }
    BITMAPFILEHEADER FileHeader;
    memset(&FileHeader, 0, sizeof(FileHeader));
    FileHeader.bfType = 0x4D42; // "BM"
    FileHeader.bfOffBits = (DWORD)sizeof(BITMAPFILEHEADER) + dwInfoSize;
    FileHeader.bfSize = FileHeader.bfOffBits + dwImageSize;
    DWORD dwWritten = 0;
    bool bOk = ::WriteFile(hFile, &FileHeader, sizeof(FileHeader), &dwWritten, NULL) && dwWritten == sizeof(FileHeader);
    bOk = bOk && ::WriteFile(hFile, pInfo, dwInfoSize + dwImageSize, &dwWritten, NULL) &&
          dwWritten == dwInfoSize + dwImageSize;
    ::CloseHandle(hFile);
    delete[] pInfo;
    return bOk;
}
