// Path routines of the zip classes. Paths are in the ANSI code page; a
// separator is never looked for inside a double-byte character.
#pragma once

#include <afx.h>

class CZipPathUtil
{
public:
    // 1 an existing file, -1 an existing folder, 0 nothing there.
    static int FileExists(LPCTSTR lpszPath);
    // Drive ("X:"), folder (with its trailing separator), title and
    // extension (with its dot); any pointer may be null.
    static void SplitPath(LPCTSTR lpszPath, CString* pDrive, CString* pDir, CString* pTitle, CString* pExt);
    // "X:\" or "\\server\share\" of the path; empty for a relative path.
    static CString DriveRoot(LPCTSTR lpszPath);
    static bool IsDriveRemovable(LPCTSTR lpszPath);
    // Creates the folder level by level; true when it exists afterwards.
    static bool ForceFolder(LPCTSTR lpszPath);
    static CString WithoutTrailingSeparator(LPCTSTR lpszPath);
    // The character after p (a double-byte character counts as one).
    static LPCTSTR NextChar(LPCTSTR p);
    static bool IsSeparator(char c) { return c == '\\' || c == '/'; }
    // "/" to "\" (bToBackslash) or back, over uLength bytes.
    static void ChangeSlashes(BYTE* pName, DWORD uLength, bool bToBackslash);
    // True for a relative path that stays below the folder it is joined to:
    // no root, no drive, no stream, no "." or ".." step.
    static bool IsContainedPath(LPCTSTR lpszRelative);
};
