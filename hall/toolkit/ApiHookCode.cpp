#include "ApiHookCode.h"

#include <initializer_list>
#include <string.h>

namespace apihook
{
namespace
{
enum Kind : uint8_t
{
    PLAIN,
    PREFIX,
    OPSIZE,
    ADSIZE,
    ESCAPE,
    GROUP_F6,
    GROUP_F7,
    INVALID
};

struct Entry
{
    uint8_t fixed;   // opcode, ModR/M byte and immediates
    uint8_t fixed16; // the same under a 66 prefix (67 for the moffs moves)
    uint8_t modrm;   // position of the ModR/M byte, 0 for none
    uint8_t rel;     // position of a relative displacement, 0 for none
    Kind kind;
    bool moffs;
};

struct Tables
{
    Entry main[256];
    Entry second[256];
    Tables();
};

void Set(Entry* t, int first, int last, uint8_t fixed, uint8_t fixed16, uint8_t modrm, uint8_t rel = 0,
         Kind kind = PLAIN)
{
    for (int b = first; b <= last; ++b)
        t[b] = Entry{fixed, fixed16, modrm, rel, kind, false};
}

Tables::Tables()
{
    Entry* m = main;
    Set(m, 0x00, 0xFF, 1, 1, 0);
    // ALU rows: r/m forms, AL imm8, eAX imm32.
    for (int row = 0x00; row <= 0x38; row += 8) {
        Set(m, row, row + 3, 2, 2, 1);
        Set(m, row + 4, row + 4, 2, 2, 0);
        Set(m, row + 5, row + 5, 5, 3, 0);
    }
    Set(m, 0x0F, 0x0F, 1, 1, 0, 0, ESCAPE);
    for (int b : {0x26, 0x2E, 0x36, 0x3E, 0x64, 0x65, 0xF0, 0xF2, 0xF3})
        Set(m, b, b, 1, 1, 0, 0, PREFIX);
    Set(m, 0x66, 0x66, 1, 1, 0, 0, OPSIZE);
    Set(m, 0x67, 0x67, 1, 1, 0, 0, ADSIZE);
    Set(m, 0x62, 0x63, 2, 2, 1);
    Set(m, 0x68, 0x68, 5, 3, 0);
    Set(m, 0x69, 0x69, 6, 4, 1);
    Set(m, 0x6A, 0x6A, 2, 2, 0);
    Set(m, 0x6B, 0x6B, 3, 3, 1);
    Set(m, 0x70, 0x7F, 2, 2, 0, 1);
    Set(m, 0x80, 0x80, 3, 3, 1);
    Set(m, 0x81, 0x81, 6, 4, 1);
    Set(m, 0x82, 0x83, 3, 3, 1);
    Set(m, 0x84, 0x8F, 2, 2, 1);
    Set(m, 0x9A, 0x9A, 7, 5, 0);
    Set(m, 0xA0, 0xA3, 5, 3, 0);
    for (int b = 0xA0; b <= 0xA3; ++b)
        m[b].moffs = true;
    Set(m, 0xA8, 0xA8, 2, 2, 0);
    Set(m, 0xA9, 0xA9, 5, 3, 0);
    Set(m, 0xB0, 0xB7, 2, 2, 0);
    Set(m, 0xB8, 0xBF, 5, 3, 0);
    Set(m, 0xC0, 0xC1, 3, 3, 1);
    Set(m, 0xC2, 0xC2, 3, 3, 0);
    Set(m, 0xC4, 0xC5, 2, 2, 1);
    Set(m, 0xC6, 0xC6, 3, 3, 1);
    Set(m, 0xC7, 0xC7, 6, 4, 1);
    Set(m, 0xC8, 0xC8, 4, 4, 0);
    Set(m, 0xCA, 0xCA, 3, 3, 0);
    Set(m, 0xCD, 0xCD, 2, 2, 0);
    Set(m, 0xD0, 0xD3, 2, 2, 1);
    Set(m, 0xD4, 0xD5, 2, 2, 0);
    Set(m, 0xD6, 0xD6, 1, 1, 0, 0, INVALID);
    Set(m, 0xD8, 0xDF, 2, 2, 1);
    Set(m, 0xE0, 0xE3, 2, 2, 0, 1);
    Set(m, 0xE4, 0xE7, 2, 2, 0);
    Set(m, 0xE8, 0xE9, 5, 3, 0, 1);
    Set(m, 0xEA, 0xEA, 7, 5, 0);
    Set(m, 0xEB, 0xEB, 2, 2, 0, 1);
    Set(m, 0xF1, 0xF1, 1, 1, 0, 0, INVALID);
    Set(m, 0xF6, 0xF6, 2, 2, 1, 0, GROUP_F6);
    Set(m, 0xF7, 0xF7, 2, 2, 1, 0, GROUP_F7);
    Set(m, 0xFE, 0xFF, 2, 2, 1);

    // After 0F: lengths count from the second byte.
    Entry* s = second;
    Set(s, 0x00, 0xFF, 1, 1, 0, 0, INVALID);
    const struct
    {
        int first, last, fixed, fixed16, modrm, rel;
    } valid[] = {
        {0x00, 0x03, 2, 2, 1, 0}, {0x06, 0x06, 1, 1, 0, 0}, {0x08, 0x09, 1, 1, 0, 0}, {0x0B, 0x0B, 1, 1, 0, 0},
        {0x20, 0x23, 2, 2, 1, 0}, {0x30, 0x35, 1, 1, 0, 0}, {0x40, 0x4F, 2, 2, 1, 0}, {0x60, 0x60, 2, 2, 1, 0},
        {0x62, 0x6B, 2, 2, 1, 0}, {0x6E, 0x6F, 2, 2, 1, 0}, {0x71, 0x73, 3, 3, 1, 0}, {0x74, 0x76, 2, 2, 1, 0},
        {0x77, 0x77, 1, 1, 0, 0}, {0x7E, 0x7F, 2, 2, 1, 0}, {0x80, 0x8F, 5, 3, 0, 1}, {0x90, 0x9F, 2, 2, 1, 0},
        {0xA0, 0xA2, 1, 1, 0, 0}, {0xA3, 0xA3, 2, 2, 1, 0}, {0xA4, 0xA4, 3, 3, 1, 0}, {0xA5, 0xA5, 2, 2, 1, 0},
        {0xA8, 0xAA, 1, 1, 0, 0}, {0xAB, 0xAB, 2, 2, 1, 0}, {0xAC, 0xAC, 3, 3, 1, 0}, {0xAD, 0xAF, 2, 2, 1, 0},
        {0xB0, 0xB7, 2, 2, 1, 0}, {0xBA, 0xBA, 3, 3, 1, 0}, {0xBB, 0xBF, 2, 2, 1, 0}, {0xC0, 0xC1, 2, 2, 1, 0},
        {0xC7, 0xC7, 2, 2, 1, 0}, {0xC8, 0xCF, 1, 1, 0, 0}, {0xD1, 0xD3, 2, 2, 1, 0}, {0xD5, 0xD5, 2, 2, 1, 0},
        {0xD8, 0xD9, 2, 2, 1, 0}, {0xDB, 0xDD, 2, 2, 1, 0}, {0xDF, 0xDF, 2, 2, 1, 0}, {0xE1, 0xE2, 2, 2, 1, 0},
        {0xE5, 0xE5, 2, 2, 1, 0}, {0xE8, 0xE9, 2, 2, 1, 0}, {0xEB, 0xED, 2, 2, 1, 0}, {0xEF, 0xEF, 2, 2, 1, 0},
        {0xF1, 0xF3, 2, 2, 1, 0}, {0xF5, 0xF5, 2, 2, 1, 0}, {0xF8, 0xFA, 2, 2, 1, 0}, {0xFC, 0xFE, 2, 2, 1, 0},
    };
    for (const auto& v : valid)
        Set(s, v.first, v.last, (uint8_t)v.fixed, (uint8_t)v.fixed16, (uint8_t)v.modrm, (uint8_t)v.rel);
}

const Tables& TheTables()
{
    static const Tables tables;
    return tables;
}

bool IsSegmentPrefix(uint8_t b)
{
    return b == 0x26 || b == 0x2E || b == 0x36 || b == 0x3E || b == 0x64 || b == 0x65;
}

// Bytes after the ModR/M byte: displacement and SIB. sibAt tells where the
// SIB byte would be read; -1 when there is none.
size_t ModRmExtra(uint8_t modrm, bool* hasSib)
{
    const int mod = modrm >> 6, rm = modrm & 7;
    *hasSib = mod != 3 && rm == 4;
    switch (mod) {
    case 0: return rm == 5 ? 4 : rm == 4 ? 1 : 0;
    case 1: return rm == 4 ? 2 : 1;
    case 2: return rm == 4 ? 5 : 4;
    default: return 0;
    }
}

int64_t ReadSigned(const uint8_t* p, size_t size)
{
    switch (size) {
    case 1: return (int8_t)p[0];
    case 2: return (int16_t)(uint16_t)(p[0] | (p[1] << 8));
    default: return (int32_t)((uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24));
    }
}

bool Fits(int64_t v, size_t size)
{
    switch (size) {
    case 1: return v >= INT8_MIN && v <= INT8_MAX;
    case 2: return v >= INT16_MIN && v <= INT16_MAX;
    default: return v >= INT32_MIN && v <= INT32_MAX;
    }
}

void WriteSigned(uint8_t* p, int64_t v, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        p[i] = (uint8_t)((uint64_t)v >> (8 * i));
}

int64_t Distance(const void* from, const void* to)
{
    return (int64_t)((intptr_t)to - (intptr_t)from);
}
} // namespace

Instruction Decode(const uint8_t* code, size_t avail)
{
    Instruction ins = {};
    if (code == NULL || avail == 0)
        return ins;
    const Tables& t = TheTables();
    const Entry* table = t.main;
    bool op16 = false, ad16 = false;
    ins.end = code[0];
    for (size_t i = 0;; ++i) {
        if (i >= MAX_INSTRUCTION) {
            ins.invalid = true;
            ins.length = ins.written = i;
            return ins;
        }
        if (i >= avail)
            return Instruction();
        const Entry& e = table[code[i]];
        switch (e.kind) {
        case PREFIX: continue;
        case OPSIZE: op16 = true; continue;
        case ADSIZE: ad16 = true; continue;
        case ESCAPE: table = t.second; continue;
        case INVALID:
            ins.invalid = true;
            ins.length = i + 1;
            ins.written = i;
            return ins;
        default: break;
        }
        const size_t start = i;
        const size_t fixed = (e.moffs ? ad16 : op16) ? e.fixed16 : e.fixed;
        size_t length = fixed;
        if (e.modrm) {
            const size_t at = start + e.modrm;
            if (at >= avail)
                return Instruction();
            const uint8_t modrm = code[at];
            bool hasSib = false;
            length += ModRmExtra(modrm, &hasSib);
            if (hasSib) {
                if (at + 1 >= avail)
                    return Instruction();
                // Base 101 without a displacement of its own reads a disp32.
                if ((code[at + 1] & 7) == 5 && (modrm >> 6) == 0)
                    length += 4;
            }
            const int reg = (modrm >> 3) & 7;
            if (e.kind == GROUP_F6 && reg == 0)
                length += 1;
            else if (e.kind == GROUP_F7 && reg == 0)
                length += op16 ? 2 : 4;
            ins.jumpThroughMemory = table == t.main && code[start] == 0xFF && modrm == 0x25 &&
                                    (start == 0 || (start == 1 && IsSegmentPrefix(code[0])));
        }
        const size_t total = start + length;
        if (total > MAX_INSTRUCTION) {
            ins = Instruction();
            ins.end = code[0];
            ins.invalid = true;
            ins.length = ins.written = total;
            if (total > avail)
                return Instruction();
            return ins;
        }
        if (total > avail)
            return Instruction();
        ins.length = ins.written = total;
        if (e.rel) {
            ins.relAt = start + e.rel;
            ins.relSize = fixed - e.rel;
        }
        return ins;
    }
}

size_t CopyInstruction(const uint8_t* src, size_t avail, uint8_t* out, size_t room, const uint8_t* runAt)
{
    const Instruction ins = Decode(src, avail);
    if (ins.length == 0 || ins.invalid || ins.length > room)
        return 0;
    uint8_t bytes[MAX_INSTRUCTION];
    memcpy(bytes, src, ins.length);
    if (ins.relSize != 0) {
        const int64_t moved = ReadSigned(src + ins.relAt, ins.relSize) - Distance(src, runAt);
        // A branch that can no longer reach from the new place is refused.
        if (!Fits(moved, ins.relSize))
            return 0;
        WriteSigned(bytes + ins.relAt, moved, ins.relSize);
    }
    memcpy(out, bytes, ins.length);
    return ins.length;
}

size_t MeasureHead(const uint8_t* code, size_t avail)
{
    size_t n = 0;
    while (n < MIN_HEAD) {
        const Instruction ins = Decode(code + n, avail - n);
        if (ins.length == 0)
            return 0;
        n += ins.length;
        const uint8_t b = ins.end;
        if (b == 0xE9 || b == 0xEB || b == 0xE0 || b == 0xC2 || b == 0xC3 || ins.jumpThroughMemory)
            break;
    }
    return n >= MIN_HEAD && n <= MAX_HEAD ? n : 0;
}

bool CopyHead(const uint8_t* src, size_t avail, uint8_t* out, size_t room, const uint8_t* runAt, size_t n)
{
    if (n > avail || n > room)
        return false;
    size_t done = 0;
    while (done < n) {
        // Instructions are read only within the head.
        const size_t c = CopyInstruction(src + done, n - done, out + done, room - done, runAt + done);
        if (c == 0)
            return false;
        done += c;
    }
    return done == n;
}

bool WriteJump(uint8_t* out, const uint8_t* runAt, const void* to)
{
    const int64_t rel = Distance(runAt + JMP_SIZE, to);
    if (!Fits(rel, 4))
        return false;
    out[0] = 0xE9;
    WriteSigned(out + 1, rel, 4);
    return true;
}

const uint8_t* BranchTarget(const uint8_t* code)
{
    return code + JMP_SIZE + ReadSigned(code + 1, 4);
}

bool IsFreshTrampoline(const uint8_t* trampoline)
{
    return trampoline != NULL && trampoline[0] == 0x90 && trampoline[1] == 0x90 && trampoline[2] == 0xE8 &&
           trampoline[7] == 0xFF && trampoline[8] == 0xE0;
}

const uint8_t* TrampolineGetter(const uint8_t* trampoline)
{
    return BranchTarget(trampoline + 2);
}

bool BuildTrampoline(uint8_t* out, const uint8_t* trampoline, const uint8_t* target, size_t avail, size_t n)
{
    if (n < MIN_HEAD || n > MAX_HEAD)
        return false;
    uint8_t bytes[TRAMPOLINE_SIZE];
    memcpy(bytes, trampoline, TRAMPOLINE_SIZE);
    if (!CopyHead(target, avail, bytes, n, trampoline, n))
        return false;
    if (!WriteJump(bytes + n, trampoline + n, target + n))
        return false;
    bytes[TRAMPOLINE_COUNT_AT] = (uint8_t)n;
    memcpy(out, bytes, TRAMPOLINE_SIZE);
    return true;
}

bool BuildPatch(uint8_t* out, const uint8_t* target, const void* replacement, size_t n)
{
    if (n < MIN_HEAD || n > MAX_HEAD)
        return false;
    uint8_t bytes[MAX_HEAD];
    if (!WriteJump(bytes, target, replacement))
        return false;
    memset(bytes + JMP_SIZE, 0xCC, n - JMP_SIZE);
    memcpy(out, bytes, n);
    return true;
}

RemoveCheck CheckRemoval(const uint8_t* trampoline, const void* replacement, uint8_t** target, size_t* n)
{
    if (trampoline == NULL)
        return REMOVE_NO_TRAMPOLINE;
    // Only lengths a head can have: a larger count would read past the block.
    const size_t count = trampoline[TRAMPOLINE_COUNT_AT];
    if (count < MIN_HEAD || count > MAX_HEAD || trampoline[count] != 0xE9)
        return REMOVE_NO_TRAMPOLINE;
    uint8_t* found = (uint8_t*)(BranchTarget(trampoline + count) - count);
    if (found[0] != 0xE9)
        return REMOVE_NOT_PATCHED;
    if ((const void*)BranchTarget(found) != replacement)
        return REMOVE_OTHER_PATCH;
    *target = found;
    *n = count;
    return REMOVE_OK;
}

bool BuildRestore(uint8_t* out, const uint8_t* trampoline, const uint8_t* target, size_t n)
{
    uint8_t bytes[MAX_HEAD];
    if (n > MAX_HEAD || !CopyHead(trampoline, n, bytes, n, target, n))
        return false;
    memcpy(out, bytes, n);
    return true;
}
} // namespace apihook
