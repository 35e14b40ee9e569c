#include "forms/form.h"

namespace forms {

Form::Form(Ui& ui, std::string name, std::string caption)
    : m_ui(ui), m_name(std::move(name)), m_caption(std::move(caption)) {}

void Form::setCaption(std::string caption) {
  if (caption == m_caption) return;
  m_caption = std::move(caption);
  changed.emit();
}

void Form::setTopmost(bool topmost) {
  if (topmost == m_topmost) return;
  m_topmost = topmost;
  changed.emit();
}

void Form::load() {
  if (m_loaded) return;
  m_loaded = true;
  Form_Load();
}

void Form::show(ShowMode mode) {
  load();
  if (!m_loaded) return;  // the load handler unloaded the form again
  m_visible = true;
  changed.emit();
  if (mode == ShowMode::Modal) {
    m_ui.showModal(*this);
  } else {
    m_ui.showModeless(*this);
  }
}

void Form::hide() {
  if (!m_visible) return;
  m_visible = false;
  changed.emit();
  m_ui.formHidden(*this);
}

bool Form::unload(UnloadMode mode) {
  if (!m_loaded) return true;
  if (!Form_QueryUnload(mode)) return false;
  Form_Unload();
  m_loaded = false;
  const bool wasVisible = m_visible;
  m_visible = false;
  m_focused = nullptr;
  changed.emit();
  if (wasVisible) m_ui.formHidden(*this);
  return true;
}

Control* Form::findControl(const std::string& name, int index) const {
  for (Control* control : m_controls) {
    if (control->name() == name && control->index() == index) return control;
  }
  return nullptr;
}

void Form::setFocus(Control& control) {
  if (m_focused == &control) return;
  m_focused = &control;
  changed.emit();
}

void Form::addMenu(MenuItem& menu) {
  m_menus.push_back(&menu);
  addMenuItems(menu);
}

void Form::addMenuItems(MenuItem& item) {
  add(item);
  for (const auto& child : item.children()) addMenuItems(*child);
}

}  // namespace forms
