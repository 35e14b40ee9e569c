// The running program: the machine it works on, the user interface, the program-wide values, and
// the windows that live as long as the program. The windows themselves belong to the layers above;
// the program keeps one of each kind that is asked for, without knowing their types, and the main
// window as the modules see it.
#pragma once

#include <memory>
#include <string>
#include <typeindex>
#include <utility>
#include <vector>

#include "context/configuration.h"
#include "context/main_window.h"
#include "context/regional_format.h"
#include "context/run_log.h"
#include "context/session_context.h"
#include "forms/form.h"
#include "forms/ui.h"
#include "platform/machine.h"

namespace migration {

class Program {
 public:
  // `commandLine` is the argument text after the program name.
  Program(platform::Machine& machine, forms::Ui& ui, std::string commandLine);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  platform::Machine& machine() { return m_machine; }
  platform::FileSystem& files() { return m_machine.files(); }
  platform::Registry& registry() { return m_machine.registry(); }
  forms::Ui& ui() { return m_ui; }
  const std::string& commandLine() const { return m_commandLine; }

  SessionContext session;
  Configuration config;

  // The one window of type T (made from the program on first use); it lives until the program
  // ends. The main window, the status window, the progress window and the script builder are
  // such windows.
  template <typename T>
  T& sharedForm() {
    for (auto& [type, form] : m_sharedForms) {
      if (type == typeid(T)) return static_cast<T&>(*form);
    }
    auto form = std::make_unique<T>(*this);
    T& made = *form;
    m_sharedForms.emplace_back(typeid(T), std::move(form));
    return made;
  }
  template <typename T>
  bool hasSharedForm() const {
    for (const auto& [type, form] : m_sharedForms) {
      if (type == typeid(T)) return true;
    }
    return false;
  }

  // The main window as the modules see it; it tells the program when it comes and goes.
  MainWindow& mainWindow();
  bool hasMainWindow() const { return m_mainWindow != nullptr; }
  void setMainWindow(MainWindow* window) { m_mainWindow = window; }

  // The machine's date and number formats, read once.
  const RegionalFormat& regionalFormat();

  // The log of the export, copy or restore that runs, and of the ones before it.
  RunLog& runLog() { return m_runLog; }
  // The machine's local time as "2001-06-01 15:04:05", for logs.
  std::string localTimestamp();

  // Shows a message box; the short form of what every module does.
  forms::MsgAnswer msgBox(const std::string& prompt, forms::MsgButtons buttons,
                          forms::MsgIcon icon, const std::string& title);

 private:
  platform::Machine& m_machine;
  forms::Ui& m_ui;
  std::string m_commandLine;
  std::vector<std::pair<std::type_index, std::unique_ptr<forms::Form>>> m_sharedForms;
  MainWindow* m_mainWindow = nullptr;
  std::unique_ptr<RegionalFormat> m_regionalFormat;
  RunLog m_runLog;
};

}  // namespace migration
