#include "AllocationCounter.h"

#include <stdlib.h>

#include <atomic>
#include <new>

namespace
{

std::atomic<long> g_live(0);
std::atomic<bool> g_failNext(false);

void* Allocate(size_t size)
{
    if (g_failNext.exchange(false))
        return NULL;
    void* block = malloc(size != 0 ? size : 1);
    if (block != NULL)
        ++g_live;
    return block;
}

void Free(void* block)
{
    if (block == NULL)
        return;
    --g_live;
    free(block);
}

void* AllocateOrThrow(size_t size)
{
    void* block = Allocate(size);
    if (block == NULL)
        throw std::bad_alloc();
    return block;
}

} // namespace

long LiveAllocations()
{
    return g_live;
}

void FailNextAllocation()
{
    g_failNext = true;
}

void* operator new(size_t size)
{
    return AllocateOrThrow(size);
}
void* operator new[](size_t size)
{
    return AllocateOrThrow(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void operator delete(void* block) noexcept
{
    Free(block);
}
void operator delete[](void* block) noexcept
{
    Free(block);
}
void operator delete(void* block, size_t) noexcept
{
    Free(block);
}
void operator delete[](void* block, size_t) noexcept
{
    Free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept
{
    Free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    Free(block);
}
