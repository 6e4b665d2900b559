// One of several programs that acquire the codec's provider at the same
// moment: argv[1] names the key container, argv[2] the start gate (a
// semaphore "<gate>-ready" released when this program is ready to go and an
// event "<gate>-go" that starts them all). Exit code 0 when acquired,
// otherwise the error.
#include <windows.h>

#include <string>

#include "CodecCrypt.h"

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    std::string gate = argv[2];
    HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, (gate + "-ready").c_str());
    HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, (gate + "-go").c_str());
    if (ready == NULL || go == NULL)
        return 3;
    ReleaseSemaphore(ready, 1, NULL);
    if (WaitForSingleObject(go, 60000) != WAIT_OBJECT_0)
        return 4;
    HCRYPTPROV provider = CodecAcquireProvider(argv[1]);
    if (provider == 0)
        return int(GetLastError() ? GetLastError() : 1);
    CryptReleaseContext(provider, 0);
    return 0;
}
