#include "CodecCrypt.h"

#include <string.h>

#include <mutex>

namespace
{

std::mutex g_ProviderLock;
HCRYPTPROV g_hProvider = 0;

} // namespace

HCRYPTPROV CodecAcquireProvider(LPCSTR container)
{
    HCRYPTPROV provider = 0;
    if (CryptAcquireContextA(&provider, container, MS_ENHANCED_PROV_A, PROV_RSA_FULL, 0))
        return provider;
    if (CryptAcquireContextA(&provider, container, MS_ENHANCED_PROV_A, PROV_RSA_FULL, CRYPT_NEWKEYSET))
        return provider;
    // Another process made the container between the two calls above (programs
    // of a fresh profile starting together): it exists now, so open it.
    if (GetLastError() == DWORD(NTE_EXISTS) &&
        CryptAcquireContextA(&provider, container, MS_ENHANCED_PROV_A, PROV_RSA_FULL, 0))
        return provider;
    return 0;
}

HCRYPTPROV CodecProvider()
{
    std::lock_guard<std::mutex> lock(g_ProviderLock);
    if (g_hProvider == 0)
        g_hProvider = CodecAcquireProvider(NULL);
    return g_hProvider;
}

HCRYPTKEY CodecDeriveKey(HCRYPTPROV provider, const void* passPhrase, int length)
{
    if (provider == 0 || passPhrase == NULL || length <= 0)
        return 0;
    HCRYPTHASH hash = 0;
    if (!CryptCreateHash(provider, CALG_SHA1, 0, 0, &hash))
        return 0;
    HCRYPTKEY key = 0;
    if (!CryptHashData(hash, static_cast<const BYTE*>(passPhrase), DWORD(length), 0) ||
        !CryptDeriveKey(provider, CALG_RC4, hash, 0, &key))
        key = 0;
    CryptDestroyHash(hash);
    return key;
}

bool CodecApplyStream(HCRYPTKEY key, bool encrypt, BYTE* data, DWORD size, DWORD position, std::vector<BYTE>& work)
{
    if (size == 0)
        return true;
    BYTE* target = data;
    DWORD total = position + size;
    if (position > 0) {
        // The stream only starts at its beginning: run filler bytes through
        // it up to the position and keep what follows.
        work.resize(total);
        memset(work.data(), 0, position);
        memcpy(work.data() + position, data, size);
        target = work.data();
    }
    DWORD length = total;
    BOOL done = encrypt ? CryptEncrypt(key, 0, TRUE, 0, target, &length, total)
                        : CryptDecrypt(key, 0, TRUE, 0, target, &length);
    if (!done || length != total)
        return false;
    if (position > 0)
        memcpy(data, work.data() + position, size);
    return true;
}
