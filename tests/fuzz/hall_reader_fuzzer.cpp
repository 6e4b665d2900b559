// Every hall server message reader over arbitrary bodies.
#include "HallReaderEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RunHallReader(data, size);
    return 0;
}
