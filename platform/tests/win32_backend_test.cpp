// The Win32 backend on the machine the tests run on (under Wine, a prefix of the suite's own):
// the places where it must do more than hand a call through, and the statuses callers rely on.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/testing/test_machine.h"
#include "win32_environment.h"
#include "win32_library_loader.h"
#include "win32_processes.h"
#include "win32_thread_service.h"

namespace platform {
namespace {

class Win32Backend : public ::testing::Test {
 protected:
  FileSystem& files() { return m_test.files(); }
  Registry& registry() { return m_test.registry(); }
  std::vector<std::string> names(const std::string& folder, const std::string& pattern = "*") {
    std::vector<std::string> result;
    auto entries = files().listFolder(folder, pattern);
    EXPECT_TRUE(entries.ok()) << folder << ": " << entries.status();
    if (entries) {
      for (const DirectoryEntry& entry : *entries) result.push_back(entry.name);
    }
    return result;
  }

  testing::TestMachine m_test;
};

TEST_F(Win32Backend, ListingsMatchLongNamesOnlyInNameOrder) {
  m_test.writeFile("C:\\Data\\report.docx", "x");
  m_test.writeFile("C:\\Data\\b.doc", "yy");
  m_test.writeFile("C:\\Data\\A.DOC", "z");
  // FindFirstFileA alone would also find report.docx through its short name REPORT~1.DOC.
  EXPECT_EQ(names("C:\\Data", "*.doc"), (std::vector<std::string>{"A.DOC", "b.doc"}));
  EXPECT_EQ(names("C:\\Data"), (std::vector<std::string>{"A.DOC", "b.doc", "report.docx"}));
  EXPECT_EQ(files().listFolder("C:\\Nowhere", "*").status(), ERROR_PATH_NOT_FOUND);
  auto info = files().fileInfo("c:/data/../DATA/b.doc");
  ASSERT_TRUE(info.ok());
  EXPECT_EQ(info->size, 2u);
}

TEST_F(Win32Backend, PathsAndStatusesAsTheInterfaceGivesThem) {
  m_test.writeFile("C:\\Data\\Mixed Case.txt", "x");
  EXPECT_EQ(files().fullPath("c:\\data\\MIXED case.TXT").valueOr(""), "C:\\Data\\Mixed Case.txt");
  EXPECT_EQ(files().fullPath("c:\\data\\new\\x").valueOr(""), "C:\\Data\\new\\x");
  ASSERT_EQ(files().setCurrentDirectory("C:\\Data"), ERROR_SUCCESS);
  EXPECT_TRUE(files().fileExists("Mixed Case.txt"));
  EXPECT_EQ(files().currentDirectory(), "C:\\Data");
  EXPECT_EQ(files().fileInfo("C:\\Data\\missing.txt").status(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(files().fileInfo("C:\\Missing\\x.txt").status(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(files().fileInfo("C:\\Data\\a|b").status(), ERROR_INVALID_NAME);
  EXPECT_EQ(files().createFolder("C:\\Data"), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(files().createFolder("C:\\Missing\\Deeper"), ERROR_PATH_NOT_FOUND);
}

TEST_F(Win32Backend, CopiesFollowTheFileSystemObject) {
  m_test.writeFile("C:\\From\\a.txt", "a");
  m_test.writeFile("C:\\From\\b.txt", "b");
  m_test.writeFile("C:\\From\\Sub\\c.txt", "c");
  ASSERT_EQ(files().createFolder("C:\\To"), ERROR_SUCCESS);
  EXPECT_EQ(files().copyFile("C:\\From\\*.txt", "C:\\To", Overwrite::No), ERROR_SUCCESS);
  EXPECT_EQ(names("C:\\To"), (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(files().copyFile("C:\\From\\a.txt", "C:\\To\\b.txt", Overwrite::No),
            ERROR_FILE_EXISTS);
  EXPECT_EQ(files().copyFile("C:\\From\\a.txt", "C:\\To\\b.txt", Overwrite::Yes), ERROR_SUCCESS);
  EXPECT_EQ(m_test.readFile("C:\\To\\b.txt"), "a");
  EXPECT_EQ(files().copyFile("C:\\From\\a.txt", "c:\\from\\A.TXT", Overwrite::Yes),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(files().copyFile("C:\\From\\*.none", "C:\\To", Overwrite::No), ERROR_FILE_NOT_FOUND);

  EXPECT_EQ(files().copyFolder("C:\\From", "C:\\To\\", Overwrite::No), ERROR_SUCCESS);
  EXPECT_EQ(m_test.readFile("C:\\To\\From\\Sub\\c.txt"), "c");
  EXPECT_EQ(files().copyFolder("C:\\From", "C:\\From\\Sub\\Inner", Overwrite::Yes),
            ERROR_ACCESS_DENIED);
  EXPECT_FALSE(files().folderExists("C:\\From\\Sub\\Inner"));
}

TEST_F(Win32Backend, DeletesRefuseReadOnlyFilesBeforeRemovingAnything) {
  m_test.writeFile("C:\\Del\\a.txt", "a");
  m_test.writeFile("C:\\Del\\b.txt", "b");
  ASSERT_EQ(files().setAttributes("C:\\Del\\b.txt", FILE_ATTRIBUTE_READONLY), ERROR_SUCCESS);
  EXPECT_EQ(files().deleteFile("C:\\Del\\*.txt", Force::No), ERROR_ACCESS_DENIED);
  EXPECT_EQ(names("C:\\Del").size(), 2u);
  EXPECT_EQ(files().deleteFolder("C:\\Del", Force::No), ERROR_ACCESS_DENIED);
  EXPECT_EQ(files().deleteFolder("C:\\Del", Force::Yes), ERROR_SUCCESS);
  EXPECT_FALSE(files().folderExists("C:\\Del"));
  EXPECT_EQ(files().deleteFolder("C:\\", Force::Yes), ERROR_ACCESS_DENIED);
}

TEST_F(Win32Backend, MovesRenameReplaceOnlyWhenAskedAndChangeCase) {
  m_test.writeFile("C:\\Move\\a.txt", "a");
  m_test.writeFile("C:\\Move\\b.txt", "b");
  EXPECT_EQ(files().moveFile("C:\\Move\\a.txt", "C:\\Move\\b.txt", Overwrite::No),
            ERROR_ALREADY_EXISTS);
  EXPECT_EQ(files().moveFile("C:\\Move\\a.txt", "C:\\Move\\b.txt", Overwrite::Yes), ERROR_SUCCESS);
  EXPECT_EQ(m_test.readFile("C:\\Move\\b.txt"), "a");
  EXPECT_EQ(files().moveFile("C:\\Move\\b.txt", "C:\\Move\\B.TXT", Overwrite::No), ERROR_SUCCESS);
  EXPECT_EQ(names("C:\\Move"), std::vector<std::string>{"B.TXT"});
}

TEST_F(Win32Backend, OpenFilesReadWriteAppendAndTruncate) {
  auto created = files().openFile("C:\\f.bin", OpenMode::CreateNew);
  ASSERT_TRUE(created.ok());
  ASSERT_EQ((*created)->write("hello world", 11), ERROR_SUCCESS);
  ASSERT_EQ((*created)->truncate(5), ERROR_SUCCESS);
  ASSERT_EQ((*created)->close(), ERROR_SUCCESS);
  EXPECT_EQ(files().openFile("C:\\f.bin", OpenMode::CreateNew).status(), ERROR_FILE_EXISTS);
  auto appended = files().openFile("C:\\f.bin", OpenMode::Append);
  ASSERT_TRUE(appended.ok());
  ASSERT_EQ((*appended)->seek(0), ERROR_SUCCESS);
  ASSERT_EQ((*appended)->write("!", 1), ERROR_SUCCESS);
  appended->reset();
  auto read = files().openFile("C:\\f.bin", OpenMode::Read);
  ASSERT_TRUE(read.ok());
  ASSERT_EQ((*read)->seek(4), ERROR_SUCCESS);
  char buffer[8] = {};
  EXPECT_EQ((*read)->read(buffer, sizeof buffer).valueOr(0), 2u);
  EXPECT_EQ(std::string(buffer, 2), "o!");
  EXPECT_EQ((*read)->size().valueOr(0), 6u);
}

TEST_F(Win32Backend, AFileLockKeepsOtherHoldersOutUntilItGoes) {
  auto first = files().lockFile("C:\\run.lck");
  ASSERT_TRUE(first.ok());
  EXPECT_EQ(files().lockFile("C:\\run.lck").status(), ERROR_SHARING_VIOLATION);
  first->reset();
  EXPECT_TRUE(files().lockFile("C:\\run.lck").ok());
  EXPECT_EQ(files().lockFile("C:\\Missing\\run.lck").status(), ERROR_PATH_NOT_FOUND);
}

TEST_F(Win32Backend, DrivesReportTypeAndReadiness) {
  auto c = files().drive('c');
  ASSERT_TRUE(c.ok());
  EXPECT_EQ(c->letter, 'C');
  EXPECT_EQ(c->type, DriveType::Fixed);
  EXPECT_TRUE(c->ready);
  bool listed = false;
  for (const DriveInfo& drive : files().drives()) listed = listed || drive.letter == 'C';
  EXPECT_TRUE(listed);
  char missing = 0;
  for (char letter = 'Y'; letter > 'D' && missing == 0; --letter) {
    if (!files().drive(letter).ok()) missing = letter;
  }
  ASSERT_NE(missing, 0);
  EXPECT_EQ(files().drive(missing).status(), ERROR_INVALID_DRIVE);
}

TEST_F(Win32Backend, RegistryKeepsWindowsSemantics) {
  const std::string base = "Software\\TransvaleTest";
  m_test.setRegistryText(HKEY_CURRENT_USER, base + "\\Inner\\Deep", "Name", "a longer text");
  HKEY key = 0;
  ASSERT_EQ(registry().RegOpenKeyExA(HKEY_CURRENT_USER, (base + "\\Inner\\Deep").c_str(), 0,
                                     KEY_READ, &key),
            ERROR_SUCCESS);
  char name[3];
  DWORD nameLength = sizeof name;
  EXPECT_EQ(registry().RegEnumValueA(key, 0, name, &nameLength, nullptr, nullptr, nullptr),
            ERROR_MORE_DATA);
  BYTE data[4];
  DWORD dataLength = sizeof data;
  DWORD type = 0;
  EXPECT_EQ(registry().RegQueryValueExA(key, "Name", &type, data, &dataLength), ERROR_MORE_DATA);
  EXPECT_EQ(dataLength, 14u);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(registry().RegCloseKey(key), ERROR_SUCCESS);

  EXPECT_EQ(registry().RegDeleteKeyA(HKEY_CURRENT_USER, (base + "\\Inner").c_str()),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(registry().RegDeleteTreeA(HKEY_CURRENT_USER, (base + "\\Inner").c_str()),
            ERROR_SUCCESS);
  EXPECT_EQ(registry().RegOpenKeyExA(HKEY_CURRENT_USER, (base + "\\Inner").c_str(), 0, KEY_READ,
                                     &key),
            ERROR_FILE_NOT_FOUND);
  m_test.setRegistryDword(HKEY_CURRENT_USER, base + "\\Sub", "Count", 3);
  ASSERT_EQ(registry().RegOpenKeyExA(HKEY_CURRENT_USER, base.c_str(), 0, KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS);
  m_test.setRegistryDword(HKEY_CURRENT_USER, base, "Own", 1);
  EXPECT_EQ(registry().RegDeleteTreeA(key, nullptr), ERROR_SUCCESS);
  nameLength = sizeof name;
  EXPECT_EQ(registry().RegEnumKeyExA(key, 0, name, &nameLength), ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(registry().RegEnumValueA(key, 0, name, &nameLength, nullptr, nullptr, nullptr),
            ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(registry().RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(Win32Backend, EnvironmentAndTheTestUser) {
  Win32Environment environment;
  EXPECT_TRUE(environment.variable("path").has_value());
  EXPECT_FALSE(environment.variable("TRANSVALE_SURELY_UNSET").has_value());
  EXPECT_TRUE(environment.userName().ok());
  EXPECT_EQ(m_test.machine().environment().userName().valueOr(""), "jsmith");
  EXPECT_EQ(m_test.machine().environment().variable("UserName").value_or(""), "jsmith");
}

TEST(Win32ThreadService, RunsEveryTaskAndWaitsForIt) {
  Win32ThreadService threads(3);
  EXPECT_EQ(threads.workers(), 3u);
  std::vector<int> results(50, 0);
  std::atomic<int> ran{0};
  std::vector<std::unique_ptr<PendingTask>> pending;
  for (int i = 0; i < 50; ++i) {
    pending.push_back(threads.start([&results, &ran, i] {
      results[i] = i * i;
      ++ran;
    }));
  }
  for (auto& task : pending) task->wait();
  EXPECT_EQ(ran.load(), 50);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(results[i], i * i);
  // A handle that goes without a wait still waits, and the service ends with work queued.
  threads.start([&ran] { ++ran; }).reset();
  EXPECT_EQ(ran.load(), 51);
}

TEST(Win32Processes, StartsWaitsAndReportsMissingPrograms) {
  Win32Processes processes;
  auto exited = processes.start("cmd /c exit 3", WindowStyle::Hidden, Wait::Yes);
  ASSERT_TRUE(exited.ok()) << exited.status();
  EXPECT_EQ(exited->exitCode, 3u);
  EXPECT_EQ(processes.start("surely-no-such-program.exe", WindowStyle::Hidden, Wait::Yes).status(),
            ERROR_FILE_NOT_FOUND);
}

TEST_F(Win32Backend, LibrariesLoadByPathAndNameTheirModule) {
  Win32LibraryLoader loader(files());
  EXPECT_EQ(loader.load("C:\\missing.dll").status(), ERROR_MOD_NOT_FOUND);
  m_test.writeFile("C:\\not-a-library.dll", "text, not code");
  EXPECT_FALSE(loader.load("C:\\not-a-library.dll").ok());
  auto kernel = loader.load("kernel32.dll");
  ASSERT_TRUE(kernel.ok()) << kernel.status();
  EXPECT_NE((*kernel)->symbol("GetTickCount"), nullptr);
  EXPECT_EQ((*kernel)->symbol("NoSuchFunction"), nullptr);
  static const int here = 0;
  const std::string self = loader.modulePath(&here).valueOr("");
  EXPECT_NE(self.find("platform_tests"), std::string::npos) << self;
}

TEST_F(Win32Backend, WallpaperRefusesAMissingFile) {
  const char* missing = "C:\\missing.bmp";
  EXPECT_EQ(m_test.machine().systemParameters().SystemParametersInfoA(
                SPI_SETDESKWALLPAPER, 0, const_cast<char*>(missing), SPIF_UPDATEINIFILE),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(m_test.machine().systemParameters().SystemParametersInfoA(0x7FFF, 0, nullptr, 0),
            ERROR_INVALID_SPI_VALUE);
}

TEST_F(Win32Backend, FavoritesImportFillsTheUsersFavoritesFolder) {
  m_test.setRegistryText(HKEY_CURRENT_USER,
                         "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                         "Favorites", "C:\\Fav");
  m_test.writeFile("C:\\bookmarks.htm",
                   "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
                   "<DT><H3>News</H3>\n<DL><p>\n<DT><A HREF=\"http://example.com/\">Example</A>\n"
                   "</DL><p>\n</DL><p>\n");
  ASSERT_EQ(m_test.machine().shellUIHelper().ImportExportFavorites(true, "C:\\bookmarks.htm"),
            ERROR_SUCCESS);
  EXPECT_EQ(m_test.readFile("C:\\Fav\\News\\Example.url"),
            "[InternetShortcut]\r\nURL=http://example.com/\r\n");
}

}  // namespace
}  // namespace platform
