#include "scan/mdl_file_types.h"

#include "context/program.h"

namespace migration {

std::string GetFilePatterns(Program& program) {
  MainWindow& form = program.mainWindow();
  std::string patterns;
  for (const std::size_t i : form.selectedStandardTypes()) {
    if (i < kStandardFilePatterns.size()) patterns += std::string(kStandardFilePatterns[i]) + ";";
  }
  if (form.isChecked(MainWindow::Option::CustomTypes)) {
    const forms::ListView& types = form.customTypes();
    for (std::size_t row = 0; row < types.count(); ++row) {
      patterns += "*." + types.row(row).text + ";";
    }
  }
  if (!patterns.empty()) patterns.pop_back();
  return patterns;
}

}  // namespace migration
