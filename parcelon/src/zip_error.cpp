#include "zip_error.h"

namespace parcelon {

RaisedError describe(ZipError error) {
  switch (error) {
    case ZipError::NotOpen:
      return {0x800A7D00, "ZIP not open"};
    case ZipError::WrongPassword:
      return {0x800A7D01, "Wrong password!"};
    case ZipError::NoPassword:
      return {0x800A7D02, "No password!"};
    case ZipError::FormatError:
      return {0x800A7D03, "ZIP file format error!"};
    case ZipError::NotFound:
      return {0x800A7D04, "File not found in ZIP."};
    case ZipError::ReadError:
      return {0x800A0039, "Read error"};
    case ZipError::CouldntOpen:
      return {0x800A0035, "Couldn't open ZIP"};
  }
  return {0x800A7D03, "ZIP file format error!"};
}

}  // namespace parcelon
