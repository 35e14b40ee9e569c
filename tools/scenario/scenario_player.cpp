#include "scenario_player.h"

#include <charconv>
#include <map>

#include "forms/check_box.h"
#include "forms/command_button.h"
#include "forms/dir_list_box.h"
#include "forms/drive_list_box.h"
#include "forms/file_list_box.h"
#include "forms/list_box.h"
#include "forms/list_view.h"
#include "forms/menu_item.h"
#include "forms/option_button.h"
#include "forms/tab_strip.h"
#include "forms/text_box.h"
#include "forms/timer.h"
#include "frame/frm_main.h"
#include "frame/frm_restore_log.h"
#include "frame/frm_status_message.h"
#include "frame/start_up.h"
#include "scan/frm_message.h"
#include "scenario_text.h"
#include "script/frm_reg_enum.h"

namespace scenario {

namespace {

using forms::ScriptError;

// An error that already names the scenario line it comes from.
class LocatedError : public ScriptError {
 public:
  using ScriptError::ScriptError;
};

forms::ScriptedUi::Action located(const std::string& where, forms::ScriptedUi::Action action) {
  return [where, action] {
    try {
      action();
    } catch (const LocatedError&) {
      throw;
    } catch (const ScriptError& e) {
      throw LocatedError(where + ": " + e.what());
    }
  };
}

std::optional<long> parseWholeNumber(const std::string& text) {
  long value = 0;
  const auto [next, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || next != text.data() + text.size() || text.empty()) {
    return std::nullopt;
  }
  return value;
}

// "cmdSelAll(2)" -> name and index.
bool splitIndex(const std::string& text, std::string& name, int& index) {
  const std::size_t open = text.find('(');
  if (open == std::string::npos) {
    name = text;
    index = forms::kNoIndex;
    return true;
  }
  if (text.back() != ')') return false;
  const auto number = parseWholeNumber(text.substr(open + 1, text.size() - open - 2));
  if (!number) return false;
  name = text.substr(0, open);
  index = static_cast<int>(*number);
  return true;
}

std::optional<forms::MsgAnswer> parseAnswer(const std::string& text) {
  for (const forms::MsgAnswer answer :
       {forms::MsgAnswer::OK, forms::MsgAnswer::Cancel, forms::MsgAnswer::Abort,
        forms::MsgAnswer::Retry, forms::MsgAnswer::Ignore, forms::MsgAnswer::Yes,
        forms::MsgAnswer::No}) {
    if (forms::answerName(answer) == text) return answer;
  }
  return std::nullopt;
}

template <typename T>
T* as(forms::Control* control) {
  return dynamic_cast<T*>(control);
}

// A user can only act on what is enabled and visible.
void requireUsable(const ControlReference& target, const std::string& verb) {
  if (!target.control->enabled()) {
    throw ScriptError("cannot " + verb + " " + target.control->qualifiedName() +
                      ": it is disabled");
  }
  if (!target.control->visible()) {
    throw ScriptError("cannot " + verb + " " + target.control->qualifiedName() +
                      ": it is not visible");
  }
}

void click(const ControlReference& target) {
  requireUsable(target, "click");
  forms::Control* control = target.control;
  if (auto* button = as<forms::CommandButton>(control)) return button->click();
  if (auto* box = as<forms::CheckBox>(control)) return box->click();
  if (auto* option = as<forms::OptionButton>(control)) return option->click();
  if (auto* menu = as<forms::MenuItem>(control)) return menu->click();
  throw ScriptError(control->qualifiedName() + " cannot be clicked");
}

void select(const ControlReference& target, const std::vector<Word>& words, bool selected) {
  requireUsable(target, selected ? "select in" : "deselect in");
  forms::Control* control = target.control;
  if (auto* drives = as<forms::DriveListBox>(control)) {
    if (words.size() != 3 || !drives->setDrive(words[2].text)) {
      throw ScriptError(drives->name() + " has no drive " +
                        (words.size() > 2 ? words[2].text : ""));
    }
    return;
  }
  if (words.size() < 3) throw ScriptError("which entries? select NAME 0 2 ...");
  for (std::size_t i = 2; i < words.size(); ++i) {
    const auto index = parseWholeNumber(words[i].text);
    bool done = false;
    if (index && *index >= 0) {
      const auto position = static_cast<std::size_t>(*index);
      if (auto* list = as<forms::ListBox>(control)) done = list->setSelected(position, selected);
      if (auto* view = as<forms::ListView>(control)) done = view->setSelected(position, selected);
      if (auto* combo = as<forms::ComboBox>(control)) {
        done = selected && combo->setListIndex(static_cast<int>(position));
      }
      if (auto* files = as<forms::FileListBox>(control)) {
        done = selected && files->setListIndex(static_cast<int>(position));
      }
    }
    if (!done) throw ScriptError(control->qualifiedName() + " has no entry " + words[i].text);
  }
}

std::optional<forms::CheckState> parseCheckState(const std::string& text) {
  if (text == "checked") return forms::CheckState::Checked;
  if (text == "unchecked") return forms::CheckState::Unchecked;
  if (text == "grayed") return forms::CheckState::Grayed;
  return std::nullopt;
}

}  // namespace

forms::Form* ScenarioPlayer::findForm(const std::string& name) {
  const auto& shown = m_ui.shownForms();
  for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
    if ((*it)->name() == name) return *it;
  }
  if (!m_program) return nullptr;
  if (name == "frmMain") return m_program->hasSharedForm<migration::frmMain>() ? &m_program->sharedForm<migration::frmMain>() : nullptr;
  if (name == "frmStatusMessage") return &m_program->sharedForm<migration::frmStatusMessage>();
  if (name == "frmMessage") return &m_program->sharedForm<migration::frmMessage>();
  if (name == "frmRegEnum") return &m_program->sharedForm<migration::frmRegEnum>();
  if (name == "frmRestoreLog") return &m_program->sharedForm<migration::frmRestoreLog>();
  return nullptr;
}

