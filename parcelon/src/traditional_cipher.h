// The traditional encryption of zip archives: three 32-bit keys initialised from the password
// and updated with every plain byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace parcelon {

// NOTE: the keys live in this object, one per entry being read or written, so that two
// controls can encrypt at the same time without disturbing each other.
class TraditionalCipher {
 public:
  explicit TraditionalCipher(std::string_view password);

  std::uint8_t encrypt(std::uint8_t plain);
  std::uint8_t decrypt(std::uint8_t cipher);
  void encrypt(std::uint8_t* bytes, std::size_t count);
  void decrypt(std::uint8_t* bytes, std::size_t count);

 private:
  std::uint8_t streamByte() const;
  void update(std::uint8_t plain);

  std::uint32_t m_key0 = 0x12345678;
  std::uint32_t m_key1 = 0x23456789;
  std::uint32_t m_key2 = 0x34567890;
};

}  // namespace parcelon
