// CXOREncrypt: scrambling of passwords that are stored on this machine.
//
// Stored form: two hex digits of a random salt, then two hex digits for every
// byte of the text, each byte XORed with a key stream drawn from a fixed key
// and the salt. It keeps a password from being read at a glance; it is not
// encryption.
//
// Both functions write a NUL-terminated text into out, whose size in bytes is
// capacity, and answer the number of characters written. When the result would
// not fit, or the input is not a stored form, they answer 0 and leave out empty.
#pragma once

#include <windows.h>

class CXOREncrypt
{
public:
    static int EncryptData(LPCSTR plain, LPSTR out, int capacity);
    static int CrevasseData(LPCSTR scrambled, LPSTR out, int capacity);
};
