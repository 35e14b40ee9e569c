// The Ui of the window program: message boxes, the windows of the forms, modal loops, pending
// events and the pointer, all through Qt. A QApplication must exist first.
#pragma once

#include <QPointer>
#include <vector>

#include "forms/ui.h"
#include "gui/form_view.h"

class QEventLoop;

namespace gui {

class QtUi final : public forms::Ui {
 public:
  QtUi() = default;
  // Takes away what is still shown, as closeAll() does: the forms must still be there.
  ~QtUi() override;
  QtUi(const QtUi&) = delete;
  QtUi& operator=(const QtUi&) = delete;

  forms::MsgAnswer messageBox(const forms::MessageBox& box) override;
  void showModal(forms::Form& form) override;
  void showModeless(forms::Form& form) override;
  void formHidden(forms::Form& form) override;
  void doEvents() override;
  void setMousePointer(forms::MousePointer pointer) override;
  void run() override;

  // The window of a shown form, or null.
  FormView* viewOf(const forms::Form& form) const;
  // Takes every window away without asking its form: for the end of the program, before the
  // forms themselves go.
  void closeAll();

 private:
  struct ShownForm {
    forms::Form* form;
    QPointer<FormView> view;
    QEventLoop* modalLoop = nullptr;
  };

  FormView* showView(forms::Form& form, Qt::WindowModality modality);
  ShownForm* find(const forms::Form& form);
  // The window that owns message boxes and dialogs: the last one shown that is still there.
  QWidget* owner() const;
  void removeView(ShownForm& shown);

  std::vector<ShownForm> m_shown;
  QEventLoop* m_runLoop = nullptr;
  bool m_hourglass = false;
};

}  // namespace gui
