// The window of a form that has no view of its own: every control in the order the form added
// them, one under the other. Plain, but every control is there and works.
#pragma once

#include "gui/form_view.h"

namespace gui {

class GenericFormView final : public FormView {
  Q_OBJECT

 public:
  explicit GenericFormView(forms::Form& form);
};

}  // namespace gui
