// xZip, the program's facade: it finds the library through the registry or beside the program,
// and turns raised errors into exceptions.
#include "x_zip.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "parcelon/parcelon.h"
#include "zip_fixture.h"

namespace parcelon::testing {
namespace {

class XZipTest : public ZipTest {
 protected:
  std::string libraryFolder() const {
    return platform::testing::TestMachine::windowsPathOfHost(
        std::filesystem::path(PARCELON_LIBRARY_PATH).parent_path());
  }
  void registerLibrary() {
    ParcelonHost host{};
    host.size = sizeof host;
    host.machine = &machine();
    ASSERT_EQ(ParcelonRegisterServerOn(&host), PARCELON_S_OK);
  }
};

TEST_F(XZipTest, DrivesTheRegisteredLibrary) {
  registerLibrary();
  EXPECT_EQ(xZip::libraryPath(machine()), platform::testing::TestMachine::windowsPathOfHost(PARCELON_LIBRARY_PATH));
  auto zip = xZip::create(machine());
  ASSERT_TRUE(zip) << zip.status() << " " << zip.subject();
  std::vector<StatusEvent> seen;
  (*zip)->onStatus([&](const std::string& name, std::int32_t progress) {
    seen.push_back({name, progress});
  });

  writeFile("C:\\Data\\x.doc", textBytes(3000));
  EXPECT_EQ((*zip)->CreateZip("C:\\migfiles.mig", "Migrated Files"), 0);
  EXPECT_EQ((*zip)->AddFile("C:\\Data\\x.doc", "Migrated File", true, ""), 0);
  EXPECT_EQ((*zip)->Close(), 0);
  EXPECT_EQ(seen, (std::vector<StatusEvent>{{"Data/x.doc", 68}, {"Data/x.doc", 100}}));

  EXPECT_EQ((*zip)->OpenZip("C:\\migfiles.mig"), 0);
  EXPECT_EQ((*zip)->FileCount(), 1);
  EXPECT_EQ((*zip)->Filename(0), "Data/x.doc");
  EXPECT_EQ((*zip)->FileComment(0), "Migrated File");
  EXPECT_EQ((*zip)->FileSize(0), 3000);
  EXPECT_FALSE((*zip)->IsCrypted(0));
  std::filesystem::create_directories(hostPath("C:\\restore\\Data"));
  EXPECT_EQ((*zip)->ExtractFile("Data/x.doc", "C:\\restore", ""), 0);
  EXPECT_EQ(readFile("C:\\restore\\Data\\x.doc"), textBytes(3000));
  EXPECT_EQ((*zip)->Close(), 0);
}

TEST_F(XZipTest, ARaisedErrorIsThrownWithItsNumberAndText) {
  registerLibrary();
  auto zip = xZip::create(machine());
  ASSERT_TRUE(zip);
  try {
    (*zip)->FileCount();
    FAIL() << "nothing thrown";
  } catch (const ZipComponentError& error) {
    EXPECT_EQ(error.number(), 32000);
    EXPECT_EQ(error.text(), "ZIP not open");
  }
  try {
    (*zip)->OpenZip("C:\\missing.mig");
    FAIL() << "nothing thrown";
  } catch (const ZipComponentError& error) {
    EXPECT_EQ(error.number(), 53);
    EXPECT_EQ(error.text(), "Couldn't open ZIP");
  }
  EXPECT_EQ((*zip)->Close(), 0);
}

TEST_F(XZipTest, ARegisteredLibraryThatIsGoneGivesWayToTheOneBesideTheProgram) {
  const auto besideMachine = m_test.sameMachineWithProgramIn(libraryFolder());
  platform::Machine& beside = *besideMachine;
  ParcelonHost host{};
  host.size = sizeof host;
  host.machine = &beside;
  ASSERT_EQ(ParcelonRegisterServerOn(&host), PARCELON_S_OK);
  platform::Registry& registry = beside.registry();
  platform::HKEY key = 0;
  ASSERT_EQ(registry.RegOpenKeyExA(platform::HKEY_CLASSES_ROOT,
                                   "CLSID\\" PARCELON_CLSID_TEXT "\\InprocServer32", 0,
                                   platform::KEY_SET_VALUE, &key),
            platform::ERROR_SUCCESS);
  const std::string gone = "\\\\oldserver\\tools\\PARCELON.OCX";
  ASSERT_EQ(registry.RegSetValueExA(key, nullptr, platform::REG_SZ,
                                    reinterpret_cast<const platform::BYTE*>(gone.c_str()),
                                    static_cast<platform::DWORD>(gone.size() + 1)),
            platform::ERROR_SUCCESS);
  ASSERT_EQ(registry.RegCloseKey(key), platform::ERROR_SUCCESS);
  ASSERT_EQ(xZip::libraryPath(beside), gone);

  auto zip = xZip::create(beside);
  ASSERT_TRUE(zip) << zip.status() << " " << zip.subject();
  EXPECT_EQ((*zip)->CreateZip("C:\\e.zip", ""), 0);
  EXPECT_EQ((*zip)->Close(), 0);
}

TEST_F(XZipTest, WithoutRegistrationTheLibraryBesideTheProgramIsUsed) {
  const auto beside = m_test.sameMachineWithProgramIn(libraryFolder());
  auto zip = xZip::create(*beside);
  ASSERT_TRUE(zip) << zip.subject();
  EXPECT_EQ((*zip)->CreateZip("C:\\e.zip", ""), 0);
  EXPECT_EQ((*zip)->Close(), 0);

  const auto nowhere = m_test.sameMachineWithProgramIn("C:\\nowhere");
  auto missing = xZip::create(*nowhere);
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.status(), platform::ERROR_MOD_NOT_FOUND);
}

}  // namespace
}  // namespace parcelon::testing
