// Each window opens offscreen with a widget for every control its form shows, and the main
// window is filled from the configuration as start-up leaves it.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "forms/menu_item.h"
#include "forms/timer.h"
#include "frame/frm_about.h"
#include "frame/frm_main.h"
#include "frame/frm_status_message.h"
#include "gui/view_factory.h"
#include "scan/frm_add_type.h"
#include "scan/frm_browse.h"
#include "scan/frm_exclude.h"
#include "scan/frm_message.h"
#include "scan/frm_new_dir.h"
#include "script/frm_reg_enum.h"
#include "test_program.h"

namespace gui {
namespace {

using testing::TestProgram;

struct WindowCase {
  const char* name;
  std::function<std::unique_ptr<forms::Form>(migration::Program&)> make;
};

void PrintTo(const WindowCase& window, std::ostream* out) { *out << window.name; }

template <typename T>
std::unique_ptr<forms::Form> make(migration::Program& program) {
  return std::make_unique<T>(program);
}

class WindowTest : public ::testing::TestWithParam<WindowCase> {};

TEST_P(WindowTest, OpensWithAWidgetForEveryShownControl) {
  TestProgram test;
  std::unique_ptr<forms::Form> form = GetParam().make(test.program);
  form->load();
  std::unique_ptr<FormView> view(createFormView(*form));
  view->show();
  EXPECT_EQ(view->objectName().toStdString(), form->name());
  EXPECT_EQ(view->windowTitle().toStdString(), form->caption());
  for (forms::Control* control : form->controls()) {
    if (!control->visible() || dynamic_cast<forms::MenuItem*>(control) != nullptr) continue;
    if (dynamic_cast<forms::Timer*>(control) != nullptr) {
      EXPECT_NE(view->findChild<QTimer*>(), nullptr);
      continue;
    }
    QWidget* widget = view->widgetFor(*control);
    ASSERT_NE(widget, nullptr) << control->qualifiedName();
    // A tab strip shows one page at a time.
    if (qobject_cast<QStackedWidget*>(widget->parentWidget()) != nullptr) continue;
    // Widgets on the pages of other tabs are not shown yet, but none is hidden on purpose.
    const bool hiddenOnPurpose =
        widget->isHidden() && widget->testAttribute(Qt::WA_WState_ExplicitShowHide);
    EXPECT_FALSE(hiddenOnPurpose) << control->qualifiedName();
  }
  view->detach();
}

INSTANTIATE_TEST_SUITE_P(
    EveryWindow, WindowTest,
    ::testing::Values(WindowCase{"frmMain", make<migration::frmMain>},
                      WindowCase{"frmStatusMessage", make<migration::frmStatusMessage>},
                      WindowCase{"frmBrowse", make<migration::frmBrowse>},
                      WindowCase{"frmNewDir", make<migration::frmNewDir>},
                      WindowCase{"frmMessage", make<migration::frmMessage>},
                      WindowCase{"frmAbout", make<migration::frmAbout>},
                      WindowCase{"frmAddType", make<migration::frmAddType>},
                      WindowCase{"frmExclude", make<migration::frmExclude>},
                      WindowCase{"frmRegEnum", make<migration::frmRegEnum>}),
    [](const ::testing::TestParamInfo<WindowCase>& info) { return info.param.name; });

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() { test.start(); }
  migration::frmMain& form() { return test.program.sharedForm<migration::frmMain>(); }
  FormView* view() { return test.ui.viewOf(form()); }
  template <typename T>
  T* widget(const forms::Control& control) {
    return test.widgetAs<T>(form(), control);
  }

