#include "favorites_import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/testing/temporary_machine_root.h"
#include "native_machine.h"
#include "platform/clock.h"
#include "registry_values.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFavorites = "C:\\Documents and Settings\\jsmith\\Favorites";
constexpr const char* kFavoritesHost = "drive_c/Documents and Settings/jsmith/Favorites";

std::string shortcut(const std::string& url) { return "[InternetShortcut]\r\nURL=" + url + "\r\n"; }

TEST(FavoriteName, KeepsWhatWindowsCanStore) {
  struct Case {
    std::string title;
    std::string name;
  };
  const Case cases[] = {
      {"Plain title", "Plain title"},
      {"a<b>c:d\"e/f\\g|h?i*j", "a_b_c_d_e_f_g_h_i_j"},
      {"tab\there", "tab_here"},
      {"   lead and trail. . ", "lead and trail"},
      {"..", "fallback"},
      {"", "fallback"},
      {"CON", "_CON"},
      {"lpt1.txt", "_lpt1.txt"},
      {"COM10", "COM10"},
      {"Console", "Console"},
      {std::string(150, 'x'), std::string(100, 'x')},
      {std::string(99, 'x') + " .y", std::string(99, 'x')},
      {"caf\xE9", "caf\xE9"},
  };
  for (const Case& c : cases) EXPECT_EQ(favoriteName(c.title, "fallback"), c.name) << c.title;
}

class FavoritesImportTest : public ::testing::Test {
 protected:
  FavoritesImportTest() {
    root.addDrive('C');
    root.writeFile(std::string(kFavoritesHost) + "/Links/Old.url", shortcut("http://old.example/"));
    EXPECT_EQ(writeStringValue(machine.registry(), HKEY_CURRENT_USER,
                               "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
                               "Shell Folders",
                               "Favorites", kFavorites),
              ERROR_SUCCESS);
  }

  Status import(const std::string& bookmarks) {
    root.writeFile("drive_c/bookmark.htm", bookmarks);
    return machine.shellUIHelper().ImportExportFavorites(true, "C:\\bookmark.htm");
  }

  // Every file and folder below `relative` with the contents of the files, by host path.
  std::set<std::string> tree(const fs::path& relative = "") const {
    std::set<std::string> out;
    for (const auto& entry : fs::recursive_directory_iterator(root.path() / relative)) {
      const std::string path = fs::relative(entry.path(), root.path() / relative).string();
      if (entry.is_symlink()) continue;
      out.insert(entry.is_directory() ? path + "/" : path + " = " + root.readFile(relative / path));
    }
    return out;
  }

  testing::TemporaryMachineRoot root;
  VirtualClock clock;
  NativeMachine machine{root.path(), clock, "C:\\Transvale"};
};

const char* const kBookmarks =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
    "<DL><p>\n"
    "<DT><H3>Links</H3>\n"  // exists already: filled further
    "<DL><p>\n"
    "  <DT><A HREF=\"http://old.example/\">Old</A>\n"  // the same shortcut: left alone
    "  <DT><A HREF=\"http://new.example/\">Old</A>\n"  // the name taken: numbered
    "</DL><p>\n"
    "<DT><H3>Work: 2001/Q3</H3>\n"
    "<DL><p>\n"
    "  <DT><H3></H3>\n"
    "  <DL><p><DT><A HREF=\"http://deep.example/\">Deep</A></DL><p>\n"
    "  <DT><A HREF=\"file:///C:/secret.doc\">Local</A>\n"
    "  <DT><A HREF=\"C:\\boot.ini\">Drive path</A>\n"
    "  <DT><A HREF=\"\">Nowhere</A>\n"
    "</DL><p>\n"
    "<DT><A HREF=\"http://a.example/x?y=1&amp;z=2\">Search &amp; Find?</A>\n"
    "<DT><A HREF=\"http://a.example/x?y=1&amp;z=2\">Search &amp; Find?</A>\n"
    "<DT><A HREF=\"http://b.example/\">Search &amp; Find?</A>\n"
    "<DT><A HREF=\"http://untitled.example/path/\"></A>\n"
    "<DT><A HREF=\"http://x.example/&#10;[Evil]\">..\\..\\..\\Evil</A>\n"
    "<DT><A HREF=\"http://con.example/\">CON</A>\n"
    "</DL><p>\n";

