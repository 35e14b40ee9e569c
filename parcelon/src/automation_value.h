// Values crossing the dispatch interface, and the conversions automation applies to arguments.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "parcelon/parcelon.h"

namespace parcelon {

struct AutomationDate {
  double days = 0.0;  // since 30 December 1899
};

using AutomationValue =
    std::variant<std::monostate, std::int32_t, bool, AutomationDate, std::string>;

// Conversions of an argument, or nothing when automation would report a type mismatch.
std::optional<std::string> toText(const ParcelonVariant& value);
std::optional<std::int32_t> toInteger(const ParcelonVariant& value);
std::optional<bool> toBoolean(const ParcelonVariant& value);

// Fills `variant`; a text is copied into memory that ParcelonVariantClear releases.
void toVariant(const AutomationValue& value, ParcelonVariant& variant);
void clearVariant(ParcelonVariant& variant);

}  // namespace parcelon
