// The one exception of the zip archive classes, thrown as a pointer
// (throw new CZipError) and released by the catcher with Delete().
#pragma once

#include <afx.h>

class CZipError : public CException
{
    DECLARE_DYNAMIC(CZipError)
public:
    // Causes, as callers see them.
    enum
    {
        generic = 1,
        streamEnd,
        needDict,
        errNo,
        streamError,
        dataError,
        memError,
        bufError,
        versionError,
        badZipFile,
        badCrc,
        noCallback,
        aborted,
        nonRemovable,
        tooManyVolumes,
        tooLongFileName,
        badPassword,
        cdirNotFound
    };

    // Codes raised inside the classes; zlib results keep their own values.
    enum
    {
        codeBadZipFile = -101,
        codeBadCrc = -102,
        codeNoCallback = -103,
        codeAborted = -104,
        codeNonRemovable = -105,
        codeTooManyVolumes = -106,
        codeTooLongFileName = -107,
        codeBadPassword = -108,
        codeCdirNotFound = -109
    };

    explicit CZipError(int iCause = generic, LPCTSTR lpszFileName = NULL);

    // The cause an internal code or zlib result stands for.
    static int CauseFromCode(int iCode);
    // Raises the cause of an internal code or zlib result.
    [[noreturn]] static void Throw(int iCode, LPCTSTR lpszFileName = NULL);
    [[noreturn]] static void ThrowCause(int iCause, LPCTSTR lpszFileName = NULL);
    // A zlib result: success passes; anything else, a dictionary request
    // included (raw streams never have one, so the data is bad), raises.
    static void CheckZlib(int iResult, LPCTSTR lpszFileName = NULL);

    int m_iCause;
    CString m_szFileName;
};
