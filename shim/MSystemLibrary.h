#pragma once

// The thin platform layer under Pendrel's loader: reaches the platform's own accessibility
// library. Pendrel is itself loaded under that library's file name, so a load by the bare
// name would only find Pendrel again; the library is loaded by its full path instead.
namespace MSystemLibrary {

using Handle = void*;
using Address = void (*)();

// Loads the platform's accessibility library from the system folder. Null when it is
// missing, or when that path leads back to this very module (forwarding to ourselves
// would recurse without end).
Handle open();

// The address of the function that the library exports under name, or null.
Address resolve(Handle library, const char* name);

} // namespace MSystemLibrary
