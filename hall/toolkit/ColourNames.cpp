#include "ColourNames.h"

#include <stdlib.h>
#include <string.h>

namespace
{
struct NamedColour
{
    DWORD value;
    const char* name;
};

#define HTML(r, g, b, name)                                                                                            \
    {                                                                                                                  \
        RGB(r, g, b), name                                                                                             \
    }
#define SYS(index, name)                                                                                               \
    {                                                                                                                  \
        CColourNames::systemColour | (index), name                                                                     \
    }

// Searched in order; the first matching name wins.
const NamedColour kNames[] = {
    HTML(0xF0, 0xF8, 0xFF, "AliceBlue"),
    HTML(0xFA, 0xEB, 0xD7, "AntiqueWhite"),
    HTML(0x00, 0xFF, 0xFF, "Aqua"),
    HTML(0x7F, 0xFF, 0xD4, "Aquamarine"),
    HTML(0xF0, 0xFF, 0xFF, "Azure"),
    HTML(0xF5, 0xF5, 0xDC, "Beige"),
    HTML(0xFF, 0xE4, 0xC4, "Bisque"),
    HTML(0x00, 0x00, 0x00, "Black"),
    HTML(0xFF, 0xFF, 0xCD, "BlanchedAlmond"),
    HTML(0x00, 0x00, 0xFF, "Blue"),
    HTML(0x8A, 0x2B, 0xE2, "BlueViolet"),
    HTML(0xA5, 0x2A, 0x2A, "Brown"),
    HTML(0xDE, 0xB8, 0x87, "Burlywood"),
    HTML(0x5F, 0x9E, 0xA0, "CadetBlue"),
    HTML(0x7F, 0xFF, 0x00, "Chartreuse"),
    HTML(0xD2, 0x69, 0x1E, "Chocolate"),
    HTML(0xFF, 0x7F, 0x50, "Coral"),
    HTML(0x64, 0x95, 0xED, "CornflowerBlue"),
    HTML(0xFF, 0xF8, 0xDC, "Cornsilk"),
    HTML(0xDC, 0x14, 0x3C, "Crimson"),
    HTML(0x00, 0xFF, 0xFF, "Cyan"),
    HTML(0x00, 0x00, 0x8B, "DarkBlue"),
    HTML(0x00, 0x8B, 0x8B, "DarkCyan"),
    HTML(0xB8, 0x86, 0x0B, "DarkGoldenRod"),
    HTML(0xA9, 0xA9, 0xA9, "DarkGray"),
    HTML(0x00, 0x64, 0x00, "DarkGreen"),
    HTML(0xBD, 0xB7, 0x6B, "DarkKhaki"),
    HTML(0x8B, 0x00, 0x8B, "DarkMagenta"),
    HTML(0x55, 0x6B, 0x2F, "DarkOliveGreen"),
    HTML(0xFF, 0x8C, 0x00, "DarkOrange"),
    HTML(0x99, 0x32, 0xCC, "DarkOrchid"),
    HTML(0x8B, 0x00, 0x00, "DarkRed"),
    HTML(0xE9, 0x96, 0x7A, "DarkSalmon"),
    HTML(0x8F, 0xBC, 0x8F, "DarkSeaGreen"),
    HTML(0x48, 0x3D, 0x8B, "DarkSlateBlue"),
    HTML(0x2F, 0x4F, 0x4F, "DarkSlateGray"),
    HTML(0x00, 0xCE, 0xD1, "DarkTurquoise"),
    HTML(0x94, 0x00, 0xD3, "DarkViolet"),
    HTML(0xFF, 0x14, 0x93, "DeepPink"),
    HTML(0x00, 0xBF, 0xFF, "DeepSkyBlue"),
    HTML(0x69, 0x69, 0x69, "DimGray"),
    HTML(0x1E, 0x90, 0xFF, "DodgerBlue"),
    HTML(0xB2, 0x22, 0x22, "FireBrick"),
    HTML(0xFF, 0xFA, 0xF0, "FloralWhite"),
    HTML(0x22, 0x8B, 0x22, "ForestGreen"),
    HTML(0xFF, 0x00, 0xFF, "Fuchsia"),
    HTML(0xDC, 0xDC, 0xDC, "Gainsboro"),
    HTML(0xF8, 0xF8, 0xFF, "GhostWhite"),
    HTML(0xFF, 0xD7, 0x00, "Gold"),
    HTML(0xDA, 0xA5, 0x20, "GoldenRod"),
    HTML(0x7F, 0x7F, 0x7F, "Gray"),
    HTML(0x00, 0x80, 0x00, "Green"),
    HTML(0xAD, 0xFF, 0x2F, "GreenYellow"),
    HTML(0xF0, 0xFF, 0xF0, "HoneyDew"),
    HTML(0xFF, 0x69, 0xB4, "HotPink"),
    HTML(0xCD, 0x5C, 0x5C, "IndianRed"),
    HTML(0x4B, 0x00, 0x82, "Indigo"),
    HTML(0xFF, 0xFF, 0xF0, "Ivory"),
    HTML(0xF0, 0xE6, 0x8C, "Khaki"),
    HTML(0xE6, 0xE6, 0xFA, "Lavender"),
    HTML(0xFF, 0xF0, 0xF5, "LavenderBlush"),
    HTML(0x7C, 0xFC, 0x00, "Lawngreen"),
    HTML(0xFF, 0xFA, 0xCD, "LemonChiffon"),
    HTML(0xAD, 0xD8, 0xE6, "LightBlue"),
    HTML(0xF0, 0x80, 0x80, "LightCoral"),
    HTML(0xE0, 0xFF, 0xFF, "LightCyan"),
    HTML(0xFA, 0xFA, 0xD2, "LightGoldenRodYellow"),
    HTML(0x90, 0xEE, 0x90, "LightGreen"),
    HTML(0xD3, 0xD3, 0xD3, "LightGrey"),
    HTML(0xFF, 0xB6, 0xC1, "LightPink"),
    HTML(0xFF, 0xA0, 0x7A, "LightSalmon"),
    HTML(0x20, 0xB2, 0xAA, "LightSeaGreen"),
    HTML(0x87, 0xCE, 0xFA, "LightSkyBlue"),
    HTML(0x77, 0x88, 0x99, "LightSlateGray"),
    HTML(0xB0, 0xC4, 0xDE, "LightSteelBlue"),
    HTML(0xFF, 0xFF, 0xE0, "LightYellow"),
    HTML(0x00, 0xFF, 0x00, "Lime"),
    HTML(0x32, 0xCD, 0x32, "LimeGreen"),
    HTML(0xFA, 0xF0, 0xE6, "Linen"),
    HTML(0xFF, 0x00, 0xFF, "Magenta"),
    HTML(0x80, 0x00, 0x00, "Maroon"),
    HTML(0x66, 0xCD, 0xAA, "MediumAquamarine"),
    HTML(0x00, 0x00, 0xCD, "MediumBlue"),
    HTML(0xBA, 0x55, 0xD3, "MediumOrchid"),
    HTML(0x93, 0x70, 0xDB, "MediumPurple"),
    HTML(0x3C, 0xB3, 0x71, "MediumSeaGreen"),
    HTML(0x7B, 0x68, 0xEE, "MediumSlateBlue"),
    HTML(0x00, 0xFA, 0x9A, "MediumSpringGreen"),
    HTML(0x48, 0xD1, 0xCC, "MediumTurquoise"),
    HTML(0xC7, 0x15, 0x85, "MediumVioletRed"),
    HTML(0x19, 0x19, 0x70, "MidnightBlue"),
    HTML(0xF5, 0xFF, 0xFA, "MintCream"),
    HTML(0xFF, 0xE4, 0xE1, "MistyRose"),
    HTML(0xFF, 0xE4, 0xB5, "Moccasin"),
    HTML(0xFF, 0xDE, 0xAD, "NavajoWhite"),
    HTML(0x00, 0x00, 0x80, "Navy"),
    HTML(0xFD, 0xF5, 0xE6, "OldLace"),
    HTML(0x80, 0x80, 0x00, "Olive"),
    HTML(0x6B, 0x8E, 0x23, "OliveDrab"),
    HTML(0xFF, 0xA5, 0x00, "Orange"),
    HTML(0xFF, 0x45, 0x00, "OrangeRed"),
    HTML(0xDA, 0x70, 0xD6, "Orchid"),
    HTML(0xEE, 0xE8, 0xAA, "PaleGoldenRod"),
    HTML(0x98, 0xFB, 0x98, "PaleGreen"),
    HTML(0xAF, 0xEE, 0xEE, "PaleTurquoise"),
    HTML(0xDB, 0x70, 0x93, "PaleVioletRed"),
    HTML(0xFF, 0xEF, 0xD5, "PapayaWhip"),
    HTML(0xFF, 0xDA, 0xB9, "PeachPuff"),
    HTML(0xCD, 0x85, 0x3F, "Peru"),
    HTML(0xFF, 0xC0, 0xCB, "Pink"),
    HTML(0xDD, 0xA0, 0xDD, "Plum"),
    HTML(0xB0, 0xE0, 0xE6, "PowderBlue"),
    HTML(0x80, 0x00, 0x80, "Purple"),
    HTML(0xFF, 0x00, 0x00, "Red"),
    HTML(0xBC, 0x8F, 0x8F, "RosyBrown"),
    HTML(0x41, 0x69, 0xE1, "RoyalBlue"),
    HTML(0x8B, 0x45, 0x13, "SaddleBrown"),
    HTML(0xFA, 0x80, 0x72, "Salmon"),
    HTML(0xF4, 0xA4, 0x60, "SandyBrown"),
    HTML(0x2E, 0x8B, 0x57, "SeaGreen"),
    HTML(0xFF, 0xF5, 0xEE, "SeaShell"),
    HTML(0xA0, 0x52, 0x2D, "Sienna"),
    HTML(0xC0, 0xC0, 0xC0, "Silver"),
    HTML(0x87, 0xCE, 0xEB, "SkyBlue"),
    HTML(0x6A, 0x5A, 0xCD, "SlateBlue"),
    HTML(0x70, 0x80, 0x90, "SlateGray"),
    HTML(0xFF, 0xFA, 0xFA, "Snow"),
    HTML(0x00, 0xFF, 0x7F, "SpringGreen"),
    HTML(0x46, 0x82, 0xB4, "SteelBlue"),
    HTML(0xD2, 0xB4, 0x8C, "Tan"),
    HTML(0x00, 0x80, 0x80, "Teal"),
    HTML(0xD8, 0xBF, 0xD8, "Thistle"),
    HTML(0xFF, 0x63, 0x47, "Tomato"),
    HTML(0x40, 0xE0, 0xD0, "Turquoise"),
    HTML(0xEE, 0x82, 0xEE, "Violet"),
    HTML(0xF5, 0xDE, 0xB3, "Wheat"),
    HTML(0xFF, 0xFF, 0xFF, "White"),
    HTML(0xF5, 0xF5, 0xF5, "WhiteSmoke"),
    HTML(0xFF, 0xFF, 0x00, "Yellow"),
    HTML(0x8B, 0xCD, 0x32, "YellowGreen"),
    SYS(10, "ActiveBorder"),
    SYS(2, "ActiveCaption"),
    SYS(9, "ActiveCaptionText"),
    SYS(12, "AppWorkspace"),
    SYS(1, "Background"),
    SYS(15, "BtnFace"),
    SYS(20, "BtnHighlight"),
    SYS(20, "BtnHilight"),
    SYS(16, "BtnShadow"),
    SYS(18, "BtnText"),
    SYS(9, "CaptionText"),
    SYS(15, "Control"),
    SYS(16, "ControlDark"),
    SYS(21, "ControlDarkDark"),
    SYS(20, "ControlLight"),
    SYS(20, "ControlLightLight"),
    SYS(18, "ControlText"),
    SYS(1, "Desktop"),
    SYS(27, "GradientActiveCaption"),
    SYS(28, "GradientInactiveCaption"),
    SYS(17, "GrayText"),
    SYS(13, "Highlight"),
    SYS(14, "HighlightText"),
    SYS(26, "HotLight"),
    SYS(26, "HotTrack"),
    SYS(11, "InactiveBorder"),
    SYS(3, "InactiveCaption"),
    SYS(19, "InactiveCaptionText"),
    SYS(24, "Info"),
    SYS(24, "InfoBk"),
    SYS(23, "InfoText"),
    SYS(4, "Menu"),
    SYS(30, "MenuBar"),
    SYS(29, "MenuHilight"),
    SYS(7, "MenuText"),
    SYS(0, "ScrollBar"),
    SYS(5, "Window"),
    SYS(6, "WindowFrame"),
    SYS(8, "WindowText"),
};
#undef HTML
#undef SYS

static_assert(sizeof(kNames) / sizeof(kNames[0]) == 179, "140 HTML names and 39 system names");

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

int HexPair(const char* p)
{
    return HexDigit(p[0]) * 16 + HexDigit(p[1]);
}
} // namespace

CColourNames::CColourNames(const char* text) : m_value(0)
{
    if (text != nullptr)
        Parse(text);
}

void CColourNames::Parse(const char* text)
{
    m_value = 0;
    if (text == nullptr)
        return;
    if (strchr(text, ',') != nullptr) {
        const char* green = strchr(text, ',') + 1;
        const char* blue = strchr(green, ',');
        m_value = RGB(atoi(text) & 0xFF, atoi(green) & 0xFF, blue != nullptr ? atoi(blue + 1) & 0xFF : 0);
        return;
    }
    if (strchr(text, '#') != nullptr) {
        if (strlen(text) == 7)
            m_value = RGB(HexPair(text + 1), HexPair(text + 3), HexPair(text + 5));
        return;
    }
    for (const NamedColour& named : kNames) {
        if (lstrcmpiA(named.name, text) == 0) {
            m_value = named.value;
            return;
        }
    }
}

COLORREF CColourNames::GetColour() const
{
    if (m_value & systemColour)
        return ::GetSysColor((int)(m_value & ~systemColour));
    return m_value;
}
