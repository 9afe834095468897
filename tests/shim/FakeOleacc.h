#pragma once

#include "Pendrel.h"

#include <cstdint>

// A stand-in for the platform's accessibility library in Pendrel's tests (FakeOleacc.cpp):
// each function records its call and answers a value of its own, so that a forwarded call
// can be told from Pendrel's own answer of 0; the two functions with an output pointer set
// it to the record.
struct FakeOleaccCall
{
    const char* function = nullptr;
    HWND window = nullptr;
    std::int64_t objectId = 0;
    const IID* interfaceId = nullptr;
    void** object = nullptr;
    WPARAM wParam = 0;
    LPUNKNOWN unknown = nullptr;
};

namespace FakeOleacc {
constexpr HRESULT accessibleObjectFromWindowAnswer = 0x0A0F;
constexpr HRESULT createStdAccessibleObjectAnswer = 0x0C5A;
constexpr LRESULT lresultFromObjectAnswer = 0x01F0;
} // namespace FakeOleacc

// The last call that reached the library; its function is null before the first.
extern "C" PENDREL_EXPORT FakeOleaccCall* fakeOleaccLastCall();
