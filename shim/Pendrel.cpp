#include "Pendrel.h"

#include "MSystemLibrary.h"

namespace {

template<typename Function>
Function resolve(MSystemLibrary::Handle library, const char* name)
{
    return reinterpret_cast<Function>(MSystemLibrary::resolve(library, name));
}

// What the platform library offers, found at the first call of an export and fixed until the
// process ends: the library is loaded at most once and never released. The first call may come
// from several threads at once; the initialisation of a local static makes the others wait.
struct PlatformFunctions
{
    decltype(&AccessibleObjectFromWindow) accessibleObjectFromWindow = nullptr;
    decltype(&CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
    decltype(&LresultFromObject) lresultFromObject = nullptr;
};

PlatformFunctions loadPlatformLibrary()
{
    PlatformFunctions functions;
    const MSystemLibrary::Handle library = MSystemLibrary::open();
    if (!library)
        return functions;
    // Each by itself: a function the library lacks stays unknown, the others still forward.
    functions.accessibleObjectFromWindow =
        resolve<decltype(functions.accessibleObjectFromWindow)>(library, "AccessibleObjectFromWindow");
    functions.createStdAccessibleObject =
        resolve<decltype(functions.createStdAccessibleObject)>(library, "CreateStdAccessibleObject");
    functions.lresultFromObject = resolve<decltype(functions.lresultFromObject)>(library, "LresultFromObject");
    return functions;
}

const PlatformFunctions& platform()
{
    static const PlatformFunctions functions = loadPlatformLibrary();
    return functions;
}

} // namespace

// Without the platform's function each export answers 0 and writes no output.

HRESULT WINAPI AccessibleObjectFromWindow(HWND window, DWORD objectId, REFIID interfaceId, void** object)
{
    const auto forward = platform().accessibleObjectFromWindow;
    if (!forward)
        return 0;
    return forward(window, objectId, interfaceId, object);
}

HRESULT WINAPI CreateStdAccessibleObject(HWND window, LONG objectId, REFIID interfaceId, void** object)
{
    const auto forward = platform().createStdAccessibleObject;
    if (!forward)
        return 0;
    return forward(window, objectId, interfaceId, object);
}

LRESULT WINAPI LresultFromObject(REFIID interfaceId, WPARAM wParam, LPUNKNOWN object)
{
    const auto forward = platform().lresultFromObject;
    if (!forward)
        return 0;
    return forward(interfaceId, wParam, object);
}
