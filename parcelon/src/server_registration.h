// The control's entries in HKEY_CLASSES_ROOT, as Windows keeps those of a registered control:
// the type library with its two interfaces, and the class with its programmatic identifier.
#pragma once

#include <string>

#include "parcelon/parcelon.h"
#include "platform/registry.h"

namespace parcelon {

// `libraryPath` is the Windows path of the library. PARCELON_S_OK, PARCELON_SELFREG_E_TYPELIB or
// PARCELON_SELFREG_E_CLASS, as DllRegisterServer answers.
ParcelonHresult registerServer(platform::Registry& registry, const std::string& libraryPath);
// Removes both; entries already absent are no failure.
ParcelonHresult unregisterServer(platform::Registry& registry);

}  // namespace parcelon
