// One control model and its widget at a time: a user action reaches the model (and its handler)
// once, a model change reaches the widget, and neither echoes back.
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <memory>

#include "forms/check_box.h"
#include "forms/command_button.h"
#include "forms/dir_list_box.h"
#include "forms/list_box.h"
#include "forms/list_view.h"
#include "forms/menu_item.h"
#include "forms/option_button.h"
#include "forms/status_bar.h"
#include "forms/tab_strip.h"
#include "forms/text_box.h"
#include "gui/check_box_binding.h"
#include "gui/command_button_binding.h"
#include "gui/dir_list_box_binding.h"
#include "gui/list_box_binding.h"
#include "gui/list_view_binding.h"
#include "gui/menu_binding.h"
#include "gui/option_button_binding.h"
#include "gui/status_bar_binding.h"
#include "gui/tab_strip_binding.h"
#include "gui/text_box_binding.h"
#include "platform/testing/test_machine.h"

namespace gui {
namespace {

// The widgets of a test live in a window shown offscreen, so that clicks land. It is declared
// after the models: a widget must never outlive the model it follows.
class ShownWindow : public QWidget {
 public:
  ShownWindow() {
    resize(400, 300);
    show();
  }
};

TEST(BindingTest, TypedTextReachesTheModelOnceAndModelTextReachesTheWidget) {
  forms::TextBox model("txtDir", "C:\\");
  int changes = 0;
  model.onChange = [&] { ++changes; };
  ShownWindow window;
  QLineEdit* edit = TextBoxBinding::create(model, &window);
  EXPECT_EQ(edit->text(), "C:\\");

  edit->setFocus();
  edit->end(false);
  QTest::keyClicks(edit, "Caf");
  // QTest types ASCII only; an accented letter comes as the key event a keyboard would send.
  QKeyEvent accented(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0xe9)));
  QApplication::sendEvent(edit, &accented);
  EXPECT_EQ(model.text(), "C:\\Caf\xe9");  // Windows-1252 inside the model
  EXPECT_EQ(changes, 4);

  model.setText("D:\\");
  EXPECT_EQ(edit->text(), "D:\\");
  EXPECT_EQ(changes, 5);
}

TEST(BindingTest, CheckBoxClicksFollowTheModelRuleForGreyAndChecked) {
  forms::CheckBox model("chkData", "Copy Data Directory Only", forms::CheckState::Grayed);
  int clicks = 0;
  model.onClick = [&] { ++clicks; };
  ShownWindow window;
  QCheckBox* box = CheckBoxBinding::create(model, &window);
  EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);

  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(model.value(), forms::CheckState::Checked);  // grey becomes checked, not clear
  EXPECT_EQ(box->checkState(), Qt::Checked);
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(model.value(), forms::CheckState::Unchecked);
  EXPECT_EQ(box->checkState(), Qt::Unchecked);
  EXPECT_EQ(clicks, 2);

  model.setValue(forms::CheckState::Grayed);
  EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);
}

TEST(BindingTest, ChoosingAnOptionClearsTheOthersThroughTheModel) {
  forms::OptionGroup group("optMigTo", {"Windows 95", "Windows 98", "Windows 2000/XP"});
  group[2].setValue(true);
  ShownWindow window;
  std::vector<QRadioButton*> buttons;
  for (std::size_t i = 0; i < group.count(); ++i) {
    buttons.push_back(OptionButtonBinding::create(group[i], &window));
  }
  QTest::mouseClick(buttons[0], Qt::LeftButton);
  EXPECT_EQ(group.chosenIndex(), 0);
  EXPECT_TRUE(buttons[0]->isChecked());
  EXPECT_FALSE(buttons[2]->isChecked());

  // Clicking the chosen option again keeps it chosen.
  QTest::mouseClick(buttons[0], Qt::LeftButton);
  EXPECT_TRUE(buttons[0]->isChecked());
  EXPECT_EQ(group.chosenIndex(), 0);
}

TEST(BindingTest, ButtonClickReachesItsHandlerOnlyWhileTheModelEnablesIt) {
  forms::CommandButton model("cmdSelAll", "", 2, "select-all");
  model.setToolTipText("Select All Files");
  int clicks = 0;
  model.onClick = [&] { ++clicks; };
  ShownWindow window;
  QPushButton* button = CommandButtonBinding::create(model, &window);
  EXPECT_FALSE(button->icon().isNull());
  EXPECT_EQ(button->toolTip(), "Select All Files");

  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  model.setEnabled(false);
  EXPECT_FALSE(button->isEnabled());
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
}

