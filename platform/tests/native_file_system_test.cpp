#include "native_file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/testing/temporary_machine_root.h"
#include "platform/registry.h"
#include "platform/text_file.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

std::string dosAttributeText(const fs::path& path) {
  char text[32] = {};
  const ssize_t size = ::getxattr(path.c_str(), "user.DOSATTRIB", text, sizeof text - 1);
  return size > 0 ? std::string(text, static_cast<std::size_t>(size)) : std::string();
}

std::vector<std::string> names(const std::vector<DirectoryEntry>& entries) {
  std::vector<std::string> out;
  for (const DirectoryEntry& entry : entries) out.push_back(entry.name);
  return out;
}

// A machine with drive C: and a few documents.
class NativeFileSystemTest : public ::testing::Test {
 protected:
  NativeFileSystemTest() {
    root.addDrive('C');
    root.writeFile("drive_c/Documents and Settings/JSmith/My Documents/Report.doc", "report");
    root.writeFile("drive_c/Data/x.txt", "x");
  }

  fs::path host(const std::string& relative) const { return root.path() / relative; }
  bool hostExists(const std::string& relative) const { return fs::exists(host(relative)); }
  std::string hostText(const std::string& relative) const { return root.readFile(relative); }
  void makeReadOnly(const std::string& relative) const {
    fs::permissions(host(relative),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  }

  testing::TemporaryMachineRoot root;
  NativeFileSystem files{root.path()};
};

struct ResolveCase {
  const char* path;
  const char* fullPath;  // what fullPath gives, nullptr when `status` is expected of fileInfo
  Status status = ERROR_SUCCESS;
};

// Test listings name each case by what it is about, not by its bytes.
void PrintTo(const ResolveCase& resolve, std::ostream* out) {
  *out << ::testing::PrintToString(std::string(resolve.path));
}

class ResolvePaths : public NativeFileSystemTest,
                     public ::testing::WithParamInterface<ResolveCase> {
 protected:
  ResolvePaths() {
    root.addDriveLink('D', "../drive_d_without_disc");
    root.addShare("FileServer", "Public");
    root.writeFile("dosdevices/unc/FileServer/Public/readme.txt", "shared");
  }
};

TEST_P(ResolvePaths, FindsStoredNamesOrFails) {
  const ResolveCase& c = GetParam();
  if (c.fullPath != nullptr) {
    EXPECT_EQ(files.fullPath(c.path).valueOr("failed"), c.fullPath) << c.path;
  } else {
    EXPECT_EQ(files.fileInfo(c.path).status(), c.status) << c.path;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResolvePaths,
    ::testing::Values(ResolveCase{"c:\\documents and settings\\JSMITH\\my documents\\REPORT.DOC",
                                  "C:\\Documents and Settings\\JSmith\\My Documents\\Report.doc"},
                      ResolveCase{"c:/DATA//.\\new\\..\\New.TXT", "C:\\Data\\New.TXT"},
                      ResolveCase{"\\\\fileserver\\PUBLIC\\README.TXT",
                                  "\\\\FileServer\\Public\\readme.txt"},
                      ResolveCase{"C:\\Data\\x.txt\\y", nullptr, ERROR_PATH_NOT_FOUND},
                      ResolveCase{"C:\\Data\\missing", nullptr, ERROR_FILE_NOT_FOUND},
                      ResolveCase{"C:\\Data\\missing\\y", nullptr, ERROR_PATH_NOT_FOUND},
                      ResolveCase{"C:\\Data\\a|b", nullptr, ERROR_INVALID_NAME},
                      ResolveCase{"C:\\Data\\*.txt", nullptr, ERROR_INVALID_NAME},
                      ResolveCase{"Q:\\x", nullptr, ERROR_PATH_NOT_FOUND},
                      ResolveCase{"D:\\x", nullptr, ERROR_NOT_READY},
                      ResolveCase{"\\\\fileserver\\private\\x", nullptr, ERROR_BAD_NETPATH},
                      ResolveCase{"\\\\nobody\\public\\x", nullptr, ERROR_BAD_NETPATH}));

TEST_F(NativeFileSystemTest, HostIsDriveZ) {
  root.addDriveLink('Z', "/");
  const std::string viaZ = "Z:" + host("drive_c/Data/x.txt").string();
  EXPECT_TRUE(files.fileExists(viaZ));
  EXPECT_TRUE(files.folderExists("Z:\\"));
  EXPECT_EQ(files.deleteFolder("Z:\\", Force::Yes), ERROR_ACCESS_DENIED);
}

TEST_F(NativeFileSystemTest, ExistenceTellsFilesFromFolders) {
  EXPECT_TRUE(files.fileExists("c:\\data\\X.TXT"));
  EXPECT_FALSE(files.folderExists("c:\\data\\X.TXT"));
  EXPECT_TRUE(files.folderExists("C:\\Data\\"));
  EXPECT_FALSE(files.fileExists("C:\\Data"));
  EXPECT_FALSE(files.fileExists("C:\\Data\\*.txt"));
  EXPECT_FALSE(files.fileExists("Q:\\x"));
  EXPECT_FALSE(files.fileExists("C:\\bad<name"));
}

TEST_F(NativeFileSystemTest, NewNamesKeepTheirCaseUnderExistingFolders) {
  EXPECT_EQ(files.createFolder("c:\\DATA\\New Folder"), ERROR_SUCCESS);
  EXPECT_TRUE(fs::is_directory(host("drive_c/Data/New Folder")));
  EXPECT_EQ(files.createFolder("C:\\data\\new folder"), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(files.createFolder("C:\\Data\\a\\b"), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(writeWholeFile(files, "c:\\data\\NEW FOLDER\\Note.TXT", "n"), ERROR_SUCCESS);
  EXPECT_EQ(hostText("drive_c/Data/New Folder/Note.TXT"), "n");
}

TEST_F(NativeFileSystemTest, CurrentDirectoryServesRelativePaths) {
  EXPECT_EQ(files.currentDirectory(), "C:\\");
  EXPECT_EQ(files.setCurrentDirectory("c:\\documents and settings\\jsmith"), ERROR_SUCCESS);
  EXPECT_EQ(files.currentDirectory(), "C:\\Documents and Settings\\JSmith");
  EXPECT_TRUE(files.fileExists("My Documents\\Report.doc"));
  EXPECT_TRUE(files.fileExists("C:My Documents\\Report.doc"));
  EXPECT_TRUE(files.fileExists("..\\..\\Data\\x.txt"));
  EXPECT_TRUE(files.fileExists("\\Data\\x.txt"));
  EXPECT_EQ(files.setCurrentDirectory("C:\\Data\\x.txt"), ERROR_DIRECTORY);
  EXPECT_EQ(files.setCurrentDirectory("C:\\Nowhere"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(files.currentDirectory(), "C:\\Documents and Settings\\JSmith");
}

struct CopyCase {
  const char* name;
  const char* source;
  const char* destination;
  Overwrite overwrite;
  Status status;
  std::map<std::string, std::string> expected;  // host files below drive_c and their contents
};

// Names the case in test listings by its name, not by its bytes.
void PrintTo(const CopyCase& copy, std::ostream* out) { *out << copy.name; }

// C:\Src holds a.doc, b.doc and c.txt; C:\Dst holds A.DOC ("old") and the read-only ro.txt.
class CopyFiles : public NativeFileSystemTest, public ::testing::WithParamInterface<CopyCase> {
 protected:
  CopyFiles() {
    root.writeFile("drive_c/Src/a.doc", "new a");
    root.writeFile("drive_c/Src/b.doc", "new b");
    root.writeFile("drive_c/Src/c.txt", "new c");
    root.writeFile("drive_c/Dst/A.DOC", "old");
    root.writeFile("drive_c/Dst/ro.txt", "kept");
    makeReadOnly("drive_c/Dst/ro.txt");
  }
};

TEST_P(CopyFiles, FollowTheFileSystemObject) {
  const CopyCase& c = GetParam();
  EXPECT_EQ(files.copyFile(c.source, c.destination, c.overwrite), c.status);
  for (const auto& [file, contents] : c.expected) {
    EXPECT_EQ(hostText("drive_c/" + file), contents) << file;
  }
  EXPECT_FALSE(hostExists("drive_c/Dst/a.doc")) << "a second name for A.DOC";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopyFiles,
    ::testing::Values(
        CopyCase{"WildcardsIntoFolder",
                 "C:\\Src\\*.doc",
                 "C:\\Dst",
                 Overwrite::Yes,
                 ERROR_SUCCESS,
                 {{"Dst/A.DOC", "new a"}, {"Dst/b.doc", "new b"}}},
        CopyCase{"WildcardsRefuseExisting",
                 "C:\\Src\\*.doc",
                 "C:\\Dst\\",
                 Overwrite::No,
                 ERROR_FILE_EXISTS,
                 {{"Dst/A.DOC", "old"}}},
        CopyCase{"NothingMatches",
                 "C:\\Src\\*.xls",
                 "C:\\Dst",
                 Overwrite::Yes,
                 ERROR_FILE_NOT_FOUND,
                 {}},
        CopyCase{"MissingSource",
                 "C:\\Src\\none.txt",
                 "C:\\Dst\\",
                 Overwrite::Yes,
                 ERROR_FILE_NOT_FOUND,
                 {}},
        CopyCase{
            "FolderAsSource", "C:\\Src", "C:\\Dst\\", Overwrite::Yes, ERROR_FILE_NOT_FOUND, {}},
        CopyCase{"TrailingSeparatorIsFolder",
                 "C:\\Src\\c.txt",
                 "c:\\dst\\",
                 Overwrite::No,
                 ERROR_SUCCESS,
                 {{"Dst/c.txt", "new c"}}},
        CopyCase{"ToNewName",
                 "C:\\Src\\c.txt",
                 "C:\\Dst\\renamed.txt",
                 Overwrite::No,
                 ERROR_SUCCESS,
                 {{"Dst/renamed.txt", "new c"}}},
        CopyCase{"OverExistingInOtherCase",
                 "C:\\Src\\a.doc",
                 "C:\\Dst\\a.doc",
                 Overwrite::Yes,
                 ERROR_SUCCESS,
                 {{"Dst/A.DOC", "new a"}}},
        CopyCase{
            "OntoFolderName", "C:\\Src\\c.txt", "C:\\Dst", Overwrite::Yes, ERROR_ACCESS_DENIED, {}},
        CopyCase{"IntoMissingFolder",
                 "C:\\Src\\c.txt",
                 "C:\\None\\",
                 Overwrite::Yes,
                 ERROR_PATH_NOT_FOUND,
                 {}},
        CopyCase{"WildcardsIntoMissingFolder",
                 "C:\\Src\\*.doc",
                 "C:\\None",
                 Overwrite::Yes,
                 ERROR_PATH_NOT_FOUND,
                 {}},
        CopyCase{"OverReadOnly",
                 "C:\\Src\\c.txt",
                 "C:\\Dst\\ro.txt",
                 Overwrite::Yes,
                 ERROR_ACCESS_DENIED,
                 {{"Dst/ro.txt", "kept"}}},
        CopyCase{"OntoItself",
                 "C:\\Src\\c.txt",
                 "C:\\SRC\\C.TXT",
                 Overwrite::Yes,
                 ERROR_ACCESS_DENIED,
                 {{"Src/c.txt", "new c"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NativeFileSystemTest, CopiesNamesUpToTheLongestWindowsAllows) {
  const std::string name(255, 'n');
  root.writeFile("drive_c/Data/Long/" + name, "long");
  EXPECT_EQ(files.copyFile("C:\\Data\\Long\\" + name, "C:\\", Overwrite::No), ERROR_SUCCESS);
  EXPECT_EQ(files.copyFolder("C:\\Data\\Long", "C:\\Copy", Overwrite::No), ERROR_SUCCESS);
  EXPECT_EQ(hostText("drive_c/" + name), "long");
  EXPECT_EQ(hostText("drive_c/Copy/" + name), "long");
}

TEST_F(NativeFileSystemTest, CopyKeepsTimeAndAttributes) {
  ASSERT_EQ(files.setAttributes("C:\\Data\\x.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
            ERROR_SUCCESS);
  constexpr FileTime kTime = 126'000'000'000'000'000ULL;
  ASSERT_EQ(files.setLastWriteTime("C:\\Data\\x.txt", kTime), ERROR_SUCCESS);
  ASSERT_EQ(files.copyFile("C:\\Data\\x.txt", "C:\\y.txt", Overwrite::No), ERROR_SUCCESS);
  auto info = files.fileInfo("C:\\y.txt");
  ASSERT_TRUE(info.ok());
  EXPECT_EQ(info->lastWrite, kTime);
  EXPECT_EQ(info->attributes,
            FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
}

class CopyFolders : public NativeFileSystemTest {
 protected:
  CopyFolders() {
    root.writeFile("drive_c/Src/a.doc", "a");
    root.writeFile("drive_c/Src/Inner/b.doc", "b");
    fs::create_directories(host("drive_c/Dst"));
  }
};

TEST_F(CopyFolders, CopiesTreesByTheDestinationForms) {
  EXPECT_EQ(files.copyFolder("C:\\Src", "C:\\Copy", Overwrite::No), ERROR_SUCCESS);
  EXPECT_EQ(hostText("drive_c/Copy/Inner/b.doc"), "b");
  EXPECT_EQ(files.copyFolder("C:\\src", "C:\\Dst\\", Overwrite::No), ERROR_SUCCESS);
  EXPECT_EQ(hostText("drive_c/Dst/Src/a.doc"), "a");
  EXPECT_EQ(files.copyFolder("C:\\Src\\In*", "C:\\Dst", Overwrite::No), ERROR_SUCCESS);
  EXPECT_EQ(files.copyFolder("C:\\S?c\\In*", "C:\\Dst", Overwrite::No), ERROR_INVALID_NAME);
  EXPECT_EQ(hostText("drive_c/Dst/Inner/b.doc"), "b");
}

TEST_F(CopyFolders, MergesIntoAnExistingFolderByTheOverwriteFlag) {
  root.writeFile("drive_c/Copy/a.doc", "old");
  EXPECT_EQ(files.copyFolder("C:\\Src", "C:\\Copy", Overwrite::No), ERROR_FILE_EXISTS);
  EXPECT_EQ(hostText("drive_c/Copy/a.doc"), "old");
  EXPECT_EQ(files.copyFolder("C:\\Src", "C:\\Copy", Overwrite::Yes), ERROR_SUCCESS);
  EXPECT_EQ(hostText("drive_c/Copy/a.doc"), "a");
}

TEST_F(CopyFolders, RefusesWhatCannotBeCopied) {
  EXPECT_EQ(files.copyFolder("C:\\Src", "C:\\Src\\Inner\\Again", Overwrite::Yes),
            ERROR_ACCESS_DENIED);
  EXPECT_FALSE(hostExists("drive_c/Src/Inner/Again"));
  EXPECT_EQ(files.copyFolder("C:\\Nothing*", "C:\\Dst", Overwrite::Yes), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(files.copyFolder("C:\\Missing", "C:\\Dst", Overwrite::Yes), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(files.copyFolder("C:\\Src", "C:\\None\\Copy", Overwrite::Yes), ERROR_PATH_NOT_FOUND);
}

class DeleteFiles : public NativeFileSystemTest {
 protected:
  DeleteFiles() {
    root.writeFile("drive_c/Old/a.tmp", "a");
    root.writeFile("drive_c/Old/b.tmp", "b");
    root.writeFile("drive_c/Old/keep.doc", "k");
    root.writeFile("drive_c/Old/Sub/c.tmp", "c");
    makeReadOnly("drive_c/Old/b.tmp");
  }
};

TEST_F(DeleteFiles, WildcardsStopAtReadOnlyUnlessForced) {
  EXPECT_EQ(files.deleteFile("C:\\Old\\*.tmp", Force::No), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(hostExists("drive_c/Old/a.tmp")) << "nothing goes when the delete is refused";
  EXPECT_EQ(files.deleteFile("C:\\Old\\*.tmp", Force::Yes), ERROR_SUCCESS);
  EXPECT_FALSE(hostExists("drive_c/Old/a.tmp"));
  EXPECT_FALSE(hostExists("drive_c/Old/b.tmp"));
  EXPECT_TRUE(hostExists("drive_c/Old/keep.doc"));
  EXPECT_TRUE(hostExists("drive_c/Old/Sub/c.tmp"));
  EXPECT_EQ(files.deleteFile("C:\\Old\\*.tmp", Force::Yes), ERROR_FILE_NOT_FOUND);
}

TEST_F(DeleteFiles, SingleFilesAndTheirErrors) {
  EXPECT_EQ(files.deleteFile("C:\\old\\KEEP.DOC", Force::No), ERROR_SUCCESS);
  EXPECT_FALSE(hostExists("drive_c/Old/keep.doc"));
  EXPECT_EQ(files.deleteFile("C:\\Old\\keep.doc", Force::No), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(files.deleteFile("C:\\Old\\Sub", Force::No), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(files.deleteFile("C:\\None\\x", Force::No), ERROR_PATH_NOT_FOUND);
}

TEST_F(DeleteFiles, FoldersWithReadOnlyContentsNeedForce) {
  makeReadOnly("drive_c/Old/Sub/c.tmp");
  EXPECT_EQ(files.deleteFolder("C:\\Old", Force::No), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(hostExists("drive_c/Old/a.tmp"));
  EXPECT_EQ(files.deleteFolder("C:\\Old", Force::Yes), ERROR_SUCCESS);
  EXPECT_FALSE(hostExists("drive_c/Old"));
  EXPECT_EQ(files.deleteFolder("C:\\Old", Force::Yes), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(files.deleteFolder("C:\\O*", Force::Yes), ERROR_PATH_NOT_FOUND);
}

TEST_F(DeleteFiles, FolderDeleteRemovesLinksNotTheirTargets) {
  fs::create_directory_symlink(host("drive_c/Data"), host("drive_c/Old/Sub/link"));
  EXPECT_EQ(files.deleteFolder("C:\\Ol?", Force::Yes), ERROR_SUCCESS);
  EXPECT_FALSE(hostExists("drive_c/Old"));
  EXPECT_EQ(hostText("drive_c/Data/x.txt"), "x");
  EXPECT_EQ(files.deleteFolder("C:\\", Force::Yes), ERROR_ACCESS_DENIED);
  EXPECT_EQ(files.deleteFolder("C:\\Data\\..", Force::Yes), ERROR_ACCESS_DENIED);
}

TEST_F(NativeFileSystemTest, MoveRenamesAndRefusesToReplaceUnlessAsked) {
  root.writeFile("drive_c/Data/y.txt", "y");
  EXPECT_EQ(files.moveFile("C:\\Data\\x.txt", "C:\\Data\\y.txt", Overwrite::No),
            ERROR_ALREADY_EXISTS);
  EXPECT_EQ(files.moveFile("C:\\Data\\x.txt", "C:\\Data\\y.txt", Overwrite::Yes), ERROR_SUCCESS);
  EXPECT_EQ(hostText("drive_c/Data/y.txt"), "x");
  EXPECT_EQ(files.moveFile("C:\\Data\\y.txt", "C:\\DATA\\Y.TXT", Overwrite::No), ERROR_SUCCESS);
  EXPECT_EQ(hostText("drive_c/Data/Y.TXT"), "x");
  EXPECT_FALSE(hostExists("drive_c/Data/y.txt"));
  EXPECT_EQ(files.moveFile("C:\\Data\\none", "C:\\z", Overwrite::No), ERROR_FILE_NOT_FOUND);
}

TEST_F(NativeFileSystemTest, AttributesLiveInWriteBitsAndTheExtendedAttribute) {
  const fs::path x = host("drive_c/Data/x.txt");
  EXPECT_EQ(files.fileInfo("C:\\Data\\x.txt")->attributes, FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(files.fileInfo("C:\\Data")->attributes, FILE_ATTRIBUTE_DIRECTORY);

  ASSERT_EQ(files.setAttributes("C:\\Data\\x.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                       FILE_ATTRIBUTE_READONLY),
            ERROR_SUCCESS);
  EXPECT_EQ(dosAttributeText(x), "0x6");
  EXPECT_EQ(fs::status(x).permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_EQ(files.fileInfo("C:\\Data\\x.txt")->attributes,
            FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                FILE_ATTRIBUTE_READONLY);

  ASSERT_EQ(files.setAttributes("C:\\Data\\x.txt", FILE_ATTRIBUTE_NORMAL), ERROR_SUCCESS);
  EXPECT_EQ(dosAttributeText(x), "");
  EXPECT_NE(fs::status(x).permissions() & fs::perms::owner_write, fs::perms::none);

  // Wine's own text may carry other bits; only hidden and system count.
  ASSERT_EQ(::setxattr(x.c_str(), "user.DOSATTRIB", "0x22", 4, 0), 0);
  root.writeFile("drive_c/Data/.profile", "");
  EXPECT_EQ(files.fileInfo("C:\\Data\\x.txt")->attributes,
            FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(files.fileInfo("C:\\Data\\.profile")->attributes,
            FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(NativeFileSystemTest, ListsInNameOrderWithoutCaseAndFilters) {
  for (const char* name : {"b.txt", "A.doc", "_x.txt", "c.TXT"}) {
    root.writeFile(std::string("drive_c/List/") + name, "12345");
  }
  fs::create_directories(host("drive_c/List/Folder"));
  auto all = files.listFolder("C:\\List");
  ASSERT_TRUE(all.ok());
  EXPECT_EQ(names(*all), (std::vector<std::string>{"A.doc", "b.txt", "c.TXT", "Folder", "_x.txt"}));
  EXPECT_EQ((*all)[0].size, 5u);
  EXPECT_EQ((*all)[3].attributes, FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(names(files.listFolder("c:\\list", "*.txt").valueOr({})),
            (std::vector<std::string>{"b.txt", "c.TXT", "_x.txt"}));
  EXPECT_TRUE(files.listFolder("C:\\List", "*.xls")->empty());
  EXPECT_EQ(files.listFolder("C:\\None").status(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(files.listFolder("C:\\List", "a|b").status(), ERROR_INVALID_NAME);
}

TEST_F(NativeFileSystemTest, ListsWhatTheFilterChoosesWithTheirDetails) {
  root.writeFile("drive_c/Pick/keep.doc", "123");
  root.writeFile("drive_c/Pick/skip.txt", "x");
  root.writeFile("drive_c/Pick/.hidden.doc", "");
  fs::create_directories(host("drive_c/Pick/Sub"));
  fs::create_directory_symlink("Sub", host("drive_c/Pick/Linked"));
  std::vector<std::string> asked;
  auto chosen = files.listFolderWhere("c:\\pick", [&](std::string_view name, bool isFolder) {
    asked.push_back(std::string(name) + (isFolder ? "\\" : ""));
    return isFolder || name.ends_with(".doc");
  });
  ASSERT_TRUE(chosen.ok());
  EXPECT_EQ(names(*chosen), (std::vector<std::string>{".hidden.doc", "keep.doc", "Linked", "Sub"}));
  std::sort(asked.begin(), asked.end());
  EXPECT_EQ(asked, (std::vector<std::string>{".hidden.doc", "Linked\\", "Sub\\", "keep.doc",
                                             "skip.txt"}));
  EXPECT_EQ((*chosen)[0].attributes, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ((*chosen)[1].size, 3u);
  EXPECT_EQ((*chosen)[2].attributes, FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(files.listFolderWhere("C:\\None", [](std::string_view, bool) { return true; }).status(),
            ERROR_PATH_NOT_FOUND);
}

TEST_F(NativeFileSystemTest, OpenModesCheckWhatExists) {
  makeReadOnly("drive_c/Data/x.txt");
  EXPECT_EQ(files.openFile("C:\\Data\\none", OpenMode::Read).status(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(files.openFile("C:\\None\\x", OpenMode::CreateTruncate).status(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(files.openFile("C:\\Data\\x.txt", OpenMode::CreateNew).status(), ERROR_FILE_EXISTS);
  EXPECT_EQ(files.openFile("C:\\Data\\x.txt", OpenMode::ReadWrite).status(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(files.openFile("C:\\Data\\x.txt", OpenMode::Append).status(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(files.openFile("C:\\Data", OpenMode::Read).status(), ERROR_ACCESS_DENIED);
  auto reader = files.openFile("C:\\Data\\x.txt", OpenMode::Read);
  ASSERT_TRUE(reader.ok());
  EXPECT_EQ((*reader)->write("y", 1), ERROR_ACCESS_DENIED);
}

TEST_F(NativeFileSystemTest, FileStreamsInSmallBlocksAndSeeks) {
  std::string data(300'000, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + i / 251);
  {
    auto file = files.openFile("C:\\big.bin", OpenMode::CreateTruncate);
    ASSERT_TRUE(file.ok());
    for (std::size_t at = 0; at < data.size(); at += 2048) {
      ASSERT_EQ((*file)->write(data.data() + at, std::min<std::size_t>(2048, data.size() - at)),
                ERROR_SUCCESS);
    }
    // Patch bytes behind the write position, then read across the patch.
    ASSERT_EQ((*file)->seek(10), ERROR_SUCCESS);
    ASSERT_EQ((*file)->write("PATCH", 5), ERROR_SUCCESS);
    data.replace(10, 5, "PATCH");
    char head[20];
    ASSERT_EQ((*file)->seek(0), ERROR_SUCCESS);
    ASSERT_EQ((*file)->read(head, sizeof head).valueOr(0), sizeof head);
    EXPECT_EQ(std::string(head, sizeof head), data.substr(0, sizeof head));
    // What was read ahead never hides a later write or cut of this handle.
    ASSERT_EQ((*file)->seek(30), ERROR_SUCCESS);
    ASSERT_EQ((*file)->write("AGAIN", 5), ERROR_SUCCESS);
    data.replace(30, 5, "AGAIN");
    ASSERT_EQ((*file)->seek(25), ERROR_SUCCESS);
    ASSERT_EQ((*file)->read(head, sizeof head).valueOr(0), sizeof head);
    EXPECT_EQ(std::string(head, sizeof head), data.substr(25, sizeof head));
    ASSERT_EQ((*file)->truncate(40), ERROR_SUCCESS);
    ASSERT_EQ((*file)->truncate(data.size()), ERROR_SUCCESS);  // the cut-off bytes come back as 0
    std::fill(data.begin() + 40, data.end(), '\0');
    ASSERT_EQ((*file)->seek(30), ERROR_SUCCESS);
    ASSERT_EQ((*file)->read(head, sizeof head).valueOr(0), sizeof head);
    EXPECT_EQ(std::string(head, sizeof head), data.substr(30, sizeof head));
    EXPECT_EQ((*file)->size().valueOr(0), data.size());
    EXPECT_EQ((*file)->close(), ERROR_SUCCESS);
    EXPECT_EQ((*file)->seek(0), ERROR_INVALID_HANDLE);
  }
  auto file = files.openFile("C:\\big.bin", OpenMode::Read);
  ASSERT_TRUE(file.ok());
  std::string back;
  char block[16 * 1024];
  for (;;) {
    auto got = (*file)->read(block, sizeof block);
    ASSERT_TRUE(got.ok());
    if (*got == 0) break;
    back.append(block, *got);
  }
  EXPECT_EQ(back, data);
  EXPECT_EQ((*file)->position(), data.size());
}

TEST_F(NativeFileSystemTest, AppendWritesAtTheEnd) {
  auto file = files.openFile("C:\\Data\\x.txt", OpenMode::Append);
  ASSERT_TRUE(file.ok());
  EXPECT_EQ((*file)->position(), 1u);
  EXPECT_EQ((*file)->write("yz", 2), ERROR_SUCCESS);
  char c;
  EXPECT_EQ((*file)->read(&c, 1).status(), ERROR_ACCESS_DENIED);
  EXPECT_EQ((*file)->close(), ERROR_SUCCESS);
  EXPECT_EQ(hostText("drive_c/Data/x.txt"), "xyz");
}

TEST_F(NativeFileSystemTest, TemporaryFilesGetFreshNames) {
  auto first = files.createTemporaryFile("C:\\Data", "migration");
  auto second = files.createTemporaryFile("c:\\data", "migration");
  ASSERT_TRUE(first.ok());
  ASSERT_TRUE(second.ok());
  EXPECT_NE(*first, *second);
  EXPECT_EQ(first->rfind("C:\\Data\\mig", 0), 0u) << *first;
  EXPECT_TRUE(files.fileExists(*first));
  EXPECT_EQ(files.createTemporaryFile("C:\\None", "x").status(), ERROR_PATH_NOT_FOUND);
  // A prefix is a name, never a way out of the folder.
  for (const char* prefix : {"../", "..\\", "a/b", "x:y"}) {
    EXPECT_EQ(files.createTemporaryFile("C:\\", prefix).status(), ERROR_INVALID_NAME) << prefix;
  }
  for (const fs::path& folder : {root.path(), root.path() / "drive_c"}) {
    for (const auto& entry : fs::directory_iterator(folder)) {
      EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    }
  }
}

// Every file below `folder` with its contents, to see that nothing changed.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream text;
    if (entry.is_regular_file()) text << in.rdbuf();
    files[entry.path().lexically_relative(folder).string()] = text.str();
  }
  return files;
}

TEST_F(NativeFileSystemTest, HostilePathsGetAStatusAndChangeNothing) {
  root.addDriveLink('D', "../drive_d_without_disc");
  const auto before = snapshot(root.path() / "drive_c");
  const std::string nul("C:\\Data\\x\0y", 11);
  for (const std::string& path :
       {std::string("C:\\a|b"), std::string("C:\\Data\\<x>"), std::string("\\\\"),
        std::string("\\\\server"), std::string("Q:\\x"), std::string("D:\\x"),
        std::string("C:\\Data\\x.txt\\y"), nul, std::string("C:\\") + std::string(300, 'a'),
        std::string("C:\\..\\..\\..\\Data\\.."), std::string("\\\\?\\C:\\Data"),
        std::string("C:\\Data\\x.txt:stream"), std::string("")}) {
    EXPECT_NE(files.createFolder(path), ERROR_SUCCESS) << path;
    EXPECT_NE(files.copyFile("C:\\Data\\x.txt", path, Overwrite::Yes), ERROR_SUCCESS) << path;
    EXPECT_NE(files.copyFolder(path, "C:\\Copy", Overwrite::Yes), ERROR_SUCCESS) << path;
    EXPECT_NE(files.deleteFile(path, Force::Yes), ERROR_SUCCESS) << path;
    EXPECT_NE(files.deleteFolder(path, Force::Yes), ERROR_SUCCESS) << path;
    EXPECT_NE(files.moveFile(path, "C:\\moved", Overwrite::Yes), ERROR_SUCCESS) << path;
    EXPECT_FALSE(files.openFile(path, OpenMode::CreateTruncate).ok()) << path;
  }
  EXPECT_EQ(snapshot(root.path() / "drive_c"), before);
}

// Just enough registry for drive types: values of HKLM\Software\Wine\Drives.
class DriveTypesRegistry final : public Registry {
 public:
  std::map<std::string, std::string> types;

  Status RegOpenKeyExA(HKEY key, const char* subKey, DWORD, REGSAM, HKEY* result) override {
    if (key != HKEY_LOCAL_MACHINE || std::string(subKey) != "Software\\Wine\\Drives") {
      return ERROR_FILE_NOT_FOUND;
    }
    *result = kDrives;
    return ERROR_SUCCESS;
  }
  Status RegQueryValueExA(HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size) override {
    const auto found = types.find(name);
    if (key != kDrives || found == types.end()) return ERROR_FILE_NOT_FOUND;
    const std::string& text = found->second;
    if (*size < text.size() + 1) return ERROR_MORE_DATA;
    std::copy(text.begin(), text.end(), data);
    data[text.size()] = 0;
    *size = static_cast<DWORD>(text.size() + 1);
    *type = REG_SZ;
    return ERROR_SUCCESS;
  }
  Status RegCloseKey(HKEY) override { return ERROR_SUCCESS; }
  Status RegCreateKeyExA(HKEY, const char*, REGSAM, HKEY*, DWORD*) override { return kUnused; }
  Status RegEnumKeyExA(HKEY, DWORD, char*, DWORD*) override { return kUnused; }
  Status RegEnumValueA(HKEY, DWORD, char*, DWORD*, DWORD*, BYTE*, DWORD*) override { return kUnused; }
  Status RegSetValueExA(HKEY, const char*, DWORD, const BYTE*, DWORD) override { return kUnused; }
  Status RegDeleteValueA(HKEY, const char*) override { return kUnused; }
  Status RegDeleteKeyA(HKEY, const char*) override { return kUnused; }
  Status RegDeleteTreeA(HKEY, const char*) override { return kUnused; }
  Status RegFlushKey(HKEY) override { return kUnused; }

 private:
  static constexpr HKEY kDrives = 0x1000;
  static constexpr Status kUnused = ERROR_ACCESS_DENIED;
};

TEST(NativeDrives, TypesReadinessLabelsAndShares) {
  testing::TemporaryMachineRoot root;
  root.addDrive('A');
  root.addDrive('C');
  root.writeFile("drive_c/.windows-label", "SYSTEM\n");
  root.addDriveLink('D', "../drive_d");  // a CD drive without a disc
  root.addShare("fileserver", "public");
  root.addDriveLink('F', "unc/fileserver/public");
  root.addDriveLink('G', "unc/fileserver/gone");
  root.addDrive('R');
  DriveTypesRegistry registry;
  registry.types = {{"d:", "cdrom"}, {"r:", "ramdisk"}, {"c:", "hd"}, {"f:", "hd"}};
  NativeFileSystem files(root.path(), &registry);

  const std::vector<DriveInfo> drives = files.drives();
  ASSERT_EQ(drives.size(), 6u);
  const auto expect = [&](std::size_t i, char letter, DriveType type, bool ready,
                          const std::string& label, const std::string& remote) {
    EXPECT_EQ(drives[i].letter, letter);
    EXPECT_EQ(drives[i].type, type) << letter;
    EXPECT_EQ(drives[i].ready, ready) << letter;
    EXPECT_EQ(drives[i].label, label) << letter;
    EXPECT_EQ(drives[i].remotePath, remote) << letter;
  };
  expect(0, 'A', DriveType::Removable, true, "", "");
  expect(1, 'C', DriveType::Fixed, true, "SYSTEM", "");
  expect(2, 'D', DriveType::CdRom, false, "", "");
  expect(3, 'F', DriveType::Remote, true, "", "\\\\fileserver\\public");
  expect(4, 'G', DriveType::Remote, false, "", "\\\\fileserver\\gone");
  expect(5, 'R', DriveType::RamDisk, true, "", "");

  EXPECT_EQ(files.drive('q').status(), ERROR_INVALID_DRIVE);
  EXPECT_EQ(files.drive('1').status(), ERROR_INVALID_DRIVE);
  EXPECT_EQ(files.drive('c')->letter, 'C');
  EXPECT_TRUE(files.fileExists("F:\\..\\..\\x") == false);
}

TEST(NativeDrives, DefaultTypesWithoutRegistry) {
  testing::TemporaryMachineRoot root;
  root.addDrive('B');
  root.addDrive('E');
  NativeFileSystem files(root.path());
  EXPECT_EQ(files.drive('B')->type, DriveType::Removable);
  EXPECT_EQ(files.drive('E')->type, DriveType::Fixed);
}

}  // namespace
}  // namespace platform
