#include "Pendrel.h"

#include "MSystemLibrary.h"

namespace {

// Empty until the first call of an export, then fixed until the process ends: the platform
// library is loaded at most once and never released. No lock: the converter's process has
// one thread.
bool platformLoadTried = false;
decltype(&AccessibleObjectFromWindow) platformAccessibleObjectFromWindow = nullptr;
decltype(&CreateStdAccessibleObject) platformCreateStdAccessibleObject = nullptr;
decltype(&LresultFromObject) platformLresultFromObject = nullptr;

template<typename Function>
Function resolve(MSystemLibrary::Handle library, const char* name)
{
    return reinterpret_cast<Function>(MSystemLibrary::resolve(library, name));
}

void loadPlatformLibrary()
{
    if (platformLoadTried)
        return;
    platformLoadTried = true;
    const MSystemLibrary::Handle library = MSystemLibrary::open();
    if (!library)
        return;
    // Each by itself: a function the library lacks stays unknown, the others still forward.
    platformAccessibleObjectFromWindow =
        resolve<decltype(platformAccessibleObjectFromWindow)>(library, "AccessibleObjectFromWindow");
    platformCreateStdAccessibleObject =
        resolve<decltype(platformCreateStdAccessibleObject)>(library, "CreateStdAccessibleObject");
    platformLresultFromObject = resolve<decltype(platformLresultFromObject)>(library, "LresultFromObject");
}

} // namespace

// Without the platform's function each export answers 0 and writes no output.

HRESULT WINAPI AccessibleObjectFromWindow(HWND window, DWORD objectId, REFIID interfaceId, void** object)
{
    loadPlatformLibrary();
    if (!platformAccessibleObjectFromWindow)
        return 0;
    return platformAccessibleObjectFromWindow(window, objectId, interfaceId, object);
}

HRESULT WINAPI CreateStdAccessibleObject(HWND window, LONG objectId, REFIID interfaceId, void** object)
{
    loadPlatformLibrary();
    if (!platformCreateStdAccessibleObject)
        return 0;
    return platformCreateStdAccessibleObject(window, objectId, interfaceId, object);
}

LRESULT WINAPI LresultFromObject(REFIID interfaceId, WPARAM wParam, LPUNKNOWN object)
{
    loadPlatformLibrary();
    if (!platformLresultFromObject)
        return 0;
    return platformLresultFromObject(interfaceId, wParam, object);
}
