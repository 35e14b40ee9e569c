#include "scenario_checker.h"

#include <charconv>
#include <optional>
#include <sstream>

#include "forms/check_box.h"
#include "forms/command_button.h"
#include "forms/dir_list_box.h"
#include "forms/file_list_box.h"
#include "forms/frame.h"
#include "forms/label.h"
#include "forms/list_box.h"
#include "forms/list_view.h"
#include "forms/menu_item.h"
#include "frame/frm_main.h"
#include "frame/run_outcome.h"
#include "platform/text_file.h"
#include "registry_text.h"
#include "scenario_text.h"

namespace scenario {

namespace {

// Longer files show their size: their content would drown the diff.
constexpr std::size_t kMostContentShown = 4096;

std::string boolText(bool value) { return value ? "true" : "false"; }

// "row(3)" -> 3; nullopt when the property is not `name`(N).
std::optional<std::size_t> indexArgument(const std::string& property, const std::string& name) {
  if (property.rfind(name + "(", 0) != 0 || property.back() != ')') return std::nullopt;
  const std::string digits = property.substr(name.size() + 1, property.size() - name.size() - 2);
  std::size_t index = 0;
  const auto [next, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
  if (error != std::errc() || next != digits.data() + digits.size() || digits.empty()) {
    throw forms::ScriptError(property + ": the index is no number");
  }
  return index;
}

std::string captionOf(forms::Control* control) {
  if (auto* label = dynamic_cast<forms::Label*>(control)) return label->caption();
  if (auto* button = dynamic_cast<forms::CommandButton*>(control)) return button->caption();
  if (auto* box = dynamic_cast<forms::CheckBox*>(control)) return box->caption();
  if (auto* frame = dynamic_cast<forms::Frame*>(control)) return frame->caption();
  if (auto* menu = dynamic_cast<forms::MenuItem*>(control)) return menu->caption();
  throw forms::ScriptError(control->qualifiedName() + " has no caption");
}

std::string rowText(const forms::ListView& view, std::size_t row) {
  std::string out = view.selected(row) ? "[x] " : "[ ] ";
  for (std::size_t column = 0; column < view.columnHeaders().size(); ++column) {
    out += (column ? " | " : "") + forms::quoted(view.cell(row, column));
  }
  return out;
}

std::string itemText(forms::Control* control, std::size_t index) {
  if (auto* list = dynamic_cast<forms::ListBox*>(control)) {
    if (index < list->count()) return forms::quoted(list->item(index));
  } else if (auto* files = dynamic_cast<forms::FileListBox*>(control)) {
    if (index < files->count()) return forms::quoted(files->item(index));
  } else if (auto* dirs = dynamic_cast<forms::DirListBox*>(control)) {
    if (index < dirs->listCount()) return forms::quoted(dirs->list(index));
  } else {
    throw forms::ScriptError(control->qualifiedName() + " has no entries");
  }
  return "none";
}

std::string formState(forms::Form* form) {
  if (form == nullptr || !form->loaded()) return "unloaded";
  return form->visible() ? "shown" : "hidden";
}

}  // namespace

std::vector<std::string> ScenarioChecker::actualLines(const std::vector<ScenarioLine>& expect) {
  std::vector<std::string> messages = messageLines();
  std::vector<std::string> started = startedLines();
  messages.erase(messages.begin(), messages.begin() + static_cast<std::ptrdiff_t>(m_messagesSeen));
  started.erase(started.begin(), started.begin() + static_cast<std::ptrdiff_t>(m_startedSeen));
  m_messagesSeen += messages.size();
  m_startedSeen += started.size();
  bool checkStarted = false;
  for (const ScenarioLine& line : expect) {
    if (line.text.rfind("started", 0) == 0) checkStarted = true;
  }
  if (checkStarted && started.empty()) started.push_back("started nothing");

  std::vector<std::string> actual;
  std::size_t nextMessage = 0;
  std::size_t nextStarted = 0;
  std::size_t lastMessageSlot = 0;
  for (const ScenarioLine& line : expect) {
    if (line.text.rfind("message ", 0) == 0) {
      if (nextMessage < messages.size()) actual.push_back(messages[nextMessage++]);
      lastMessageSlot = actual.size();
    } else if (line.text.rfind("started", 0) == 0) {
      if (nextStarted < started.size()) actual.push_back(started[nextStarted++]);
    } else {
      actual.push_back(answer(line.text));
    }
  }
  // Boxes and commands nobody expected go after the last expected one, or at the end.
  actual.insert(actual.begin() +
                    static_cast<std::ptrdiff_t>(lastMessageSlot ? lastMessageSlot : actual.size()),
                messages.begin() + static_cast<std::ptrdiff_t>(nextMessage), messages.end());
  if (checkStarted) {
    actual.insert(actual.end(), started.begin() + static_cast<std::ptrdiff_t>(nextStarted),
                  started.end());
  }
  return actual;
}

std::string ScenarioChecker::answer(const std::string& line) {
  std::string question, expected;
  if (!splitAtEquals(line, question, expected)) question = line;
  std::string value;
  try {
    const std::size_t blank = question.find(' ');
    const std::string kind = question.substr(0, blank);
    const std::string rest = blank == std::string::npos ? "" : trimmedLine(question.substr(blank + 1));
    if (kind == "program") {
      value = m_player.running() ? "running" : "ended";
    } else if (kind == "form") {
      value = formState(m_player.findForm(rest));
    } else if (kind == "file") {
      value = fileAnswer(rest);
    } else if (kind == "reg") {
      value = registryAnswer(rest);
    } else if (kind == "session") {
      value = sessionAnswer(rest);
    } else if (kind == "config") {
      value = configAnswer(rest);
    } else if (kind == "pointer") {
      value =
          m_player.ui().mousePointer() == forms::MousePointer::Hourglass ? "hourglass" : "default";
    } else if (kind == "zip-component") {
      migration::Program* program = m_player.program();
      const bool created = program && program->hasSharedForm<migration::frmMain>() && program->sharedForm<migration::frmMain>().xZip;
      value = created ? "created" : "absent";
    } else if (kind == "exit-status") {
      value = std::to_string(finishedRun().first);
    } else if (kind == "stdout") {
      value = stdoutAnswer(rest);
    } else if (kind == "summary") {
      if (!m_player.program()) throw forms::ScriptError("the program never started");
      std::string text;
      for (const std::string& line : m_player.program()->runLog().summary()) text += line + "\n";
      value = forms::quoted(text);
    } else if (kind == "log") {
      value = logAnswer(rest);
    } else if (kind == "events") {
      value = std::to_string(m_player.ui().doEventsCount());
    } else {
      value = controlAnswer(question);
    }
  } catch (const std::exception& e) {
    value = std::string("<") + e.what() + ">";
  }
  return question + " = " + value;
}

std::string ScenarioChecker::controlAnswer(const std::string& text) {
  if (!m_player.program()) throw forms::ScriptError("the program never started");
  const ControlReference reference = m_player.resolve(text);
  if (reference.control == nullptr) {
    if (reference.property == "caption") return forms::quoted(reference.form->caption());
    return boolText(reference.form->topmost());
  }
  forms::Control* control = reference.control;
  const std::string& property = reference.property;
  if (property.empty()) return control->stateText();
  if (property == "enabled") return boolText(control->enabled());
  if (property == "visible") return boolText(control->visible());
  if (property == "tooltip") return forms::quoted(control->toolTipText());
  if (property == "caption") return forms::quoted(captionOf(control));
  auto* view = dynamic_cast<forms::ListView*>(control);
  if (view != nullptr && property == "background") {
    return view->background() == forms::ListView::Background::Window ? "window" : "button-face";
  }
  if (const auto row = indexArgument(property, "row"); view != nullptr && row) {
    return *row < view->count() ? rowText(*view, *row) : "none";
  }
  if (const auto item = indexArgument(property, "item")) return itemText(control, *item);
  if (property == "path") {
    if (auto* dirs = dynamic_cast<forms::DirListBox*>(control)) return forms::quoted(dirs->path());
    if (auto* files = dynamic_cast<forms::FileListBox*>(control)) {
      return forms::quoted(files->path());
    }
  }
  throw forms::ScriptError(control->qualifiedName() + " has no property " + property);
}

std::string ScenarioChecker::fileAnswer(const std::string& text) {
  // A path with blanks is quoted, as in [machine].
  std::string path = text;
  if (!text.empty() && text.front() == '"') {
    std::string error;
    const auto words = splitWords(text, error);
    if (!words || words->size() != 1) throw forms::ScriptError("file \"PATH\"");
    path = words->front().text;
  }
  platform::FileSystem& files = m_machine.machine().files();
  if (files.folderExists(path)) return "folder";
  if (!files.fileExists(path)) return "missing";
  const auto bytes = platform::readWholeFile(files, path);
  if (!bytes) return "unreadable";
  if (bytes->size() > kMostContentShown) return std::to_string(bytes->size()) + " bytes";
  return forms::quoted(bytes.value());
}

std::string ScenarioChecker::registryAnswer(const std::string& text) {
  std::string error;
  const auto words = splitWords(text, error);
  const auto question = words ? splitRegistryQuestion(*words) : std::nullopt;
  if (!question) throw forms::ScriptError("reg KEY, or reg KEY \"NAME\"");
  const auto path = parseRegistryPath(question->key);
  if (!path) throw forms::ScriptError("unknown registry root in " + question->key);
  platform::Registry& registry = m_machine.machine().registry();
  if (!question->name) return registryKeyExists(registry, *path) ? "exists" : "missing";
  const auto data = readRegistryValue(registry, *path, *question->name);
  return data ? registryDataText(*data) : "missing";
}

std::string ScenarioChecker::sessionAnswer(const std::string& field) {
  if (!m_player.program()) throw forms::ScriptError("the program never started");
  const migration::SessionContext& session = m_player.program()->session;
  if (field == "strUserName") return forms::quoted(session.strUserName);
  if (field == "strOS") return forms::quoted(session.strOS);
  if (field == "strAppPath") return forms::quoted(session.strAppPath);
  if (field == "bAutoMode") return boolText(session.bAutoMode);
  if (field == "bRestoreMode") return boolText(session.bRestoreMode);
  if (field == "bCancel") return boolText(session.bCancel);
  throw forms::ScriptError("no session value " + field);
}

std::string ScenarioChecker::configAnswer(const std::string& field) {
  if (!m_player.program()) throw forms::ScriptError("the program never started");
  const migration::Configuration& config = m_player.program()->config;
  const std::pair<const char*, const std::string*> texts[] = {
      {"strConfigFile", &config.strConfigFile},
      {"strDefaultCopyDest", &config.strDefaultCopyDest},
      {"strDefaultMigrationDest", &config.strDefaultMigrationDest},
      {"varDefaultCustomTypes", &config.varDefaultCustomTypes},
      {"strDefaultMigrationType", &config.strDefaultMigrationType},
      {"strDefaultScanDrive", &config.strDefaultScanDrive},
      {"strDefaultFileTypes", &config.strDefaultFileTypes},
      {"strDefaultMigrationSettings", &config.strDefaultMigrationSettings},
      {"strDefaultExcludeList", &config.strDefaultExcludeList},
  };
  for (const auto& [name, value] : texts) {
    if (field == name) return forms::quoted(*value);
  }
  if (field == "arrExcludeList") {
    std::string out = "[";
    for (std::size_t i = 0; i < config.arrExcludeList.size(); ++i) {
      out += (i ? ", " : "") + forms::quoted(config.arrExcludeList[i]);
    }
    return out + "]";
  }
  throw forms::ScriptError("no configuration value " + field);
}

std::string ScenarioChecker::matchingLines(const std::string& text, const std::string& filter) {
  std::string out;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find(filter) == std::string::npos || (filter.empty() && line.empty())) continue;
    out += (out.empty() ? "" : " ") + forms::quoted(line);
  }
  return out.empty() ? "none" : out;
}

