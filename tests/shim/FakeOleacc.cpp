#include "FakeOleacc.h"

// Built twice: complete, and with FAKE_OLEACC_WITHOUT_LRESULT as a library that lacks
// LresultFromObject.

namespace {
FakeOleaccCall lastCall;
}

FakeOleaccCall* fakeOleaccLastCall()
{
    return &lastCall;
}

HRESULT WINAPI AccessibleObjectFromWindow(HWND window, DWORD objectId, REFIID interfaceId, void** object)
{
    lastCall = FakeOleaccCall();
    lastCall.function = "AccessibleObjectFromWindow";
    lastCall.window = window;
    lastCall.objectId = objectId;
    lastCall.interfaceId = &interfaceId;
    lastCall.object = object;
    *object = &lastCall;
    return FakeOleacc::accessibleObjectFromWindowAnswer;
}

HRESULT WINAPI CreateStdAccessibleObject(HWND window, LONG objectId, REFIID interfaceId, void** object)
{
    lastCall = FakeOleaccCall();
    lastCall.function = "CreateStdAccessibleObject";
    lastCall.window = window;
    lastCall.objectId = objectId;
    lastCall.interfaceId = &interfaceId;
    lastCall.object = object;
    *object = &lastCall;
    return FakeOleacc::createStdAccessibleObjectAnswer;
}

#ifndef FAKE_OLEACC_WITHOUT_LRESULT
LRESULT WINAPI LresultFromObject(REFIID interfaceId, WPARAM wParam, LPUNKNOWN object)
{
    lastCall = FakeOleaccCall();
    lastCall.function = "LresultFromObject";
    lastCall.interfaceId = &interfaceId;
    lastCall.wParam = wParam;
    lastCall.unknown = object;
    return FakeOleacc::lresultFromObjectAnswer;
}
#endif
