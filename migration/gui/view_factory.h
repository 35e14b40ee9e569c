// Picks the window for a form: its own view when it has one, the generic one otherwise.
#pragma once

#include "forms/form.h"
#include "gui/form_view.h"

namespace gui {

// A new top-level window, not shown yet; the caller owns it.
FormView* createFormView(forms::Form& form);

}  // namespace gui
