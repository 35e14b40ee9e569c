#include "method_table.h"

#include <array>
#include <string_view>

#include "platform/text_encoding.h"

namespace parcelon {
namespace {

constexpr std::uint16_t kText = PARCELON_VT_TEXT;
constexpr std::uint16_t kI4 = PARCELON_VT_I4;
constexpr std::uint16_t kBool = PARCELON_VT_BOOL;

constexpr std::array<ParcelonMethodInfo, 14> kMethods = {{
    {PARCELON_DISPID_EXTRACTFILE,
     "ExtractFile",
     3,
     {kText, kText, kText},
     {"name", "path", "passwd"},
     kI4},
    {PARCELON_DISPID_FILENAME, "Filename", 1, {kI4}, {"rec"}, kText},
    {PARCELON_DISPID_FILECOUNT, "FileCount", 0, {}, {}, kI4},
    {PARCELON_DISPID_FILESIZE, "FileSize", 1, {kI4}, {"rec"}, kI4},
    {PARCELON_DISPID_FILESIZEZ, "FileSizeZ", 1, {kI4}, {"rec"}, kI4},
    {PARCELON_DISPID_FILEDATE, "FileDate", 1, {kI4}, {"rec"}, PARCELON_VT_DATE},
    {PARCELON_DISPID_OPENZIP, "OpenZip", 1, {kText}, {"file"}, kI4},
    {PARCELON_DISPID_CREATEZIP, "CreateZip", 2, {kText, kText}, {"Filename", "comment"}, kI4},
    {PARCELON_DISPID_CLOSE, "Close", 0, {}, {}, kI4},
    {PARCELON_DISPID_ADDFILE,
     "AddFile",
     4,
     {kText, kText, kBool, kText},
     {"Filename", "comment", "bSavePath", "passwd"},
     kI4},
    {PARCELON_DISPID_REMOVEFILE, "RemoveFile", 1, {kText}, {"Filename"}, kI4},
    {PARCELON_DISPID_FILECOMMENT, "FileComment", 1, {kI4}, {"rec"}, kText},
    {PARCELON_DISPID_ISCRYPTED, "IsCrypted", 1, {kI4}, {"rec"}, kBool},
    {PARCELON_DISPID_ABOUTBOX, "AboutBox", 0, {}, {}, PARCELON_VT_EMPTY},
}};

}  // namespace

std::span<const ParcelonMethodInfo> methodTable() { return kMethods; }

const ParcelonMethodInfo* findMethod(std::int32_t dispatchId) {
  for (const auto& method : kMethods) {
    if (method.dispatchId == dispatchId) return &method;
  }
  return nullptr;
}

const ParcelonMethodInfo* findMethod(const char* name) {
  if (name == nullptr) return nullptr;
  for (const auto& method : kMethods) {
    if (platform::ansiEqualNoCase(method.name, name)) return &method;
  }
  return nullptr;
}

}  // namespace parcelon
