// TabStrip -> QTabWidget. The view gives the pages; choosing a tab goes to the model, whose Click
// handler decides what comes to the front.
#pragma once

#include <QTabWidget>
#include <vector>

#include "forms/tab_strip.h"
#include "gui/control_binding.h"

namespace gui {

class TabStripBinding final : public ControlBinding {
  Q_OBJECT

 public:
  // `pages[i]` becomes the page of tab i; a missing page is an empty one.
  static QTabWidget* create(forms::TabStrip& tabStrip, const std::vector<QWidget*>& pages,
                            QWidget* parent);

 private:
  TabStripBinding(forms::TabStrip& tabStrip, QTabWidget& widget);
  void sync() override;
  void userChose(int index);
  QTabWidget& m_widget;
};

}  // namespace gui
