// Sets an environment variable of this process (and so of the programs it
// starts) for the object's length.
#pragma once

#include <windows.h>

#include <string>

class ScopedVariable
{
public:
    ScopedVariable(const char* pszName, const std::string& value) : m_pszName(pszName)
    {
        SetEnvironmentVariableA(pszName, value.c_str());
    }
    ~ScopedVariable() { SetEnvironmentVariableA(m_pszName, NULL); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_pszName;
};
