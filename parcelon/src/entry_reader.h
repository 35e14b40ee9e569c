// Streams the data of one archive entry: reads the archive through a 16 KiB input buffer,
// decrypts and inflates it, and keeps the running CRC-32.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "traditional_cipher.h"
#include "zip_reader.h"

namespace parcelon {

class EntryReader {
 public:
  ~EntryReader();
  EntryReader(const EntryReader&) = delete;
  EntryReader& operator=(const EntryReader&) = delete;

  // Opens the reader's current entry. On failure `result` is empty and the code says why:
  // kReaderBadArchive, kReaderNoPassword, kReaderEarlyEnd, kReaderWrongPassword, ...
  [[nodiscard]] static int open(ZipReader& reader, std::string_view password,
                                std::unique_ptr<EntryReader>& result);

  // Up to `count` bytes of the entry, never past its declared size: the number produced (0 at
  // the end), or a negative reader code (kReaderIoError, kReaderEarlyEnd, kReaderBadData).
  [[nodiscard]] long read(std::uint8_t* buffer, std::size_t count);

  // True once every declared byte was produced and the CRC-32 is the stored one.
  bool complete() const;

 private:
  EntryReader(platform::File& file, const CentralHeader& entry, std::uint64_t dataPosition);
  [[nodiscard]] int startInflate();
  [[nodiscard]] int fillInput();
  [[nodiscard]] long copyStored(std::uint8_t* buffer, std::size_t count);
  [[nodiscard]] long inflateInto(std::uint8_t* buffer, std::size_t count);

  platform::File& m_file;
  CentralHeader m_entry;
  std::uint64_t m_dataPosition;  // next compressed byte to read, from the start of the file
  std::uint64_t m_remainingCompressed = 0;
  std::uint64_t m_remainingUncompressed = 0;
  std::uint32_t m_crc = 0;
  std::optional<TraditionalCipher> m_cipher;
  std::vector<std::uint8_t> m_input;
  std::size_t m_inputNext = 0;
  std::size_t m_inputEnd = 0;
  z_stream m_stream{};
  bool m_inflating = false;
  bool m_streamEnded = false;
};

}  // namespace parcelon
