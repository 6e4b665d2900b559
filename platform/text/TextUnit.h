// Text in this system is GBK (code page 936, fixed for every build): a lead
// byte 0x81-0xFE followed by a trail byte 0x40-0xFE other than 0x7F makes one
// character, every other byte is one. Every copy into a fixed field, every cut
// and every conversion to or from UTF-8 goes through here, so that none
// leaves half a character behind.
#pragma once

#include <stddef.h>

#include <string>

bool TextIsLeadByte(unsigned char c);
bool TextIsTrailByte(unsigned char c);

// Bytes of the character at text[pos] (pos < length): 2 for a lead byte
// followed by a trail byte, else 1.
size_t TextCharSize(const char* text, size_t length, size_t pos);
// True when pos starts a character (pos == length counts as one).
bool TextIsCharStart(const char* text, size_t length, size_t pos);
// Length of the longest start of the text (up to length bytes or its first
// NUL) that holds at most maxBytes bytes and ends on a character boundary;
// where the text is cut, the start never ends in a lead byte. A text that
// fits whole is kept whole, a lone lead byte at its end included.
size_t TextCutLength(const char* text, size_t length, size_t maxBytes);

// Copies the text (null counts as empty) into a field of width bytes: at
// most width - 1 bytes, never half a character, terminated, the rest of the
// field zeroed. True when the whole text fitted, false when it was cut.
bool TextCopyField(char* field, size_t width, const char* text, size_t length);
bool TextCopyField(char* field, size_t width, const char* text);
template <size_t N> inline bool TextCopyField(char (&field)[N], const char* text)
{
    return TextCopyField(field, N, text);
}

// A path that would be cut names another file: it is copied whole or not at
// all (the field is left empty and false answered).
bool TextCopyPath(char* field, size_t width, const char* path);
template <size_t N> inline bool TextCopyPath(char (&field)[N], const char* path)
{
    return TextCopyPath(field, N, path);
}

// GBK to UTF-8 and back, up to the text's first NUL. A text that does not
// convert (a byte sequence invalid in its encoding, a character the target
// lacks) gives false and an empty result; with replace, text only shown to
// the user, each such character becomes '?' instead. Windows converts through code page 936; the native build through
// the C library's iconv ("CP936"), whose table may differ from the system's in
// characters this system never sends (0x80).
bool TextToUtf8(const char* text, std::string& utf8, bool replace = false);
bool TextFromUtf8(const char* utf8, std::string& text, bool replace = false);
