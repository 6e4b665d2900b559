// Every user-service reply reader over arbitrary bodies.
#include "QuillonReaderEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RunQuillonReader(data, size);
    return 0;
}
