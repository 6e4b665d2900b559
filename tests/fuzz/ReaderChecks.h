// What every reader fuzz entry checks, and how it splits its input.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

// A failed check ends the run as a crash the fuzzer keeps.
inline void Check(bool ok)
{
    if (!ok)
        abort();
}

// A fixed text field a reader filled is terminated within the field.
template <size_t N> void CheckText(const char (&szField)[N])
{
    Check(memchr(szField, '\0', N) != NULL);
}

// The first byte picks one of nReaders readers, the rest is its body, cut to
// what a packet can carry (65535 bytes). False for an empty input.
inline bool SplitReaderInput(const uint8_t* pData, size_t nSize, size_t nReaders, size_t& nIndex, size_t& nBody)
{
    if (nSize == 0 || nReaders == 0)
        return false;
    nIndex = pData[0] % nReaders;
    nBody = nSize - 1;
    if (nBody > 0xFFFF)
        nBody = 0xFFFF;
    return true;
}
