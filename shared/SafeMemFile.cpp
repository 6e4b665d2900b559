#include "SafeMemFile.h"

CSafeMemFile::CSafeMemFile(UINT nGrowBytes) : CMemFile(nGrowBytes), m_bReadOnly(false) {}

CSafeMemFile::CSafeMemFile(const void* pData, UINT nDataSize) : CMemFile(0), m_bReadOnly(true)
{
    // The received bytes stay the caller's: Write is refused below.
    Attach(static_cast<BYTE*>(const_cast<void*>(pData)), pData == NULL ? 0 : nDataSize, 0);
}

void CSafeMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (m_bReadOnly)
        AfxThrowFileException(CFileException::accessDenied);
    CMemFile::Write(lpBuf, nCount);
}
