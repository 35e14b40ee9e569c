// Windows status codes and the small result type that platform calls return.
#pragma once

#include <cassert>
#include <cstdint>
#include <string>
#include <utility>
#include <variant>

namespace platform {

// A Windows system error code (winerror.h). Registry calls return them as LONG, file calls as
// the code GetLastError would give.
using Status = std::uint32_t;

inline constexpr Status ERROR_SUCCESS = 0;
inline constexpr Status ERROR_FILE_NOT_FOUND = 2;
inline constexpr Status ERROR_PATH_NOT_FOUND = 3;
inline constexpr Status ERROR_ACCESS_DENIED = 5;
inline constexpr Status ERROR_INVALID_HANDLE = 6;
inline constexpr Status ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr Status ERROR_INVALID_DRIVE = 15;
inline constexpr Status ERROR_NOT_READY = 21;
inline constexpr Status ERROR_WRITE_FAULT = 29;
inline constexpr Status ERROR_READ_FAULT = 30;
inline constexpr Status ERROR_SHARING_VIOLATION = 32;
inline constexpr Status ERROR_HANDLE_EOF = 38;
inline constexpr Status ERROR_BAD_NETPATH = 53;
inline constexpr Status ERROR_FILE_EXISTS = 80;
inline constexpr Status ERROR_INVALID_PARAMETER = 87;
inline constexpr Status ERROR_DISK_FULL = 112;
inline constexpr Status ERROR_INVALID_NAME = 123;
inline constexpr Status ERROR_DIR_NOT_EMPTY = 145;
inline constexpr Status ERROR_BAD_PATHNAME = 161;
inline constexpr Status ERROR_ALREADY_EXISTS = 183;
inline constexpr Status ERROR_FILENAME_EXCED_RANGE = 206;
inline constexpr Status ERROR_MORE_DATA = 234;
inline constexpr Status ERROR_NO_MORE_ITEMS = 259;
inline constexpr Status ERROR_DIRECTORY = 267;
inline constexpr Status ERROR_CANTREAD = 1012;
inline constexpr Status ERROR_CANTWRITE = 1013;
inline constexpr Status ERROR_BADDB = 1009;
inline constexpr Status ERROR_BADKEY = 1010;
inline constexpr Status ERROR_KEY_DELETED = 1018;

// Codes of the network, printing, desktop and shell calls.
inline constexpr Status ERROR_BAD_FORMAT = 11;
inline constexpr Status ERROR_NOT_SUPPORTED = 50;
inline constexpr Status ERROR_BAD_DEV_TYPE = 66;
inline constexpr Status ERROR_BAD_NET_NAME = 67;
inline constexpr Status ERROR_ALREADY_ASSIGNED = 85;
inline constexpr Status ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr Status ERROR_INVALID_LEVEL = 124;
inline constexpr Status ERROR_BAD_DEVICE = 1200;
inline constexpr Status ERROR_DEVICE_ALREADY_REMEMBERED = 1202;
inline constexpr Status ERROR_BAD_PROVIDER = 1204;
inline constexpr Status ERROR_INVALID_SPI_VALUE = 1439;
inline constexpr Status RPC_X_NULL_REF_POINTER = 1780;
inline constexpr Status ERROR_INVALID_USER_BUFFER = 1784;
inline constexpr Status ERROR_INVALID_PRINTER_NAME = 1801;
inline constexpr Status ERROR_PRINTER_ALREADY_EXISTS = 1802;

// A value, or the status of the failure and what it concerned (a path, a key name).
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : m_state(std::move(value)) {}  // NOLINT: implicit on purpose, like expected
  static Result failure(Status status, std::string subject = {}) {
    assert(status != ERROR_SUCCESS);
    return Result(Failure{status, std::move(subject)});
  }

  bool ok() const { return std::holds_alternative<T>(m_state); }
  explicit operator bool() const { return ok(); }
  Status status() const { return ok() ? ERROR_SUCCESS : std::get<Failure>(m_state).status; }
  const std::string& subject() const { return std::get<Failure>(m_state).subject; }

  T& value() & { return std::get<T>(m_state); }
  const T& value() const& { return std::get<T>(m_state); }
  T&& value() && { return std::get<T>(std::move(m_state)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

  T valueOr(T fallback) const& { return ok() ? value() : std::move(fallback); }

 private:
  struct Failure {
    Status status;
    std::string subject;
  };
  explicit Result(Failure failure) : m_state(std::move(failure)) {}
  std::variant<T, Failure> m_state;
};

// Marks a call whose failure the caller passes over on purpose.
inline void ignoreFailure(Status) {}
template <typename T>
void ignoreFailure(const Result<T>&) {}

}  // namespace platform
