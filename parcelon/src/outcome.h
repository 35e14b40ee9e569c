// What a method of the control gives back: its result, or an error it raises to the host.
#pragma once

#include <utility>
#include <variant>

#include "zip_error.h"

namespace parcelon {

template <typename T>
class [[nodiscard]] Outcome {
 public:
  Outcome(T value) : m_state(std::move(value)) {}  // NOLINT: implicit, like a return
  Outcome(ZipError error) : m_state(error) {}      // NOLINT: implicit, like a throw

  bool raised() const { return std::holds_alternative<ZipError>(m_state); }
  ZipError error() const { return std::get<ZipError>(m_state); }
  const T& value() const { return std::get<T>(m_state); }
  T& value() { return std::get<T>(m_state); }

 private:
  std::variant<T, ZipError> m_state;
};

}  // namespace parcelon
