#include "scan/found_file_row.h"

#include "forms/dir_list_box.h"

namespace migration {

forms::ListItem foundFileRow(const std::string& directory, const platform::DirectoryEntry& file,
                             const RegionalFormat& format) {
  forms::ListItem row;
  row.text = directory;
  row.subItems = {file.name, format.kilobytes(file.size),
                  format.shortDate(format.localTime(file.lastWrite))};
  return row;
}

std::string foundFilePath(const forms::ListItem& row) {
  const std::string name = row.subItems.empty() ? std::string() : row.subItems[0];
  return forms::joinPath(row.text, name);
}

}  // namespace migration
