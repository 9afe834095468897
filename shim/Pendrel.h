#pragma once

// The three functions of the platform's accessibility library (oleacc.dll) that Pendrel
// exports in its place, with the platform's own signatures and calling convention.

#ifdef _WIN32

#include <windows.h>

// The platform's own declarations: the definitions in Pendrel.cpp must match them exactly.
#include <oleacc.h>

// Exported through Pendrel.def, by undecorated name and fixed ordinal.
#define PENDREL_EXPORT

#else

#include <cstdint>

// Stand-ins for the Windows types, so that the same loader builds and is tested natively.
using HWND = void*;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using HRESULT = std::int32_t;
using WPARAM = std::uintptr_t;
using LRESULT = std::intptr_t;

struct GUID
{
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
using IID = GUID;
using REFIID = const IID&;

struct IUnknown;
using LPUNKNOWN = IUnknown*;

#define WINAPI
#define PENDREL_EXPORT __attribute__((visibility("default")))

#endif

extern "C" {
PENDREL_EXPORT HRESULT WINAPI AccessibleObjectFromWindow(HWND window, DWORD objectId, REFIID interfaceId,
                                                         void** object);
PENDREL_EXPORT HRESULT WINAPI CreateStdAccessibleObject(HWND window, LONG objectId, REFIID interfaceId,
                                                        void** object);
PENDREL_EXPORT LRESULT WINAPI LresultFromObject(REFIID interfaceId, WPARAM wParam, LPUNKNOWN object);
}
