#include "Errors.h"

#include <windows.h>

void RaiseLastOSError(const std::string& prefix)
{
    const DWORD code = GetLastError();
    throw EOSError(prefix + std::to_string(code), code);
}
