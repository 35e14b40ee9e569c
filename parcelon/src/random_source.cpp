#include "random_source.h"

namespace parcelon {

SeededRandomSource::SeededRandomSource(std::function<std::uint64_t()> secondsNow)
    : m_secondsNow(std::move(secondsNow)) {}

std::uint32_t SeededRandomSource::next() {
  if (!m_engine) {
    const auto seed = static_cast<std::uint32_t>(m_secondsNow()) ^ 0xBB40E64Eu;
    m_engine.emplace(seed);
  }
  return static_cast<std::uint32_t>((*m_engine)());
}

}  // namespace parcelon
