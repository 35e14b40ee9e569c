// Where the encryption header's random bytes come from. Tests put a fixed sequence here so
// that encrypted output is repeatable.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <random>

namespace parcelon {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // A number of at least 15 random bits.
  virtual std::uint32_t next() = 0;
};

// Seeded on first use with the time in seconds XOR 0xBB40E64E, as archives of this component
// always were.
class SeededRandomSource final : public RandomSource {
 public:
  explicit SeededRandomSource(std::function<std::uint64_t()> secondsNow);
  std::uint32_t next() override;

 private:
  std::function<std::uint64_t()> m_secondsNow;
  std::optional<std::minstd_rand> m_engine;
};

// Numbers from a caller's function (the C interface's host callback, or a test's sequence).
class FunctionRandomSource final : public RandomSource {
 public:
  explicit FunctionRandomSource(std::function<std::uint32_t()> next) : m_next(std::move(next)) {}
  std::uint32_t next() override { return m_next(); }

 private:
  std::function<std::uint32_t()> m_next;
};

}  // namespace parcelon
