// The provider's key container when several programs of a fresh profile ask
// for it at once: each must get it, not only the one that made it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "CodecCrypt.h"

namespace
{

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

// A key container of the test's own, gone before and after.
class CTestContainer
{
public:
    CTestContainer() : m_name("TavrelCodecRace-" + std::to_string(GetCurrentProcessId())) { Remove(); }
    ~CTestContainer() { Remove(); }
    const std::string& Name() const { return m_name; }
    // The error of a plain acquire: NTE_BAD_KEYSET while the container does not exist.
    DWORD PlainAcquireError() const
    {
        HCRYPTPROV provider = 0;
        if (!CryptAcquireContextA(&provider, m_name.c_str(), MS_ENHANCED_PROV_A, PROV_RSA_FULL, 0))
            return GetLastError();
        CryptReleaseContext(provider, 0);
        return 0;
    }

private:
    void Remove()
    {
        HCRYPTPROV provider = 0;
        CryptAcquireContextA(&provider, m_name.c_str(), MS_ENHANCED_PROV_A, PROV_RSA_FULL, CRYPT_DELETEKEYSET);
    }
    std::string m_name;
};

} // namespace

TEST(CodecProvider, ProgramsAcquiringAFreshContainerTogetherAllGetIt)
{
    CTestContainer container;
    ASSERT_EQ(container.PlainAcquireError(), DWORD(NTE_BAD_KEYSET)) << "the container is not fresh";

    const int kPrograms = 8;
    std::string gate = "TavrelCodecRaceGate-" + std::to_string(GetCurrentProcessId());
    HANDLE ready = CreateSemaphoreA(NULL, 0, kPrograms, (gate + "-ready").c_str());
    HANDLE go = CreateEventA(NULL, TRUE, FALSE, (gate + "-go").c_str());
    ASSERT_TRUE(ready != NULL && go != NULL);

    std::vector<PROCESS_INFORMATION> programs;
    for (int i = 0; i < kPrograms; i++) {
        std::string command = "\"" + ProgramFolder() + "codec_acquire_peer.exe\" " + container.Name() + " " + gate;
        STARTUPINFOA si = {sizeof(si)};
        PROCESS_INFORMATION pi = {};
        ASSERT_TRUE(CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi));
        CloseHandle(pi.hThread);
        programs.push_back(pi);
    }
    // All at the gate, then all at once.
    for (int i = 0; i < kPrograms; i++)
        ASSERT_EQ(WaitForSingleObject(ready, 60000), WAIT_OBJECT_0) << "program " << i << " never got ready";
    SetEvent(go);

    for (size_t i = 0; i < programs.size(); i++) {
        ASSERT_EQ(WaitForSingleObject(programs[i].hProcess, 60000), WAIT_OBJECT_0);
        DWORD code = 0;
        GetExitCodeProcess(programs[i].hProcess, &code);
        EXPECT_EQ(code, 0u) << "program " << i << " failed, error 0x" << std::hex << code;
        CloseHandle(programs[i].hProcess);
    }
    EXPECT_EQ(container.PlainAcquireError(), 0u);
    CloseHandle(go);
    CloseHandle(ready);
}
