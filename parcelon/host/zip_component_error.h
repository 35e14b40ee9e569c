// An error the zip component raised: the number a host reports (the low 16 bits of the
// automation code) and the component's text.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace parcelon {

class ZipComponentError : public std::runtime_error {
 public:
  ZipComponentError(std::uint32_t code, const std::string& text)
      : std::runtime_error(text), m_code(code) {}

  std::uint32_t code() const { return m_code; }
  std::int32_t number() const { return static_cast<std::int32_t>(m_code & 0xFFFF); }
  std::string text() const { return what(); }

 private:
  std::uint32_t m_code;
};

}  // namespace parcelon
