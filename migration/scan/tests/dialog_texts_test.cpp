// The words the custom type and exclude list dialogs show, as the user reads them.
#include <gtest/gtest.h>

#include "scan/frm_add_type.h"
#include "scan/frm_exclude.h"
#include "testing/test_program.h"

namespace migration {
namespace {

TEST(DialogTextsTest, AddCustomFileType) {
  testing::TestProgram test;
  frmAddType dialog(test.program());
  EXPECT_EQ(dialog.caption(), "Add A Custom File Type");
  EXPECT_EQ(dialog.lblInstructions.caption(),
            "Enter the File Extension and an optional description for the type of file you want "
            "to migrate.  DO NOT use wildcards or periods. (i.e. enter \"DOC\" not \"*.DOC\" if "
            "you wanted to search for all Microsoft Word documents).");
  const std::vector<std::string> captions = {dialog.lblExt.caption(), dialog.lblDesc.caption(),
                                             dialog.cmdAdd.caption(), dialog.cmdClose.caption()};
  EXPECT_EQ(captions,
            (std::vector<std::string>{"File Extension:", "Description:", "Add", "Close"}));
}

TEST(DialogTextsTest, ExcludeList) {
  testing::TestProgram test;
  frmExclude dialog(test.program());
  EXPECT_EQ(dialog.caption(), "Add or Remove Directories to be Excluded From A File Scan");
  const std::vector<std::string> captions = {dialog.fraBrowse.caption(), dialog.cmdAdd.caption(),
                                             dialog.cmdRemove.caption(), dialog.cmdSave.caption(),
                                             dialog.cmdClose.caption()};
  EXPECT_EQ(captions,
            (std::vector<std::string>{"Browse for Directories to Exclude", "Add Directory",
                                      "Remove Selected Directories", "Save", "Close"}));
  EXPECT_EQ(dialog.lvExclude.columnHeaders(),
            std::vector<std::string>{"Directories to be Excluded"});
}

}  // namespace
}  // namespace migration
