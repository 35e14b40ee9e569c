#include "gui/form_view.h"

#include <QCloseEvent>
#include <QMenuBar>

#include "gui/control_binding.h"
#include "gui/list_view_table_model.h"
#include "gui/menu_binding.h"
#include "gui/qt_text.h"

namespace gui {

FormView::FormView(forms::Form& form) : m_form(&form) {
  setObjectName(toQt(form.name()));
}

FormView::~FormView() { detach(); }

void FormView::start() {
  m_connection = m_form->changed.connect([this] { syncForm(); });
  syncForm();
}

void FormView::detach() {
  if (m_form == nullptr) return;
  for (ControlBinding* binding : findChildren<ControlBinding*>()) binding->detach();
  if (m_connection != 0) m_form->changed.disconnect(m_connection);
  m_form = nullptr;
}

QWidget* FormView::widgetFor(const forms::Control& control) const {
  ControlBinding* binding = ControlBinding::find(*this, control);
  return binding == nullptr ? nullptr : qobject_cast<QWidget*>(&binding->target());
}

void FormView::showPendingRows() {
  for (ListViewTableModel* table : findChildren<ListViewTableModel*>()) table->flush();
}

QMenuBar* FormView::createMenuBar() {
  if (m_form->menus().empty()) return nullptr;
  auto* bar = new QMenuBar(this);
  for (forms::MenuItem* menu : m_form->menus()) MenuItemBinding::addToMenuBar(*menu, *bar);
  return bar;
}

void FormView::syncForm() {
  if (m_form == nullptr) return;
  setWindowTitle(toQt(m_form->caption()));
  if (m_form->topmost() != windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
    // Changing a window's flags hides it; show it again where it was.
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, m_form->topmost());
    if (wasVisible) show();
  }
  if (m_form->focused() != m_shownFocus) {
    m_shownFocus = m_form->focused();
    if (QWidget* widget = m_shownFocus ? widgetFor(*m_shownFocus) : nullptr) widget->setFocus();
  }
}

void FormView::closeEvent(QCloseEvent* event) {
  // The form decides: when it unloads, the Ui takes the window away.
  event->ignore();
  if (m_form != nullptr) m_form->unload(forms::UnloadMode::WindowFrame);
}

}  // namespace gui
