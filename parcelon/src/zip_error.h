// The failures the control raises to its caller, with the automation codes and texts the
// host has always seen. The error number a host reports is the code's low 16 bits.
#pragma once

#include <cstdint>
#include <string>

namespace parcelon {

enum class ZipError {
  NotOpen,        // 32000 "ZIP not open"
  WrongPassword,  // 32001
  NoPassword,     // 32002
  FormatError,    // 32003
  NotFound,       // 32004
  ReadError,      // 57
  CouldntOpen,    // 53
};

struct RaisedError {
  std::uint32_t code = 0;
  std::string text;
  std::uint16_t errorNumber() const { return static_cast<std::uint16_t>(code & 0xFFFF); }
};

RaisedError describe(ZipError error);

}  // namespace parcelon
