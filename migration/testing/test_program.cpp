#include "testing/test_program.h"

namespace migration::testing {

TestProgram::TestProgram() : m_program(std::make_unique<Program>(m_test.machine(), m_ui, "")) {}

// The windows refer to the machine and the Ui, so the program goes first.
TestProgram::~TestProgram() { m_program.reset(); }

}  // namespace migration::testing
