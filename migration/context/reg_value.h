// What a registry read gives the program: a text, a signed 32-bit integer, or nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace migration {

class RegValue {
 public:
  RegValue() = default;
  RegValue(std::string text) : m_value(std::move(text)) {}    // NOLINT: implicit, like a variant
  RegValue(const char* text) : m_value(std::string(text)) {}  // NOLINT
  RegValue(std::int32_t number) : m_value(number) {}          // NOLINT

  bool isEmpty() const { return std::holds_alternative<std::monostate>(m_value); }
  bool isText() const { return std::holds_alternative<std::string>(m_value); }
  bool isInteger() const { return std::holds_alternative<std::int32_t>(m_value); }
  const std::string& text() const { return std::get<std::string>(m_value); }
  std::int32_t integer() const { return std::get<std::int32_t>(m_value); }

  // The value as text, as the program prints it: empty gives "", an integer its decimal form.
  std::string toText() const;

  bool operator==(const RegValue&) const = default;

 private:
  std::variant<std::monostate, std::string, std::int32_t> m_value;
};

// Text read from the registry ends in the NUL that the registry stored; this drops one.
std::string withoutFinalNul(std::string text);

// A text converted to a 32-bit integer as the program's conversions do: blanks around the digits
// and a leading sign are allowed; anything else (a fraction, letters, no digits) is no number.
std::optional<std::int32_t> textToInteger(std::string_view text);

}  // namespace migration
