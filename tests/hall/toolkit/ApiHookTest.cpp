// The patching engine end to end on code buffers of this program (64-bit:
// nothing here runs the moved code), the replacements' forwarding, and the
// 64-bit InstallApiHook that patches nothing.
#include <ApiHook.h>
#include <ApiHookCode.h>
#include <SkinBar.h>
#include <SkinTestSupport.h>

#include <gtest/gtest.h>

#include <string.h>
#include <vector>

using namespace apihook;

namespace
{
uint8_t g_target[64];
uint8_t g_thunk[16];
uint8_t* g_slot;
uint8_t g_trampoline[TRAMPOLINE_SIZE];
uint8_t g_jumpToTrampoline[8];
uint8_t g_replacement[16];
uint8_t g_other[16];
void* g_getterAnswer;

void* Getter()
{
    return g_getterAnswer;
}

void Fresh(const std::vector<uint8_t>& head, void* answer = g_target)
{
    static const uint8_t fresh[TRAMPOLINE_SIZE] = {0x90, 0x90, 0xE8, 0, 0, 0, 0, 0xFF, 0xE0, 0xC3};
    memset(g_trampoline, 0x90, sizeof(g_trampoline));
    memcpy(g_trampoline, fresh, 10);
    const int32_t rel = (int32_t)((intptr_t)&Getter - (intptr_t)(g_trampoline + 7));
    memcpy(g_trampoline + 3, &rel, 4);
    memset(g_target, 0x90, sizeof(g_target));
    memcpy(g_target, head.data(), head.size());
    g_getterAnswer = answer;
}

std::vector<uint8_t> Bytes(const uint8_t* p, size_t n)
{
    return std::vector<uint8_t>(p, p + n);
}

TEST(ApiHookEngineTest, InstallsAndRemovesOnCodeBuffers)
{
    const std::vector<uint8_t> head = {0x6A, 0x00, 0xE8, 0x40, 0, 0, 0, 0x90};
    Fresh(head);
    const std::vector<uint8_t> before = Bytes(g_target, sizeof(g_target));
    ASSERT_TRUE(PatchCode(g_trampoline, g_replacement));
    EXPECT_EQ(0xE9, g_target[0]);
    EXPECT_EQ(g_replacement, BranchTarget(g_target));
    EXPECT_EQ(0xCC, g_target[5]);
    EXPECT_EQ(0xCC, g_target[6]);
    EXPECT_EQ(7, g_trampoline[TRAMPOLINE_COUNT_AT]);
    EXPECT_EQ(g_target + 7, BranchTarget(g_trampoline + 7));

    // Installed once only.
    const std::vector<uint8_t> patched = Bytes(g_target, sizeof(g_target));
    EXPECT_FALSE(PatchCode(g_trampoline, g_replacement));
    EXPECT_EQ(patched, Bytes(g_target, sizeof(g_target)));

    ASSERT_TRUE(UnpatchCode(g_trampoline, g_replacement));
    EXPECT_EQ(before, Bytes(g_target, sizeof(g_target)));
    // The trampoline keeps the moved head.
    EXPECT_EQ(7, g_trampoline[TRAMPOLINE_COUNT_AT]);
    // It stays writable and executable.
    MEMORY_BASIC_INFORMATION mbi;
    ASSERT_NE(0u, VirtualQuery(g_trampoline, &mbi, sizeof(mbi)));
    EXPECT_TRUE(mbi.Protect & (PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY)) << mbi.Protect;
}

TEST(ApiHookEngineTest, RemovalErrorsWriteNothing)
{
    Fresh({0x8B, 0xFF, 0x55, 0x8B, 0xEC});
    ASSERT_TRUE(PatchCode(g_trampoline, g_replacement));
    const struct
    {
        const char* name;
        std::vector<uint8_t> target;
        DWORD error;
    } cases[] = {
        {"original bytes put back by somebody", {0x8B, 0xFF, 0x55, 0x8B, 0xEC}, ERROR_INVALID_BLOCK},
        {"another jump", {}, ERROR_INVALID_ACCESS},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.target.empty())
            WriteJump(g_target, g_target, g_other);
        else
            memcpy(g_target, c.target.data(), c.target.size());
        const std::vector<uint8_t> before = Bytes(g_target, sizeof(g_target));
        SetLastError(0);
        EXPECT_FALSE(UnpatchCode(g_trampoline, g_replacement));
        EXPECT_EQ(c.error, GetLastError());
        EXPECT_EQ(before, Bytes(g_target, sizeof(g_target)));
    }
    // A trampoline that never moved a head.
    Fresh({0x8B, 0xFF, 0x55, 0x8B, 0xEC});
    SetLastError(0);
    EXPECT_FALSE(UnpatchCode(g_trampoline, g_replacement));
    EXPECT_EQ((DWORD)ERROR_INVALID_HANDLE, GetLastError());
}

