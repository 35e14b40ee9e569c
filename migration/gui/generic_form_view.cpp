#include "gui/generic_form_view.h"

#include <QMenuBar>
#include <QVBoxLayout>

#include "forms/menu_item.h"
#include "gui/widget_factory.h"

namespace gui {

GenericFormView::GenericFormView(forms::Form& form) : FormView(form) {
  auto* layout = new QVBoxLayout(this);
  if (QMenuBar* bar = createMenuBar()) layout->setMenuBar(bar);
  for (forms::Control* control : form.controls()) {
    if (dynamic_cast<forms::MenuItem*>(control) != nullptr) continue;
    if (QWidget* widget = createWidget(*control, this)) layout->addWidget(widget);
  }
  start();
}

}  // namespace gui
