// The hooks' byte work on buffers of this program: instruction lengths,
// heads, moved branches, trampoline and patch bytes, and the checks before
// a hook is removed.
#include <ApiHookCode.h>

#include <gtest/gtest.h>

#include <string.h>
#include <vector>

using namespace apihook;

namespace
{
struct DecodeCase
{
    const char* name;
    std::vector<uint8_t> bytes;
    size_t length; // 0: the bytes run out
    bool invalid;
    size_t relSize;
};

TEST(ApiHookDecoderTest, InstructionTable)
{
    const DecodeCase cases[] = {
        {"nop", {0x90}, 1, false, 0},
        {"mov edi, edi", {0x8B, 0xFF}, 2, false, 0},
        {"mov eax, [ebp+8]", {0x8B, 0x45, 0x08}, 3, false, 0},
        {"mov eax, [ebp+disp32]", {0x8B, 0x85, 1, 2, 3, 4}, 6, false, 0},
        {"mov eax, [disp32]", {0x8B, 0x05, 1, 2, 3, 4}, 6, false, 0},
        {"mov eax, [esp]", {0x8B, 0x04, 0x24}, 3, false, 0},
        {"mov eax, [esp+4]", {0x8B, 0x44, 0x24, 0x04}, 4, false, 0},
        {"SIB without base", {0x8B, 0x04, 0x25, 1, 2, 3, 4}, 7, false, 0},
        {"SIB base ebp with disp8", {0x8B, 0x44, 0x25, 0x04}, 4, false, 0},
        {"SIB base ebp with disp32", {0x8B, 0x84, 0x25, 1, 2, 3, 4}, 7, false, 0},
        {"16-bit mov", {0x66, 0x8B, 0xC0}, 3, false, 0},
        {"mov eax, imm32", {0xB8, 1, 2, 3, 4}, 5, false, 0},
        {"mov ax, imm16", {0x66, 0xB8, 1, 2}, 4, false, 0},
        {"moffs", {0xA1, 1, 2, 3, 4}, 5, false, 0},
        {"moffs, 16-bit address", {0x67, 0xA1, 1, 2}, 4, false, 0},
        {"moffs, 16-bit operand", {0x66, 0xA1, 1, 2, 3, 4}, 6, false, 0},
        {"sub esp, imm32", {0x81, 0xEC, 0, 1, 0, 0}, 6, false, 0},
        {"sub sp, imm16", {0x66, 0x81, 0xEC, 0, 1}, 5, false, 0},
        {"sub esp, imm8", {0x83, 0xEC, 0x10}, 3, false, 0},
        {"imul imm32", {0x69, 0xC0, 1, 0, 0, 0}, 6, false, 0},
        {"test cl, imm8", {0xF6, 0xC1, 0x01}, 3, false, 0},
        {"not cl", {0xF6, 0xD1}, 2, false, 0},
        {"test ecx, imm32", {0xF7, 0xC1, 1, 0, 0, 0}, 6, false, 0},
        {"test cx, imm16", {0x66, 0xF7, 0xC1, 1, 0}, 5, false, 0},
        {"neg ecx", {0xF7, 0xD9}, 2, false, 0},
        {"push [esp+4]", {0xFF, 0x74, 0x24, 0x04}, 4, false, 0},
        {"jmp [slot]", {0xFF, 0x25, 1, 2, 3, 4}, 6, false, 0},
        {"call rel32", {0xE8, 1, 2, 3, 4}, 5, false, 4},
        {"call rel16", {0x66, 0xE8, 1, 2}, 4, false, 2},
        {"jmp rel8", {0xEB, 0x10}, 2, false, 1},
        {"jz rel8", {0x74, 0x05}, 2, false, 1},
        {"jecxz", {0xE3, 0x05}, 2, false, 1},
        {"jz rel32", {0x0F, 0x84, 1, 2, 3, 4}, 6, false, 4},
        {"jz rel16", {0x66, 0x0F, 0x84, 1, 2}, 5, false, 2},
        {"movzx", {0x0F, 0xB6, 0xC0}, 3, false, 0},
        {"cpuid", {0x0F, 0xA2}, 2, false, 0},
        {"bt imm8", {0x0F, 0xBA, 0xE0, 0x01}, 4, false, 0},
        {"rep movsb", {0xF3, 0xA4}, 2, false, 0},
        {"lock cmpxchg", {0xF0, 0x0F, 0xB1, 0x0A}, 4, false, 0},
        {"ret imm16", {0xC2, 0x08, 0x00}, 3, false, 0},
        {"enter", {0xC8, 0x10, 0x00, 0x00}, 4, false, 0},
        {"invalid after 0F", {0x0F, 0x0A}, 2, true, 0},
        {"0F 61 is not in the table", {0x0F, 0x61, 0xC0}, 2, true, 0},
        {"D6", {0xD6}, 1, true, 0},
        {"F1", {0xF1}, 1, true, 0},
        {"endless prefixes", std::vector<uint8_t>(20, 0x66), 15, true, 0},
        {"cut ModR/M", {0x8B}, 0, false, 0},
        {"cut SIB", {0x8B, 0x04}, 0, false, 0},
        {"cut immediate", {0xE8, 0, 0}, 0, false, 0},
        {"cut escape", {0x0F}, 0, false, 0},
        {"nothing", {}, 0, false, 0},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Instruction ins = Decode(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(c.length, ins.length);
        EXPECT_EQ(c.invalid, ins.invalid);
        EXPECT_EQ(c.relSize, ins.relSize);
    }
    EXPECT_TRUE(Decode((const uint8_t*)"\xFF\x25\1\2\3\4", 6).jumpThroughMemory);
    EXPECT_TRUE(Decode((const uint8_t*)"\x2E\xFF\x25\1\2\3\4", 7).jumpThroughMemory);
    EXPECT_FALSE(Decode((const uint8_t*)"\xFF\x15\1\2\3\4", 6).jumpThroughMemory);
}

TEST(ApiHookDecoderTest, HeadTable)
{
    const struct
    {
        const char* name;
        std::vector<uint8_t> bytes;
        size_t n;
    } cases[] = {
        {"hot-patch prologue", {0x8B, 0xFF, 0x55, 0x8B, 0xEC, 0x83, 0xEC, 0x10}, 5},
        {"classic prologue", {0x55, 0x8B, 0xEC, 0x83, 0xEC, 0x10, 0x90}, 6},
        {"push then call", {0x6A, 0x00, 0xE8, 1, 2, 3, 4}, 7},
        {"return too early", {0x33, 0xC0, 0xC3, 0x90, 0x90, 0x90}, 0},
        {"ret imm16 too early", {0xC2, 0x04, 0x00, 0x90, 0x90, 0x90}, 0},
        {"short jump too early", {0xEB, 0x05, 0x90, 0x90, 0x90, 0x90, 0x90}, 0},
        {"loopne too early", {0xE0, 0x05, 0x90, 0x90, 0x90, 0x90}, 0},
        {"a jump is a whole head", {0xE9, 1, 2, 3, 4, 0x90}, 5},
        {"import thunk", {0xFF, 0x25, 1, 2, 3, 4, 0x90}, 6},
        {"import thunk behind a prefix", {0x2E, 0xFF, 0x25, 1, 2, 3, 4}, 7},
        {"cut short", {0x55, 0x8B}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.n, MeasureHead(c.bytes.data(), c.bytes.size())) << c.name;
}

// Code buffers of this program: near each other, as the trampolines, the
// replacements and the system functions are in the product.
uint8_t g_target[64];
uint8_t g_trampoline[TRAMPOLINE_SIZE];
uint8_t g_replacement[16];
uint8_t g_elsewhere[16];
uint8_t g_far[1 << 12];

const uint8_t* Getter()
{
    return g_target;
}

void FreshTrampoline()
{
    static const uint8_t fresh[TRAMPOLINE_SIZE] = {0x90, 0x90, 0xE8, 0,    0,    0,    0,    0xFF, 0xE0, 0xC3, 0x90,
                                                   0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90,
                                                   0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90};
    memcpy(g_trampoline, fresh, sizeof(fresh));
    const int64_t rel = (int64_t)((intptr_t)&Getter - (intptr_t)(g_trampoline + 7));
    ASSERT_TRUE(rel >= INT32_MIN && rel <= INT32_MAX);
    const int32_t rel32 = (int32_t)rel;
    memcpy(g_trampoline + 3, &rel32, 4);
}

void SetTarget(const std::vector<uint8_t>& bytes)
{
    memset(g_target, 0x90, sizeof(g_target));
    memcpy(g_target, bytes.data(), bytes.size());
}

// An address some way off (only compared, never read).
const uint8_t* Away(const uint8_t* p, long long distance)
{
    return (const uint8_t*)((uintptr_t)p + (uintptr_t)distance);
}

TEST(ApiHookBytesTest, BranchesAreReAimedOrRefused)
{
    // A call moved by 3 bytes still reaches the same place.
    uint8_t code[16] = {0xE8, 0x10, 0, 0, 0};
    uint8_t out[8];
    ASSERT_EQ(5u, CopyInstruction(code, 5, out, sizeof(out), code + 3));
    int32_t rel;
    memcpy(&rel, out + 1, 4);
    EXPECT_EQ(0x10 - 3, rel);

    // A short branch copied 100 bytes further on still fits, 4000 does not.
    const uint8_t jz[2] = {0x74, 0x05};
    ASSERT_EQ(2u, CopyInstruction(jz, 2, out, sizeof(out), Away(jz, 100)));
    EXPECT_EQ((uint8_t)(5 - 100), out[1]);
    memset(out, 0xAB, sizeof(out));
    EXPECT_EQ(0u, CopyInstruction(jz, 2, out, sizeof(out), Away(jz, 4000)));
    EXPECT_EQ(0xAB, out[0]);
    // No room, or an invalid opcode: nothing.
    EXPECT_EQ(0u, CopyInstruction(code, 5, out, 4, code));
    const uint8_t bad[1] = {0xD6};
    EXPECT_EQ(0u, CopyInstruction(bad, 1, out, sizeof(out), out));
}

TEST(ApiHookBytesTest, InstallAndRemoveBytes)
{
    const struct
    {
        const char* name;
        std::vector<uint8_t> head;
        size_t n;
    } cases[] = {
        {"hot-patch prologue, no filler", {0x8B, 0xFF, 0x55, 0x8B, 0xEC}, 5},
        {"push and call", {0x6A, 0x00, 0xE8, 0x40, 0, 0, 0}, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FreshTrampoline();
        SetTarget(c.head);
        ASSERT_TRUE(IsFreshTrampoline(g_trampoline));
        EXPECT_EQ((const uint8_t*)&Getter, TrampolineGetter(g_trampoline));
        uint8_t original[64];
        memcpy(original, g_target, sizeof(original));

        const size_t n = MeasureHead(g_target, sizeof(g_target));
        uint8_t tramp[TRAMPOLINE_SIZE];
        uint8_t patch[MAX_HEAD];
        const bool built = n != 0 && BuildTrampoline(tramp, g_trampoline, g_target, sizeof(g_target), n) &&
                           BuildPatch(patch, g_target, g_replacement, n);
        ASSERT_TRUE(built);
        ASSERT_EQ(c.n, n);
        memcpy(g_trampoline, tramp, sizeof(tramp));
        memcpy(g_target, patch, n);

        EXPECT_FALSE(IsFreshTrampoline(g_trampoline)); // a second install stops here
        EXPECT_EQ(0xE9, g_trampoline[n]);
        EXPECT_EQ(g_target + n, BranchTarget(g_trampoline + n));
        EXPECT_EQ(n, (size_t)g_trampoline[TRAMPOLINE_COUNT_AT]);
        EXPECT_EQ(0xE9, g_target[0]);
        EXPECT_EQ(g_replacement, BranchTarget(g_target));
        for (size_t i = JMP_SIZE; i < n; ++i)
            EXPECT_EQ(0xCC, g_target[i]);
        EXPECT_EQ(0x90, g_target[n]);
        if (c.head[2] == 0xE8) // the moved call still goes where it went
        {
            EXPECT_EQ(BranchTarget(original + 2) + (g_target - original), BranchTarget(g_trampoline + 2));
        }

        uint8_t* found = NULL;
        size_t count = 0;
        ASSERT_EQ(REMOVE_OK, CheckRemoval(g_trampoline, g_replacement, &found, &count));
        EXPECT_EQ(g_target, found);
        EXPECT_EQ(n, count);
        uint8_t restored[MAX_HEAD];
        ASSERT_TRUE(BuildRestore(restored, g_trampoline, g_target, n));
        EXPECT_EQ(0, memcmp(restored, original, n));
    }
}

TEST(ApiHookBytesTest, HeadWithAShortBranchThatCannotMoveIsRefused)
{
    uint8_t* target = g_far;
    uint8_t* trampoline = g_far + 2048;
    const uint8_t head[] = {0x85, 0xC0, 0x74, 0x10, 0x55, 0x8B, 0xEC};
    memcpy(target, head, sizeof(head));
    memset(trampoline, 0x90, TRAMPOLINE_SIZE);
    const size_t n = MeasureHead(target, sizeof(head));
    ASSERT_EQ(5u, n);
    uint8_t out[TRAMPOLINE_SIZE];
    memset(out, 0xAB, sizeof(out));
    EXPECT_FALSE(BuildTrampoline(out, trampoline, target, sizeof(head), n));
    EXPECT_EQ(0xAB, out[0]);
    // Near enough, the same head moves.
    EXPECT_TRUE(BuildTrampoline(out, target + 64, target, sizeof(head), n));
    EXPECT_EQ(0x10 - 64, (int8_t)out[3]);
}

TEST(ApiHookBytesTest, RemovalRefusesWhatItDidNotWrite)
{
    FreshTrampoline();
    SetTarget({0x8B, 0xFF, 0x55, 0x8B, 0xEC});
    uint8_t tramp[TRAMPOLINE_SIZE];
    uint8_t patch[MAX_HEAD];
    ASSERT_TRUE(BuildTrampoline(tramp, g_trampoline, g_target, sizeof(g_target), 5));
    ASSERT_TRUE(BuildPatch(patch, g_target, g_replacement, 5));
    memcpy(g_trampoline, tramp, sizeof(tramp));
    memcpy(g_target, patch, 5);
    uint8_t* found = NULL;
    size_t n = 0;

    // Somebody else's jump over ours.
    ASSERT_TRUE(WriteJump(g_target, g_target, g_elsewhere));
    EXPECT_EQ(REMOVE_OTHER_PATCH, CheckRemoval(g_trampoline, g_replacement, &found, &n));
    // Or the original bytes back.
    memcpy(g_target, "\x8B\xFF\x55\x8B\xEC", 5);
    EXPECT_EQ(REMOVE_NOT_PATCHED, CheckRemoval(g_trampoline, g_replacement, &found, &n));
    EXPECT_EQ(NULL, found);

    // Counts no head can have, and a fresh trampoline.
    const uint8_t counts[] = {0, 4, 27, 30, 255};
    for (uint8_t count : counts) {
        g_trampoline[TRAMPOLINE_COUNT_AT] = count;
        EXPECT_EQ(REMOVE_NO_TRAMPOLINE, CheckRemoval(g_trampoline, g_replacement, &found, &n)) << (int)count;
    }
    FreshTrampoline();
    EXPECT_EQ(REMOVE_NO_TRAMPOLINE, CheckRemoval(g_trampoline, g_replacement, &found, &n));
}

TEST(ApiHookBytesTest, JumpsOutOfReachAreRefused)
{
    uint8_t out[8] = {};
    ASSERT_TRUE(WriteJump(out, g_far, g_far + sizeof(g_far)));
    EXPECT_EQ(g_far + sizeof(g_far), BranchTarget(out) + (g_far - out));
    if (sizeof(void*) == 8) {
        memset(out, 0, sizeof(out));
        EXPECT_FALSE(WriteJump(out, g_far, Away(g_far, 0x100000000LL)));
        EXPECT_EQ(0, out[0]);
    }
}
} // namespace
