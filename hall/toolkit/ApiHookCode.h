// The byte work of the scroll-bar hooks, apart from any system call: an
// IA-32 instruction decoder that copies one instruction and re-aims its
// relative branch, the head of a function that can be moved, and the bytes
// of trampolines and patched entry points. Addresses are the buffers' own:
// code is copied and re-aimed where it lies.
#pragma once

#include <stddef.h>
#include <stdint.h>

namespace apihook
{
enum
{
    TRAMPOLINE_SIZE = 32,
    TRAMPOLINE_COUNT_AT = 31, // the moved length is kept in the last byte
    JMP_SIZE = 5,
    MIN_HEAD = 5,
    MAX_HEAD = 26,
    MAX_INSTRUCTION = 15 // longer is no instruction
};

// One decoded instruction.
struct Instruction
{
    size_t length;          // bytes taken from the source (0: the bytes ran out)
    size_t written;         // bytes a copy writes (invalid opcodes write none)
    bool invalid;           // an opcode the decoder does not know
    size_t relAt;           // offset of a relative branch displacement, 0 for none
    size_t relSize;         // 1, 2 or 4
    unsigned char end;      // first byte, for the head's stop rules
    bool jumpThroughMemory; // FF 25, also behind one segment prefix
};

// Decodes the instruction at code, reading at most avail bytes.
Instruction Decode(const uint8_t* code, size_t avail);

// Copies the instruction at src into out (room bytes there), re-aiming a
// relative branch for running at runAt. Returns the source bytes consumed,
// or 0 when the bytes ran out, the room is too small, the opcode is invalid
// or the re-aimed branch does not fit its width.
size_t CopyInstruction(const uint8_t* src, size_t avail, uint8_t* out, size_t room, const uint8_t* runAt);

// The whole instructions from the start of a function that cover a 5-byte
// jump: 5 .. 26 bytes, or 0 when the head is shorter (a return or jump comes
// first), longer, or unreadable. A head stops after a jump or return.
size_t MeasureHead(const uint8_t* code, size_t avail);

// Copies n bytes of whole instructions to run at runAt; true when exactly
// n were copied.
bool CopyHead(const uint8_t* src, size_t avail, uint8_t* out, size_t room, const uint8_t* runAt, size_t n);

// A JMP rel32 written at out, to run at runAt and go to "to"; false
// (nothing written) when out of reach.
bool WriteJump(uint8_t* out, const uint8_t* runAt, const void* to);
// Destination of the JMP or CALL rel32 at code.
const uint8_t* BranchTarget(const uint8_t* code);

// A trampoline as it is built: two NOPs, a CALL of the address getter, JMP
// EAX, RET, NOPs.
bool IsFreshTrampoline(const uint8_t* trampoline);
// The getter a fresh trampoline calls.
const uint8_t* TrampolineGetter(const uint8_t* trampoline);

// The bytes of the installed trampoline (out, 32 bytes, to run at
// trampoline): the target's head of n bytes moved in, a jump back to
// target + n, n in the last byte. False when the head cannot move there.
bool BuildTrampoline(uint8_t* out, const uint8_t* trampoline, const uint8_t* target, size_t avail, size_t n);
// The bytes of the patched entry (out, n bytes): a jump to the replacement
// and INT3s.
bool BuildPatch(uint8_t* out, const uint8_t* target, const void* replacement, size_t n);

// Checks before a hook is removed, with the system's error codes.
enum RemoveCheck
{
    REMOVE_OK = 0,
    REMOVE_NO_TRAMPOLINE = 6, // ERROR_INVALID_HANDLE: no moved head in the trampoline
    REMOVE_NOT_PATCHED = 9,   // ERROR_INVALID_BLOCK: the target holds no jump
    REMOVE_OTHER_PATCH = 12,  // ERROR_INVALID_ACCESS: its jump goes elsewhere
    REMOVE_COPY_FAILED = 13   // ERROR_INVALID_DATA
};
// Finds the target of an installed trampoline and checks it still jumps
// to the replacement; target and n are set on success.
RemoveCheck CheckRemoval(const uint8_t* trampoline, const void* replacement, uint8_t** target, size_t* n);
// The target's original bytes (out, n bytes) moved back from the trampoline.
bool BuildRestore(uint8_t* out, const uint8_t* trampoline, const uint8_t* target, size_t n);
} // namespace apihook