TEST_F(FavoritesImportTest, BookmarksBecomeFoldersAndShortcuts) {
  ASSERT_EQ(import(kBookmarks), ERROR_SUCCESS);
  const std::set<std::string> expected = {
      "Links/",
      "Links/Old.url = " + shortcut("http://old.example/"),
      "Links/Old (2).url = " + shortcut("http://new.example/"),
      "Work_ 2001_Q3/",
      "Work_ 2001_Q3/New Folder/",
      "Work_ 2001_Q3/New Folder/Deep.url = " + shortcut("http://deep.example/"),
      "Search & Find_.url = " + shortcut("http://a.example/x?y=1&z=2"),
      "Search & Find_ (2).url = " + shortcut("http://b.example/"),
      "untitled.example_path.url = " + shortcut("http://untitled.example/path/"),
      ".._.._.._Evil.url = " + shortcut("http://x.example/[Evil]"),
      "_CON.url = " + shortcut("http://con.example/"),
  };
  EXPECT_EQ(tree(kFavoritesHost), expected);
  const FavoritesImportOutcome& outcome = machine.nativeShellUIHelper().lastImport();
  EXPECT_EQ(outcome.foldersCreated, 2);
  EXPECT_EQ(outcome.linksWritten, 7);
  EXPECT_EQ(outcome.linksPresent, 2);
  EXPECT_EQ(outcome.linksSkipped, 3);
  EXPECT_EQ(outcome.problems.size(), 3u);

  // Importing the same file again finds everything in place.
  ASSERT_EQ(import(kBookmarks), ERROR_SUCCESS);
  EXPECT_EQ(tree(kFavoritesHost), expected);
  EXPECT_EQ(machine.nativeShellUIHelper().lastImport().linksWritten, 0);
}

TEST_F(FavoritesImportTest, NothingIsWrittenOutsideFavorites) {
  root.writeFile("drive_c/Documents and Settings/jsmith/Favorites.url", "keep");
  const std::set<std::string> before = tree("drive_c");
  ASSERT_EQ(import(std::string("<!DOCTYPE NETSCAPE-Bookmark-file-1><DL>") +
                   "<DT><H3>..</H3><DL><DT><A HREF=\"http://a/\">..</A></DL>"
                   "<DT><H3>../../..</H3><DL><DT><A HREF=\"http://b/\">C:\\WINNT\\x</A></DL>"
                   "<DT><H3>\\\\server\\share</H3><DL></DL></DL>"),
            ERROR_SUCCESS);
  std::set<std::string> changed;
  for (const std::string& line : tree("drive_c")) {
    if (!before.contains(line)) changed.insert(line);
  }
  const std::string favorites = "Documents and Settings/jsmith/Favorites/";
  EXPECT_EQ(changed,
            (std::set<std::string>{favorites + "New Folder/",
                                   favorites + "New Folder/Untitled.url = " + shortcut("http://a/"),
                                   favorites + ".._.._/",
                                   favorites + ".._.._/C__WINNT_x.url = " + shortcut("http://b/"),
                                   favorites + "__server_share/",
                                   "bookmark.htm = " + root.readFile("drive_c/bookmark.htm")}));
}

TEST_F(FavoritesImportTest, AFileThatCannotBeImportedChangesNothing) {
  const std::set<std::string> before = tree(kFavoritesHost);
  ShellUIHelper& shell = machine.shellUIHelper();
  EXPECT_EQ(shell.ImportExportFavorites(true, "C:\\missing.htm"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(shell.ImportExportFavorites(true, "C:\\nofolder\\b.htm"), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(shell.ImportExportFavorites(true, "Q:\\b.htm"), ERROR_PATH_NOT_FOUND);
  EXPECT_NE(shell.ImportExportFavorites(true, "C:\\Documents and Settings"), ERROR_SUCCESS);
  EXPECT_EQ(import("<DL><DT><A HREF=\"http://a/\">A</A></DL>"), ERROR_BAD_FORMAT);
  EXPECT_EQ(shell.ImportExportFavorites(false, "C:\\bookmark.htm"), ERROR_NOT_SUPPORTED);
  EXPECT_EQ(tree(kFavoritesHost), before);
}

TEST_F(FavoritesImportTest, TheFavoritesFolderIsMadeOnlyWithinAProfile) {
  const std::string bookmarks =
      "<!DOCTYPE NETSCAPE-Bookmark-file-1><DL><DT><A HREF=\"http://a/\">A</A></DL>";
  const std::string shellFolders =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  ASSERT_EQ(writeStringValue(machine.registry(), HKEY_CURRENT_USER, shellFolders, "Favorites",
                             "C:\\Documents and Settings\\jsmith\\New Favorites\\"),
            ERROR_SUCCESS);
  EXPECT_EQ(import(bookmarks), ERROR_SUCCESS);
  EXPECT_EQ(root.readFile("drive_c/Documents and Settings/jsmith/New Favorites/A.url"),
            shortcut("http://a/"));

  ASSERT_EQ(writeStringValue(machine.registry(), HKEY_CURRENT_USER, shellFolders, "Favorites",
                             "C:\\Documents and Settings\\nobody\\Favorites"),
            ERROR_SUCCESS);
  EXPECT_EQ(import(bookmarks), ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(fs::exists(root.path() / "drive_c/Documents and Settings/nobody"));
  ASSERT_EQ(
                machine.registry().RegDeleteTreeA(HKEY_CURRENT_USER, shellFolders.c_str()),
            ERROR_SUCCESS);
  EXPECT_EQ(import(bookmarks), ERROR_PATH_NOT_FOUND);
}

}  // namespace
}  // namespace platform
