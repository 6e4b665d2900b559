#include "SkinAttribute.h"
#include "SkinRecordFile.h"
#include "TextUnit.h"

CFont CSkinAttribute::m_DefaultFont;
COLORREF CSkinAttribute::m_crBackground;
COLORREF CSkinAttribute::m_crText;
COLORREF CSkinAttribute::m_crCaption;
COLORREF CSkinAttribute::m_crBorder;
COLORREF CSkinAttribute::m_crLink;
COLORREF CSkinAttribute::m_crLinkHover;
COLORREF CSkinAttribute::m_crHighlight;
COLORREF CSkinAttribute::m_crHighlightText;
COLORREF CSkinAttribute::m_crGrayText;
CString CSkinAttribute::m_strSkinDirectory;

namespace
{
const char kSection[] = "SkinAttribute";
const char kDefaultFace[] = "宋体";
const int kDefaultHeight = 12;

CBrush g_brBackground;
COLORREF g_crBrush = CLR_INVALID;

BOOL MakeFont(LPCTSTR pszFace, int nHeight)
{
    CFont font;
    if (!font.CreateFont(-nHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, 0, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, pszFace))
        return FALSE;
    // Controls may still hold the old font: swap handles, then let the old one go.
    HGDIOBJ hOld = CSkinAttribute::m_DefaultFont.Detach();
    CSkinAttribute::m_DefaultFont.Attach(font.Detach());
    if (hOld != NULL)
        ::DeleteObject(hOld);
    return TRUE;
}

struct DefaultsInit
{
    DefaultsInit() { CSkinAttribute::ResetDefaults(); }
} g_defaultsInit;
} // namespace

void CSkinAttribute::ResetDefaults()
{
    m_crBackground = RGB(234, 244, 252);
    m_crText = RGB(0, 0, 0);
    m_crCaption = RGB(255, 255, 255);
    m_crBorder = RGB(125, 160, 190);
    m_crLink = RGB(0, 0, 255);
    m_crLinkHover = RGB(255, 0, 0);
    m_crHighlight = RGB(49, 106, 197);
    m_crHighlightText = RGB(255, 255, 255);
    m_crGrayText = RGB(128, 128, 128);
    m_strSkinDirectory.Empty();
    MakeFont(kDefaultFace, kDefaultHeight);
}

CFont* CSkinAttribute::GetDefaultFont()
{
    if (m_DefaultFont.GetSafeHandle() == NULL)
        MakeFont(kDefaultFace, kDefaultHeight);
    return &m_DefaultFont;
}

CBrush* CSkinAttribute::GetBackgroundBrush()
{
    if (g_brBackground.GetSafeHandle() == NULL || g_crBrush != m_crBackground) {
        g_brBackground.DeleteObject();
        g_brBackground.CreateSolidBrush(m_crBackground);
        g_crBrush = m_crBackground;
    }
    return &g_brBackground;
}

BOOL CSkinAttribute::LoadSkinAttribute(IUnknownEx* pSkinRecord)
{
    if (pSkinRecord == NULL)
        return FALSE;
    ISkinRecord* pRecord = NULL;
    if (FAILED(pSkinRecord->QueryInterface(IID_ISkinRecord, (void**)&pRecord)) || pRecord == NULL)
        return FALSE;

    m_strSkinDirectory = pRecord->GetResourceDirectory();
    m_crBackground = pRecord->ReadColor(kSection, "Background", m_crBackground);
    m_crText = pRecord->ReadColor(kSection, "Text", m_crText);
    m_crCaption = pRecord->ReadColor(kSection, "Caption", m_crCaption);
    m_crBorder = pRecord->ReadColor(kSection, "Border", m_crBorder);
    m_crLink = pRecord->ReadColor(kSection, "Link", m_crLink);
    m_crLinkHover = pRecord->ReadColor(kSection, "LinkHover", m_crLinkHover);
    m_crHighlight = pRecord->ReadColor(kSection, "Highlight", m_crHighlight);
    m_crHighlightText = pRecord->ReadColor(kSection, "HighlightText", m_crHighlightText);
    m_crGrayText = pRecord->ReadColor(kSection, "GrayText", m_crGrayText);

    char szFace[LF_FACESIZE] = "";
    pRecord->ReadString(kSection, "FontName", kDefaultFace, szFace, sizeof(szFace));
    int nHeight = pRecord->ReadInt(kSection, "FontHeight", kDefaultHeight);
    if (szFace[0] == 0)
        TextCopyField(szFace, kDefaultFace);
    if (nHeight < 6 || nHeight > 72)
        nHeight = kDefaultHeight;
    MakeFont(szFace, nHeight);

    pRecord->Release();
    return TRUE;
}
