#include "test_program.h"

#include <QCoreApplication>

#include "frame/start_up.h"

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

platform::Machine& prepared(platform::testing::TestMachine& test) {
  test.writeFile("C:\\Tools\\CONFIG.MIG", kConfig);
  test.writeFile("C:\\Data\\Letters\\letter.doc", "dear");
  test.writeFile("C:\\Data\\budget.xls", "1,2,3");
  test.writeFile("C:\\Backup\\Migration\\Master.mig", "[Files Backup]\r\n");
  return test.machine();
}

}  // namespace

TestProgram::TestProgram()
    : test({"C:\\Tools", ""}), machine(prepared(test)), program(machine, ui, "") {}

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
