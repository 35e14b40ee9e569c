#include "forms/scripted_ui.h"

#include <algorithm>

#include "forms/form.h"

namespace forms {

void ScriptedUi::queueAction(std::string description, Action action) {
  m_actions.push_back({std::move(description), std::move(action)});
}

void ScriptedUi::atDoEvents(std::uint64_t count, std::string description, Action action) {
  m_eventActions.emplace(count, Step{std::move(description), std::move(action)});
}

bool ScriptedUi::runNextAction() {
  if (m_actions.empty()) return false;
  Step step = std::move(m_actions.front());
  m_actions.pop_front();
  step.action();
  return true;
}

std::vector<std::string> ScriptedUi::unreachedEventActions() const {
  std::vector<std::string> descriptions;
  for (const auto& [count, step] : m_eventActions) descriptions.push_back(step.description);
  return descriptions;
}

MsgAnswer ScriptedUi::messageBox(const MessageBox& box) {
  MsgAnswer answer = defaultAnswer(box.buttons);
  if (!m_answers.empty()) {
    answer = m_answers.front();
    m_answers.pop_front();
  }
  // An answer the box does not offer would lead the program down a path no user can take.
  if (!offersAnswer(box.buttons, answer)) {
    throw ScriptError("the message box \"" + box.title + "\" has no " + answerName(answer) +
                      " button (it offers " + buttonsName(box.buttons) + ")");
  }
  m_messages.push_back({box, answer});
  return answer;
}

void ScriptedUi::showModal(Form& form) {
  showModeless(form);
  m_modal.push_back(&form);
  while (form.visible()) {
    if (m_actions.empty()) {
      m_modal.pop_back();
      throw ScriptError("the modal window " + form.name() + " (\"" + form.caption() +
                        "\") is open and no action is left to close it");
    }
    runNextAction();
  }
  std::erase(m_modal, &form);
}

void ScriptedUi::showModeless(Form& form) {
  if (std::find(m_shown.begin(), m_shown.end(), &form) == m_shown.end()) m_shown.push_back(&form);
}

void ScriptedUi::formHidden(Form& form) { std::erase(m_shown, &form); }

void ScriptedUi::doEvents() {
  ++m_doEventsCount;
  auto [first, last] = m_eventActions.equal_range(m_doEventsCount);
  std::vector<Step> due;
  for (auto it = first; it != last; ++it) due.push_back(std::move(it->second));
  m_eventActions.erase(first, last);
  for (Step& step : due) step.action();
}

void ScriptedUi::run() {
  while (!m_shown.empty() && runNextAction()) {
  }
}

}  // namespace forms
