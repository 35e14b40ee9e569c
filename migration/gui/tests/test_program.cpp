#include "test_program.h"

#include <QCoreApplication>

#include "frame/mdl_main.h"

namespace gui::testing {

namespace {

constexpr const char* kConfig =
    "[Default Copy Destination]\r\nc:\\migrate\r\n\r\n"
    "[Default Migration Destination]\r\nc:\\migrate\r\n\r\n"
    "[Default Custom Types]\r\nabc\r\n\r\n"
    "[Default Migration Type]\r\n3,4\r\n\r\n"
    "[Default Scan Drive]\r\nc:\\\r\n\r\n"
    "[Default File Types]\r\n0,2\r\n\r\n"
    "[Default Migration Settings]\r\n0,5\r\n\r\n"
    "[Default Exclude List]\r\nc:\\winnt\r\n";

const std::filesystem::path& prepared(platform::testing::TemporaryMachineRoot& root) {
  root.addDrive('C');
  root.writeFile("drive_c/Tools/CONFIG.MIG", kConfig);
  root.writeFile("drive_c/Data/Letters/letter.doc", "dear");
  root.writeFile("drive_c/Data/budget.xls", "1,2,3");
  root.writeFile("drive_c/Backup/Migration/Master.mig", "[Files Backup]\r\n");
  return root.path();
}

}  // namespace

TestProgram::TestProgram()
    : machine(prepared(root), clock, "C:\\Tools"), program(machine, ui, "") {}

TestProgram::~TestProgram() {
  ui.closeAll();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestProgram::start() { migration::Main(program); }

QWidget* TestProgram::widget(const forms::Form& form, const forms::Control& control) const {
  FormView* view = ui.viewOf(form);
  return view == nullptr ? nullptr : view->widgetFor(control);
}

}  // namespace gui::testing
