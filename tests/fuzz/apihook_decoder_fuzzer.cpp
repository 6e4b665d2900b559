// The hooks' decoder over any bytes: it reads only what it is given and
// the head it moves never writes past a 32-byte trampoline.
#include <ApiHookCode.h>

#include <stdlib.h>
#include <string.h>
#include <vector>

using namespace apihook;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> code(data, data + size); // exactly the input: reads past it are caught
    for (size_t i = 0; i < code.size(); ++i) {
        const Instruction ins = Decode(code.data() + i, code.size() - i);
        if (ins.length > code.size() - i || ins.written > ins.length)
            abort();
    }
    const size_t n = MeasureHead(code.data(), code.size());
    if (n != 0 && (n < MIN_HEAD || n > MAX_HEAD || n > code.size()))
        abort();

    // A trampoline between guard bytes, filled the way a fresh one starts.
    uint8_t block[TRAMPOLINE_SIZE * 3];
    memset(block, 0x5A, sizeof(block));
    uint8_t* trampoline = block + TRAMPOLINE_SIZE;
    memset(trampoline, 0x90, TRAMPOLINE_SIZE);
    uint8_t out[TRAMPOLINE_SIZE];
    if (n != 0 && BuildTrampoline(out, trampoline, code.data(), code.size(), n)) {
        memcpy(trampoline, out, TRAMPOLINE_SIZE);
        if (trampoline[TRAMPOLINE_COUNT_AT] != n || trampoline[n] != 0xE9)
            abort();
        uint8_t restored[MAX_HEAD];
        if (BuildRestore(restored, trampoline, code.data(), n) && memcmp(restored, code.data(), n) != 0)
            abort();
    }
    for (size_t i = 0; i < TRAMPOLINE_SIZE; ++i)
        if (block[i] != 0x5A || block[2 * TRAMPOLINE_SIZE + i] != 0x5A)
            abort();
    return 0;
}
