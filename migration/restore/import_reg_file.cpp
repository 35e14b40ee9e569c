#include "restore/import_reg_file.h"

#include "context/program.h"
#include "forms/dir_list_box.h"
#include "forms/file_list_box.h"
#include "platform/text_encoding.h"
#include "platform/text_file.h"
#include "restore/file_placement.h"
#include "restore/reg_export_reader.h"
#include "restore/registry_reconciliation.h"

namespace migration {

namespace {

constexpr std::size_t kExtensionLength = 3;

std::string withLastThree(const std::string& path, const std::string& replacement) {
  return path.substr(0, path.size() >= kExtensionLength ? path.size() - kExtensionLength : 0) +
         replacement;
}

bool endsInReg(const std::string& path) {
  return path.size() >= kExtensionLength &&
         platform::ansiEqualNoCase(std::string_view(path).substr(path.size() - kExtensionLength),
                                   "reg");
}

// Copies `from` to `to` and removes `from` once the copy exists; false when the copy failed.
bool moveByCopy(Program& program, const std::string& from, const std::string& to) {
  platform::FileSystem& files = program.files();
  const platform::Status copied = files.copyFile(from, to, platform::Overwrite::Yes);
  if (copied.failed()) {
    program.runLog().note("ImportRegFile: " + from + " could not be copied to " + to + " (" +
                          RunLog::describe(copied) + ")");
    return false;
  }
  platform::ignoreFailure(files.deleteFile(from, platform::Force::Yes),
                          "the copy exists; the original under its other name stays behind");
  return true;
}

// Runs the registry editor on `file` and waits for it; empty, or what went wrong.
std::string runRegistryEditor(Program& program, const std::string& file) {
  const auto outcome = program.machine().processes().start(
      "regedit /s \"" + file + "\"", platform::WindowStyle::Maximized, platform::Wait::Yes);
  if (!outcome)
    return "the registry editor could not be started (" + RunLog::describe(outcome.status()) + ")";
  if (outcome->exitCode != 0) {
    return "the registry editor ended with exit code " + std::to_string(outcome->exitCode);
  }
  return {};
}

}  // namespace

void ImportRegFile(Program& program, const std::string& path, RestoreReport& report) {
  if (path.empty()) return;
  // What the export says, read before any copy, is what the registry is judged against.
  const auto bytes = platform::readWholeFile(program.files(), path);
  if (!bytes) {
    report.addExport(
        path, {},
        "not imported: the file cannot be read (" + RunLog::describe(bytes.status()) + ")");
    return;
  }
  const ExportContents contents = ReadRegistryExport(*bytes);

  std::string importName = path;
  bool renamed = false;
  if (!endsInReg(path)) {
    const std::string regName = withLastThree(path, "reg");
    renamed = moveByCopy(program, path, regName);
    if (renamed) importName = regName;
  }
  const std::string editorProblem = runRegistryEditor(program, importName);
  if (renamed) moveByCopy(program, importName, withLastThree(importName, "mig"));

  const std::size_t values = contents.values.size();
  program.runLog().note("imported " + path + ": " + std::to_string(values) +
                        (values == 1 ? " value" : " values") +
                        (editorProblem.empty() ? "" : "; " + editorProblem));
  if (!contents.isRegistryFile) {
    // The editor was asked all the same: it is the judge of what it can import.
    report.addExport(path, {},
                     "no registry file (no REGEDIT4 header), nothing to compare" +
                         (editorProblem.empty() ? "" : "; " + editorProblem));
    return;
  }
  std::vector<RestoreReport::Item> items = ReconcileExport(program.registry(), contents.values);
  // A line of the export that cannot be read is a setting that cannot be shown to have arrived.
  for (const std::string& problem : contents.problems) {
    items.push_back({problem, Arrival::Missing, "the line cannot be read"});
  }
  report.addExport(path, std::move(items), editorProblem);
}

RoutineOutcome RestoreDriverSettings(Program& program, const std::string& masterFilePath,
                                     RestoreReport& report) {
  forms::FileListBox File1("File1", program.files(), "script*");
  const std::string drivers = MigrationDirWithoutBackslash(masterFilePath) + "\\drivers";
  if (const platform::Status pointed = File1.setPath(drivers); pointed.failed()) {
    return RoutineOutcome::passedOver(drivers + " cannot be listed (" + RunLog::describe(pointed) +
                                      ")");
  }
  File1.refresh();
  std::vector<std::string> exports;
  for (std::size_t i = 0; i < File1.count(); ++i) exports.push_back(File1.item(i));
  if (exports.empty()) return RoutineOutcome::passedOver("no custom script exports");
  for (const std::string& name : exports) {
    ImportRegFile(program, forms::joinPath(File1.path(), name), report);
  }
  return RoutineOutcome::done(std::to_string(exports.size()) + " custom script exports imported");
}

}  // namespace migration
