#include "gui/widget_factory.h"

#include "forms/check_box.h"
#include "forms/command_button.h"
#include "forms/dir_list_box.h"
#include "forms/drive_list_box.h"
#include "forms/file_list_box.h"
#include "forms/frame.h"
#include "forms/label.h"
#include "forms/list_box.h"
#include "forms/list_view.h"
#include "forms/option_button.h"
#include "forms/status_bar.h"
#include "forms/tab_strip.h"
#include "forms/text_box.h"
#include "forms/timer.h"
#include "gui/check_box_binding.h"
#include "gui/combo_box_binding.h"
#include "gui/command_button_binding.h"
#include "gui/dir_list_box_binding.h"
#include "gui/drive_list_box_binding.h"
#include "gui/file_list_box_binding.h"
#include "gui/frame_binding.h"
#include "gui/label_binding.h"
#include "gui/list_box_binding.h"
#include "gui/list_view_binding.h"
#include "gui/option_button_binding.h"
#include "gui/status_bar_binding.h"
#include "gui/tab_strip_binding.h"
#include "gui/text_box_binding.h"
#include "gui/timer_binding.h"

namespace gui {

QWidget* createWidget(forms::Control& control, QWidget* parent) {
  if (auto* timer = dynamic_cast<forms::Timer*>(&control)) {
    TimerBinding::create(*timer, parent);
    return nullptr;
  }
  if (auto* tabStrip = dynamic_cast<forms::TabStrip*>(&control)) {
    return TabStripBinding::create(*tabStrip, {}, parent);
  }
  // RichTextBox before TextBox: it is one.
  if (auto* richTextBox = dynamic_cast<forms::RichTextBox*>(&control)) {
    return RichTextBoxBinding::create(*richTextBox, parent);
  }
  if (auto* textBox = dynamic_cast<forms::TextBox*>(&control)) {
    return TextBoxBinding::create(*textBox, parent);
  }
  if (auto* label = dynamic_cast<forms::Label*>(&control)) {
    return LabelBinding::create(*label, parent);
  }
  if (auto* checkBox = dynamic_cast<forms::CheckBox*>(&control)) {
    return CheckBoxBinding::create(*checkBox, parent);
  }
  if (auto* optionButton = dynamic_cast<forms::OptionButton*>(&control)) {
    return OptionButtonBinding::create(*optionButton, parent);
  }
  if (auto* commandButton = dynamic_cast<forms::CommandButton*>(&control)) {
    return CommandButtonBinding::create(*commandButton, parent);
  }
  if (auto* frame = dynamic_cast<forms::Frame*>(&control)) {
    return FrameBinding::create(*frame, parent);
  }
  if (auto* listBox = dynamic_cast<forms::ListBox*>(&control)) {
    return ListBoxBinding::create(*listBox, parent);
  }
  if (auto* comboBox = dynamic_cast<forms::ComboBox*>(&control)) {
    return ComboBoxBinding::create(*comboBox, parent);
  }
  if (auto* listView = dynamic_cast<forms::ListView*>(&control)) {
    return ListViewBinding::create(*listView, parent);
  }
  if (auto* statusBar = dynamic_cast<forms::StatusBar*>(&control)) {
    return StatusBarBinding::create(*statusBar, parent);
  }
  if (auto* driveListBox = dynamic_cast<forms::DriveListBox*>(&control)) {
    return DriveListBoxBinding::create(*driveListBox, parent);
  }
  if (auto* dirListBox = dynamic_cast<forms::DirListBox*>(&control)) {
    return DirListBoxBinding::create(*dirListBox, parent);
  }
  if (auto* fileListBox = dynamic_cast<forms::FileListBox*>(&control)) {
    return FileListBoxBinding::create(*fileListBox, parent);
  }
  return nullptr;
}

}  // namespace gui
