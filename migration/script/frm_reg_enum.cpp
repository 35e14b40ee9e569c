#include "script/frm_reg_enum.h"

#include <array>

#include "context/mdl_main.h"
#include "context/program.h"
#include "platform/text_file.h"
#include "scan/breadth_first_search.h"
#include "scan/found_file_row.h"
#include "scan/frm_message.h"
#include "context/script_file.h"

namespace migration {

namespace {

constexpr const char* kSearchMessage = "Searching the drive for files. Press Cancel to stop.";

// The root keys in the order the list offers them.
constexpr std::array<const char*, 7> kRootKeys = {
    "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};

// Every directory is entered, nothing goes to the status line: rows only.
class ScriptBuilderSearch final : public SearchVisitor {
 public:
  ScriptBuilderSearch(Program& program, forms::ListView& rows)
      : m_program(program), m_rows(rows), m_format(program.regionalFormat()) {}

  bool shouldQueue(const std::string& /*directory*/) override { return true; }
  bool cancelled() override { return m_program.session.bCancel; }
  void foundFile(const std::string& directory, const platform::DirectoryEntry& file,
                 SearchLevel level, std::size_t /*index*/) override {
    if (level == SearchLevel::Queued) m_program.ui().doEvents();
    m_rows.add(foundFileRow(directory, file, m_format));
  }

 private:
  Program& m_program;
  forms::ListView& m_rows;
  const RegionalFormat& m_format;
};

// True when the file's last line has no line end (a script edited by hand): an entry appended
// straight after it would run on into that line and spoil both.
bool lastLineIsOpen(platform::FileSystem& files, const std::string& path) {
  auto opened = files.openFile(path, platform::OpenMode::Read);
  if (!opened) return false;  // no script yet
  platform::File& file = *opened.value();
  const auto size = file.size();
  char last = '\n';
  if (size && size.value() > 0 && file.seek(size.value() - 1) == platform::ERROR_SUCCESS) {
    platform::ignoreFailure(file.read(&last, 1), "unread, it counts as ended");
  }
  platform::ignoreFailure(file.close(), "read only");
  return last != '\n' && last != '\r';
}

}  // namespace

frmRegEnum::frmRegEnum(Program& program)
    : forms::Form(program.ui(), "frmRegEnum", "Create Custom Migration Script"),
      lblIntro("lblIntro",
               "To create custom scripts to be used with the Migration Tool follow the "
               "instructions below. You have the ability to add registry keys and files to the "
               "migration script."),
      fraRegistry("fraRegistry", "Registry Keys"),
      lblMainKey("lblMainKey", "Main key"),
      Combo1("Combo1"),
      lblSubKey("lblSubKey", "Subkey (case sensitive): (i.e. SOFTWARE/Microsoft/Office)"),
      txtSubKey("txtSubKey"),
      Command2("Command2", "Add Registry Key"),
      fraFiles("fraFiles", "Add Files"),
      lblFileMask("lblFileMask", "Files to include (wildcards are supported)"),
      txtFileMask("txtFileMask"),
      drvScan("drvScan", program.files()),
      Command3("Command3", "Search"),
      Command4("Command4", "Add Files"),
      lvFiles("lvFiles", {"File Path", "Filename", "Size (kb)", "Modified"}),
      fraDetails("fraDetails", "Registry Keys and Files to be added to script:"),
      lstDetails("lstDetails"),
      cmdScript("cmdScript", "Create Script"),
      cmdClear("cmdClear", "Clear All"),
      cmdClose("cmdClose", "Close"),
      m_program(program) {
  for (forms::Control* control : std::initializer_list<forms::Control*>{
           &lblIntro, &fraRegistry, &lblMainKey, &Combo1, &lblSubKey, &txtSubKey, &Command2,
           &fraFiles, &lblFileMask, &txtFileMask, &drvScan, &Command3, &Command4, &lvFiles,
           &fraDetails, &lstDetails, &cmdScript, &cmdClear, &cmdClose}) {
    add(*control);
  }
  for (const char* root : kRootKeys) Combo1.addItem(root);
  Command2.onClick = [this] { Command2_Click(); };
  Command3.onClick = [this] { Command3_Click(); };
  Command4.onClick = [this] { Command4_Click(); };
  cmdScript.onClick = [this] { cmdScript_Click(); };
  cmdClear.onClick = [this] { cmdClear_Click(); };
  cmdClose.onClick = [this] { cmdClose_Click(); };
}

void frmRegEnum::Form_Load() {
  Combo1.setListIndex(1);  // HKEY_CURRENT_USER
  txtSubKey.setText("");
  txtFileMask.setText("");
  lvFiles.clear();
  lstDetails.clear();
  drvScan.setDrive(m_program.files().currentDirectory());
}

void frmRegEnum::Command2_Click() {
  const std::string root = Combo1.text();
  if (root.empty() || txtSubKey.text().empty()) return;
  txtSubKey.setText(ReplaceText(txtSubKey.text(), "/", "\\"));
  lstDetails.addItem(root + "\\" + txtSubKey.text());
}

void frmRegEnum::Command3_Click() {
  frmMessage& progress = m_program.sharedForm<frmMessage>();
  progress.Cancel_Message(kSearchMessage);
  Scan_Drive(drvScan.drive().substr(0, 2) + "\\", txtFileMask.text());
  progress.Close_Message();
}

void frmRegEnum::Scan_Drive(const std::string& root, const std::string& pattern) {
  lvFiles.clear();
  ScriptBuilderSearch visitor(m_program, lvFiles);
  BreadthFirstSearch(m_program.files(), pattern).run(root, visitor);
}

void frmRegEnum::Command4_Click() {
  for (const std::size_t row : lvFiles.selectedRows()) {
    lstDetails.addItem(foundFilePath(lvFiles.row(row)));
  }
}

platform::Status frmRegEnum::appendToScript(const std::string& path) {
  const bool endFirst = lastLineIsOpen(m_program.files(), path);
  auto writer = platform::TextWriter::open(m_program.files(), path, platform::OpenMode::Append);
  if (!writer) return writer.status();
  platform::Status status = endFirst ? writer->write("\r\n") : platform::ERROR_SUCCESS;
  for (std::size_t i = 0; i < lstDetails.count() && status.ok(); ++i) {
    status = writer->writeLine(lstDetails.item(i));
  }
  const platform::Status closed = writer->close();
  return status.failed() ? status : closed;
}

void frmRegEnum::cmdScript_Click() {
  const std::string path = ScriptFilePath(m_program.session);
  if (appendToScript(path) != platform::ERROR_SUCCESS) {
    m_program.msgBox("The custom migration script " + path + " could not be written.",
                     forms::MsgButtons::OK, forms::MsgIcon::Exclamation, "Script Not Created");
    return;
  }
  m_program.msgBox("Your custom migration script has been created.", forms::MsgButtons::OK,
                   forms::MsgIcon::Information, "Script Created");
}

void frmRegEnum::cmdClear_Click() {
  lvFiles.clear();
  lstDetails.clear();
  txtFileMask.setText("");
  setFocus(txtSubKey);
}

void frmRegEnum::cmdClose_Click() { unload(); }

}  // namespace migration
