// Runs a sequence of the control's methods given as command-line words and prints each result.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "parcelon/parcelon.h"

namespace parcelon::tool {

enum class ShowStatus { No, Yes };

class MethodRunner {
 public:
  MethodRunner(ParcelonControl* control, std::ostream& out, std::ostream& err);

  // 0 when every method ran; 1 at the first raised error (printed as "error N: text");
  // 2 for words that name no method or arguments that do not fit.
  int run(const std::vector<std::string>& words, ShowStatus showStatus);

 private:
  int runOne(const ParcelonMethodInfo& method, const std::vector<std::string>& arguments);
  void print(const ParcelonMethodInfo& method, const ParcelonVariant& result);

  ParcelonControl* m_control;
  std::ostream& m_out;
  std::ostream& m_err;
};

// "2001-06-01 12:00:00" for an automation date.
std::string formatAutomationDate(double date);

}  // namespace parcelon::tool
