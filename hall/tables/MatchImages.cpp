#include "MatchImages.h"

#include <IniFile.h>

#include "GlobalUnits.h"
#include "SkinBar.h"

namespace
{
const char kLayoutFile[] = "MatchViewItem.ini";
} // namespace

CMatchImages::CMatchImages() : m_hScrollBitmap(NULL) {}

CMatchImages::~CMatchImages()
{
    // The list that used it is gone with the view's children by now.
    if (m_hScrollBitmap != NULL)
        ::DeleteObject(m_hScrollBitmap);
}

bool CMatchImages::GetImageRect(LPCSTR pszName, int& x, int& y, int& cx, int& cy) const
{
    if (pszName == NULL || *pszName == '\0')
        return false;
    CIniFile ini(m_strFolder + kLayoutFile, 4096);
    x = ini.GetInt(pszName, "x", 0);
    y = ini.GetInt(pszName, "y", 0);
    cx = ini.GetInt(pszName, "width", 0);
    cy = ini.GetInt(pszName, "height", 0);
    return cx != 0 && cy != 0;
}

void CMatchImages::CutImage(CPicture& atlas, CPicture& target, LPCSTR pszName) const
{
    int x = 0, y = 0, cx = 0, cy = 0;
    CString text;
    if (GetImageRect(pszName, x, y, cx, cy)) {
        atlas.Crop(CRect(x, y, x + cx, y + cy), &target);
        if (target.IsValid())
            return;
        text.Format("Image %s Load Error", pszName);
    } else
        text.Format("Image %s can not find in ini! ", pszName);
    AfxMessageBox(text);
}

void CMatchImages::LoadMatchImages(LPCSTR pszFolder, HWND hWndList)
{
    m_strFolder = pszFolder;
    struct FilePicture
    {
        CPicture* picture;
        const char* name;
    };
    const FilePicture files[] = {
        {&m_Atlas, "MatchViewItem.png"},
        {&m_QuitRoom, "QutiRoom.png"},
        {&m_MatchNews, "MatchNews.png"},
        {&m_MatchStatus, "MatchStatus.png"},
        {&m_MatchDetail, "MatchDetail.png"},
        {&m_Number, "Num.png"},
        {&m_TimeBack, "TimeBack.png"},
        {&m_PersonBack, "PersonBack.png"},
        {&m_UserListTop, "UserListTop.png"},
        {&m_UserListMid, "UserListMid.png"},
        {&m_UserListBottom, "UserListBottom.png"},
    };
    for (const FilePicture& file : files)
        file.picture->Load(m_strFolder + file.name);
    if (!m_Atlas.IsValid())
        return;

    struct CutPicture
    {
        CPicture* picture;
        const char* name;
    };
    const CutPicture cuts[] = {
        {&m_QuitSign, "QuitSign"},         {&m_SignIn, "SignIn"},
        {&m_SignInfoL, "SignInfoL"},       {&m_SignInfoM, "SignInfoM"},
        {&m_SignInfoMark, "SignInfoMark"}, {&m_SignInfoR, "SignInfoR"},
        {&m_Explain, "Explain"},           {&m_SignUpCountL, "SignUpCountL"},
        {&m_SignUpCountM, "SignUpCountM"}, {&m_SignUpCountR, "SignUpCountR"},
        {&m_StatusBackM, "StatusBackM"},   {&m_TimeOutL, "TimeOutL"},
        {&m_TimeOutM, "TimeOutM"},         {&m_TimeOutR, "TimeOutR"},
        {&m_SignStatus, "SignStatus"},     {&m_SignTimeOut, "SignTimeOut"},
        {&m_MatchBack, "MatchBack"},
    };
    for (const CutPicture& cut : cuts)
        CutImage(m_Atlas, *cut.picture, cut.name);

    if (m_MatchBack.IsValid() && m_Background.Create(kBackWidth, kBackHeight, m_MatchBack.GetBpp())) {
        const long tileWidth = long(m_MatchBack.GetWidth()), tileHeight = long(m_MatchBack.GetHeight());
        for (long x = 0; x <= kBackWidth; x += tileWidth)
            for (long y = 0; y < kBackHeight; y += tileHeight)
                m_Background.MixFrom(m_MatchBack, x, y);
    }

    if (m_hScrollBitmap == NULL) {
        m_hScrollBitmap = CGlobalUnits::LoadPictureFile(m_strFolder + "scrollbar.bmp");
        if (m_hScrollBitmap == NULL)
            return;
        if (hWndList != NULL)
            SkinBar_Attach(hWndList, m_hScrollBitmap);
    }
}

void DrawImagePart(CDC* pDC, const CPicture& picture, int x, int y, int cx, int cy, int sx, int sy)
{
    if (pDC == NULL || !picture.IsValid())
        return;
    const CRect clip(x, y, x + cx, y + cy);
    picture.Draw(pDC->GetSafeHdc(), x - sx, y - sy, -1, -1, &clip);
}

CString NumberToText(LONGLONG value, bool padTwo)
{
    CString text;
    if (padTwo)
        text.Format("%02lld", (long long)value);
    else
        text.Format("%lld", (long long)value);
    return text;
}

void DrawNumber(CDC* pDC, const CPicture& digits, LONGLONG value, int x, int y, bool padTwo)
{
    if (pDC == NULL || !digits.IsValid())
        return;
    if (value < 0)
        value = 0;
    const int w = int(digits.GetWidth() / 10), h = int(digits.GetHeight());
    int n = 1;
    for (LONGLONG rest = value / 10; rest > 0; rest /= 10)
        ++n;
    const bool pad = padTwo && n == 1;
    const int cells = pad ? 2 : n;
    int cellX = x + (cells * w) / 2 + ((cells / 4) * (w - 8)) / 2 - w;
    const int cellY = y - h / 2;
    LONGLONG rest = value;
    for (int i = 0; i < n; ++i) {
        DrawImagePart(pDC, digits, cellX, cellY, w, h, int(rest % 10) * w, 0);
        rest /= 10;
        cellX -= w;
    }
    if (pad)
        DrawImagePart(pDC, digits, cellX, cellY, w, h, 0, 0);
}
