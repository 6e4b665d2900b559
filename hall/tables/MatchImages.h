// The pictures of the match room view and the drawing helpers its widgets
// share. Most small pictures are cut from one atlas by the rectangles that
// "MatchViewItem.ini" names; the window background is composed from a tile.
#pragma once

#include <afxwin.h>

#include <Picture.h>

class CMatchImages
{
public:
    enum
    {
        kBackWidth = 1024,
        kBackHeight = 768
    };

    CMatchImages();
    ~CMatchImages();

    // Loads everything from the folder (with its trailing backslash); the
    // scroll-bar bitmap is attached to the list window when there is one.
    void LoadMatchImages(LPCSTR pszFolder, HWND hWndList);
    // Reads the named section of the folder's layout file; false when the
    // name is empty or the width or height is 0.
    bool GetImageRect(LPCSTR pszName, int& x, int& y, int& cx, int& cy) const;
    // Cuts the named rectangle of the atlas into the target; a missing
    // section or a failed cut is reported in a message box.
    void CutImage(CPicture& atlas, CPicture& target, LPCSTR pszName) const;
    HBITMAP GetScrollBitmap() const { return m_hScrollBitmap; }

    CPicture m_Atlas;
    CPicture m_MatchNews;
    CPicture m_QuitSign;
    CPicture m_QuitRoom;
    CPicture m_MatchDetail;
    CPicture m_SignIn;
    CPicture m_MatchStatus;
    CPicture m_SignInfoL;
    CPicture m_SignInfoM;
    CPicture m_SignInfoMark;
    CPicture m_SignInfoR;
    CPicture m_Explain;
    CPicture m_SignUpCountL;
    CPicture m_SignUpCountM;
    CPicture m_SignUpCountR;
    CPicture m_TimeOutL;
    CPicture m_TimeOutM;
    CPicture m_TimeOutR;
    CPicture m_StatusBackM;
    CPicture m_SignStatus;
    CPicture m_SignTimeOut;
    CPicture m_MatchBack;
    CPicture m_Background;
    CPicture m_TimeBack;
    CPicture m_PersonBack;
    CPicture m_Number;
    CPicture m_UserListTop;
    CPicture m_UserListMid;
    CPicture m_UserListBottom;

private:
    CMatchImages(const CMatchImages&) = delete;
    CMatchImages& operator=(const CMatchImages&) = delete;

    CString m_strFolder;
    HBITMAP m_hScrollBitmap;
};

// Draws the part (sx, sy, cx, cy) of a valid picture at (x, y).
void DrawImagePart(CDC* pDC, const CPicture& picture, int x, int y, int cx, int cy, int sx, int sy);
// Draws the value's digits from the digit strip, centred at (x, y); padTwo
// gives a one-digit value a leading zero. Negative values draw as 0.
void DrawNumber(CDC* pDC, const CPicture& digits, LONGLONG value, int x, int y, bool padTwo);
CString NumberToText(LONGLONG value, bool padTwo);
