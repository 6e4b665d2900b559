#include "ZipError.h"

#include <zlib.h>

IMPLEMENT_DYNAMIC(CZipError, CException)

CZipError::CZipError(int iCause, LPCTSTR lpszFileName)
    : m_iCause(iCause), m_szFileName(lpszFileName ? lpszFileName : "")
{}

int CZipError::CauseFromCode(int iCode)
{
    switch (iCode) {
    case Z_STREAM_END: return streamEnd;
    case Z_NEED_DICT: return needDict;
    case Z_ERRNO: return errNo;
    case Z_STREAM_ERROR: return streamError;
    case Z_DATA_ERROR: return dataError;
    case Z_MEM_ERROR: return memError;
    case Z_BUF_ERROR: return bufError;
    case Z_VERSION_ERROR: return versionError;
    case codeBadZipFile: return badZipFile;
    case codeBadCrc: return badCrc;
    case codeNoCallback: return noCallback;
    case codeAborted: return aborted;
    case codeNonRemovable: return nonRemovable;
    case codeTooManyVolumes: return tooManyVolumes;
    case codeTooLongFileName: return tooLongFileName;
    case codeBadPassword: return badPassword;
    case codeCdirNotFound: return cdirNotFound;
    default: return generic;
    }
}

void CZipError::Throw(int iCode, LPCTSTR lpszFileName)
{
    throw new CZipError(CauseFromCode(iCode), lpszFileName);
}

void CZipError::ThrowCause(int iCause, LPCTSTR lpszFileName)
{
    throw new CZipError(iCause, lpszFileName);
}

void CZipError::CheckZlib(int iResult, LPCTSTR lpszFileName)
{
    if (iResult != Z_OK)
        Throw(iResult, lpszFileName);
}
