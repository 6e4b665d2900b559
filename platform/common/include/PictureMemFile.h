// CPictureMemFile: the growing memory buffer that CPicture::Encode writes into.
#pragma once

#include <windows.h>

class CPictureMemFile
{
public:
    CPictureMemFile();
    ~CPictureMemFile();

    // Appends; false when the buffer cannot grow.
    bool Write(const void* data, DWORD size);
    BYTE* GetBuffer() const;
    DWORD GetSize() const;
    // Frees the buffer; the file is empty afterwards.
    void Close();

private:
    CPictureMemFile(const CPictureMemFile&);
    CPictureMemFile& operator=(const CPictureMemFile&);

    BYTE* m_data;
    DWORD m_size;
    DWORD m_capacity;
};
