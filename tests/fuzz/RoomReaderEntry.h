// One entry for the room message readers, shared by the fuzzer, its corpus
// maker and the test that replays the checked-in corpus: the first input
// byte chooses the reader, the rest is the message body.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Runs the chosen reader; aborts when a decoded record breaks an invariant
// (an unterminated text field, more items than the body could hold).
void RunRoomReader(const uint8_t* pData, size_t nSize);
// Number of readers the first byte chooses from (modulo).
size_t GetRoomReaderCount();
// The reader of a server message, or -1 when it has no body to read.
int GetRoomReaderIndex(uint16_t wMainCmdID, uint16_t wSubCmdID);
// The readers of game traffic from the room server and of the game
// client's requests: their input is a u16 sub, then (requests) a byte of
// room flags, then the body.
int GetGameRelayReaderIndex(bool bRequest);
