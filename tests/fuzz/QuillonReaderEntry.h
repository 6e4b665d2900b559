// One entry for the user-service reply readers, shared by the fuzzer and the
// test that replays the checked-in corpus: the first input byte chooses the
// reader, the rest is the reply body.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Runs the chosen reader; aborts when a decoded record breaks an invariant
// (an unterminated text field, more items than the body could hold, a
// result outside the normalised range).
void RunQuillonReader(const uint8_t* pData, size_t nSize);
// Number of readers the first byte chooses from (modulo).
size_t GetQuillonReaderCount();
