#include "WordFilter.h"

#include <windows.h>

#include "GlobalUnits.h"
#include "TextUnit.h"

CWordFilter g_WordFilter;

namespace
{
// Whole characters that never count in a text, beside ASCII blanks and punctuation.
const char kPunctuationText[] = "（），().。·；：－《》『』～　“”〓！【】★×┇";

bool IsAsciiPunctuation(BYTE c)
{
    return (c >= 32 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 126);
}

// Bytes of the character at nPos: 2 for a lead byte with a byte after it.
size_t CharLength(const char* pText, size_t nPos, size_t nLength)
{
    return TextCharSize(pText, nLength, nPos);
}

bool IsPunctuation(const char* pChar, size_t nCharLength)
{
    if (nCharLength == 1 && IsAsciiPunctuation(static_cast<BYTE>(pChar[0])))
        return true;
    const size_t nTableLength = sizeof(kPunctuationText) - 1;
    for (size_t i = 0; i < nTableLength;) {
        size_t n = CharLength(kPunctuationText, i, nTableLength);
        if (n == nCharLength && memcmp(kPunctuationText + i, pChar, n) == 0)
            return true;
        i += n;
    }
    return false;
}

// Lower-cases the single-byte letters; trail bytes stay as they are.
void LowerCase(std::string& strText)
{
    for (size_t i = 0; i < strText.size();) {
        size_t n = CharLength(strText.data(), i, strText.size());
        if (n == 1 && strText[i] >= 'A' && strText[i] <= 'Z')
            strText[i] = static_cast<char>(strText[i] - 'A' + 'a');
        i += n;
    }
}

std::string Normalise(const char* pszText)
{
    const size_t nLength = strlen(pszText);
    std::string strResult;
    strResult.reserve(nLength);
    for (size_t i = 0; i < nLength;) {
        size_t n = CharLength(pszText, i, nLength);
        if (!IsPunctuation(pszText + i, n))
            strResult.append(pszText + i, n);
        i += n;
    }
    LowerCase(strResult);
    return strResult;
}

std::vector<int> BuildFailTable(const std::string& strWord)
{
    std::vector<int> table(strWord.size());
    table[0] = -1;
    for (size_t j = 1; j < strWord.size(); ++j) {
        int k = table[j - 1];
        while (k >= 0 && strWord[j] != strWord[k + 1])
            k = table[k];
        table[j] = strWord[j] == strWord[k + 1] ? k + 1 : -1;
    }
    return table;
}
} // namespace

CWordFilter::CWordFilter() : m_bDisabled(false) {}

CWordFilter::~CWordFilter() {}

void CWordFilter::Clear()
{
    m_Words.clear();
    m_FailTables.clear();
    m_bDisabled = false;
    m_strWordListUrl.Empty();
}

void CWordFilter::LoadWordList()
{
    Clear();
    const CString strFolder = g_GlobalUnits.GetWorkDirectory();
    m_strWordFilePath = strFolder + "config//original//wordfilter.txt";

    CFile file;
    if (!file.Open(m_strWordFilePath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary)) {
        m_bDisabled = true;
        char szUrl[260] = "";
        GetPrivateProfileStringA("WordFilterUrl", "url", "", szUrl, sizeof(szUrl), strFolder + "config/Urls.ini");
        m_strWordListUrl = szUrl;
        return;
    }

    std::vector<char> buffer;
    try {
        ULONGLONG nLength = file.GetLength();
        if (nLength > 0x7FFFFFFF)
            return;
        buffer.resize(static_cast<size_t>(nLength) + 1);
        if (file.Read(buffer.data(), static_cast<UINT>(nLength)) != nLength)
            return;
        buffer[static_cast<size_t>(nLength)] = '\0';
        file.Close();
    } catch (CException* pException) {
        pException->Delete();
        file.Abort();
        return;
    }

    // The first byte of the file is no part of the list. CR, LF, blank and
    // tab are never trail bytes, so splitting byte by byte is safe.
    const char* pText = buffer.data();
    const size_t nLength = buffer.size() - 1;
    size_t nStart = 1;
    while (nStart < nLength) {
        size_t nEnd = nStart;
        while (nEnd < nLength && pText[nEnd] != '\r' && pText[nEnd] != '\n')
            ++nEnd;
        size_t nFirst = nStart, nLast = nEnd;
        while (nFirst < nLast && (pText[nFirst] == ' ' || pText[nFirst] == '\t'))
            ++nFirst;
        while (nLast > nFirst && (pText[nLast - 1] == ' ' || pText[nLast - 1] == '\t'))
            --nLast;
        if (nLast > nFirst)
            AddWord(std::string(pText + nFirst, nLast - nFirst));
        nStart = nEnd + 1;
    }
}

void CWordFilter::AddWord(const std::string& strWord)
{
    // Texts lose every '*' when normalised, so such a word could only ever
    // match the masks themselves, and masking would never end.
    if (strWord.find('*') != std::string::npos)
        return;
    std::string strLower = strWord;
    LowerCase(strLower);
    m_FailTables.push_back(BuildFailTable(strLower));
    m_Words.push_back(strLower);
}

bool CWordFilter::FilterText(LPCTSTR pszText)
{
    if (m_bDisabled || pszText == NULL)
        return true;
    std::string strNormal = Normalise(pszText);
    if (m_Words.empty())
        return true;
    m_strResultText = strNormal;

    // Each find turns at least one byte that was no '*' into one, so the
    // restarts end.
    bool bFound = false;
    for (size_t k = 0; k < m_Words.size();) {
        if (MaskWord(k)) {
            bFound = true;
            k = 0;
        } else
            ++k;
    }
    return !bFound;
}

bool CWordFilter::MaskWord(size_t nIndex)
{
    const std::string& strWord = m_Words[nIndex];
    const std::vector<int>& table = m_FailTables[nIndex];
    std::string& strText = m_strResultText;
    const size_t nText = strText.size();
    const size_t nWord = strWord.size();

    std::vector<char> charStart(nText + 1, 0);
    for (size_t p = 0; p < nText; p += CharLength(strText.data(), p, nText))
        charStart[p] = 1;
    charStart[nText] = 1;

    size_t i = 0, j = 0;
    while (i < nText) {
        if (strText[i] == strWord[j]) {
            ++i;
            ++j;
            if (j == nWord) {
                size_t nBegin = i - nWord;
                if (charStart[nBegin] && charStart[i]) {
                    strText.replace(nBegin, nWord, nWord, '*');
                    return true;
                }
                // A find that splits a character is none: look further.
                j = static_cast<size_t>(table[nWord - 1] + 1);
            }
        } else if (j == 0)
            ++i;
        else
            j = static_cast<size_t>(table[j - 1] + 1);
    }
    return false;
}
