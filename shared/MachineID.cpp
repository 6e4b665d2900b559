#include "MachineID.h"

#include <string.h>

#include "MD5Encrypt.h"

namespace
{

CMachineProbe g_SystemProbe;
CMachineProbe* g_pProbe = &g_SystemProbe;

// The drives whose serials the identifier and the accounts key hash.
const char* const kSerialDrives[3] = {"C:\\", "D:\\", "E:\\"};

void PutSerial(BYTE* at, DWORD serial)
{
    at[0] = (BYTE)serial;
    at[1] = (BYTE)(serial >> 8);
    at[2] = (BYTE)(serial >> 16);
    at[3] = (BYTE)(serial >> 24);
}

// NCBASTAT answers the adapter status followed by its name table.
struct tagAdapterStatus
{
    ADAPTER_STATUS status;
    NAME_BUFFER names[30];
};

} // namespace

bool CMachineProbe::OpenNetbios(const char*& failure)
{
    m_hNetApi = LoadLibraryA("NetApi32.dll");
    if (m_hNetApi == NULL) {
        failure = "加载 NetApi32.dll 失败";
        return false;
    }
    m_pfnNetbios = reinterpret_cast<NetbiosProc>(reinterpret_cast<void (*)()>(GetProcAddress(m_hNetApi, "Netbios")));
    if (m_pfnNetbios == NULL) {
        failure = "无法找到 NetBios 函数";
        return false;
    }
    return true;
}

UCHAR CMachineProbe::Netbios(NCB* ncb)
{
    return m_pfnNetbios != NULL ? m_pfnNetbios(ncb) : (UCHAR)NRC_SYSTEM;
}

void CMachineProbe::CloseNetbios()
{
    if (m_hNetApi != NULL)
        FreeLibrary(m_hNetApi);
    m_hNetApi = NULL;
    m_pfnNetbios = NULL;
}

DWORD CMachineProbe::GetVolumeSerial(LPCSTR root)
{
    DWORD serial = 0;
    if (!GetVolumeInformationA(root, NULL, 0, &serial, NULL, NULL, NULL, 0))
        return 0;
    return serial;
}

CMachineProbe* CMachineID::SetProbe(CMachineProbe* probe)
{
    CMachineProbe* previous = g_pProbe;
    g_pProbe = probe != NULL ? probe : &g_SystemProbe;
    return previous == &g_SystemProbe ? NULL : previous;
}

namespace
{

// Walks the adapters through the open Netbios; null when the walk ended
// normally, else the text of the step that failed.
const char* WalkAdapters(CMachineProbe* probe, BYTE* out, WORD capacity, WORD& written)
{
    LANA_ENUM lanaEnum;
    memset(&lanaEnum, 0, sizeof(lanaEnum));
    NCB ncb;
    memset(&ncb, 0, sizeof(ncb));
    ncb.ncb_command = NCBENUM;
    ncb.ncb_buffer = reinterpret_cast<PUCHAR>(&lanaEnum);
    ncb.ncb_length = sizeof(lanaEnum);
    if (probe->Netbios(&ncb) != NRC_GOODRET)
        return "枚举网卡失败";
    if (lanaEnum.length == 0)
        return "找不到任何网卡";

    // The count is the answer's own: never past the table it came in.
    int count = lanaEnum.length < sizeof(lanaEnum.lana) ? lanaEnum.length : (int)sizeof(lanaEnum.lana);
    for (int i = 0; i < count && written < capacity; ++i) {
        memset(&ncb, 0, sizeof(ncb));
        ncb.ncb_command = NCBRESET;
        ncb.ncb_lana_num = lanaEnum.lana[i];
        if (probe->Netbios(&ncb) != NRC_GOODRET)
            return "重置网卡失败";

        tagAdapterStatus adapter;
        memset(&adapter, 0, sizeof(adapter));
        memset(&ncb, 0, sizeof(ncb));
        ncb.ncb_command = NCBASTAT;
        ncb.ncb_lana_num = lanaEnum.lana[i];
        memset(ncb.ncb_callname, ' ', NCBNAMSZ);
        ncb.ncb_callname[0] = '*';
        ncb.ncb_buffer = reinterpret_cast<PUCHAR>(&adapter);
        ncb.ncb_length = sizeof(adapter);
        if (probe->Netbios(&ncb) != NRC_GOODRET)
            return "获取网卡状态失败";
        if (adapter.status.adapter_type == 0)
            continue;

        // Each address goes to the start: servers know machines by the
        // identifier this gives, so the overwrite stays.
        WORD n = (WORD)(capacity - written < 6 ? capacity - written : 6);
        memcpy(out, adapter.status.adapter_address, n);
        written = (WORD)(written + n);
    }
    return NULL;
}

} // namespace

WORD CMachineID::GetAdapterAddresses(BYTE* out, WORD capacity, const char** failure)
{
    if (failure != NULL)
        *failure = NULL;
    if (out == NULL || capacity == 0)
        return 0;

    CMachineProbe* probe = g_pProbe;
    WORD written = 0;
    const char* text = NULL;
    if (probe->OpenNetbios(text))
        text = WalkAdapters(probe, out, capacity, written);
    if (failure != NULL)
        *failure = text;
    probe->CloseNetbios();
    return written;
}

void CMachineID::GetMachineID(char id[33])
{
    BYTE buffer[kBufferSize];
    memset(buffer, 0, sizeof(buffer));
    DWORD n = GetAdapterAddresses(buffer, kBufferSize);
    for (int drive = 0; drive < 3 && n + 4 <= kBufferSize; ++drive) {
        PutSerial(buffer + n, g_pProbe->GetVolumeSerial(kSerialDrives[drive]));
        n += 4;
    }
    CMD5Encrypt::EncryptData(buffer, n, id);
}

void CMachineID::GetAccountsKey(char key[33])
{
    BYTE buffer[12];
    for (int drive = 0; drive < 3; ++drive)
        PutSerial(buffer + drive * 4, g_pProbe->GetVolumeSerial(kSerialDrives[drive]));
    CMD5Encrypt::EncryptData(buffer, sizeof(buffer), key);
}