TEST(ApiHookEngineTest, RefusalsLeaveTheTargetAsItWas)
{
    const struct
    {
        const char* name;
        std::vector<uint8_t> head;
    } cases[] = {
        {"return before 5 bytes", {0x33, 0xC0, 0xC3}},
        {"short jump before 5 bytes", {0xEB, 0x20}},
        {"invalid opcode in the head", {0x55, 0xD6, 0x8B, 0xEC, 0x90}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh(c.head);
        const std::vector<uint8_t> target = Bytes(g_target, sizeof(g_target));
        const std::vector<uint8_t> trampoline = Bytes(g_trampoline, sizeof(g_trampoline));
        EXPECT_FALSE(PatchCode(g_trampoline, g_replacement));
        EXPECT_EQ(target, Bytes(g_target, sizeof(g_target)));
        EXPECT_EQ(trampoline, Bytes(g_trampoline, sizeof(g_trampoline)));
    }
    Fresh({0x8B, 0xFF, 0x55, 0x8B, 0xEC});
    EXPECT_FALSE(PatchCode(NULL, g_replacement));
    EXPECT_FALSE(PatchCode(g_trampoline, NULL));
    g_getterAnswer = NULL;
    EXPECT_FALSE(PatchCode(g_trampoline, g_replacement));
}

TEST(ApiHookEngineTest, ThunksAndJumpsAreFollowed)
{
    // The getter answers an import thunk; the trampoline is reached through a
    // jump.
    Fresh({0x8B, 0xFF, 0x55, 0x8B, 0xEC}, g_thunk);
    g_slot = g_target;
    g_thunk[0] = 0xFF;
    g_thunk[1] = 0x25;
#ifdef _WIN64
    const int32_t disp = (int32_t)((intptr_t)&g_slot - (intptr_t)(g_thunk + 6));
#else
    const int32_t disp = (int32_t)(intptr_t)&g_slot;
#endif
    memcpy(g_thunk + 2, &disp, 4);
    ASSERT_TRUE(WriteJump(g_jumpToTrampoline, g_jumpToTrampoline, g_trampoline));
    ASSERT_TRUE(PatchCode(g_jumpToTrampoline, g_replacement));
    EXPECT_EQ(0xE9, g_target[0]);
    EXPECT_EQ(0xFF, g_thunk[0]);
    EXPECT_TRUE(UnpatchCode(g_jumpToTrampoline, g_replacement));
    EXPECT_EQ(0x8B, g_target[0]);
}

TEST(ApiHookEngineTest, RepeatedCyclesOnFreshTrampolines)
{
    for (int i = 0; i < 50; ++i) {
        Fresh({0x55, 0x8B, 0xEC, 0x83, 0xEC, 0x10});
        ASSERT_TRUE(PatchCode(g_trampoline, g_replacement)) << i;
        ASSERT_TRUE(UnpatchCode(g_trampoline, g_replacement)) << i;
        ASSERT_EQ(0x55, g_target[0]);
    }
}

#ifdef _WIN64
TEST(ApiHookEngineTest, SixtyFourBitProgramPatchesNothing)
{
    const std::vector<uint8_t> before = Bytes((const uint8_t*)&Real_SetScrollInfo, 16);
    SetLastError(0);
    EXPECT_FALSE(InstallApiHook((PVOID)&Real_SetScrollInfo, (PVOID)&Hook_SetScrollInfo));
    EXPECT_EQ((DWORD)ERROR_NOT_SUPPORTED, GetLastError());
    EXPECT_EQ(0, InstallScrollBarHooks());
    EXPECT_EQ(before, Bytes((const uint8_t*)&Real_SetScrollInfo, 16));
    EXPECT_EQ(0, RemoveScrollBarHooks());
}
#endif

// The replacements pass plain windows' calls on unchanged and serve
// skinned windows from their SkinBar state.
TEST(ApiHookReplacementTest, PlainWindowsGetTheSystemsAnswers)
{
    HWND hWnd = CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VSCROLL | ES_MULTILINE, 0, 0, 100, 100, NULL, NULL,
                                GetModuleHandle(NULL), NULL);
    ASSERT_NE((HWND)NULL, hWnd);
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 50, 10, 7, 0};
    EXPECT_EQ(SetScrollInfo(hWnd, SB_VERT, &si, FALSE), Hook_SetScrollInfo(hWnd, SB_VERT, &si, FALSE));
    const HWND windows[] = {hWnd, (HWND)(INT_PTR)0x1234};
    const int bars[] = {SB_HORZ, SB_VERT, SB_CTL};
    for (HWND h : windows)
        for (int bar : bars) {
            SCOPED_TRACE(bar);
            SCROLLINFO a = {sizeof(a), SIF_ALL}, b = {sizeof(b), SIF_ALL};
            SetLastError(0);
            const BOOL ra = GetScrollInfo(h, bar, &a);
            const DWORD ea = GetLastError();
            SetLastError(0);
            const BOOL rb = Hook_GetScrollInfo(h, bar, &b);
            EXPECT_EQ(ra, rb);
            EXPECT_EQ(ea, GetLastError());
            EXPECT_EQ(0, memcmp(&a, &b, sizeof(a)));
            EXPECT_EQ(GetScrollPos(h, bar), Hook_GetScrollPos(h, bar));
            int a1 = -1, a2 = -1, b1 = -1, b2 = -1;
            EXPECT_EQ(GetScrollRange(h, bar, &a1, &a2), Hook_GetScrollRange(h, bar, &b1, &b2));
            EXPECT_EQ(a1, b1);
            EXPECT_EQ(a2, b2);
        }
    SCROLLINFO wrong = {27, SIF_ALL};
    EXPECT_EQ(GetScrollInfo(hWnd, SB_VERT, &wrong), Hook_GetScrollInfo(hWnd, SB_VERT, &wrong));
    const int fromSystem = SetScrollPos(hWnd, SB_VERT, 3, FALSE);
    EXPECT_EQ(7, fromSystem);
    const int fromHook = Hook_SetScrollPos(hWnd, SB_VERT, 4, FALSE);
    EXPECT_EQ(3, fromHook);
    EXPECT_EQ(4, GetScrollPos(hWnd, SB_VERT));
    DestroyWindow(hWnd);
}

