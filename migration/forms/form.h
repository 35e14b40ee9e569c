// A window of the program as a model: its caption, its controls and its event procedures. The
// Ui shows it; a view (Qt) or a test (the scenario driver) acts on its controls.
#pragma once

#include <string>
#include <vector>

#include "forms/control.h"
#include "forms/menu_item.h"
#include "forms/signal.h"
#include "forms/ui.h"

namespace forms {

// Why a form is being unloaded, as its QueryUnload hears it.
enum class UnloadMode { WindowFrame = 0, Code = 1, AppWindows = 2 };
enum class ShowMode { Modeless, Modal };

class Form {
 public:
  Form(Ui& ui, std::string name, std::string caption);
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& name() const { return m_name; }
  const std::string& caption() const { return m_caption; }
  void setCaption(std::string caption);

  bool loaded() const { return m_loaded; }
  bool visible() const { return m_visible; }
  bool topmost() const { return m_topmost; }
  void setTopmost(bool topmost);

  // Runs Form_Load the first time.
  void load();
  // Loads, then shows; a modal show returns once the form is hidden or unloaded.
  void show(ShowMode mode = ShowMode::Modeless);
  void hide();
  // Asks Form_QueryUnload, then runs Form_Unload and closes the window. False when refused.
  bool unload(UnloadMode mode = UnloadMode::Code);

  // Every control, menu items included, in the order the form added them.
  const std::vector<Control*>& controls() const { return m_controls; }
  Control* findControl(const std::string& name, int index = kNoIndex) const;
  const std::vector<MenuItem*>& menus() const { return m_menus; }

  Control* focused() const { return m_focused; }
  void setFocus(Control& control);

  Ui& ui() const { return m_ui; }

  // Caption, visibility, focus or top-most state changed.
  Signal changed;

 protected:
  void add(Control& control) { m_controls.push_back(&control); }
  // Adds a top-level menu and all its items as controls.
  void addMenu(MenuItem& menu);

  virtual void Form_Load() {}
  // Returns false to keep the form loaded.
  virtual bool Form_QueryUnload(UnloadMode /*mode*/) { return true; }
  virtual void Form_Unload() {}

 private:
  void addMenuItems(MenuItem& item);

  Ui& m_ui;
  std::string m_name;
  std::string m_caption;
  bool m_loaded = false;
  bool m_visible = false;
  bool m_topmost = false;
  std::vector<Control*> m_controls;
  std::vector<MenuItem*> m_menus;
  Control* m_focused = nullptr;
};

}  // namespace forms
