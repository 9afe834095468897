#include "MSystemLibrary.h"

#include <cstdlib>
#include <string>

#include <dlfcn.h>

// There is no platform accessibility library here: Pendrel builds natively so that its loader
// can be tested. The folder that plays the system folder is named by the environment variable
// PENDREL_SYSTEM_DIR (the tests set it); without it the library counts as missing.

namespace {

const char systemFolderVariable[] = "PENDREL_SYSTEM_DIR";
const char libraryFileName[] = "liboleacc.so";

// Any address inside this module serves to find it.
const char ownModuleAnchor = 0;

bool isOwnModule(void* library)
{
    Dl_info info;
    if (!dladdr(&ownModuleAnchor, &info) || !info.dli_fname)
        return false;
    void* ownModule = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    if (ownModule)
        dlclose(ownModule);
    return ownModule == library;
}

} // namespace

MSystemLibrary::Handle MSystemLibrary::open()
{
    const char* folder = std::getenv(systemFolderVariable);
    if (!folder || !*folder)
        return nullptr;
    const std::string path = std::string(folder) + '/' + libraryFileName;
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library && isOwnModule(library)) {
        dlclose(library);
        return nullptr;
    }
    return library;
}

MSystemLibrary::Address MSystemLibrary::resolve(Handle library, const char* name)
{
    return reinterpret_cast<Address>(dlsym(library, name));
}
