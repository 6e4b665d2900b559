// The hall's banned-word filter for room chat and whisper texts.
//
// Texts and words are in the system code page (GBK). Matching runs character
// by character: a double-byte character is never split, so its trail byte is
// never taken for ASCII punctuation or a letter, and a word never matches
// across two characters.
#pragma once

#include <afx.h>

#include <string>
#include <vector>

class CWordFilter
{
public:
    CWordFilter();
    ~CWordFilter();

    // (Re)loads "config//original//wordfilter.txt" under the program folder.
    void LoadWordList();

    // TRUE when the text is clean (also while the filter is disabled or holds
    // no word). FALSE when a banned word was found; GetResultText then holds
    // the text to show instead.
    bool FilterText(LPCTSTR pszText);
    LPCTSTR GetResultText() const { return m_strResultText.c_str(); }

    int GetWordCount() const { return static_cast<int>(m_Words.size()); }
    bool IsDisabled() const { return m_bDisabled; }
    // [WordFilterUrl] "url" of Urls.ini, read when the word file is missing.
    LPCTSTR GetWordListUrl() const { return m_strWordListUrl; }

private:
    CWordFilter(const CWordFilter&) = delete;
    CWordFilter& operator=(const CWordFilter&) = delete;

    void Clear();
    void AddWord(const std::string& strWord);
    // Masks the first occurrence of word nIndex in the result text that
    // starts and ends on character boundaries; false when there is none.
    bool MaskWord(size_t nIndex);

    std::vector<std::string> m_Words;           // lower-cased, in file order
    std::vector<std::vector<int>> m_FailTables; // one failure table per word
    bool m_bDisabled;
    std::string m_strResultText;
    CString m_strWordListUrl;
    CString m_strWordFilePath;
};

// The one filter of the hall.
extern CWordFilter g_WordFilter;
