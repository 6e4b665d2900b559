#include "MD5Encrypt.h"

#include <string.h>

namespace
{
const DWORD kShift[64] = {7,  12, 17, 22, 7,  12, 17, 22, 7,  12, 17, 22, 7,  12, 17, 22, 5,  9,  14, 20, 5,  9,
                          14, 20, 5,  9,  14, 20, 5,  9,  14, 20, 4,  11, 16, 23, 4,  11, 16, 23, 4,  11, 16, 23,
                          4,  11, 16, 23, 6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21};

// floor(abs(sin(i + 1)) * 2^32)
const DWORD kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

inline DWORD Rotate(DWORD v, DWORD n)
{
    return (v << n) | (v >> (32 - n));
}

void Block(DWORD state[4], const BYTE* block)
{
    DWORD m[16];
    for (int i = 0; i < 16; ++i)
        m[i] = DWORD(block[i * 4]) | (DWORD(block[i * 4 + 1]) << 8) | (DWORD(block[i * 4 + 2]) << 16) |
               (DWORD(block[i * 4 + 3]) << 24);
    DWORD a = state[0], b = state[1], c = state[2], d = state[3];
    for (DWORD i = 0; i < 64; ++i) {
        DWORD f, g;
        if (i < 16) {
            f = (b & c) | (~b & d);
            g = i;
        } else if (i < 32) {
            f = (d & b) | (~d & c);
            g = (5 * i + 1) & 15;
        } else if (i < 48) {
            f = b ^ c ^ d;
            g = (3 * i + 5) & 15;
        } else {
            f = c ^ (b | ~d);
            g = (7 * i) & 15;
        }
        DWORD t = d;
        d = c;
        c = b;
        b = b + Rotate(a + f + kSine[i] + m[g], kShift[i]);
        a = t;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}
} // namespace

void CMD5Encrypt::Digest(const BYTE* data, DWORD size, BYTE digest[16])
{
    DWORD state[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    if (data == NULL)
        size = 0;
    DWORD done = 0;
    while (size - done >= 64) {
        Block(state, data + done);
        done += 64;
    }
    BYTE tail[128];
    memset(tail, 0, sizeof(tail));
    DWORD rest = size - done;
    if (rest)
        memcpy(tail, data + done, rest);
    tail[rest] = 0x80;
    DWORD tailSize = rest < 56 ? 64 : 128;
    ULONGLONG bits = ULONGLONG(size) * 8;
    for (int i = 0; i < 8; ++i)
        tail[tailSize - 8 + i] = BYTE(bits >> (8 * i));
    Block(state, tail);
    if (tailSize == 128)
        Block(state, tail + 64);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            digest[i * 4 + j] = BYTE(state[i] >> (8 * j));
}

void CMD5Encrypt::EncryptData(const BYTE* data, DWORD size, char result[kHexLength + 1])
{
    static const char hex[] = "0123456789abcdef";
    if (result == NULL)
        return;
    BYTE digest[16];
    Digest(data, size, digest);
    for (int i = 0; i < 16; ++i) {
        result[i * 2] = hex[digest[i] >> 4];
        result[i * 2 + 1] = hex[digest[i] & 15];
    }
    result[kHexLength] = '\0';
}

void CMD5Encrypt::EncryptData(LPCSTR text, char result[kHexLength + 1])
{
    EncryptData(reinterpret_cast<const BYTE*>(text ? text : ""), text ? DWORD(strlen(text)) : 0, result);
}
