// The Windows headers, for the sources of platform/win32 and the SNMP layer's
// own socket calls (snmp/socket_api.h): the rest of the module never sees
// them. Their A/W macros would rename the platform interfaces' and the
// framework's members (GetPrinter, MessageBox, LoadLibrary, SetWindowText,
// ...) in these sources alone, so they are taken back; the code calls the
// "A" functions by their own names.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <windows.h>
#include <winspool.h>
#include <sddl.h>
// clang-format on

#undef DeletePrinterData
#undef EnumPrinters
#undef GetAddrInfo
#undef GetDateFormat
#undef GetDlgItemText
#undef GetLocaleInfo
#undef GetNameInfo
#undef GetPrinter
#undef GetPrinterData
#undef GetPrinterDriver
#undef GetShortPathName
#undef GetTimeFormat
#undef GetWindowText
#undef LoadLibrary
#undef MessageBox
#undef OpenPrinter
#undef SetDlgItemText
#undef SetWindowText
