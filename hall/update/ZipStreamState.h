// The compression state of the open entry: its zlib stream, its data buffer
// and, while reading, what is left of it. zlib's memory comes from here and
// every block is listed, so all of it can be freed when an exception cuts a
// stream short.
#pragma once

#include <afx.h>
#include <zlib.h>

#include "ZipBuffer.h"

class CZipStreamState
{
public:
    enum
    {
        bufferSize = 16384
    };

    CZipStreamState();
    ~CZipStreamState();

    // A cleared stream whose allocations go through this object.
    void Init();
    // Frees every block zlib still holds (the stream is unusable afterwards).
    void ReleaseBlocks();

    static voidpf Alloc(voidpf opaque, uInt items, uInt size);
    static void Free(voidpf opaque, voidpf address);

    z_stream m_stream;
    CZipBuffer m_pBuffer;
    DWORD m_uComprLeft;   // reading: compressed bytes not yet read from the archive
    DWORD m_uUncomprLeft; // reading: data bytes not yet handed out
    DWORD m_uCrc32;       // reading: CRC-32 of the data handed out

private:
    struct BlockHead;
    static size_t HeadSize();
    BlockHead* m_pBlocks;

    CZipStreamState(const CZipStreamState&) = delete;
    CZipStreamState& operator=(const CZipStreamState&) = delete;
};
