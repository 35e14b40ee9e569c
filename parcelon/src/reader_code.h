// The reader's negative results. ExtractFile returns some of them to its caller; the others
// become raised errors.
#pragma once

namespace parcelon {

inline constexpr int kReaderOk = 0;
inline constexpr int kReaderIoError = -1;
inline constexpr int kReaderWrongPassword = -10;
inline constexpr int kReaderNoPassword = -11;
inline constexpr int kReaderEarlyEnd = -12;
inline constexpr int kReaderEndOfList = -100;
inline constexpr int kReaderBadArchive = -103;
inline constexpr int kReaderNoMemory = -104;
// A corrupt deflate stream, data shorter than its declared size, or a CRC-32 mismatch.
inline constexpr int kReaderBadData = -105;

}  // namespace parcelon
