#include "gui/tab_strip_binding.h"

#include "gui/qt_text.h"

namespace gui {

QTabWidget* TabStripBinding::create(forms::TabStrip& tabStrip, const std::vector<QWidget*>& pages,
                                    QWidget* parent) {
  auto* widget = new QTabWidget(parent);
  for (std::size_t tab = 0; tab < tabStrip.count(); ++tab) {
    QWidget* page = tab < pages.size() && pages[tab] != nullptr ? pages[tab] : new QWidget;
    widget->addTab(page, toQt(tabStrip.caption(tab)));
  }
  (new TabStripBinding(tabStrip, *widget))->start();
  return widget;
}

TabStripBinding::TabStripBinding(forms::TabStrip& tabStrip, QTabWidget& widget)
    : ControlBinding(tabStrip, widget), m_widget(widget) {
  connect(&m_widget, &QTabWidget::currentChanged, this, &TabStripBinding::userChose);
}

void TabStripBinding::sync() {
  const auto& tabStrip = model<forms::TabStrip>();
  for (std::size_t tab = 0; tab < tabStrip.count(); ++tab) {
    m_widget.setTabText(static_cast<int>(tab), toQt(tabStrip.caption(tab)));
  }
  m_widget.setCurrentIndex(static_cast<int>(tabStrip.selected()));
}

void TabStripBinding::userChose(int index) {
  if (!acceptsUserAction() || index < 0) return;
  model<forms::TabStrip>().select(static_cast<std::size_t>(index));
  resync();
}

}  // namespace gui
