#include "scan/mdl_file_types.h"

#include "frame/frm_main.h"
#include "frame/program.h"

namespace migration {

std::string GetFilePatterns(Program& program) {
  frmMain& form = program.mainForm();
  std::string patterns;
  for (std::size_t i = 0; i < form.lstStandardFiles.count() && i < kStandardFilePatterns.size();
       ++i) {
    if (form.lstStandardFiles.selected(i)) patterns += std::string(kStandardFilePatterns[i]) + ";";
  }
  if (form.chkCustom.value() == forms::CheckState::Checked) {
    for (std::size_t row = 0; row < form.lvType.count(); ++row) {
      patterns += "*." + form.lvType.row(row).text + ";";
    }
  }
  if (!patterns.empty()) patterns.pop_back();
  return patterns;
}

}  // namespace migration