// log PATH ["FILTER"]: the lines of the log file that hold the filter.
std::string ScenarioChecker::logAnswer(const std::string& question) {
  std::string error;
  const auto words = splitWords(question, error);
  if (!words || words->empty() || words->size() > 2) throw forms::ScriptError("log PATH \"FILTER\"");
  const auto bytes = platform::readWholeFile(m_machine.machine().files(), (*words)[0].text);
  if (!bytes) return "missing";
  return matchingLines(bytes.value(), words->size() == 2 ? (*words)[1].text : "");
}

// stdout ["FILTER"]: the lines the run printed when it ended that hold the filter.
std::string ScenarioChecker::stdoutAnswer(const std::string& question) {
  std::string error;
  const auto words = splitWords(question, error);
  if (!words || words->size() > 1) throw forms::ScriptError("stdout \"FILTER\"");
  return matchingLines(finishedRun().second, words->empty() ? "" : (*words)[0].text);
}

const std::pair<int, std::string>& ScenarioChecker::finishedRun() {
  if (!m_finished) {
    if (!m_player.program()) throw forms::ScriptError("the program never started");
    std::ostringstream printed;
    const int status = migration::FinishRun(*m_player.program(), printed);
    m_finished.emplace(status, printed.str());
  }
  return *m_finished;
}

std::vector<std::string> ScenarioChecker::messageLines() {
  std::vector<std::string> lines;
  for (const auto& shown : m_player.ui().messages()) {
    std::string buttons = forms::buttonsName(shown.box.buttons);
    for (char& c : buttons) c = c == ' ' ? '-' : static_cast<char>(std::tolower(c));
    lines.push_back("message " + forms::iconName(shown.box.icon) +
                    (shown.box.buttons == forms::MsgButtons::OK ? "" : " " + buttons) + " " +
                    forms::quoted(shown.box.title) + " " + forms::quoted(shown.box.prompt));
  }
  return lines;
}

std::vector<std::string> ScenarioChecker::startedLines() {
  std::vector<std::string> lines;
  for (const std::string& command : m_machine.startedCommands()) {
    lines.push_back("started " + command);
  }
  return lines;
}

}  // namespace scenario
