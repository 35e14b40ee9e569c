#include "forms/headless_ui.h"

#include <algorithm>
#include <ostream>

#include "forms/form.h"

namespace forms {

namespace {

// Message texts use CR LF between lines; a log line per text line reads better.
std::string indentedLines(const std::string& text) {
  std::string out = "  ";
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
    if (text[i] == '\n') out += "  ";
  }
  return out;
}

}  // namespace

HeadlessUi::HeadlessUi(std::ostream& log) : m_log(log) {}

MsgAnswer HeadlessUi::messageBox(const MessageBox& box) {
  const MsgAnswer answer = defaultAnswer(box.buttons);
  m_log << "[message] " << box.title << " (" << iconName(box.icon) << ", "
        << buttonsName(box.buttons) << "):\n"
        << indentedLines(box.prompt) << "\n  -> " << answerName(answer) << " (no display)\n";
  m_log.flush();
  return answer;
}

void HeadlessUi::showModal(Form& form) {
  m_log << "[window] " << form.name() << " (\"" << form.caption()
        << "\") needs a user; closed without one\n";
  m_log.flush();
  if (!form.unload(UnloadMode::WindowFrame)) form.hide();
}

void HeadlessUi::showModeless(Form& form) {
  if (std::find(m_shown.begin(), m_shown.end(), &form) == m_shown.end()) m_shown.push_back(&form);
}

void HeadlessUi::formHidden(Form& form) { std::erase(m_shown, &form); }

void HeadlessUi::run() {
  while (!m_shown.empty()) {
    Form& form = *m_shown.back();
    m_log << "[window] " << form.name() << " closed: there is no display\n";
    if (!form.unload(UnloadMode::WindowFrame)) form.hide();
    formHidden(form);
  }
  m_log.flush();
}

}  // namespace forms
