#include "gui/menu_binding.h"

#include "gui/qt_text.h"

namespace gui {

void MenuItemBinding::addToMenuBar(forms::MenuItem& item, QMenuBar& bar) {
  if (item.children().empty()) {
    bind(item, *bar.addAction(toQt(item.caption())));
    return;
  }
  QMenu* menu = bar.addMenu(toQt(item.caption()));
  bind(item, *menu->menuAction());
  for (const auto& child : item.children()) addToMenu(*child, *menu);
}

void MenuItemBinding::addToMenu(forms::MenuItem& item, QMenu& menu) {
  if (item.isSeparator()) {
    bind(item, *menu.addSeparator());
  } else if (item.children().empty()) {
    bind(item, *menu.addAction(toQt(item.caption())));
  } else {
    QMenu* submenu = menu.addMenu(toQt(item.caption()));
    bind(item, *submenu->menuAction());
    for (const auto& child : item.children()) addToMenu(*child, *submenu);
  }
}

void MenuItemBinding::bind(forms::MenuItem& item, QAction& action) {
  action.setObjectName(toQt(item.name()));
  (new MenuItemBinding(item, action))->start();
}

MenuItemBinding::MenuItemBinding(forms::MenuItem& item, QAction& action)
    : ControlBinding(item, action), m_action(action) {
  connect(&m_action, &QAction::triggered, this, &MenuItemBinding::userTriggered);
}

void MenuItemBinding::sync() {
  const auto& item = model<forms::MenuItem>();
  if (!item.isSeparator()) m_action.setText(toQt(item.caption()));
}

void MenuItemBinding::syncCommon() {
  m_action.setEnabled(control()->enabled());
  m_action.setVisible(control()->visible());
}

void MenuItemBinding::userTriggered() {
  if (!acceptsUserAction()) return;
  model<forms::MenuItem>().click();
}

}  // namespace gui
