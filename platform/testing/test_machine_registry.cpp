// The registry values a test puts on its machine: the same calls on every backend.
#include <gtest/gtest.h>

#include "platform/testing/test_machine.h"

namespace platform::testing {

void TestMachine::setRegistryValue(HKEY root, const std::string& key, const std::string& name,
                                   DWORD type, const std::string& bytes) {
  HKEY handle = 0;
  ASSERT_EQ(registry().RegCreateKeyExA(root, key.c_str(), KEY_ALL_ACCESS, &handle, nullptr),
            ERROR_SUCCESS)
      << key;
  EXPECT_EQ(registry().RegSetValueExA(handle, name.c_str(), type,
                                      reinterpret_cast<const BYTE*>(bytes.data()),
                                      static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS)
      << key << " " << name;
  EXPECT_EQ(registry().RegCloseKey(handle), ERROR_SUCCESS);
}

void TestMachine::setRegistryText(HKEY root, const std::string& key, const std::string& name,
                                  const std::string& text) {
  setRegistryValue(root, key, name, REG_SZ, text + '\0');
}

void TestMachine::setRegistryDword(HKEY root, const std::string& key, const std::string& name,
                                   DWORD value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  setRegistryValue(root, key, name, REG_DWORD, bytes);
}

}  // namespace platform::testing
