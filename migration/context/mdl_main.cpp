#include "context/mdl_main.h"

#include <cassert>
#include <cctype>

#include "context/program.h"
#include "platform/text_encoding.h"

namespace migration {

namespace {

constexpr std::size_t kUserNameBuffer = 50;

}  // namespace

namespace System {

std::string Username(platform::Environment& environment) {
  auto name = environment.userName();
  // GetUserNameA fails when the name and its NUL do not fit the buffer.
  if (!name || name->size() + 1 > kUserNameBuffer) return {};
  std::string text = name.value();
  return text.substr(0, text.find('\0'));
}

}  // namespace System

std::string GetEnvVar(Program& program, const std::string& name) {
  return program.machine().environment().variable(name).value_or(std::string());
}

bool IsNetworkDrive(Program& program, const std::string& drive) {
  if (drive.empty()) return false;
  const auto info =
      program.files().drive(static_cast<char>(std::toupper(static_cast<unsigned char>(drive[0]))));
  return info && info->type == platform::DriveType::Remote;
}

std::string ReplaceText(const std::string& source, const std::string& search,
                        const std::string& replacement) {
  assert(!search.empty());
  if (search.empty()) return source;
  std::string result;
  std::size_t start = 0;
  for (std::size_t found = source.find(search); found != std::string::npos;
       found = source.find(search, start)) {
    result.append(source, start, found - start);
    result += replacement;
    start = found + search.size();
  }
  result.append(source, start, std::string::npos);
  return result;
}

}  // namespace migration
