// The codec state of one keyed database file: the key that reads the pages
// as they are in the file, the key that writes them, and the page size that
// cuts the file into independently encrypted pages.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <vector>

#include <sqlite3.h>

class CCodecContext
{
public:
    // Takes over both keys (which may be one and the same handle). A page
    // size of 0 is learnt from the first page-1 header that passes.
    CCodecContext(HCRYPTKEY readKey, HCRYPTKEY writeKey, int pageSize);
    ~CCodecContext();

    // 0: the file is plain / is written plain.
    HCRYPTKEY GetReadKey() const { return m_hReadKey; }
    HCRYPTKEY GetWriteKey() const { return m_hWriteKey; }
    bool IsKeyless() const { return m_hReadKey == 0 && m_hWriteKey == 0; }

    // Rekeying: pages are rewritten with the new write key, which is then
    // kept (it becomes the read key) or dropped (back to the read key).
    void SetWriteKey(HCRYPTKEY key);
    void KeepWriteKey();
    void DropWriteKey();

    int GetPageSize() const { return m_nPageSize; }
    // A power of two from 512 to 65536, as SQLite's pages are.
    static bool IsPageSize(sqlite3_int64 size) { return size >= 512 && size <= 65536 && (size & (size - 1)) == 0; }
    // The page size in a page-1 header (big-endian at offset 16, 1 meaning
    // 65536); 0 when the bytes hold no valid page size.
    static int HeaderPageSize(const BYTE* header, DWORD size);

    // Database file bytes at that offset, read from the file: decrypted in
    // place with the read key. A read of the header also tells the page size.
    bool DecryptFileData(BYTE* data, DWORD size, sqlite3_int64 offset);
    // Bytes about to be written at that offset, encrypted with the write
    // key; null on failure. The result lives until the next call.
    const BYTE* EncryptFileData(const BYTE* data, DWORD size, sqlite3_int64 offset);

    // A page image in the rollback journal, encrypted or decrypted as a whole
    // page with the read key, so the journal holds pages as the file holds
    // them. *checksumDelta: what the journal checksum of the ciphertext
    // exceeds that of the plain page by.
    const BYTE* EncryptJournalPage(const BYTE* data, DWORD size, DWORD* checksumDelta);
    bool DecryptJournalPage(BYTE* data, DWORD size, DWORD* checksumDelta);

private:
    CCodecContext(const CCodecContext&) = delete;
    CCodecContext& operator=(const CCodecContext&) = delete;

    static void DestroyKey(HCRYPTKEY key);
    // The page size to cut the file with for an access of that shape.
    int PageSizeFor(DWORD size, sqlite3_int64 offset) const;
    bool ApplyToFile(HCRYPTKEY key, bool encrypt, BYTE* data, DWORD size, sqlite3_int64 offset);
    static DWORD ChecksumSum(const BYTE* page, DWORD size);

    HCRYPTKEY m_hReadKey;
    HCRYPTKEY m_hWriteKey;
    int m_nPageSize;
    std::vector<BYTE> m_Output; // encrypted bytes handed to the file
    std::vector<BYTE> m_Work;   // key stream scratch
};
