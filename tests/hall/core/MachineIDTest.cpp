#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "GlobalUnits.h"
#include "MD5Encrypt.h"
#include "MachineID.h"

namespace
{

struct Adapter
{
    UCHAR lana;
    UCHAR type; // 0: not counted
    BYTE address[6];
};

// NetBIOS as a script: the enumeration, then reset and status per adapter.
class FakeProbe : public CMachineProbe
{
public:
    std::vector<Adapter> adapters;
    std::vector<DWORD> serials = {0x11223344, 0, 0xA0B0C0D0}; // C:, D:, E:
    bool openFails = false;
    UCHAR failCommand = 0; // the command that answers an error
    std::vector<UCHAR> commands;

    bool OpenNetbios(const char*& failure) override
    {
        if (openFails)
            failure = "加载 NetApi32.dll 失败";
        return !openFails;
    }
    void CloseNetbios() override {}
    UCHAR Netbios(NCB* ncb) override
    {
        commands.push_back(ncb->ncb_command);
        if (ncb->ncb_command == failCommand)
            return NRC_SYSTEM;
        if (ncb->ncb_command == NCBENUM) {
            LANA_ENUM* lanaEnum = reinterpret_cast<LANA_ENUM*>(ncb->ncb_buffer);
            EXPECT_EQ(ncb->ncb_length, 256);
            lanaEnum->length = (UCHAR)adapters.size();
            for (size_t i = 0; i < adapters.size(); ++i)
                lanaEnum->lana[i] = adapters[i].lana;
        } else if (ncb->ncb_command == NCBASTAT) {
            EXPECT_EQ(ncb->ncb_callname[0], '*');
            EXPECT_EQ(ncb->ncb_length, 600);
            ADAPTER_STATUS* status = reinterpret_cast<ADAPTER_STATUS*>(ncb->ncb_buffer);
            for (const Adapter& adapter : adapters) {
                if (adapter.lana == ncb->ncb_lana_num) {
                    status->adapter_type = adapter.type;
                    memcpy(status->adapter_address, adapter.address, 6);
                }
            }
        }
        return NRC_GOODRET;
    }
    DWORD GetVolumeSerial(LPCSTR root) override
    {
        int drive = root[0] - 'C';
        return drive >= 0 && drive < (int)serials.size() ? serials[drive] : 0;
    }
};

class MachineIdentifier : public testing::Test
{
protected:
    void SetUp() override { CMachineID::SetProbe(&probe); }
    void TearDown() override { CMachineID::SetProbe(NULL); }

    std::string Expected(const std::vector<BYTE>& bytes)
    {
        char hex[33];
        CMD5Encrypt::EncryptData(bytes.data(), (DWORD)bytes.size(), hex);
        return hex;
    }
    std::string Identifier()
    {
        char id[33];
        g_GlobalUnits.GetMachineID(id);
        return id;
    }

    const std::vector<BYTE> serialBytes = {0x44, 0x33, 0x22, 0x11, 0, 0, 0, 0, 0xD0, 0xC0, 0xB0, 0xA0};
    FakeProbe probe;
};

TEST_F(MachineIdentifier, NoAdapterHashesTheSerialsAlone)
{
    probe.adapters = {{0, 0, {1, 2, 3, 4, 5, 6}}}; // present but not counted
    EXPECT_EQ(Identifier(), Expected(serialBytes));
}

TEST_F(MachineIdentifier, OneAdapterHashesItsAddressThenTheSerials)
{
    probe.adapters = {{3, 1, {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}}};
    std::vector<BYTE> bytes = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    bytes.insert(bytes.end(), serialBytes.begin(), serialBytes.end());
    EXPECT_EQ(Identifier(), Expected(bytes));
}

// Every address goes to the start of the buffer: the last one stays,
// followed by zeros where the first one's count moved the end.
TEST_F(MachineIdentifier, TwoAdaptersKeepTheLastAddressAndZeros)
{
    probe.adapters = {{0, 1, {1, 1, 1, 1, 1, 1}}, {1, 1, {2, 2, 2, 2, 2, 2}}};
    std::vector<BYTE> bytes = {2, 2, 2, 2, 2, 2, 0, 0, 0, 0, 0, 0};
    bytes.insert(bytes.end(), serialBytes.begin(), serialBytes.end());
    EXPECT_EQ(Identifier(), Expected(bytes));

    BYTE out[1024] = {};
    EXPECT_EQ(CMachineID::GetAdapterAddresses(out, sizeof(out)), 12);
    EXPECT_EQ(CMachineID::GetAdapterAddresses(out, 8), 8);
}

struct FailureCase
{
    const char* name;
    bool openFails;
    UCHAR failCommand;
    size_t adapters;
    WORD written;
    const char* failure;
};

class AdapterFailures : public MachineIdentifier, public testing::WithParamInterface<FailureCase>
{};

TEST_P(AdapterFailures, EndWithWhatWasCounted)
{
    const FailureCase& c = GetParam();
    probe.openFails = c.openFails;
    probe.failCommand = c.failCommand;
    for (size_t i = 0; i < c.adapters; ++i)
        probe.adapters.push_back({(UCHAR)i, 1, {9, 9, 9, 9, 9, (BYTE)i}});
    BYTE out[64] = {};
    const char* failure = NULL;
    EXPECT_EQ(CMachineID::GetAdapterAddresses(out, sizeof(out), &failure), c.written) << c.name;
    ASSERT_NE(failure, nullptr);
    EXPECT_STREQ(failure, c.failure) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Steps, AdapterFailures,
                         testing::Values(FailureCase{"library", true, 0, 1, 0, "加载 NetApi32.dll 失败"},
                                         FailureCase{"enumeration", false, NCBENUM, 1, 0, "枚举网卡失败"},
                                         FailureCase{"no adapter", false, 0, 0, 0, "找不到任何网卡"},
                                         FailureCase{"reset", false, NCBRESET, 2, 0, "重置网卡失败"},
                                         FailureCase{"status", false, NCBASTAT, 2, 0, "获取网卡状态失败"}));

TEST_F(MachineIdentifier, AccountsKeyHashesTheThreeSerials)
{
    probe.adapters = {{0, 1, {1, 2, 3, 4, 5, 6}}};
    char key[33];
    g_GlobalUnits.GetAccountsKey(key);
    EXPECT_EQ(std::string(key), Expected(serialBytes));
}

// The system's NetBIOS and volumes: whatever this machine has, the
// identifier is 32 hex characters and the same twice.
TEST(MachineIdentifierSystem, RealCallsGiveAStableIdentifier)
{
    char first[33], second[33];
    g_GlobalUnits.GetMachineID(first);
    g_GlobalUnits.GetMachineID(second);
    EXPECT_EQ(strlen(first), 32u);
    EXPECT_EQ(strspn(first, "0123456789abcdef"), 32u);
    EXPECT_STREQ(first, second);
}

} // namespace
