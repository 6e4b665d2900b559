// CMD5Encrypt: the MD5 digest of a text or of bytes as 32 lower-case hex
// characters and a terminating NUL (the output holds at least 33 bytes).
#pragma once

#include <windows.h>

class CMD5Encrypt
{
public:
    static const int kHexLength = 32;

    static void EncryptData(LPCSTR text, char result[kHexLength + 1]);
    static void EncryptData(const BYTE* data, DWORD size, char result[kHexLength + 1]);
    // The 16 raw digest bytes.
    static void Digest(const BYTE* data, DWORD size, BYTE digest[16]);
};
