#include "MSystemLibrary.h"

#include <windows.h>

// The image base of the module this code is linked into, provided by the linker.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

const wchar_t libraryFileName[] = L"\\oleacc.dll";
const UINT libraryFileNameLength = sizeof(libraryFileName) / sizeof(wchar_t); // with the terminator

} // namespace

MSystemLibrary::Handle MSystemLibrary::open()
{
    wchar_t path[MAX_PATH];
    const UINT folderLength = GetSystemDirectoryW(path, MAX_PATH);
    if (folderLength == 0 || folderLength + libraryFileNameLength > MAX_PATH)
        return nullptr;
    CopyMemory(path + folderLength, libraryFileName, sizeof(libraryFileName));

    const HMODULE library = LoadLibraryW(path);
    if (library == reinterpret_cast<HMODULE>(&__ImageBase)) {
        FreeLibrary(library);
        return nullptr;
    }
    return library;
}

MSystemLibrary::Address MSystemLibrary::resolve(Handle library, const char* name)
{
    return reinterpret_cast<Address>(GetProcAddress(static_cast<HMODULE>(library), name));
}
