#include "Errors.h"

#include <windows.h>

void RaiseLastOSError(const std::string& prefix)
{
    const DWORD code = GetLastError();
    throw EOSError(prefix + std::to_string(code), code);
}

std::string SysErrorMessage(unsigned long code)
{
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = length && text ? std::string(text, length) : std::string();
    if (text) LocalFree(text);
    while (!result.empty() && (result.back() == '\r' || result.back() == '\n' || result.back() == ' ')) result.pop_back();
    return result;
}
