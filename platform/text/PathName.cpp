#include "PathName.h"

#include <string.h>
#include <strings.h>

#include <string>

#include "TextUnit.h"

namespace
{

bool IsDeviceName(const char* name, size_t length)
{
    // The system takes the part before the first dot, blanks cut off its end.
    const char* dot = static_cast<const char*>(memchr(name, '.', length));
    size_t base = dot != NULL ? size_t(dot - name) : length;
    while (base > 0 && name[base - 1] == ' ')
        --base;
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices) {
        if (base == strlen(device) && strncasecmp(name, device, base) == 0)
            return true;
    }
    return base == 4 && (strncasecmp(name, "COM", 3) == 0 || strncasecmp(name, "LPT", 3) == 0) && name[3] >= '1' &&
           name[3] <= '9';
}

} // namespace

bool IsPlainPathName(const char* name)
{
    if (name == NULL)
        return false;
    size_t length = strlen(name);
    if (length == 0 || length > 255)
        return false;
    for (size_t pos = 0; pos < length;) {
        size_t size = TextCharSize(name, length, pos);
        if (size == 1) {
            unsigned char c = (unsigned char)name[pos];
            if (c < 0x20 || c == 0x7F || strchr("\\/:<>\"|?*", c) != NULL)
                return false;
            if (pos + 1 == length && TextIsLeadByte(c))
                return false; // half a character at the end
            if (c == '.' && pos + 1 < length && name[pos + 1] == '.')
                return false;
        }
        pos += size;
    }
    // The last byte is always a whole character here: '.' and ' ' are no trail bytes.
    char last = name[length - 1];
    if (last == '.' || last == ' ')
        return false;
    return !IsDeviceName(name, length);
}

bool IsRelativePathName(const char* path)
{
    if (path == NULL)
        return false;
    size_t length = strlen(path);
    if (length == 0)
        return false;
    std::string part;
    for (size_t pos = 0; pos <= length;) {
        size_t size = pos < length ? TextCharSize(path, length, pos) : 1;
        if (pos == length || (size == 1 && (path[pos] == '\\' || path[pos] == '/'))) {
            if (!IsPlainPathName(part.c_str()))
                return false;
            part.clear();
        } else {
            part.append(path + pos, size);
        }
        pos += size;
    }
    return true;
}
