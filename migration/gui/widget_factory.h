// Makes the bound widget of any control by its kind, for views that lay out controls they do not
// know one by one. Timers become a QTimer child of `parent` and give no widget; menu items are
// the menu bar's business and give none either.
#pragma once

#include <QWidget>

#include "forms/control.h"

namespace gui {

QWidget* createWidget(forms::Control& control, QWidget* parent);

}  // namespace gui
