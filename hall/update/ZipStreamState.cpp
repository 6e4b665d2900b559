#include "ZipStreamState.h"

#include <stddef.h>
#include <stdlib.h>
#include <string.h>

struct CZipStreamState::BlockHead
{
    BlockHead* pPrev;
    BlockHead* pNext;
    // Two pointers in: as aligned as malloc's own blocks on both builds.
    char data[1];
};

size_t CZipStreamState::HeadSize()
{
    return offsetof(BlockHead, data);
}

CZipStreamState::CZipStreamState() : m_uComprLeft(0), m_uUncomprLeft(0), m_uCrc32(0), m_pBlocks(NULL)
{
    Init();
}

CZipStreamState::~CZipStreamState()
{
    ReleaseBlocks();
}

void CZipStreamState::Init()
{
    memset(&m_stream, 0, sizeof(m_stream));
    m_stream.zalloc = &CZipStreamState::Alloc;
    m_stream.zfree = &CZipStreamState::Free;
    m_stream.opaque = this;
    m_uComprLeft = 0;
    m_uUncomprLeft = 0;
    m_uCrc32 = 0;
}

void CZipStreamState::ReleaseBlocks()
{
    while (m_pBlocks != NULL) {
        BlockHead* pNext = m_pBlocks->pNext;
        free(m_pBlocks);
        m_pBlocks = pNext;
    }
}

voidpf CZipStreamState::Alloc(voidpf opaque, uInt items, uInt size)
{
    CZipStreamState* pState = static_cast<CZipStreamState*>(opaque);
    size_t bytes = (size_t)items * size;
    BlockHead* pBlock = static_cast<BlockHead*>(malloc(HeadSize() + bytes));
    if (pBlock == NULL)
        return Z_NULL;
    pBlock->pPrev = NULL;
    pBlock->pNext = pState->m_pBlocks;
    if (pState->m_pBlocks != NULL)
        pState->m_pBlocks->pPrev = pBlock;
    pState->m_pBlocks = pBlock;
    return pBlock->data;
}

void CZipStreamState::Free(voidpf opaque, voidpf address)
{
    if (address == NULL)
        return;
    CZipStreamState* pState = static_cast<CZipStreamState*>(opaque);
    BlockHead* pBlock = reinterpret_cast<BlockHead*>(static_cast<char*>(address) - HeadSize());
    if (pBlock->pPrev != NULL)
        pBlock->pPrev->pNext = pBlock->pNext;
    else
        pState->m_pBlocks = pBlock->pNext;
    if (pBlock->pNext != NULL)
        pBlock->pNext->pPrev = pBlock->pPrev;
    free(pBlock);
}
