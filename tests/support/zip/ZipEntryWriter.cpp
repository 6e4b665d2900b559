#include "ZipEntryWriter.h"

#include <string.h>
#include <zlib.h>

namespace
{

void PutWord(BYTE* p, WORD v)
{
    p[0] = (BYTE)v;
    p[1] = (BYTE)(v >> 8);
}

} // namespace

CZipEntryWriter::CZipEntryWriter(CZipPack& pack) : m_pack(pack), m_uSeed(0x1234567) {}

WORD CZipEntryWriter::DosTime(int hour, int minute, int second)
{
    return (WORD)((hour << 11) | (minute << 5) | (second / 2));
}

WORD CZipEntryWriter::DosDate(int year, int month, int day)
{
    return (WORD)(((year - 1980) << 9) | (month << 5) | day);
}

void CZipEntryWriter::Begin(const ZipNewEntry& entry)
{
    CZipVolumeStore& storage = m_pack.m_storage;
    bool encrypted = !entry.password.IsEmpty();

    CZipEntryHeader* pHeader = new CZipEntryHeader;
    pHeader->m_uVersionMadeBy = 20;
    pHeader->m_uVersionNeeded = 20;
    pHeader->m_uMethod = (WORD)entry.method;
    pHeader->m_uModTime = entry.time;
    pHeader->m_uModDate = entry.date;
    pHeader->m_uExternalAttr = entry.attributes;
    if (encrypted)
        pHeader->m_uFlag |= CZipEntryHeader::flagEncrypted | CZipEntryHeader::flagDescriptor;
    if (storage.SpanState() != 0 || entry.descriptor)
        pHeader->m_uFlag |= CZipEntryHeader::flagDescriptor;
    pHeader->m_pszFileName.Assign((LPCSTR)entry.name, (DWORD)entry.name.GetLength());

    // The local header carries the archive's form of the name.
    CZipEntryHeader local = *pHeader;
    local.SlashChange(false);
    local.NameAnsiToOem();
    DWORD nameLength = local.m_pszFileName.GetSize();
    CZipBuffer record(CZipEntryHeader::localSize + nameLength);
    BYTE* p = record.GetBuffer();
    memcpy(p, CZipEntryHeader::m_gszLocalSignature, 4);
    PutWord(p + 4, pHeader->m_uVersionNeeded);
    PutWord(p + 6, pHeader->m_uFlag);
    PutWord(p + 8, pHeader->m_uMethod);
    PutWord(p + 10, pHeader->m_uModTime);
    PutWord(p + 12, pHeader->m_uModDate);
    PutWord(p + 26, (WORD)nameLength);
    if (nameLength > 0)
        memcpy(p + CZipEntryHeader::localSize, local.m_pszFileName.GetBuffer(), nameLength);

    if (storage.SpanState() == 0) {
        storage.FlushBuffer();
        storage.GetFile()->SeekToEnd();
    }
    storage.WriteData(p, record.GetSize(), true);
    pHeader->m_uDiskStart = (WORD)storage.CurrentVolume();
    pHeader->m_uOffset = (DWORD)(storage.Position() - record.GetSize());
    pHeader->m_uCrc32 = 0;
    pHeader->m_uComprSize = encrypted ? CZipCipher::headerSize : 0;
    m_pack.m_centralDir.m_headers.Add(pHeader);
    m_pack.m_centralDir.m_pOpenedFile = pHeader;

    if (encrypted) {
        BYTE head[CZipCipher::headerSize];
        for (int i = 0; i < CZipCipher::headerSize; i++) {
            m_uSeed = m_uSeed * 1103515245 + 12345;
            head[i] = (BYTE)(m_uSeed >> 16);
        }
        head[CZipCipher::headerSize - 1] = (BYTE)(pHeader->m_uModTime >> 8);
        m_pack.m_keys.Init((const BYTE*)(LPCSTR)entry.password, (DWORD)entry.password.GetLength());
        m_pack.m_keys.Encode(head, CZipCipher::headerSize);
        storage.WriteData(head, CZipCipher::headerSize, false);
    }

    CZipStreamState& state = m_pack.m_info;
    state.Init();
    state.m_pBuffer.Allocate(CZipStreamState::bufferSize, false);
    state.m_stream.next_out = state.m_pBuffer.GetBuffer();
    state.m_stream.avail_out = state.m_pBuffer.GetSize();
    if (entry.method == 8)
        CZipError::CheckZlib(deflateInit2(&state.m_stream, entry.level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY));
    m_pack.m_iFileOpened = CZipPack::compress;
}

void CZipEntryWriter::FlushEntryBuffer()
{
    CZipStreamState& state = m_pack.m_info;
    DWORD length = state.m_pBuffer.GetSize() - state.m_stream.avail_out;
    if (m_pack.m_centralDir.m_pOpenedFile->IsEncrypted())
        m_pack.m_keys.Encode(state.m_pBuffer.GetBuffer(), length);
    m_pack.m_storage.WriteData(state.m_pBuffer.GetBuffer(), length, false);
    state.m_stream.next_out = state.m_pBuffer.GetBuffer();
    state.m_stream.avail_out = state.m_pBuffer.GetSize();
}

void CZipEntryWriter::Write(const void* pData, DWORD uLength)
{
    CZipEntryHeader* pHeader = m_pack.m_centralDir.m_pOpenedFile;
    z_stream& stream = m_pack.m_info.m_stream;
    const BYTE* p = static_cast<const BYTE*>(pData);
    pHeader->m_uCrc32 = crc32(pHeader->m_uCrc32, p, uLength);
    if (pHeader->m_uMethod == 8) {
        stream.next_in = const_cast<BYTE*>(p);
        stream.avail_in = uLength;
        while (stream.avail_in > 0) {
            if (stream.avail_out == 0)
                FlushEntryBuffer();
            CZipError::CheckZlib(deflate(&stream, Z_NO_FLUSH));
        }
        return;
    }
    while (uLength > 0) {
        if (stream.avail_out == 0)
            FlushEntryBuffer();
        DWORD n = uLength < stream.avail_out ? uLength : stream.avail_out;
        memcpy(stream.next_out, p, n);
        stream.next_out += n;
        stream.avail_out -= n;
        stream.total_in += n;
        stream.total_out += n;
        p += n;
        uLength -= n;
    }
}

void CZipEntryWriter::Add(const ZipNewEntry& entry, const void* pData, DWORD uLength)
{
    Begin(entry);
    Write(pData, uLength);
    m_pack.CloseNewEntry();
}
