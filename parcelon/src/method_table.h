// The control's methods as its type library describes them: dispatch identifier, name and
// signature.
#pragma once

#include <cstdint>
#include <span>

#include "parcelon/parcelon.h"

namespace parcelon {

std::span<const ParcelonMethodInfo> methodTable();
const ParcelonMethodInfo* findMethod(std::int32_t dispatchId);
// Names compare without regard to case, as automation clients call them.
const ParcelonMethodInfo* findMethod(const char* name);

}  // namespace parcelon
