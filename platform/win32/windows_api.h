// The Windows headers, for the Win32 backend's sources only.
//
// NOTE: include this after every other header. <windows.h> defines macros with the names of the
// platform's own constants (ERROR_SUCCESS, HKEY_CURRENT_USER, REG_SZ, FILE_ATTRIBUTE_READONLY...),
// all with the same values; once the platform's headers are parsed the macros only stand for
// their numbers. After this header, name the Windows types with :: and the platform's with
// platform::, and wrap a Windows code in platform::Status{...}.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <winnetwk.h>
#include <winspool.h>
