// Blocks of one size for objects made by the thousand (the game tree's rooms
// and nodes): taken from a free list under a light lock instead of one heap
// call each. Freed blocks go back to the list; the memory stays with the
// pool for the next game list.
#pragma once

#include <stddef.h>

#include <atomic>
#include <new>
#include <thread>

template <size_t Size> class CObjectPool
{
public:
    static void* Take()
    {
        CObjectPool& pool = Instance();
        pool.Lock();
        if (pool.m_pFree == NULL && !pool.Refill()) {
            pool.Unlock();
            throw std::bad_alloc();
        }
        Block* p = pool.m_pFree;
        pool.m_pFree = p->pNext;
        pool.Unlock();
        return p;
    }

    static void Give(void* p)
    {
        if (p == NULL)
            return;
        CObjectPool& pool = Instance();
        pool.Lock();
        Block* block = static_cast<Block*>(p);
        block->pNext = pool.m_pFree;
        pool.m_pFree = block;
        pool.Unlock();
    }

private:
    union Block
    {
        Block* pNext;
        alignas(alignof(max_align_t)) unsigned char bytes[Size];
    };
    enum
    {
        kBlocksPerChunk = 256
    };

    CObjectPool() : m_pFree(NULL) {}

    static CObjectPool& Instance()
    {
        static CObjectPool pool;
        return pool;
    }

    // Held for a few instructions, almost never contended: a flag, not a
    // system lock (each of those costs a call into the system under Wine).
    void Lock()
    {
        while (m_Busy.test_and_set(std::memory_order_acquire))
            std::this_thread::yield();
    }
    void Unlock() { m_Busy.clear(std::memory_order_release); }

    bool Refill()
    {
        Block* chunk = static_cast<Block*>(::operator new(sizeof(Block) * kBlocksPerChunk, std::nothrow));
        if (chunk == NULL)
            return false;
        for (int i = 0; i < kBlocksPerChunk; ++i) {
            chunk[i].pNext = m_pFree;
            m_pFree = &chunk[i];
        }
        return true;
    }

    std::atomic_flag m_Busy = ATOMIC_FLAG_INIT;
    Block* m_pFree;
};
