// MenuItem -> QMenuBar entries and QActions. A top-level item with commands under it becomes a
// menu, one without becomes a command of the bar itself; "-" is a separator. Captions keep their
// "&", which Qt reads as the access key just as the program means it.
#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "forms/menu_item.h"
#include "gui/control_binding.h"

namespace gui {

class MenuItemBinding final : public ControlBinding {
  Q_OBJECT

 public:
  // Adds `item` and everything under it to the bar.
  static void addToMenuBar(forms::MenuItem& item, QMenuBar& bar);

 private:
  MenuItemBinding(forms::MenuItem& item, QAction& action);
  static void addToMenu(forms::MenuItem& item, QMenu& menu);
  static void bind(forms::MenuItem& item, QAction& action);
  void sync() override;
  void syncCommon() override;
  void userTriggered();
  QAction& m_action;
};

}  // namespace gui
