// DirListBox -> a directory list: the current path's folders from the drive root down, open,
// and below them the current folder's sub-folders. Opening one (double click or Enter) makes it
// the model's path.
#pragma once

#include <QTreeWidget>

#include "forms/dir_list_box.h"
#include "gui/control_binding.h"

namespace gui {

class DirListBoxBinding final : public ControlBinding {
  Q_OBJECT

 public:
  static QTreeWidget* create(forms::DirListBox& dirList, QWidget* parent);

 private:
  DirListBoxBinding(forms::DirListBox& dirList, QTreeWidget& widget);
  void sync() override;
  void userOpened(QTreeWidgetItem* item);
  QTreeWidget& m_widget;
  std::string m_shownPath;
  std::vector<std::string> m_shownSubdirectories;
};

// The folders from the root down to `path`: "C:\Data\Sub" gives "C:\", "C:\Data", "C:\Data\Sub";
// a share "\\server\share\x" starts at "\\server\share".
std::vector<std::string> pathAncestors(const std::string& path);

}  // namespace gui
