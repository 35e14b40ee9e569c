#include "gui/control_binding.h"

#include <QWidget>

#include "gui/qt_text.h"

namespace gui {

ControlBinding::ControlBinding(forms::Control& control, QObject& target)
    : QObject(&target), m_control(&control), m_target(target) {}

ControlBinding::~ControlBinding() { detach(); }

void ControlBinding::start() {
  m_connection = m_control->changed.connect([this] { resync(); });
  resync();
}

void ControlBinding::detach() {
  if (m_control == nullptr) return;
  detachModel();
  if (m_connection != 0) m_control->changed.disconnect(m_connection);
  m_control = nullptr;
}

ControlBinding* ControlBinding::find(const QObject& root, const forms::Control& control) {
  for (ControlBinding* binding : root.findChildren<ControlBinding*>()) {
    if (binding->control() == &control) return binding;
  }
  return nullptr;
}

void ControlBinding::resync() {
  syncPart([this] {
    syncCommon();
    sync();
  });
}

void ControlBinding::syncCommon() {
  auto* widget = qobject_cast<QWidget*>(&m_target);
  if (widget == nullptr) return;
  widget->setEnabled(m_control->enabled());
  // A child of a window not shown yet counts as hidden without being hidden on purpose: only
  // an explicit hide is undone, so that children appear with their window.
  const bool hiddenOnPurpose =
      widget->isHidden() && widget->testAttribute(Qt::WA_WState_ExplicitShowHide);
  if (m_control->visible() == hiddenOnPurpose) widget->setVisible(m_control->visible());
  widget->setToolTip(toQt(m_control->toolTipText()));
}

}  // namespace gui
