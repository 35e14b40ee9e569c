#include "automation_value.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/text_encoding.h"
#include "platform/blanks.h"

namespace parcelon {
namespace {

std::string_view textOf(const ParcelonVariant& value) {
  if (value.text == nullptr) return {};
  return std::string_view(value.text, value.textLength);
}

std::optional<std::int32_t> parseInteger(std::string_view text) {
  text = platform::trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int32_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return number;
}

}  // namespace

std::optional<std::string> toText(const ParcelonVariant& value) {
  switch (value.type) {
    case PARCELON_VT_EMPTY:
      return std::string();
    case PARCELON_VT_TEXT:
      return std::string(textOf(value));
    case PARCELON_VT_I4:
      return std::to_string(value.i4);
    case PARCELON_VT_BOOL:
      return std::string(value.boolean != 0 ? "True" : "False");
    default:
      return std::nullopt;
  }
}

std::optional<std::int32_t> toInteger(const ParcelonVariant& value) {
  switch (value.type) {
    case PARCELON_VT_EMPTY:
      return 0;
    case PARCELON_VT_I4:
      return value.i4;
    case PARCELON_VT_BOOL:
      return value.boolean != 0 ? -1 : 0;
    case PARCELON_VT_TEXT:
      return parseInteger(textOf(value));
    case PARCELON_VT_DATE:
      if (std::isfinite(value.date) &&
          std::abs(value.date) < std::numeric_limits<std::int32_t>::max()) {
        return static_cast<std::int32_t>(std::lround(value.date));
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

std::optional<bool> toBoolean(const ParcelonVariant& value) {
  switch (value.type) {
    case PARCELON_VT_EMPTY:
      return false;
    case PARCELON_VT_BOOL:
      return value.boolean != 0;
    case PARCELON_VT_I4:
      return value.i4 != 0;
    case PARCELON_VT_TEXT: {
      const auto text = platform::trimmed(textOf(value));
      if (platform::ansiEqualNoCase(text, "True")) return true;
      if (platform::ansiEqualNoCase(text, "False")) return false;
      if (auto number = parseInteger(text)) return *number != 0;
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

void toVariant(const AutomationValue& value, ParcelonVariant& variant) {
  variant = ParcelonVariant{};
  if (const auto* number = std::get_if<std::int32_t>(&value)) {
    variant.type = PARCELON_VT_I4;
    variant.i4 = *number;
  } else if (const auto* flag = std::get_if<bool>(&value)) {
    variant.type = PARCELON_VT_BOOL;
    variant.boolean = *flag ? -1 : 0;
  } else if (const auto* date = std::get_if<AutomationDate>(&value)) {
    variant.type = PARCELON_VT_DATE;
    variant.date = date->days;
  } else if (const auto* text = std::get_if<std::string>(&value)) {
    auto* copy = new char[text->size() + 1];
    std::memcpy(copy, text->data(), text->size());
    copy[text->size()] = '\0';
    variant.type = PARCELON_VT_TEXT;
    variant.text = copy;
    variant.textLength = static_cast<std::uint32_t>(text->size());
  }
}

void clearVariant(ParcelonVariant& variant) {
  if (variant.type == PARCELON_VT_TEXT) delete[] variant.text;
  variant = ParcelonVariant{};
}

}  // namespace parcelon
