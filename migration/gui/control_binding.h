// Ties one Qt widget (or action, or timer) to one control model. The binding is a child of the
// Qt object, so it goes with it. Model changes come in through the control's `changed` signal
// and are copied to the widget by sync(); user actions go to the model. While sync() runs, the
// widget's own signals are ignored, so that nothing echoes back to the model.
#pragma once

#include <QObject>

#include "forms/control.h"

namespace gui {

class ControlBinding : public QObject {
  Q_OBJECT

 public:
  ControlBinding(forms::Control& control, QObject& target);
  ~ControlBinding() override;

  // Null once detached.
  forms::Control* control() const { return m_control; }
  QObject& target() const { return m_target; }
  // Stops following the model, for a form that goes away before its window does. The widget
  // stays as it is and user actions on it are ignored from then on.
  void detach();

  // The binding of `control` among the children of `root`, or null.
  static ControlBinding* find(const QObject& root, const forms::Control& control);

 protected:
  // Connects to the model and brings the widget in line with it; call once the widget is built.
  void start();
  // Copies the model's state into the widget.
  virtual void sync() = 0;
  // Enabled, visible and tool tip, for targets that are widgets.
  virtual void syncCommon();
  // Extra model connections (observers) to drop on detach.
  virtual void detachModel() {}
  // True when a user action on the widget should reach the model.
  bool acceptsUserAction() const { return m_control != nullptr && !m_syncing; }
  // Runs sync() with the widget's signals ignored; derived classes call it after a user action
  // that the model may have refused.
  void resync();
  // Runs `update` (a partial sync) with the widget's signals ignored.
  template <typename Update>
  void syncPart(Update&& update) {
    if (m_control == nullptr) return;
    const bool wasSyncing = m_syncing;
    m_syncing = true;
    update();
    m_syncing = wasSyncing;
  }

  template <typename T>
  T& model() const {
    return static_cast<T&>(*m_control);
  }

 private:
  forms::Control* m_control;
  QObject& m_target;
  int m_connection = 0;
  bool m_syncing = false;
};

}  // namespace gui
