// One entry for the hall message readers, shared by the fuzzer and the test
// that replays the checked-in corpus: the first input byte chooses the
// message, the rest is its body.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Runs the chosen reader; aborts when a decoded record breaks an invariant
// (an unterminated text field, more items than the body could hold).
void RunHallReader(const uint8_t* pData, size_t nSize);
// Number of messages the first byte chooses from (modulo).
size_t GetHallReaderCount();
