#include "PictureMemFile.h"

#include <stdlib.h>
#include <string.h>

CPictureMemFile::CPictureMemFile() : m_data(NULL), m_size(0), m_capacity(0) {}

CPictureMemFile::~CPictureMemFile()
{
    Close();
}

bool CPictureMemFile::Write(const void* data, DWORD size)
{
    if (size == 0)
        return true;
    if (data == NULL || size > 0xFFFFFFFFu - m_size)
        return false;
    DWORD needed = m_size + size;
    if (needed > m_capacity) {
        DWORD grown = m_capacity < 4096 ? 4096 : m_capacity;
        while (grown < needed)
            grown = grown > 0x7FFFFFFFu ? needed : grown * 2;
        BYTE* bigger = static_cast<BYTE*>(realloc(m_data, grown));
        if (bigger == NULL)
            return false;
        m_data = bigger;
        m_capacity = grown;
    }
    memcpy(m_data + m_size, data, size);
    m_size = needed;
    return true;
}

BYTE* CPictureMemFile::GetBuffer() const
{
    return m_data;
}

DWORD CPictureMemFile::GetSize() const
{
    return m_size;
}

void CPictureMemFile::Close()
{
    free(m_data);
    m_data = NULL;
    m_size = 0;
    m_capacity = 0;
}
