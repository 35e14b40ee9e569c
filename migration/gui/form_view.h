// The window of one form. It follows the form's caption, top-most state and focus, and closing it
// through the window frame asks the form to unload (which may refuse). Derived views build the
// controls' widgets and lay them out, then call start().
#pragma once

#include <QWidget>

#include "forms/form.h"

class QMenuBar;

namespace gui {

class FormView : public QWidget {
  Q_OBJECT

 public:
  explicit FormView(forms::Form& form);
  ~FormView() override;

  // Null once detached.
  forms::Form* form() const { return m_form; }
  // Stops following the form and its controls: the form may go away before this window.
  void detach();
  // The widget (or null) bound to `control`.
  QWidget* widgetFor(const forms::Control& control) const;
  // Shows the rows that growing lists hold back for their next batch, at once.
  void showPendingRows();

 protected:
  // Brings the window in line with the form; call at the end of the derived constructor.
  void start();
  // A menu bar with the form's menus, or null when it has none.
  QMenuBar* createMenuBar();
  void closeEvent(QCloseEvent* event) override;

 private:
  void syncForm();

  forms::Form* m_form;
  int m_connection = 0;
  const forms::Control* m_shownFocus = nullptr;
};

}  // namespace gui