TEST(BindingTest, ListBoxSelectionGoesBothWays) {
  forms::ListBox model("lstStandardFiles", forms::MultiSelect::Simple, {"Word", "Excel", "HTML"});
  ShownWindow window;
  QListWidget* list = ListBoxBinding::create(model, &window);
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::MultiSelection);

  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(1)).center());
  EXPECT_EQ(model.selectedIndexes(), (std::vector<std::size_t>{1}));

  model.setAllSelected(true);
  EXPECT_EQ(list->selectedItems().size(), 3);
  model.addItem("Archives");
  EXPECT_EQ(list->count(), 4);
  EXPECT_EQ(list->selectedItems().size(), 3);
}

TEST(BindingTest, GrowingListViewShowsRowsInBatchesAndNeverStartsOver) {
  forms::ListView model("lvFiles", {"File Path", "Filename", "Size (kb)", "Modified"});
  ShownWindow window;
  QTreeView* view = ListViewBinding::create(model, &window);
  EXPECT_TRUE(view->uniformRowHeights());
  auto* table = qobject_cast<ListViewTableModel*>(view->model());
  ASSERT_NE(table, nullptr);
  QSignalSpy resets(table, &QAbstractItemModel::modelReset);
  QSignalSpy inserts(table, &QAbstractItemModel::rowsInserted);

  constexpr int kRows = 100'000;
  for (int row = 0; row < kRows; ++row) {
    model.add({"C:\\Data", {"file" + std::to_string(row) + ".doc", "1", "6/1/2001"}, false});
  }
  EXPECT_EQ(table->rowCount(), 0);  // appended rows wait for their batch
  table->flush();
  EXPECT_EQ(inserts.count(), 1);
  EXPECT_EQ(table->rowCount(), kRows);
  EXPECT_EQ(table->index(kRows - 1, 1).data().toString(), "file99999.doc");
  EXPECT_EQ(table->headerData(2, Qt::Horizontal).toString(), "Size (kb)");

  // A row inserted above a waiting one: the waiting one is shown first, then the new one.
  model.add({"C:\\Data", {"last.doc"}, false});
  model.insert(0, {"C:\\", {"first.doc"}, false});
  EXPECT_EQ(inserts.count(), 3);
  EXPECT_EQ(table->rowCount(), kRows + 2);
  EXPECT_EQ(table->index(0, 1).data().toString(), "first.doc");
  EXPECT_EQ(table->index(kRows + 1, 1).data().toString(), "last.doc");
  EXPECT_EQ(resets.count(), 0);

  // Selecting every row in the model is one selection range in the view.
  model.setAllSelected(true);
  EXPECT_EQ(view->selectionModel()->selection().size(), 1);
  EXPECT_EQ(view->selectionModel()->selectedRows().size(), kRows + 2);
  model.setSelected(7, false);
  EXPECT_FALSE(view->selectionModel()->isRowSelected(7, {}));

  // And a row the user selects is selected in the model, nothing else changing.
  model.setAllSelected(false);
  view->selectionModel()->select(view->model()->index(42, 0),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
  EXPECT_EQ(model.selectedRows(), (std::vector<std::size_t>{42}));

  model.clear();
  EXPECT_EQ(view->model()->rowCount(), 0);
}

TEST(BindingTest, ListViewRowsComeWithTheirSelection) {
  forms::ListView model("lvType", {"Type", "Description"});
  ShownWindow window;
  QTreeView* view = ListViewBinding::create(model, &window);
  auto* table = qobject_cast<ListViewTableModel*>(view->model());
  model.add({"abc", {}, false});
  model.add({"txt", {}, true});
  model.setSelected(0, true);  // while the rows wait for their batch
  table->flush();
  EXPECT_TRUE(view->selectionModel()->isRowSelected(0, {}));
  EXPECT_TRUE(view->selectionModel()->isRowSelected(1, {}));

  model.setAllSelected(false);
  model.insert(0, {"xyz", {}, true});  // above shown rows: shown at once
  EXPECT_TRUE(view->selectionModel()->isRowSelected(0, {}));
  EXPECT_FALSE(view->selectionModel()->isRowSelected(1, {}));
  model.remove(0);
  EXPECT_EQ(table->rowCount(), 2);
  EXPECT_FALSE(view->selectionModel()->hasSelection());
}

TEST(BindingTest, TabChoiceRaisesTheModelClickOnceAndModelChoiceMovesTheTab) {
  forms::TabStrip model("tabRTF",
                        {"Export User Settings", "Backup User Documents", "Restore User"});
  int clicks = 0;
  model.onClick = [&] { ++clicks; };
  ShownWindow window;
  QTabWidget* tabs = TabStripBinding::create(model, {}, &window);
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->tabText(2), "Restore User");

  tabs->setCurrentIndex(2);
  EXPECT_EQ(model.selected(), 2u);
  EXPECT_EQ(clicks, 1);

  model.select(1);
  EXPECT_EQ(tabs->currentIndex(), 1);
  EXPECT_EQ(clicks, 2);  // the program's own select, not an echo from the widget
}

