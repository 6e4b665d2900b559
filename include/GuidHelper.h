// Interface ids and class ids of the module and sink interfaces.
//
// Ids are written in their registry text form so they read the same as
// everywhere else they are quoted:
//
//   TAVREL_GUID(IID_IFoo, "92D87E91-5A5B-4A45-8CFD-382FE6B32B0B");
//
// Each id is one inline object, so its address is the same in every
// translation unit (module holders keep pointers to ids). Ids compare with
// IsEqualGUID or ==, over all 16 bytes.
#pragma once

#include <windows.h>

namespace GuidText
{

constexpr unsigned HexDigit(char c)
{
    return (c >= '0' && c <= '9')   ? unsigned(c - '0')
           : (c >= 'A' && c <= 'F') ? unsigned(c - 'A' + 10)
           : (c >= 'a' && c <= 'f') ? unsigned(c - 'a' + 10)
                                    : throw "not a hexadecimal digit"; // turns a typo into a compile error
}

constexpr unsigned long Hex(const char* text, int digits)
{
    unsigned long value = 0;
    for (int i = 0; i < digits; ++i)
        value = (value << 4) | HexDigit(text[i]);
    return value;
}

constexpr const char* Dash(const char* text)
{
    return *text == '-' ? text + 1 : throw "misplaced dash";
}

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX"
constexpr GUID Parse(const char (&text)[37])
{
    const char* p = text;
    const char* d4 = Dash(p + 23);
    return GUID{Hex(p, 8),
                (unsigned short)Hex(Dash(p + 8), 4),
                (unsigned short)Hex(Dash(p + 13), 4),
                {(unsigned char)Hex(Dash(p + 18), 2), (unsigned char)Hex(p + 21, 2), (unsigned char)Hex(d4, 2),
                 (unsigned char)Hex(d4 + 2, 2), (unsigned char)Hex(d4 + 4, 2), (unsigned char)Hex(d4 + 6, 2),
                 (unsigned char)Hex(d4 + 8, 2), (unsigned char)Hex(d4 + 10, 2)}};
}

} // namespace GuidText

#define TAVREL_GUID(name, text) inline constexpr GUID name = GuidText::Parse(text)
