// Message bodies written and read byte by byte, independently of the archive
// code under test: little-endian scalars and the archive's length forms.
#pragma once

#include <stdint.h>
#include <string.h>

#include <initializer_list>
#include <string>
#include <vector>

class CWireBytes
{
public:
    CWireBytes() {}
    CWireBytes(std::initializer_list<uint8_t> bytes) : m_Bytes(bytes) {}

    CWireBytes& U8(uint32_t v)
    {
        m_Bytes.push_back(uint8_t(v));
        return *this;
    }
    CWireBytes& U16(uint32_t v) { return Raw(&v, 2); }
    CWireBytes& U32(uint32_t v) { return Raw(&v, 4); }
    CWireBytes& U64(uint64_t v) { return Raw(&v, 8); }
    CWireBytes& Raw(const void* p, size_t n)
    {
        size_t old = m_Bytes.size();
        m_Bytes.resize(old + n);
        if (n > 0)
            memcpy(&m_Bytes[old], p, n);
        return *this;
    }
    CWireBytes& Bytes(const std::vector<uint8_t>& v) { return Raw(v.data(), v.size()); }
    CWireBytes& Fill(size_t n, uint8_t value)
    {
        m_Bytes.insert(m_Bytes.end(), n, value);
        return *this;
    }

    // The archive's string length prefix and the bytes.
    CWireBytes& Str(const std::string& s)
    {
        size_t n = s.size();
        if (n < 0xFF) {
            U8(uint32_t(n));
        } else if (n < 0xFFFE) {
            U8(0xFF).U16(uint32_t(n));
        } else {
            U8(0xFF).U16(0xFFFF).U32(uint32_t(n));
        }
        return Raw(s.data(), n);
    }
    // u32 length and the bytes.
    CWireBytes& Counted(const std::string& s) { return U32(uint32_t(s.size())).Raw(s.data(), s.size()); }
    // The archive's count form.
    CWireBytes& Count(uint32_t n) { return n < 0xFFFF ? U16(n) : U16(0xFFFF).U32(n); }
    // An enveloped item: its length as a count, then its bytes.
    CWireBytes& Item(const CWireBytes& item) { return Count(uint32_t(item.Size())).Bytes(item.m_Bytes); }

    const std::vector<uint8_t>& Vector() const { return m_Bytes; }
    const uint8_t* Data() const { return m_Bytes.empty() ? nullptr : m_Bytes.data(); }
    size_t Size() const { return m_Bytes.size(); }
    unsigned Size32() const { return unsigned(m_Bytes.size()); }

private:
    std::vector<uint8_t> m_Bytes;
};

// Reads what CWireBytes writes, each length checked against what is left
// first; a read that does not fit fails and leaves the position alone.
class CWireReader
{
public:
    explicit CWireReader(const std::vector<uint8_t>& body) : m_Body(body), m_nPos(0) {}

    template <class T> bool U8(T& v) { return Scalar(v, 1); }
    template <class T> bool U16(T& v) { return Scalar(v, 2); }
    template <class T> bool U32(T& v) { return Scalar(v, 4); }
    // The archive's string form.
    bool Str(std::string& text)
    {
        const size_t nStart = m_nPos;
        uint32_t n = 0;
        bool bRead = Raw(&n, 1);
        if (bRead && n == 0xFF) {
            n = 0;
            bRead = Raw(&n, 2) && (n != 0xFFFF || Raw(&n, 4));
        }
        if (bRead && Text(n, text))
            return true;
        m_nPos = nStart;
        return false;
    }
    // u32 length and the bytes.
    bool Counted(std::string& text)
    {
        const size_t nStart = m_nPos;
        uint32_t n = 0;
        if (Raw(&n, 4) && Text(n, text))
            return true;
        m_nPos = nStart;
        return false;
    }
    bool AtEnd() const { return m_nPos == m_Body.size(); }

private:
    template <class T> bool Scalar(T& v, size_t n)
    {
        static_assert(sizeof(T) >= 1 && sizeof(T) <= 8, "a scalar");
        T value = T();
        if (n > sizeof(T) || !Raw(&value, n))
            return false;
        v = value;
        return true;
    }
    bool Raw(void* p, size_t n)
    {
        if (n > m_Body.size() - m_nPos)
            return false;
        memcpy(p, m_Body.data() + m_nPos, n);
        m_nPos += n;
        return true;
    }
    bool Text(size_t n, std::string& text)
    {
        if (n > m_Body.size() - m_nPos)
            return false;
        text.assign(reinterpret_cast<const char*>(m_Body.data()) + m_nPos, n);
        m_nPos += n;
        return true;
    }

    const std::vector<uint8_t>& m_Body;
    size_t m_nPos;
};
