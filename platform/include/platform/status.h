// Windows status codes, the small result type that platform calls return, and the one visible way
// to pass a failure over.
#pragma once

#include <cassert>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace platform {

// A Windows system error code (winerror.h): what a registry call returns as Status and what
// GetLastError gives after a file call. A type of its own, so that a dropped status is a warning
// and a status is never mistaken for a count or a flag.
class [[nodiscard]] Status {
 public:
  constexpr Status() = default;  // ERROR_SUCCESS
  constexpr explicit Status(std::uint32_t code) : m_code(code) {}

  constexpr std::uint32_t code() const { return m_code; }
  constexpr bool ok() const { return m_code == 0; }
  constexpr bool failed() const { return m_code != 0; }

  friend constexpr auto operator<=>(Status, Status) = default;

 private:
  std::uint32_t m_code = 0;
};

inline constexpr Status ERROR_SUCCESS{0};
inline constexpr Status ERROR_FILE_NOT_FOUND{2};
inline constexpr Status ERROR_PATH_NOT_FOUND{3};
inline constexpr Status ERROR_ACCESS_DENIED{5};
inline constexpr Status ERROR_INVALID_HANDLE{6};
inline constexpr Status ERROR_NOT_ENOUGH_MEMORY{8};
inline constexpr Status ERROR_BAD_FORMAT{11};
inline constexpr Status ERROR_INVALID_DATA{13};
inline constexpr Status ERROR_INVALID_DRIVE{15};
inline constexpr Status ERROR_NOT_READY{21};
inline constexpr Status ERROR_WRITE_FAULT{29};
inline constexpr Status ERROR_READ_FAULT{30};
inline constexpr Status ERROR_SHARING_VIOLATION{32};
inline constexpr Status ERROR_HANDLE_EOF{38};
inline constexpr Status ERROR_NOT_SUPPORTED{50};
inline constexpr Status ERROR_BAD_NETPATH{53};
inline constexpr Status ERROR_BAD_DEV_TYPE{66};
inline constexpr Status ERROR_BAD_NET_NAME{67};
inline constexpr Status ERROR_FILE_EXISTS{80};
inline constexpr Status ERROR_ALREADY_ASSIGNED{85};
inline constexpr Status ERROR_INVALID_PARAMETER{87};
inline constexpr Status ERROR_DISK_FULL{112};
inline constexpr Status ERROR_INSUFFICIENT_BUFFER{122};
inline constexpr Status ERROR_INVALID_NAME{123};
inline constexpr Status ERROR_INVALID_LEVEL{124};
inline constexpr Status ERROR_MOD_NOT_FOUND{126};
inline constexpr Status ERROR_PROC_NOT_FOUND{127};
inline constexpr Status ERROR_DIR_NOT_EMPTY{145};
inline constexpr Status ERROR_BAD_PATHNAME{161};
inline constexpr Status ERROR_ALREADY_EXISTS{183};
inline constexpr Status ERROR_BAD_EXE_FORMAT{193};
inline constexpr Status ERROR_FILENAME_EXCED_RANGE{206};
inline constexpr Status ERROR_FILE_TOO_LARGE{223};
inline constexpr Status ERROR_MORE_DATA{234};
inline constexpr Status ERROR_NO_MORE_ITEMS{259};
inline constexpr Status ERROR_DIRECTORY{267};
inline constexpr Status ERROR_BADDB{1009};
inline constexpr Status ERROR_BADKEY{1010};
inline constexpr Status ERROR_CANTREAD{1012};
inline constexpr Status ERROR_CANTWRITE{1013};
inline constexpr Status ERROR_KEY_DELETED{1018};
inline constexpr Status ERROR_NOT_FOUND{1168};
inline constexpr Status ERROR_BAD_DEVICE{1200};
inline constexpr Status ERROR_DEVICE_ALREADY_REMEMBERED{1202};
inline constexpr Status ERROR_BAD_PROVIDER{1204};
inline constexpr Status ERROR_INVALID_SPI_VALUE{1439};
inline constexpr Status RPC_X_NULL_REF_POINTER{1780};
inline constexpr Status ERROR_INVALID_USER_BUFFER{1784};
inline constexpr Status ERROR_INVALID_PRINTER_NAME{1801};
inline constexpr Status ERROR_PRINTER_ALREADY_EXISTS{1802};

// The code as a decimal number, for messages and logs.
inline std::string toString(Status status) { return std::to_string(status.code()); }
// Prints the code with a word before it, as logs and test failures show it.
std::ostream& operator<<(std::ostream& out, Status status);

// A value, or the status of the failure and what it concerned (a path, a key name).
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : m_state(std::move(value)) {}  // NOLINT: implicit on purpose, like expected
  static Result failure(Status status, std::string subject = {}) {
    assert(status.failed());
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

  // The same failure as a result of another type.
  template <typename U>
  Result<U> failureAs() const {
    return Result<U>::failure(status(), subject());
  }

 private:
  struct Failure {
    Status status;
    std::string subject;
  };
  explicit Result(Failure failure) : m_state(std::move(failure)) {}
  std::variant<T, Failure> m_state;
};

// Receives every failure passed over with ignoreFailure on this thread while it is installed:
// a run's log installs one, so that what the program passes over on purpose is still written
// down.
class FailureListener {
 public:
  virtual ~FailureListener() = default;
  virtual void failurePassedOver(Status status, std::string_view subject,
                                 std::string_view reason) = 0;
};

// Installs a listener for its lifetime, restoring the one before it afterwards.
class ScopedFailureListener {
 public:
  explicit ScopedFailureListener(FailureListener& listener);
  ~ScopedFailureListener();
  ScopedFailureListener(const ScopedFailureListener&) = delete;
  ScopedFailureListener& operator=(const ScopedFailureListener&) = delete;

 private:
  FailureListener* m_previous;
};

// Tells the installed listener, if any, of a failure passed over.
void reportPassedOver(Status status, std::string_view subject, std::string_view reason);

// Marks a call whose failure the caller passes over on purpose; `reason` says why that is right.
inline void ignoreFailure(Status status, std::string_view reason) {
  if (status.failed()) reportPassedOver(status, {}, reason);
}
template <typename T>
void ignoreFailure(const Result<T>& result, std::string_view reason) {
  if (!result.ok()) reportPassedOver(result.status(), result.subject(), reason);
}

}  // namespace platform

// Returns the failure of a call that gives a Status from the enclosing function, which returns
// a Status too.
#define RETURN_IF_FAILED(expression)                                     \
  do {                                                                   \
    if (const ::platform::Status failure_ = (expression); failure_.failed()) \
      return failure_;                                                   \
  } while (false)
