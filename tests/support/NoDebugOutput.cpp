// GoogleTest also sends every failure to OutputDebugStringA. Under Wine with qemu's i386 emulation the
// debug-string exception that this raises crashes the process while it unwinds, so one failing check
// would end the whole test program. Tests run without a debugger: the copy goes nowhere instead.
#include <windows.h>

extern "C" void __stdcall OrvDropDebugString(LPCSTR) {}

// The import slot that callers of OutputDebugStringA jump through; defined here, the system's is not
// linked in.
extern "C" void(__stdcall* const OrvOutputDebugStringA)(LPCSTR) __asm__("__imp__OutputDebugStringA@4");
extern "C" void(__stdcall* const OrvOutputDebugStringA)(LPCSTR) = OrvDropDebugString;
