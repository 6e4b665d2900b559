// The cryptographic side of the page codec: one CryptoAPI provider for the
// process, RC4 keys derived from pass phrases by SHA-1, and the key stream
// applied to data. The keys exist only inside the provider.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <vector>

// Acquired on first use and kept, in the user's default key container; 0
// when no provider answers (the next call tries again).
HCRYPTPROV CodecProvider();

// Acquires the provider in the named key container (NULL: the default one),
// making the container when it does not exist yet, also when other processes
// make it at the same time; 0 on failure.
HCRYPTPROV CodecAcquireProvider(LPCSTR container);

// An RC4 key of the provider's default length made from the SHA-1 hash of
// the pass phrase (length bytes, no terminator); 0 for an empty pass phrase
// or when a step fails.
HCRYPTKEY CodecDeriveKey(HCRYPTPROV provider, const void* passPhrase, int length);

// Runs size bytes through the key stream from stream position `position`
// on: every call starts the stream afresh, so byte k of a page always meets
// stream byte k. `work` is scratch space for positions past 0.
bool CodecApplyStream(HCRYPTKEY key, bool encrypt, BYTE* data, DWORD size, DWORD position, std::vector<BYTE>& work);
