#include "ZipCipher.h"

#include <zlib.h>

CZipCipher::CZipCipher()
{
    Init(NULL, 0);
}

DWORD CZipCipher::CrcByte(DWORD crc, BYTE b)
{
    static const z_crc_t* table = get_crc_table();
    return (DWORD)table[(crc ^ b) & 0xFF] ^ (crc >> 8);
}

void CZipCipher::Init(const BYTE* pPassword, DWORD uLength)
{
    m_keys[0] = 305419896;
    m_keys[1] = 591751049;
    m_keys[2] = 878082192;
    for (DWORD i = 0; i < uLength; i++)
        Update(pPassword[i]);
}

BYTE CZipCipher::KeyByte() const
{
    DWORD temp = (m_keys[2] | 2) & 0xFFFE;
    return (BYTE)((temp * (temp ^ 1)) >> 8);
}

void CZipCipher::Update(BYTE plain)
{
    m_keys[0] = CrcByte(m_keys[0], plain);
    m_keys[1] += m_keys[0] & 0xFF;
    m_keys[1] = m_keys[1] * 134775813 + 1;
    m_keys[2] = CrcByte(m_keys[2], (BYTE)(m_keys[1] >> 24));
}

void CZipCipher::Decode(BYTE* pData, DWORD uLength)
{
    for (DWORD i = 0; i < uLength; i++) {
        BYTE plain = (BYTE)(pData[i] ^ KeyByte());
        Update(plain);
        pData[i] = plain;
    }
}

void CZipCipher::Encode(BYTE* pData, DWORD uLength)
{
    for (DWORD i = 0; i < uLength; i++) {
        BYTE key = KeyByte();
        Update(pData[i]);
        pData[i] = (BYTE)(pData[i] ^ key);
    }
}
