#include "machine_commands.h"

#include <gtest/gtest.h>

#include <sstream>

namespace simwin {
namespace {

TEST(MachineCommands, FormatTimesAndAttributes) {
  EXPECT_EQ(formatFileTime(126'290'358'000'000'000ULL), "2001-03-14 09:30");
  using namespace platform;
  EXPECT_EQ(formatAttributes(FILE_ATTRIBUTE_ARCHIVE), "----A");
  EXPECT_EQ(formatAttributes(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                             FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE),
            "RHS-A");
  EXPECT_EQ(formatAttributes(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN), "-H-D-");
}

}  // namespace
}  // namespace simwin
