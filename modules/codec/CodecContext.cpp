#include "CodecContext.h"

#include <string.h>

#include "CodecCrypt.h"

namespace
{

// How a file is cut while no header has told its page size: the largest page
// size, so that at least the header bytes of page 1 always meet the start of
// the stream.
const int kUnknownPageSize = 65536;
const DWORD kHeaderPageSizeEnd = 18;

} // namespace

CCodecContext::CCodecContext(HCRYPTKEY readKey, HCRYPTKEY writeKey, int pageSize)
    : m_hReadKey(readKey), m_hWriteKey(writeKey), m_nPageSize(IsPageSize(pageSize) ? pageSize : 0)
{}

CCodecContext::~CCodecContext()
{
    if (m_hWriteKey != m_hReadKey)
        DestroyKey(m_hWriteKey);
    DestroyKey(m_hReadKey);
}

void CCodecContext::DestroyKey(HCRYPTKEY key)
{
    if (key != 0)
        CryptDestroyKey(key);
}

void CCodecContext::SetWriteKey(HCRYPTKEY key)
{
    if (m_hWriteKey != m_hReadKey && m_hWriteKey != key)
        DestroyKey(m_hWriteKey);
    m_hWriteKey = key;
}

void CCodecContext::KeepWriteKey()
{
    if (m_hReadKey != m_hWriteKey)
        DestroyKey(m_hReadKey);
    m_hReadKey = m_hWriteKey;
}

void CCodecContext::DropWriteKey()
{
    if (m_hWriteKey != m_hReadKey)
        DestroyKey(m_hWriteKey);
    m_hWriteKey = m_hReadKey;
}

int CCodecContext::HeaderPageSize(const BYTE* header, DWORD size)
{
    if (header == NULL || size < kHeaderPageSizeEnd)
        return 0;
    int value = (header[16] << 8) | header[17];
    if (value == 1)
        value = 65536;
    return IsPageSize(value) ? value : 0;
}

int CCodecContext::PageSizeFor(DWORD size, sqlite3_int64 offset) const
{
    if (m_nPageSize != 0)
        return m_nPageSize;
    if (IsPageSize(size) && offset % size == 0)
        return int(size);
    return kUnknownPageSize;
}

bool CCodecContext::ApplyToFile(HCRYPTKEY key, bool encrypt, BYTE* data, DWORD size, sqlite3_int64 offset)
{
    const int pageSize = PageSizeFor(size, offset);
    while (size > 0) {
        DWORD position = DWORD(offset % pageSize);
        DWORD chunk = pageSize - position;
        if (chunk > size)
            chunk = size;
        if (!CodecApplyStream(key, encrypt, data, chunk, position, m_Work))
            return false;
        data += chunk;
        offset += chunk;
        size -= chunk;
    }
    return true;
}

bool CCodecContext::DecryptFileData(BYTE* data, DWORD size, sqlite3_int64 offset)
{
    if (m_hReadKey == 0)
        return true;
    if (offset == 0 && size >= kHeaderPageSizeEnd) {
        // The page size may have changed under us (another connection's
        // vacuum): the header says how to cut the rest of this read.
        BYTE header[kHeaderPageSizeEnd];
        memcpy(header, data, sizeof(header));
        if (CodecApplyStream(m_hReadKey, false, header, sizeof(header), 0, m_Work)) {
            int pageSize = HeaderPageSize(header, sizeof(header));
            if (pageSize != 0)
                m_nPageSize = pageSize;
        }
    }
    return ApplyToFile(m_hReadKey, false, data, size, offset);
}

const BYTE* CCodecContext::EncryptFileData(const BYTE* data, DWORD size, sqlite3_int64 offset)
{
    if (offset == 0) {
        int pageSize = HeaderPageSize(data, size);
        if (pageSize != 0)
            m_nPageSize = pageSize;
    }
    if (m_hWriteKey == 0)
        return data;
    m_Output.assign(data, data + size);
    return ApplyToFile(m_hWriteKey, true, m_Output.data(), size, offset) ? m_Output.data() : NULL;
}

// The journal checksum adds every 200th byte of the page, counted back from
// its end; the initial value cancels out of the difference.
DWORD CCodecContext::ChecksumSum(const BYTE* page, DWORD size)
{
    DWORD sum = 0;
    for (int i = int(size) - 200; i > 0; i -= 200)
        sum += page[i];
    return sum;
}

const BYTE* CCodecContext::EncryptJournalPage(const BYTE* data, DWORD size, DWORD* checksumDelta)
{
    if (m_hReadKey == 0)
        return NULL;
    m_Output.assign(data, data + size);
    if (!CodecApplyStream(m_hReadKey, true, m_Output.data(), size, 0, m_Work))
        return NULL;
    *checksumDelta = ChecksumSum(m_Output.data(), size) - ChecksumSum(data, size);
    return m_Output.data();
}

bool CCodecContext::DecryptJournalPage(BYTE* data, DWORD size, DWORD* checksumDelta)
{
    if (m_hReadKey == 0)
        return false;
    DWORD cipherSum = ChecksumSum(data, size);
    if (!CodecApplyStream(m_hReadKey, false, data, size, 0, m_Work))
        return false;
    *checksumDelta = cipherSum - ChecksumSum(data, size);
    return true;
}
