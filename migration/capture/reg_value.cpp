#include "capture/reg_value.h"

#include <charconv>

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
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
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
