#include "SkinRecordFile.h"
#include "TextUnit.h"

#include <stdio.h>

CSkinRecordFile::CSkinRecordFile() {}

CSkinRecordFile::~CSkinRecordFile() {}

BOOL CSkinRecordFile::InitSkinRecordFile(LPCTSTR pszFileName, LPCTSTR pszDirectory)
{
    m_strDirectory = pszDirectory != NULL ? pszDirectory : "";
    if (m_strDirectory.IsEmpty()) {
        m_IniFile.SetIniFileName(NULL);
        return FALSE;
    }
    TCHAR chLast = m_strDirectory[m_strDirectory.GetLength() - 1];
    if (chLast != '\\' && chLast != '/')
        m_strDirectory += '\\';
    CString strName = (pszFileName != NULL && pszFileName[0] != 0) ? pszFileName : "Skin.ini";
    m_IniFile.SetIniFileName(m_strDirectory + strName);
    return TRUE;
}

HRESULT CSkinRecordFile::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_ISkinRecord) || IsEqualGUID(iid, IID_IUnknownEx)) {
        return Answer(static_cast<ISkinRecord*>(this), out);
    }
    *out = NULL;
    return E_NOINTERFACE;
}

LPCTSTR CSkinRecordFile::GetResourceDirectory()
{
    return m_strDirectory;
}

int CSkinRecordFile::ReadInt(LPCTSTR pszSection, LPCTSTR pszKey, int nDefault)
{
    if (m_strDirectory.IsEmpty())
        return nDefault;
    return m_IniFile.GetInt(pszSection, pszKey, nDefault);
}

COLORREF CSkinRecordFile::ReadColor(LPCTSTR pszSection, LPCTSTR pszKey, COLORREF crDefault)
{
    if (m_strDirectory.IsEmpty())
        return crDefault;
    CString strValue;
    m_IniFile.GetString(pszSection, pszKey, strValue, "");
    int r = -1, g = -1, b = -1;
    char chExtra = 0;
    if (sscanf(strValue, "%d %d %d %c", &r, &g, &b, &chExtra) != 3)
        return crDefault;
    if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255)
        return crDefault;
    return RGB(r, g, b);
}

int CSkinRecordFile::ReadString(LPCTSTR pszSection, LPCTSTR pszKey, LPCTSTR pszDefault, LPTSTR pszBuffer, int nSize)
{
    if (pszBuffer == NULL || nSize <= 0)
        return 0;
    if (m_strDirectory.IsEmpty()) {
        TextCopyField(pszBuffer, nSize, pszDefault);
        return lstrlenA(pszBuffer);
    }
    return (int)m_IniFile.GetString(pszSection, pszKey, pszBuffer, pszDefault != NULL ? pszDefault : "", (DWORD)nSize);
}
