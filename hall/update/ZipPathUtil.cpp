#include "ZipPathUtil.h"

#include "ZipDriveQuery.h"

#include <string.h>
#include <windows.h>

#include "TextUnit.h"

namespace
{

bool IsLead(BYTE b)
{
    return TextIsLeadByte(b);
}

bool HasDriveLetter(LPCTSTR p)
{
    return ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z')) && p[1] == ':';
}

} // namespace

LPCTSTR CZipPathUtil::NextChar(LPCTSTR p)
{
    if (*p == '\0')
        return p;
    return p + TextCharSize(p, p[1] != '\0' ? 2 : 1, 0);
}

int CZipPathUtil::FileExists(LPCTSTR lpszPath)
{
    if (lpszPath == NULL || *lpszPath == '\0')
        return 0;
    DWORD attributes = ::GetFileAttributesA(lpszPath);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 0;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? -1 : 1;
}

void CZipPathUtil::SplitPath(LPCTSTR lpszPath, CString* pDrive, CString* pDir, CString* pTitle, CString* pExt)
{
    if (lpszPath == NULL)
        lpszPath = "";
    LPCTSTR p = lpszPath;
    if (HasDriveLetter(p)) {
        if (pDrive)
            *pDrive = CString(p, 2);
        p += 2;
    } else if (pDrive)
        pDrive->Empty();

    LPCTSTR pLastSep = NULL;
    LPCTSTR pLastDot = NULL;
    for (LPCTSTR q = p; *q != '\0'; q = NextChar(q)) {
        if (IsSeparator(*q)) {
            pLastSep = q;
            pLastDot = NULL;
        } else if (*q == '.')
            pLastDot = q;
    }
    LPCTSTR pName = pLastSep ? pLastSep + 1 : p;
    LPCTSTR pEnd = p + strlen(p);
    if (pDir)
        *pDir = CString(p, (int)(pName - p));
    LPCTSTR pExtStart = pLastDot ? pLastDot : pEnd;
    if (pTitle)
        *pTitle = CString(pName, (int)(pExtStart - pName));
    if (pExt)
        *pExt = CString(pExtStart, (int)(pEnd - pExtStart));
}

CString CZipPathUtil::DriveRoot(LPCTSTR lpszPath)
{
    if (lpszPath == NULL)
        return CString();
    if (HasDriveLetter(lpszPath))
        return CString(lpszPath, 2) + "\\";
    if (IsSeparator(lpszPath[0]) && IsSeparator(lpszPath[1])) {
        // \\server\share\ .
        LPCTSTR p = lpszPath + 2;
        int separators = 0;
        while (*p != '\0') {
            if (IsSeparator(*p) && ++separators == 2)
                break;
            p = NextChar(p);
        }
        CString root(lpszPath, (int)(p - lpszPath));
        root += "\\";
        return root;
    }
    return CString();
}

bool CZipPathUtil::IsDriveRemovable(LPCTSTR lpszPath)
{
    return CZipDriveQuery::Current().DriveType(DriveRoot(lpszPath)) == DRIVE_REMOVABLE;
}

CString CZipPathUtil::WithoutTrailingSeparator(LPCTSTR lpszPath)
{
    CString path(lpszPath ? lpszPath : "");
    // Only a separator that is a character of its own ends the path.
    LPCTSTR p = path;
    LPCTSTR pKeepEnd = p;
    for (LPCTSTR q = p; *q != '\0'; q = NextChar(q)) {
        if (!IsSeparator(*q))
            pKeepEnd = NextChar(q);
    }
    return CString(p, (int)(pKeepEnd - p));
}

bool CZipPathUtil::ForceFolder(LPCTSTR lpszPath)
{
    CString path = WithoutTrailingSeparator(lpszPath);
    if (path.IsEmpty())
        return false;
    if (FileExists(path) == -1)
        return true;

    LPCTSTR p = path;
    LPCTSTR q = p;
    if (HasDriveLetter(p))
        q = p + 2;
    else if (IsSeparator(p[0]) && IsSeparator(p[1])) {
        // Skip \\server\share: neither can be created.
        q = p + 2;
        int separators = 0;
        while (*q != '\0') {
            if (IsSeparator(*q) && ++separators == 2)
                break;
            q = NextChar(q);
        }
    }
    while (IsSeparator(*q))
        q++;
    for (; *q != '\0'; q = NextChar(q)) {
        if (IsSeparator(*q)) {
            CString level(p, (int)(q - p));
            ::CreateDirectoryA(level, NULL);
        }
    }
    ::CreateDirectoryA(path, NULL);
    return FileExists(path) == -1;
}

void CZipPathUtil::ChangeSlashes(BYTE* pName, DWORD uLength, bool bToBackslash)
{
    char from = bToBackslash ? '/' : '\\';
    char to = bToBackslash ? '\\' : '/';
    for (DWORD i = 0; i < uLength; i++) {
        if (IsLead(pName[i]) && i + 1 < uLength) {
            i++;
            continue;
        }
        if (pName[i] == (BYTE)from)
            pName[i] = (BYTE)to;
    }
}

bool CZipPathUtil::IsContainedPath(LPCTSTR lpszRelative)
{
    if (lpszRelative == NULL || *lpszRelative == '\0' || IsSeparator(*lpszRelative))
        return false;
    LPCTSTR pStep = lpszRelative;
    for (LPCTSTR p = lpszRelative;; p = NextChar(p)) {
        if (*p == ':')
            return false;
        if (*p == '\0' || IsSeparator(*p)) {
            // A step of dots and blanks alone names this folder or one above
            // it once Windows has trimmed it.
            bool onlyDots = p > pStep;
            for (LPCTSTR s = pStep; s < p; s++) {
                if (*s != '.' && *s != ' ') {
                    onlyDots = false;
                    break;
                }
            }
            if (onlyDots)
                return false;
            if (*p == '\0')
                break;
            pStep = p + 1;
        }
    }
    return true;
}