ControlReference ScenarioPlayer::resolve(const std::string& text) {
  std::vector<std::string> parts;
  for (std::size_t start = 0;;) {
    const std::size_t dot = text.find('.', start);
    parts.push_back(text.substr(start, dot - start));
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  ControlReference reference;
  std::size_t next = 0;
  if (parts.size() > 1) reference.form = findForm(parts[0]);
  if (reference.form != nullptr) {
    next = 1;
  } else {
    reference.form = m_ui.activeModal() ? m_ui.activeModal() : findForm("frmMain");
    if (reference.form == nullptr) throw ScriptError("no window is open to find " + text + " in");
  }
  if (next == parts.size() - 1 && parts[next] == "caption" && next == 1) {
    reference.property = "caption";
    return reference;
  }
  if (next == parts.size() - 1 && parts[next] == "topmost" && next == 1) {
    reference.property = "topmost";
    return reference;
  }
  std::string name;
  int index = forms::kNoIndex;
  if (next >= parts.size() || !splitIndex(parts[next], name, index)) {
    throw ScriptError("cannot read the control name " + text);
  }
  reference.control = reference.form->findControl(name, index);
  if (reference.control == nullptr && next == 0 && parts.size() > 1) {
    throw ScriptError("no open window and no control of " + reference.form->name() + " is named " +
                      parts[0]);
  }
  if (reference.control == nullptr) {
    throw ScriptError(reference.form->name() + " has no control " + parts[next]);
  }
  if (next + 1 < parts.size()) reference.property = parts[next + 1];
  if (next + 2 < parts.size()) throw ScriptError("cannot read the control name " + text);
  return reference;
}

bool ScenarioPlayer::running() {
  if (!m_program) return false;
  if (!m_ui.shownForms().empty()) return true;
  return m_program->hasSharedForm<migration::frmMain>() && m_program->sharedForm<migration::frmMain>().loaded();
}

void ScenarioPlayer::start(const std::string& commandLine) {
  m_program = std::make_unique<migration::Program>(m_machine, m_ui, commandLine);
  migration::Main(*m_program);
}

ControlReference ScenarioPlayer::target(const Words& words) {
  if (words.size() < 2) throw ScriptError(words[0].text + " what?");
  return resolve(words[1].text);
}

ScenarioPlayer::Action ScenarioPlayer::makeAction(const ScenarioLine& line) {
  using Maker = Action (ScenarioPlayer::*)(const Words&);
  static const std::map<std::string, Maker> kVerbs = {
      {"click", &ScenarioPlayer::clickAction},     {"menu", &ScenarioPlayer::clickAction},
      {"type", &ScenarioPlayer::typeAction},       {"select", &ScenarioPlayer::selectAction},
      {"deselect", &ScenarioPlayer::selectAction}, {"check", &ScenarioPlayer::checkAction},
      {"tab", &ScenarioPlayer::tabAction},         {"open", &ScenarioPlayer::openAction},
      {"close", &ScenarioPlayer::closeAction},     {"tick", &ScenarioPlayer::tickAction},
  };
  std::string error;
  const auto words = splitWords(line.text, error);
  if (!words) throw ScriptError(error);
  const auto verb = kVerbs.find((*words)[0].text);
  if (verb == kVerbs.end()) throw ScriptError("unknown action \"" + (*words)[0].text + "\"");
  return (this->*verb->second)(*words);
}

ScenarioPlayer::Action ScenarioPlayer::clickAction(const Words& words) {
  if (words.size() != 2) throw ScriptError(words[0].text + " NAME");
  return [this, words] { click(target(words)); };
}

ScenarioPlayer::Action ScenarioPlayer::typeAction(const Words& words) {
  if (words.size() != 3 || !words[2].quoted) throw ScriptError("type NAME \"text\"");
  return [this, words] {
    const ControlReference reference = target(words);
    auto* box = as<forms::TextBox>(reference.control);
    if (box == nullptr) throw ScriptError(words[1].text + " is no text box");
    requireUsable(reference, "type into");
    box->setText(words[2].text);
  };
}

ScenarioPlayer::Action ScenarioPlayer::selectAction(const Words& words) {
  return [this, words] { select(target(words), words, words[0].text == "select"); };
}

ScenarioPlayer::Action ScenarioPlayer::checkAction(const Words& words) {
  const auto state = words.size() == 3 ? parseCheckState(words[2].text) : std::nullopt;
  if (!state) throw ScriptError("check NAME checked|unchecked|grayed");
  return [this, words, state] {
    const ControlReference reference = target(words);
    auto* box = as<forms::CheckBox>(reference.control);
    if (box == nullptr) throw ScriptError(words[1].text + " is no check box");
    requireUsable(reference, "check");
    box->setValue(*state);
  };
}

ScenarioPlayer::Action ScenarioPlayer::tabAction(const Words& words) {
  if (words.size() != 2) throw ScriptError("tab \"caption\"");
  return [this, words] {
    forms::Form* form = m_ui.activeModal() ? m_ui.activeModal() : findForm("frmMain");
    for (forms::Control* control : form ? form->controls() : std::vector<forms::Control*>{}) {
      auto* tabs = as<forms::TabStrip>(control);
      for (std::size_t i = 0; tabs != nullptr && i < tabs->count(); ++i) {
        if (tabs->caption(i) == words[1].text) {
          tabs->select(i);
          return;
        }
      }
    }
    throw ScriptError("no tab " + words[1].text);
  };
}

ScenarioPlayer::Action ScenarioPlayer::openAction(const Words& words) {
  if (words.size() != 3) throw ScriptError("open NAME PATH");
  return [this, words] {
    const ControlReference reference = target(words);
    auto* list = as<forms::DirListBox>(reference.control);
    if (list == nullptr) throw ScriptError(words[1].text + " is no directory list");
    requireUsable(reference, "open a directory in");
    if (list->setPath(words[2].text) != platform::ERROR_SUCCESS) {
      throw ScriptError(words[1].text + " cannot open " + words[2].text);
    }
  };
}

ScenarioPlayer::Action ScenarioPlayer::closeAction(const Words& words) {
  if (words.size() != 2) throw ScriptError("close FORM");
  return [this, words] {
    forms::Form* form = findForm(words[1].text);
    if (form == nullptr || !form->visible()) throw ScriptError(words[1].text + " is not open");
    form->unload(forms::UnloadMode::WindowFrame);
  };
}

ScenarioPlayer::Action ScenarioPlayer::tickAction(const Words& words) {
  const auto count = words.size() == 3 ? parseWholeNumber(words[2].text) : std::optional(1L);
  if (words.size() < 2 || words.size() > 3 || !count || *count < 1) {
    throw ScriptError("tick TIMER [COUNT]");
  }
  return [this, words, count] {
    auto* timer = as<forms::Timer>(target(words).control);
    if (timer == nullptr) throw ScriptError(words[1].text + " is no timer");
    for (long i = 0; i < *count; ++i) timer->tick();
  };
}

bool ScenarioPlayer::queueLine(const ScenarioLine& line, const Words& words) {
  const std::string& verb = words[0].text;
  if (verb == "answer") {
    const auto answer = words.size() == 2 ? parseAnswer(words[1].text) : std::nullopt;
    if (!answer) throw ScriptError("answer OK|Cancel|Abort|Retry|Ignore|Yes|No");
    m_ui.queueAnswer(*answer);
    return false;
  }
  if (verb == "at-event") {
    const auto count = words.size() > 2 ? parseWholeNumber(words[1].text) : std::nullopt;
    if (!count || *count < 1) throw ScriptError("at-event N ACTION");
    ScenarioLine inner = line;
    inner.text = trimmedLine(line.text.substr(line.text.find(words[1].text) + words[1].text.size()));
    m_ui.atDoEvents(static_cast<std::uint64_t>(*count), line.location,
                    located(line.location, makeAction(inner)));
    return false;
  }
  const Action action = makeAction(line);
  m_ui.queueAction(line.location, located(line.location, [this, action] {
                     if (!running()) throw ScriptError("the program has already ended");
                     action();
                   }));
  return true;
}

bool ScenarioPlayer::play(const std::vector<ScenarioLine>& actions, std::string& error) {
  std::string commandLine;
  bool started = m_program != nullptr;
  const bool mustStart = !started;
  bool acted = false;
  std::string location = actions.empty() ? std::string("start") : actions.front().location;
  try {
    for (const ScenarioLine& line : actions) {
      location = line.location;
      std::string wordError;
      const auto words = splitWords(line.text, wordError);
      if (!words) throw ScriptError(wordError);
      const std::string& verb = (*words)[0].text;
      if (verb == "start") {
        if (started || acted) throw ScriptError("start comes once, before the other actions");
        const std::string rest = trimmedLine(line.text.substr(5));
        commandLine = words->size() == 2 && (*words)[1].quoted ? (*words)[1].text : rest;
        started = true;
      } else {
        acted = queueLine(line, *words) || acted;
      }
    }
    if (mustStart) {
      location = "start";
      start(commandLine);
    }
    while (m_ui.runNextAction()) {
    }
  } catch (const LocatedError& e) {
    error = e.what();
    return false;
  } catch (const ScriptError& e) {
    error = location + ": " + e.what();
    return false;
  }
  return true;
}

}  // namespace scenario