TEST(BindingTest, StatusPanelsFollowTheModel) {
  forms::StatusBar model("sbMain", {{"status", "Ready"}, {"count", ""}});
  ShownWindow window;
  QStatusBar* bar = StatusBarBinding::create(model, &window);
  auto* status = bar->findChild<QLabel*>("status");
  auto* count = bar->findChild<QLabel*>("count");
  ASSERT_NE(status, nullptr);
  ASSERT_NE(count, nullptr);
  EXPECT_EQ(status->text(), "Ready");
  model.setPanelText(2, "1234");
  EXPECT_EQ(count->text(), "1234");
}

TEST(BindingTest, MenuCommandsKeepTheirAccessKeysAndReachTheirHandlers) {
  forms::MenuItem file("mnuFile", "&File");
  int exits = 0;
  file.add("mnuFileSave", "Save Configuration");
  file.add("mnuFileDash", "-");
  file.add("mnuFileExit", "Exit").onClick = [&] { ++exits; };
  forms::MenuItem script("mnuScript", "&Create Custom Script");
  QMenuBar bar;
  MenuItemBinding::addToMenuBar(file, bar);
  MenuItemBinding::addToMenuBar(script, bar);

  ASSERT_EQ(bar.actions().size(), 2);
  EXPECT_EQ(bar.actions()[0]->text(), "&File");
  EXPECT_EQ(bar.actions()[1]->text(), "&Create Custom Script");
  QMenu* menu = bar.actions()[0]->menu();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), 3);
  EXPECT_TRUE(menu->actions()[1]->isSeparator());
  menu->actions()[2]->trigger();
  EXPECT_EQ(exits, 1);

  file.children()[0]->setEnabled(false);
  EXPECT_FALSE(menu->actions()[0]->isEnabled());
}

TEST(BindingTest, OpeningAFolderInTheDirectoryListMovesTheModel) {
  platform::testing::TestMachine test;
  test.writeFile("C:\\Data\\Letters\\a.doc", "a");
  test.writeFile("C:\\Data\\Reports\\b.doc", "b");
  forms::DirListBox model("Dir1", test.files());
  ASSERT_EQ(model.setPath("C:\\Data"), platform::ERROR_SUCCESS);
  ShownWindow window;
  QTreeWidget* tree = DirListBoxBinding::create(model, &window);

  // The root, the open folder, then its sub-folders.
  QTreeWidgetItem* data = tree->topLevelItem(0)->child(0);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->text(0), "Data");
  ASSERT_EQ(data->childCount(), 2);
  EXPECT_EQ(data->child(1)->text(0), "Reports");

  Q_EMIT tree->itemActivated(data->child(1), 0);
  EXPECT_EQ(model.path(), "C:\\Data\\Reports");
  EXPECT_EQ(tree->currentItem()->text(0), "Reports");
  Q_EMIT tree->itemActivated(tree->topLevelItem(0), 0);
  EXPECT_EQ(model.path(), "C:\\");
}

TEST(PathAncestors, DrivesAndShares) {
  EXPECT_EQ(pathAncestors("C:\\"), (std::vector<std::string>{"C:\\"}));
  EXPECT_EQ(pathAncestors("C:\\Data\\Sub"),
            (std::vector<std::string>{"C:\\", "C:\\Data", "C:\\Data\\Sub"}));
  EXPECT_EQ(pathAncestors("\\\\server\\share\\x"),
            (std::vector<std::string>{"\\\\server\\share", "\\\\server\\share\\x"}));
}

}  // namespace
}  // namespace gui
