// CColourNames: a colour written as text: "r,g,b" in decimal, "#RRGGBB",
// an HTML colour name or a system-colour name (any letter case). A system
// colour is kept as its index with bit 31 set and read when asked for, so it
// follows a change of the system colours.
#pragma once

#include <windows.h>

class CColourNames
{
public:
    explicit CColourNames(const char* text = nullptr);
    virtual ~CColourNames() {}

    void Parse(const char* text);
    COLORREF GetColour() const;
    operator COLORREF() const { return GetColour(); }

    // The raw value: bit 31 marks a system-colour index.
    DWORD GetValue() const { return m_value; }

    static constexpr DWORD systemColour = 0x80000000u;

private:
    DWORD m_value;
};
