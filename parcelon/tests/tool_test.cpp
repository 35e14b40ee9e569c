// parcelon-tool as a script runs it, on a machine named by WINEPREFIX.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "zip_fixture.h"

namespace parcelon::testing {
namespace {

class Tool : public ZipTest {
 protected:
  CommandResult tool(const std::string& arguments) {
    return runCommand("WINEPREFIX=" + shellQuote(m_test.winePrefix().string()) + " " +
                      shellQuote(PARCELON_TOOL_PATH) + " " + arguments);
  }
};

TEST_F(Tool, RunsMethodsInSequenceAndPrintsTheirResults) {
  writeFile("C:\\x.txt", textBytes(3000));
  const auto result = tool(
      "--status CreateZip 'C:\\a.zip' note AddFile 'C:\\x.txt' '' 0 '' Close "
      "OpenZip 'C:\\a.zip' FileCount Filename 0 FileSize 0 IsCrypted 0 Close");
  EXPECT_EQ(result.exitCode, 0) << result.output;
  EXPECT_EQ(result.output,
            "CreateZip: 0\n"
            "Status: x.txt 68\n"
            "Status: x.txt 100\n"
            "AddFile: 0\n"
            "Close: 0\n"
            "OpenZip: 0\n"
            "FileCount: 1\n"
            "Filename: x.txt\n"
            "FileSize: 3000\n"
            "IsCrypted: False\n"
            "Close: 0\n");
}

TEST_F(Tool, ARaisedErrorEndsTheRunWithItsNumberAndText) {
  const auto result = tool("Close FileCount Close");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.output, "Close: 0\nerror 32000: ZIP not open\n");
}

// The whole host file, or "" when it cannot be read.
std::string hostFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST_F(Tool, UsageErrorsAndRegistration) {
  EXPECT_EQ(tool("Unzip 'C:\\a.zip'").exitCode, 2);
  EXPECT_EQ(tool("OpenZip").exitCode, 2);
  EXPECT_EQ(tool("Filename first").exitCode, 2);
  const auto help = tool("--help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.output.find("Usage: parcelon-tool"), std::string::npos);

  EXPECT_EQ(tool("--register").exitCode, 0);
  EXPECT_NE(hostFile(m_test.winePrefix() / "system.reg").find("PARCELON.ParcelonCtrl.1"), std::string::npos);
  EXPECT_EQ(tool("--unregister").exitCode, 0);
  EXPECT_EQ(hostFile(m_test.winePrefix() / "system.reg").find("PARCELON.ParcelonCtrl.1"), std::string::npos);
}

TEST(ToolMachine, AMissingPrefixIsRefusedClearly) {
  const auto result =
      runCommand("WINEPREFIX=/nonexistent/prefix " + shellQuote(PARCELON_TOOL_PATH) + " FileCount");
  EXPECT_EQ(result.exitCode, 3);
  EXPECT_NE(result.output.find("parcelon-tool: "), std::string::npos);
}

}  // namespace
}  // namespace parcelon::testing
