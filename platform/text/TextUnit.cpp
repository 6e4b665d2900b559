#include "TextUnit.h"

#include <string.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <errno.h>
#include <iconv.h>
#endif

bool TextIsLeadByte(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

bool TextIsTrailByte(unsigned char c)
{
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

size_t TextCharSize(const char* text, size_t length, size_t pos)
{
    if (pos + 1 < length && TextIsLeadByte((unsigned char)text[pos]) && TextIsTrailByte((unsigned char)text[pos + 1]))
        return 2;
    return 1;
}

bool TextIsCharStart(const char* text, size_t length, size_t pos)
{
    size_t at = 0;
    while (at < pos && at < length)
        at += TextCharSize(text, length, at);
    return at == pos;
}

size_t TextCutLength(const char* text, size_t length, size_t maxBytes)
{
    if (text == NULL)
        return 0;
    size_t pos = 0;
    size_t last = 1;
    bool cut = false;
    while (pos < length && text[pos] != '\0') {
        size_t size = TextCharSize(text, length, pos);
        if (pos + size > maxBytes) {
            cut = true;
            break;
        }
        last = size;
        pos += size;
    }
    // A cut never ends in a lead byte: a reader would pair it with whatever
    // follows. A text that ends in one is kept as it is.
    if (cut && pos > 0 && last == 1 && TextIsLeadByte((unsigned char)text[pos - 1]))
        --pos;
    return pos;
}

bool TextCopyField(char* field, size_t width, const char* text, size_t length)
{
    if (text == NULL)
        length = 0;
    const void* end = length > 0 ? memchr(text, '\0', length) : NULL;
    if (end != NULL)
        length = size_t(static_cast<const char*>(end) - text);
    if (width == 0)
        return length == 0;
    size_t taken = TextCutLength(text, length, width - 1);
    if (taken > 0)
        memmove(field, text, taken);
    memset(field + taken, 0, width - taken);
    return taken == length;
}

bool TextCopyField(char* field, size_t width, const char* text)
{
    return TextCopyField(field, width, text, text != NULL ? strlen(text) : 0);
}

bool TextCopyPath(char* field, size_t width, const char* path)
{
    size_t length = path != NULL ? strlen(path) : 0;
    if (length >= width) {
        if (width > 0)
            memset(field, 0, width);
        return false;
    }
    if (length > 0)
        memmove(field, path, length);
    memset(field + length, 0, width - length);
    return true;
}

namespace
{

#ifdef _WIN32

const UINT kCodePage = 936;

bool Convert(UINT from, UINT to, const char* text, std::string& out, bool replace)
{
    out.clear();
    if (text == NULL || text[0] == '\0')
        return true;
    int length = int(strlen(text));
    DWORD flags = replace ? 0 : MB_ERR_INVALID_CHARS;
    int wideLength = MultiByteToWideChar(from, flags, text, length, NULL, 0);
    if (wideLength <= 0)
        return false;
    std::wstring wide(size_t(wideLength), L'\0');
    MultiByteToWideChar(from, flags, text, length, &wide[0], wideLength);
    BOOL usedDefault = FALSE;
    BOOL* pUsedDefault = to == CP_UTF8 || replace ? NULL : &usedDefault;
    int outLength = WideCharToMultiByte(to, 0, wide.data(), wideLength, NULL, 0, NULL, pUsedDefault);
    if (outLength <= 0 || usedDefault)
        return false;
    out.resize(size_t(outLength));
    WideCharToMultiByte(to, 0, wide.data(), wideLength, &out[0], outLength, NULL, NULL);
    return true;
}

#else

const char kCodePage[] = "CP936";

bool Convert(const char* from, const char* to, const char* text, std::string& out, bool replace)
{
    out.clear();
    if (text == NULL || text[0] == '\0')
        return true;
    iconv_t cd = iconv_open(to, from);
    if (cd == (iconv_t)-1)
        return false;
    size_t inLeft = strlen(text);
    char* in = const_cast<char*>(text);
    std::string result(inLeft * 2 + 4, '\0');
    size_t done = 0;
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = &result[done];
        size_t outLeft = result.size() - done;
        size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        done = result.size() - outLeft;
        if (rc != (size_t)-1)
            break;
        if (errno == E2BIG) {
            result.resize(result.size() * 2);
            continue;
        }
        if (!replace) {
            ok = false;
            break;
        }
        // One '?' for the character that does not convert, then on.
        if (result.size() - done < 1)
            result.resize(result.size() * 2);
        result[done++] = '?';
        size_t skip = 1;
        if (strcmp(from, "UTF-8") == 0) {
            while (skip < inLeft && ((unsigned char)in[skip] & 0xC0) == 0x80)
                ++skip;
        } else {
            skip = TextCharSize(in, inLeft, 0);
        }
        in += skip;
        inLeft -= skip;
    }
    iconv_close(cd);
    if (!ok)
        return false;
    result.resize(done);
    out.swap(result);
    return true;
}

#endif

} // namespace

bool TextToUtf8(const char* text, std::string& utf8, bool replace)
{
#ifdef _WIN32
    bool ok = Convert(kCodePage, CP_UTF8, text, utf8, replace);
#else
    bool ok = Convert(kCodePage, "UTF-8", text, utf8, replace);
#endif
    if (!ok)
        utf8.clear();
    return ok;
}

bool TextFromUtf8(const char* utf8, std::string& text, bool replace)
{
#ifdef _WIN32
    bool ok = Convert(CP_UTF8, kCodePage, utf8, text, replace);
#else
    bool ok = Convert("UTF-8", kCodePage, utf8, text, replace);
#endif
    if (!ok)
        text.clear();
    return ok;
}