  TestProgram test;
};

TEST_F(MainWindowTest, StartUpShowsTheWindowFilledFromTheConfiguration) {
  ASSERT_NE(view(), nullptr);
  EXPECT_TRUE(view()->isVisible());
  EXPECT_EQ(view()->windowTitle(), "Transvale!");
  EXPECT_EQ(widget<QLineEdit>(form().txtUser)->text(), "Local");
  EXPECT_EQ(widget<QLineEdit>(form().txtMigrateDir)->text(), "c:\\migrate\\Local");
  EXPECT_EQ(widget<QLineEdit>(form().txtMigFile)->text(),
            "c:\\migrate\\Local\\migration\\master.mig");
  auto* types = widget<QListWidget>(form().lstStandardFiles);
  ASSERT_EQ(types->count(), 9);
  EXPECT_TRUE(types->item(0)->isSelected());
  EXPECT_TRUE(types->item(2)->isSelected());
  EXPECT_FALSE(types->item(1)->isSelected());
  // The custom type "abc" checked chkCustom, which enabled its list.
  auto* custom = widget<QTreeView>(form().lvType);
  EXPECT_EQ(custom->model()->rowCount(), 1);
  EXPECT_TRUE(custom->isEnabled());
  EXPECT_TRUE(widget<QRadioButton>(form().optMigTo[4])->isChecked());
  EXPECT_TRUE(widget<QRadioButton>(form().optMigFrom[0])->isChecked());
}

TEST_F(MainWindowTest, HasThreePagesMenusPicturesAndTwoStatusPanels) {
  auto* tabs = view()->findChild<QTabWidget*>();
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->tabText(1), "Backup User Documents");

  auto* bar = view()->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  QStringList menus;
  for (QAction* action : bar->actions()) menus << action->text();
  EXPECT_EQ(menus, (QStringList{"&File", "&Migration", "&Options", "&Create Custom Script",
                                "&Help"}));

  for (const auto* array : {&form().cmdSelAll, &form().cmdDeselAll, &form().cmdBrowse}) {
    for (const auto& button : *array) {
      auto* widget = test.widgetAs<QPushButton>(form(), *button);
      ASSERT_NE(widget, nullptr) << button->qualifiedName();
      EXPECT_FALSE(widget->icon().isNull()) << button->qualifiedName();
      EXPECT_FALSE(widget->toolTip().isEmpty()) << button->qualifiedName();
    }
  }
  auto* status = widget<QStatusBar>(form().sbMain);
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(status->findChild<QLabel*>("status")->text(), "Ready");
  form().Update_Status(2, "17");
  EXPECT_EQ(status->findChild<QLabel*>("count")->text(), "17");
}

TEST_F(MainWindowTest, RestoreListExistsOutsideWhatItsPageShows) {
  auto* tabs = view()->findChild<QTabWidget*>();
  tabs->setCurrentIndex(2);
  QWidget* page = tabs->widget(2);
  for (const forms::Control* control : std::initializer_list<const forms::Control*>{
           &form().lvRestore, &form().lblRestore}) {
    QWidget* widget = test.widget(form(), *control);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget(), page);
    EXPECT_FALSE(page->rect().intersects(widget->geometry())) << control->name();
  }
}

TEST_F(MainWindowTest, ClickingSelectAllSelectsEveryFoundFileInTheView) {
  for (int row = 0; row < 5; ++row) {
    form().lvFiles.add({"C:\\Data", {"f" + std::to_string(row) + ".doc", "1", "6/1/2001"}, false});
  }
  view()->showPendingRows();
  auto* tabs = view()->findChild<QTabWidget*>();
  tabs->setCurrentIndex(1);
  EXPECT_EQ(form().frontPage(), 1);
  QTest::mouseClick(widget<QPushButton>(form().cmdSelAll[2]), Qt::LeftButton);
  EXPECT_EQ(form().lvFiles.selectedRows().size(), 5u);
  EXPECT_EQ(widget<QTreeView>(form().lvFiles)->selectionModel()->selectedRows().size(), 5);
  QTest::mouseClick(widget<QPushButton>(form().cmdDeselAll[2]), Qt::LeftButton);
  EXPECT_FALSE(form().lvFiles.anySelected());
}

TEST_F(MainWindowTest, UncheckingCustomTypesGreysTheirListAndButtons) {
  auto* check = widget<QCheckBox>(form().chkCustom);
  QTest::mouseClick(check, Qt::LeftButton);
  EXPECT_EQ(form().chkCustom.value(), forms::CheckState::Unchecked);
  EXPECT_FALSE(widget<QTreeView>(form().lvType)->isEnabled());
  EXPECT_FALSE(widget<QPushButton>(form().cmdAdd)->isEnabled());
  EXPECT_FALSE(widget<QPushButton>(form().cmdClear)->isEnabled());
}

}  // namespace
}  // namespace gui
