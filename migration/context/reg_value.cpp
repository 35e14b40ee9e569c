#include "context/reg_value.h"

#include <charconv>
#include "platform/blanks.h"

namespace migration {

std::string RegValue::toText() const {
  if (isText()) return text();
  if (isInteger()) return std::to_string(integer());
  return {};
}

std::string withoutFinalNul(std::string text) {
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

std::optional<std::int32_t> textToInteger(std::string_view text) {
  text = platform::trimmed(text, " ");
  if (text.empty()) return std::nullopt;
  if (text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  std::int32_t number = 0;
  const auto [next, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || next != text.data() + text.size()) return std::nullopt;
  return number;
}

}  // namespace migration