TEST(ApiHookReplacementTest, SkinnedWindowsAreServedByTheirState)
{
    HWND hWnd = CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VSCROLL | ES_MULTILINE, 0, 0, 100, 100, NULL, NULL,
                                GetModuleHandle(NULL), NULL);
    HBITMAP hPicture = skintest::MakeDib(skintest::Pixels(176, 64, RGB(1, 2, 3)));
    ASSERT_TRUE(SkinBar_Attach(hWnd, hPicture));
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 50, 10, 7, 0};
    Hook_SetScrollInfo(hWnd, SB_VERT, &si, FALSE);
    EXPECT_EQ(7, SkinBar_GetScrollPos(hWnd, SB_VERT));
    EXPECT_EQ(7, Hook_SetScrollPos(hWnd, SB_VERT, 9, FALSE));
    EXPECT_EQ(9, Hook_GetScrollPos(hWnd, SB_VERT));
    int lo = -1, hi = -1;
    EXPECT_TRUE(Hook_GetScrollRange(hWnd, SB_VERT, &lo, &hi));
    EXPECT_EQ(50, hi);
    EXPECT_TRUE(Hook_EnableScrollBar(hWnd, SB_VERT, ESB_DISABLE_BOTH));
    DestroyWindow(hWnd);
    DeleteObject(hPicture);
}
} // namespace
