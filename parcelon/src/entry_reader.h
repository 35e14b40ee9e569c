// Streams the data of one archive entry: reads the archive through the input buffer of the
// reader's workspace, decrypts and inflates it, and keeps the running CRC-32.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "inflate_workspace.h"
#include "traditional_cipher.h"
#include "zip_reader.h"

namespace parcelon {

class EntryReader {
 public:
  EntryReader(const EntryReader&) = delete;
  EntryReader& operator=(const EntryReader&) = delete;

  // Opens the reader's current entry, borrowing the reader's workspace: one entry of a reader
  // is read at a time. On failure `result` is empty and the code says why:
  // kReaderBadArchive, kReaderNoPassword, kReaderEarlyEnd, kReaderWrongPassword, ...
  [[nodiscard]] static int open(ZipReader& reader, std::string_view password,
                                std::unique_ptr<EntryReader>& result);

  // Up to `count` bytes of the entry, never past its declared size: the number produced (0 at
  // the end), or a negative reader code (kReaderIoError, kReaderEarlyEnd, kReaderBadData).
  [[nodiscard]] long read(std::uint8_t* buffer, std::size_t count);

  // True once every declared byte was produced and the CRC-32 is the stored one.
  bool complete() const;

 private:
  EntryReader(platform::File& file, std::vector<std::uint8_t>& input, const CentralHeader& entry,
              std::uint64_t dataPosition);
  [[nodiscard]] int fillInput();
  [[nodiscard]] long copyStored(std::uint8_t* buffer, std::size_t count);
  [[nodiscard]] long inflateInto(std::uint8_t* buffer, std::size_t count);

  platform::File& m_file;
  std::vector<std::uint8_t>& m_input;  // the workspace's
  z_stream* m_stream = nullptr;        // the workspace's, when the entry is deflated
  CentralHeader m_entry;
  std::uint64_t m_dataPosition;  // next compressed byte to read, from the start of the file
  std::uint64_t m_remainingCompressed = 0;
  std::uint64_t m_remainingUncompressed = 0;
  std::uint32_t m_crc = 0;
  std::optional<TraditionalCipher> m_cipher;
  std::size_t m_inputNext = 0;
  std::size_t m_inputEnd = 0;
  bool m_streamEnded = false;
};

}  // namespace parcelon
