// Every room server message reader over arbitrary bodies.
#include "RoomReaderEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RunRoomReader(data, size);
    return 0;
}
