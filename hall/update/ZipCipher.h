// The traditional zip cipher: three 32-bit keys driven by the password and
// by every plain byte, over the CRC-32 table of zlib.
#pragma once

#include <afx.h>

class CZipCipher
{
public:
    // Bytes of the encryption header in front of an entry's data.
    enum
    {
        headerSize = 12
    };

    CZipCipher();

    // Starts the keys and feeds them the password.
    void Init(const BYTE* pPassword, DWORD uLength);
    // The next key-stream byte.
    BYTE KeyByte() const;
    // Feeds one plain byte to the keys.
    void Update(BYTE plain);

    void Decode(BYTE* pData, DWORD uLength);
    void Encode(BYTE* pData, DWORD uLength);

private:
    static DWORD CrcByte(DWORD crc, BYTE b);

    DWORD m_keys[3];
};
