#include "XOREncrypt.h"

#include <string.h>

namespace
{
const BYTE kKey[16] = {0x5A, 0xC3, 0x17, 0x8E, 0x61, 0xF4, 0x2B, 0x9D, 0x3C, 0xA7, 0x70, 0x0E, 0xD9, 0x46, 0xB2, 0x85};

class KeyStream
{
public:
    explicit KeyStream(BYTE salt) : m_state(0x2545F491u ^ (DWORD(salt) * 0x01010101u)), m_index(0) {}
    BYTE Next()
    {
        m_state = m_state * 1103515245u + 12345u;
        BYTE value = BYTE((m_state >> 16) ^ kKey[m_index & 15]);
        ++m_index;
        return value;
    }

private:
    DWORD m_state;
    DWORD m_index;
};

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

int ReadHexByte(const char* p)
{
    int hi = HexValue(p[0]), lo = HexValue(p[1]);
    return hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
}

BYTE NewSalt()
{
    static volatile LONG counter = 0;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    DWORD mix = DWORD(now.QuadPart) ^ DWORD(now.QuadPart >> 32) ^ GetCurrentProcessId() ^
                DWORD(InterlockedIncrement(&counter) * 0x9E3779B9u);
    return BYTE(mix ^ (mix >> 8) ^ (mix >> 16) ^ (mix >> 24));
}

void Clear(LPSTR out, int capacity)
{
    if (out != NULL && capacity > 0)
        out[0] = '\0';
}
} // namespace

int CXOREncrypt::EncryptData(LPCSTR plain, LPSTR out, int capacity)
{
    Clear(out, capacity);
    if (plain == NULL || out == NULL || capacity <= 0)
        return 0;
    size_t length = strlen(plain);
    if (length == 0)
        return 0;
    // Salt, two characters a byte, the terminator.
    if (capacity < 5 || length > size_t(capacity - 3) / 2)
        return 0;

    static const char hex[] = "0123456789ABCDEF";
    BYTE salt = NewSalt();
    KeyStream stream(salt);
    out[0] = hex[salt >> 4];
    out[1] = hex[salt & 15];
    for (size_t i = 0; i < length; ++i) {
        BYTE value = BYTE(plain[i]) ^ stream.Next();
        out[2 + i * 2] = hex[value >> 4];
        out[3 + i * 2] = hex[value & 15];
    }
    out[2 + length * 2] = '\0';
    return int(2 + length * 2);
}

int CXOREncrypt::CrevasseData(LPCSTR scrambled, LPSTR out, int capacity)
{
    Clear(out, capacity);
    if (scrambled == NULL || out == NULL || capacity <= 0)
        return 0;
    size_t length = strlen(scrambled);
    if (length < 4 || (length & 1) != 0)
        return 0;
    size_t plainLength = (length - 2) / 2;
    if (plainLength >= size_t(capacity))
        return 0;

    int salt = ReadHexByte(scrambled);
    if (salt < 0)
        return 0;
    KeyStream stream(static_cast<BYTE>(salt));
    for (size_t i = 0; i < plainLength; ++i) {
        int value = ReadHexByte(scrambled + 2 + i * 2);
        BYTE plain = value < 0 ? 0 : BYTE(value) ^ stream.Next();
        if (value < 0 || plain == 0) {
            Clear(out, capacity);
            return 0;
        }
        out[i] = char(plain);
    }
    out[plainLength] = '\0';
    return int(plainLength);
}
