// The memory file under every message body: a growing buffer for a body
// being written, or the received bytes themselves for a body being read.
#pragma once

#include <afx.h>

class CSafeMemFile : public CMemFile
{
public:
    // Writing: an empty file that grows in steps of nGrowBytes.
    explicit CSafeMemFile(UINT nGrowBytes = 512);
    // Reading: the given bytes, not copied; the file never grows and refuses
    // to be written.
    CSafeMemFile(const void* pData, UINT nDataSize);

    // The file's bytes (null while nothing was written).
    const BYTE* GetData() const { return m_lpBuffer; }
    UINT GetDataSize() const { return UINT(m_nFileSize); }

    void Write(const void* lpBuf, UINT nCount) override;

private:
    bool m_bReadOnly;
};
