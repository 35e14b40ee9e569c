#include "gui/dir_list_box_binding.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>
#include <algorithm>

#include "gui/qt_text.h"

namespace gui {

namespace {

constexpr int kPathRole = Qt::UserRole;

// Always open, so it draws no branch arrows: the folders step in by their indentation alone.
class DirectoryTree final : public QTreeWidget {
 public:
  using QTreeWidget::QTreeWidget;

 protected:
  void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}
};

std::string lastComponent(const std::string& path) {
  const auto slash = path.find_last_of('\\');
  if (slash == std::string::npos || slash + 1 == path.size()) return path;
  return path.substr(slash + 1);
}

QTreeWidgetItem* makeItem(const std::string& path, const std::string& text,
                          QStyle::StandardPixmap icon) {
  auto* item = new QTreeWidgetItem(QStringList{toQt(text)});
  item->setData(0, kPathRole, toQt(path));
  item->setIcon(0, QApplication::style()->standardIcon(icon));
  return item;
}

}  // namespace

std::vector<std::string> pathAncestors(const std::string& path) {
  if (path.empty()) return {};
  std::size_t rootEnd = path.size();
  if (path.rfind("\\\\", 0) == 0) {
    // A share's root is \\server\share.
    const auto server = path.find('\\', 2);
    if (server != std::string::npos) rootEnd = std::min(path.find('\\', server + 1), path.size());
  } else {
    const auto slash = path.find('\\');
    if (slash != std::string::npos) rootEnd = slash + 1;
  }
  std::vector<std::string> ancestors{path.substr(0, rootEnd)};
  for (std::size_t pos = rootEnd; pos < path.size(); ++pos) {
    if (path[pos] == '\\') continue;
    const auto next = path.find('\\', pos);
    ancestors.push_back(path.substr(0, next));
    if (next == std::string::npos) break;
    pos = next;
  }
  return ancestors;
}

QTreeWidget* DirListBoxBinding::create(forms::DirListBox& dirList, QWidget* parent) {
  auto* widget = new DirectoryTree(parent);
  widget->setHeaderHidden(true);
  widget->setRootIsDecorated(false);
  widget->setItemsExpandable(false);
  widget->setIndentation(12);
  widget->setUniformRowHeights(true);
  widget->setSelectionMode(QAbstractItemView::SingleSelection);
  (new DirListBoxBinding(dirList, *widget))->start();
  return widget;
}

DirListBoxBinding::DirListBoxBinding(forms::DirListBox& dirList, QTreeWidget& widget)
    : ControlBinding(dirList, widget), m_widget(widget) {
  connect(&m_widget, &QTreeWidget::itemActivated, this, &DirListBoxBinding::userOpened);
}

void DirListBoxBinding::sync() {
  const auto& dirList = model<forms::DirListBox>();
  std::vector<std::string> subdirectories;
  for (std::size_t i = 0; i < dirList.listCount(); ++i) subdirectories.push_back(dirList.list(i));
  // Rebuilding resets the user's scrolling: only do it when the listing changed.
  if (dirList.path() == m_shownPath && subdirectories == m_shownSubdirectories) return;
  m_shownPath = dirList.path();
  m_shownSubdirectories = subdirectories;

  m_widget.clear();
  if (m_shownPath.empty()) return;
  QTreeWidgetItem* parent = nullptr;
  for (const std::string& ancestor : pathAncestors(m_shownPath)) {
    const std::string text = parent == nullptr ? ancestor : lastComponent(ancestor);
    QTreeWidgetItem* item = makeItem(ancestor, text, QStyle::SP_DirOpenIcon);
    if (parent == nullptr) {
      m_widget.addTopLevelItem(item);
    } else {
      parent->addChild(item);
    }
    item->setExpanded(true);
    parent = item;
  }
  for (const std::string& subdirectory : subdirectories) {
    parent->addChild(
        makeItem(subdirectory, lastComponent(subdirectory), QStyle::SP_DirClosedIcon));
  }
  m_widget.setCurrentItem(parent);
}

void DirListBoxBinding::userOpened(QTreeWidgetItem* item) {
  if (!acceptsUserAction() || item == nullptr) return;
  const std::string path = fromQt(item->data(0, kPathRole).toString());
  // A folder that cannot be opened leaves the list where it was, as the model decides.
  platform::ignoreFailure(model<forms::DirListBox>().setPath(path), "a folder the user chose that cannot be opened");
  resync();
}

}  // namespace gui
