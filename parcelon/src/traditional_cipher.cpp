#include "traditional_cipher.h"

#include <zlib.h>

namespace parcelon {
namespace {

std::uint32_t crcStep(std::uint32_t crc, std::uint8_t byte) {
  static const z_crc_t* const table = get_crc_table();
  return table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

}  // namespace

TraditionalCipher::TraditionalCipher(std::string_view password) {
  for (const char c : password) update(static_cast<std::uint8_t>(c));
}

std::uint8_t TraditionalCipher::streamByte() const {
  const std::uint32_t temp = (m_key2 | 2) & 0xFFFF;
  return static_cast<std::uint8_t>((temp * (temp ^ 1)) >> 8);
}

void TraditionalCipher::update(std::uint8_t plain) {
  m_key0 = crcStep(m_key0, plain);
  m_key1 = (m_key1 + (m_key0 & 0xFF)) * 134775813 + 1;
  m_key2 = crcStep(m_key2, static_cast<std::uint8_t>(m_key1 >> 24));
}

std::uint8_t TraditionalCipher::encrypt(std::uint8_t plain) {
  const std::uint8_t cipher = plain ^ streamByte();
  update(plain);
  return cipher;
}

std::uint8_t TraditionalCipher::decrypt(std::uint8_t cipher) {
  const std::uint8_t plain = cipher ^ streamByte();
  update(plain);
  return plain;
}

void TraditionalCipher::encrypt(std::uint8_t* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) bytes[i] = encrypt(bytes[i]);
}

void TraditionalCipher::decrypt(std::uint8_t* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) bytes[i] = decrypt(bytes[i]);
}

}  // namespace parcelon
