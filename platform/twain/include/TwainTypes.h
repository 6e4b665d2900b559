// The records, codes and entry point of the image-source manager protocol
// ("TWAIN_32.DLL", export number 1), as far as the scanner link uses them.
// Records are packed to 2 bytes, as the manager library lays them out.
#pragma once

#include <windows.h>

typedef unsigned char TW_UINT8;
typedef unsigned short TW_UINT16;
typedef unsigned long TW_UINT32;
typedef short TW_INT16;
typedef long TW_INT32;
typedef unsigned short TW_BOOL;
typedef char TW_STR32[34]; // 32 characters, a NUL and a pad byte
typedef void* TW_MEMREF;

#pragma pack(push, 2)

struct TW_VERSION
{
    TW_UINT16 MajorNum;
    TW_UINT16 MinorNum;
    TW_UINT16 Language;
    TW_UINT16 Country;
    TW_STR32 Info;
};

struct TW_IDENTITY
{
    TW_UINT32 Id;
    TW_VERSION Version;
    TW_UINT16 ProtocolMajor;
    TW_UINT16 ProtocolMinor;
    TW_UINT32 SupportedGroups;
    TW_STR32 Manufacturer;
    TW_STR32 ProductFamily;
    TW_STR32 ProductName;
};

struct TW_STATUS
{
    TW_UINT16 ConditionCode;
    TW_UINT16 Reserved;
};

struct TW_FIX32
{
    TW_INT16 Whole;
    TW_UINT16 Frac;
};

struct TW_IMAGEINFO
{
    TW_FIX32 XResolution;
    TW_FIX32 YResolution;
    TW_INT32 ImageWidth;
    TW_INT32 ImageLength;
    TW_INT16 SamplesPerPixel;
    TW_INT16 BitsPerSample[8];
    TW_INT16 BitsPerPixel;
    TW_BOOL Planar;
    TW_INT16 PixelType;
    TW_UINT16 Compression;
};

struct TW_PENDINGXFERS
{
    TW_UINT16 Count;
    TW_UINT32 Reserved;
};

struct TW_USERINTERFACE
{
    TW_BOOL ShowUI;
    TW_BOOL ModalUI;
    HWND hParent;
};

struct TW_EVENT
{
    TW_MEMREF pEvent; // the window message (MSG*)
    TW_UINT16 TWMessage;
};

#pragma pack(pop)

// The identity and the status travel between modules built alike.
static_assert(sizeof(TW_STR32) == 34, "text field of 34 bytes");
static_assert(sizeof(TW_IDENTITY) == 156, "identity record of 156 bytes");
static_assert(sizeof(TW_STATUS) == 4, "status record of 4 bytes");
static_assert(sizeof(TW_IMAGEINFO) == 42, "image information of 42 bytes");

typedef TW_UINT16(WINAPI* DSMENTRYPROC)(TW_IDENTITY* pOrigin, TW_IDENTITY* pDest, TW_UINT32 DG, TW_UINT16 DAT,
                                        TW_UINT16 MSG, TW_MEMREF pData);

// Groups.
const TW_UINT32 DG_CONTROL = 0x0001;
const TW_UINT32 DG_IMAGE = 0x0002;

// Data types.
const TW_UINT16 DAT_NULL = 0x0000;
const TW_UINT16 DAT_EVENT = 0x0002;
const TW_UINT16 DAT_IDENTITY = 0x0003;
const TW_UINT16 DAT_PARENT = 0x0004;
const TW_UINT16 DAT_PENDINGXFERS = 0x0005;
const TW_UINT16 DAT_STATUS = 0x0008;
const TW_UINT16 DAT_USERINTERFACE = 0x0009;
const TW_UINT16 DAT_IMAGEINFO = 0x0101;
const TW_UINT16 DAT_IMAGENATIVEXFER = 0x0104;

// Messages.
const TW_UINT16 MSG_NULL = 0x0000;
const TW_UINT16 MSG_GET = 0x0001;
const TW_UINT16 MSG_GETDEFAULT = 0x0003;
const TW_UINT16 MSG_RESET = 0x0007;
const TW_UINT16 MSG_XFERREADY = 0x0101;
const TW_UINT16 MSG_CLOSEDSREQ = 0x0102;
const TW_UINT16 MSG_CLOSEDSOK = 0x0103;
const TW_UINT16 MSG_OPENDSM = 0x0301;
const TW_UINT16 MSG_CLOSEDSM = 0x0302;
const TW_UINT16 MSG_OPENDS = 0x0401;
const TW_UINT16 MSG_CLOSEDS = 0x0402;
const TW_UINT16 MSG_USERSELECT = 0x0403;
const TW_UINT16 MSG_DISABLEDS = 0x0501;
const TW_UINT16 MSG_ENABLEDS = 0x0502;
const TW_UINT16 MSG_PROCESSEVENT = 0x0601;
const TW_UINT16 MSG_ENDXFER = 0x0701;

// Return codes.
const TW_UINT16 TWRC_SUCCESS = 0;
const TW_UINT16 TWRC_FAILURE = 1;
const TW_UINT16 TWRC_CHECKSTATUS = 2;
const TW_UINT16 TWRC_CANCEL = 3;
const TW_UINT16 TWRC_DSEVENT = 4;
const TW_UINT16 TWRC_NOTDSEVENT = 5;
const TW_UINT16 TWRC_XFERDONE = 6;
