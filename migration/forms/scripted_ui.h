// The user interface of tests: answers to message boxes come from a queue, every message box is
// recorded, and a user's actions come from a queue that modal dialogs consume while they are
// open. An action can also wait for the N-th time the program lets pending events run, so that a
// test can press Cancel in the middle of a long operation.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "forms/ui.h"

namespace forms {

// A script that cannot go on: a modal dialog with no action left to close it, an action that
// finds no control. Thrown through the program, ends the test.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ScriptedUi final : public Ui {
 public:
  using Action = std::function<void()>;

  struct ShownMessage {
    MessageBox box;
    MsgAnswer answer;
  };

  // Answers the next message box; boxes with no queued answer get their default (first button).
  // An answer that is not one of the box's buttons stops the script (ScriptError).
  void queueAnswer(MsgAnswer answer) { m_answers.push_back(answer); }
  // `description` names the action in error messages.
  void queueAction(std::string description, Action action);
  // Runs `action` during the `count`-th call of doEvents (counted from 1 since the start).
  void atDoEvents(std::uint64_t count, std::string description, Action action);

  // Runs the next queued action; false when none is left.
  bool runNextAction();
  std::size_t pendingActions() const { return m_actions.size(); }
  // Queued answers that no message box has taken.
  std::size_t pendingAnswers() const { return m_answers.size(); }
  // Actions waiting for a doEvents count that was never reached.
  std::vector<std::string> unreachedEventActions() const;

  const std::vector<ShownMessage>& messages() const { return m_messages; }
  std::uint64_t doEventsCount() const { return m_doEventsCount; }
  MousePointer mousePointer() const { return m_pointer; }
  // Forms shown and not hidden since, in the order shown; modal ones last while they are open.
  const std::vector<Form*>& shownForms() const { return m_shown; }
  // The innermost modal form that is open, or null.
  Form* activeModal() const { return m_modal.empty() ? nullptr : m_modal.back(); }

  MsgAnswer messageBox(const MessageBox& box) override;
  void showModal(Form& form) override;
  void showModeless(Form& form) override;
  void formHidden(Form& form) override;
  void doEvents() override;
  void setMousePointer(MousePointer pointer) override { m_pointer = pointer; }
  // Runs the queued actions while a form is shown.
  void run() override;

 private:
  struct Step {
    std::string description;
    Action action;
  };

  std::deque<MsgAnswer> m_answers;
  std::deque<Step> m_actions;
  std::multimap<std::uint64_t, Step> m_eventActions;
  std::vector<ShownMessage> m_messages;
  std::vector<Form*> m_shown;
  std::vector<Form*> m_modal;
  std::uint64_t m_doEventsCount = 0;
  MousePointer m_pointer = MousePointer::Default;
};

}  // namespace forms
