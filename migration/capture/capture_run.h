// One capture as its steps see it: the program and its main window, the migration and drivers
// directories, the master command file being written, and the run log. Each step's exports and
// copies go through here, so that each lands in the log with what it concerned and how it went.
#pragma once

#include <optional>
#include <string>

#include "capture/reg_export.h"
#include "context/master_writer.h"
#include "context/program.h"

namespace migration {

class CaptureRun {
 public:
  CaptureRun(Program& program, std::string migrationDir);

  Program& program() { return m_program; }
  MainWindow& window() { return m_program.mainWindow(); }
  RunLog& log() { return m_program.runLog(); }
  platform::FileSystem& files() { return m_program.files(); }
  const std::string& migrationDir() const { return m_migrationDir; }
  const std::string& driversDir() const { return m_driversDir; }

  // The master command file: opened once; a file that cannot be written is logged, and the
  // capture goes on without it.
  void openMasterFile();
  void WriteMasterLine(const std::string& text);
  void writePrinterRecord(const std::string& name, const std::string& value);
  void closeMasterFile();
  // A block of the master command file: the header, its entries and the empty line.
  void writeBlock(std::string_view header, std::initializer_list<std::string> entries);

  // Exports root\keyPath into `fileName` and logs what the export did. A key that is not on
  // this machine is a note; values or keys passed over and a cut export are warnings; a file
  // that could not be written is a failure.
  ExportReport exportKey(platform::HKEY root, const std::string& keyPath,
                         const std::string& fileName);

  // Copies with Overwrite::Yes and logs the outcome; `what` names the setting for the log.
  // A missing source is a note (the setting is not on this machine), any other failure a
  // warning. True when the copy was made.
  bool copyFile(const std::string& source, const std::string& destination,
                const std::string& what);
  bool copyFolder(const std::string& source, const std::string& destination,
                  const std::string& what);

  // A text value of the current user's or the machine's registry without its final NUL, or
  // nothing when it cannot be read.
  std::optional<std::string> textValue(platform::HKEY root, const std::string& key,
                                       const std::string& name);

 private:
  bool logCopy(platform::Status status, const std::string& source,
               const std::string& destination, const std::string& what);

  Program& m_program;
  std::string m_migrationDir;
  std::string m_driversDir;
  ExportContext m_exports;
  std::optional<MasterWriter> m_master;
  platform::Status m_masterStatus;
};

}  // namespace migration
