#include "gui/qt_ui.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QWindow>
#include <algorithm>

#include "gui/qt_text.h"
#include "gui/view_factory.h"

namespace gui {

namespace {

using forms::MsgAnswer;

QMessageBox::Icon messageIcon(forms::MsgIcon icon) {
  switch (icon) {
    case forms::MsgIcon::None: return QMessageBox::NoIcon;
    case forms::MsgIcon::Critical: return QMessageBox::Critical;
    case forms::MsgIcon::Question: return QMessageBox::Question;
    case forms::MsgIcon::Exclamation: return QMessageBox::Warning;
    case forms::MsgIcon::Information: return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

std::vector<MsgAnswer> answersOf(forms::MsgButtons buttons) {
  switch (buttons) {
    case forms::MsgButtons::OK: return {MsgAnswer::OK};
    case forms::MsgButtons::OKCancel: return {MsgAnswer::OK, MsgAnswer::Cancel};
    case forms::MsgButtons::AbortRetryIgnore:
      return {MsgAnswer::Abort, MsgAnswer::Retry, MsgAnswer::Ignore};
    case forms::MsgButtons::YesNoCancel: return {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel};
    case forms::MsgButtons::YesNo: return {MsgAnswer::Yes, MsgAnswer::No};
    case forms::MsgButtons::RetryCancel: return {MsgAnswer::Retry, MsgAnswer::Cancel};
  }
  return {MsgAnswer::OK};
}

QMessageBox::StandardButton standardButton(MsgAnswer answer) {
  switch (answer) {
    case MsgAnswer::OK: return QMessageBox::Ok;
    case MsgAnswer::Cancel: return QMessageBox::Cancel;
    case MsgAnswer::Abort: return QMessageBox::Abort;
    case MsgAnswer::Retry: return QMessageBox::Retry;
    case MsgAnswer::Ignore: return QMessageBox::Ignore;
    case MsgAnswer::Yes: return QMessageBox::Yes;
    case MsgAnswer::No: return QMessageBox::No;
  }
  return QMessageBox::Ok;
}

void centerOver(QWidget& window, const QWidget& owner) {
  // A view that chose its size keeps it; the others get the size their layout asks for.
  if (!window.testAttribute(Qt::WA_Resized)) window.adjustSize();
  const QRect area = owner.frameGeometry();
  window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
}

}  // namespace

QtUi::~QtUi() { closeAll(); }

MsgAnswer QtUi::messageBox(const forms::MessageBox& box) {
  QMessageBox dialog(owner());
  dialog.setWindowTitle(toQt(box.title));
  dialog.setTextFormat(Qt::PlainText);
  dialog.setText(toQt(box.prompt));
  dialog.setIcon(messageIcon(box.icon));
  const std::vector<MsgAnswer> answers = answersOf(box.buttons);
  std::vector<QAbstractButton*> buttons;
  for (const MsgAnswer answer : answers) {
    buttons.push_back(dialog.addButton(standardButton(answer)));
  }
  dialog.setDefaultButton(static_cast<QPushButton*>(buttons.front()));
  dialog.exec();
  const auto clicked = std::find(buttons.begin(), buttons.end(), dialog.clickedButton());
  if (clicked != buttons.end()) return answers[static_cast<std::size_t>(clicked - buttons.begin())];
  // Closed without a button (Escape): Cancel where there is one, else the default.
  const bool hasCancel = std::count(answers.begin(), answers.end(), MsgAnswer::Cancel) > 0;
  return hasCancel ? MsgAnswer::Cancel : answers.front();
}

void QtUi::showModal(forms::Form& form) {
  showView(form, Qt::ApplicationModal);
  ShownForm* shown = find(form);
  if (shown == nullptr || !form.visible()) return;
  QEventLoop loop;
  shown->modalLoop = &loop;
  loop.exec(QEventLoop::DialogExec);
  // Normally formHidden took the window away and quit the loop; if something else ended it, the
  // window must not keep pointing at the finished loop.
  if (ShownForm* still = find(form)) still->modalLoop = nullptr;
}

void QtUi::showModeless(forms::Form& form) { showView(form, Qt::NonModal); }

void QtUi::formHidden(forms::Form& form) {
  ShownForm* shown = find(form);
  if (shown == nullptr) return;
  if (shown->modalLoop != nullptr) shown->modalLoop->quit();
  removeView(*shown);
  if (m_shown.empty() && m_runLoop != nullptr) m_runLoop->quit();
}

void QtUi::doEvents() { QCoreApplication::processEvents(); }

void QtUi::setMousePointer(forms::MousePointer pointer) {
  const bool hourglass = pointer == forms::MousePointer::Hourglass;
  if (hourglass == m_hourglass) return;
  m_hourglass = hourglass;
  if (hourglass) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QGuiApplication::restoreOverrideCursor();
  }
}

void QtUi::run() {
  if (m_shown.empty()) return;
  // Our windows come and go with their forms; Qt must not end anything on its own.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  QEventLoop loop;
  m_runLoop = &loop;
  loop.exec();
  m_runLoop = nullptr;
}

FormView* QtUi::viewOf(const forms::Form& form) const {
  for (const ShownForm& shown : m_shown) {
    if (shown.form == &form) return shown.view;
  }
  return nullptr;
}

void QtUi::closeAll() {
  while (!m_shown.empty()) {
    if (m_shown.back().modalLoop != nullptr) m_shown.back().modalLoop->quit();
    removeView(m_shown.back());
  }
  if (m_runLoop != nullptr) m_runLoop->quit();
}

FormView* QtUi::showView(forms::Form& form, Qt::WindowModality modality) {
  if (ShownForm* shown = find(form); shown != nullptr && shown->view != nullptr) {
    FormView* view = shown->view;
    if (view->windowModality() != modality) {
      view->hide();
      view->setWindowModality(modality);
    }
    view->show();
    view->raise();
    view->activateWindow();
    return view;
  }
  QWidget* ownerWindow = owner();
  FormView* view = createFormView(form);
  view->setWindowModality(modality);
  if (ownerWindow != nullptr) {
    centerOver(*view, *ownerWindow);
    // Keeps a dialog above the window it came from.
    view->winId();
    view->windowHandle()->setTransientParent(ownerWindow->windowHandle());
  }
  m_shown.push_back({&form, view});
  view->show();
  view->raise();
  view->activateWindow();
  return view;
}

QtUi::ShownForm* QtUi::find(const forms::Form& form) {
  for (ShownForm& shown : m_shown) {
    if (shown.form == &form) return &shown;
  }
  return nullptr;
}

QWidget* QtUi::owner() const {
  for (auto it = m_shown.rbegin(); it != m_shown.rend(); ++it) {
    if (it->view != nullptr && it->view->isVisible()) return it->view;
  }
  return nullptr;
}

void QtUi::removeView(ShownForm& shown) {
  QPointer<FormView> view = shown.view;
  m_shown.erase(m_shown.begin() + (&shown - m_shown.data()));
  if (view == nullptr) return;
  // Detached at once: the form may be gone before Qt deletes the window.
  view->detach();
  view->hide();
  view->deleteLater();
}

}  // namespace gui
