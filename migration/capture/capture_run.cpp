#include "capture/capture_run.h"

#include "context/master_file_format.h"
#include "context/mdl_registry.h"

namespace migration {

namespace {

bool isMissingSource(platform::Status status) {
  return status == platform::ERROR_FILE_NOT_FOUND || status == platform::ERROR_PATH_NOT_FOUND;
}

}  // namespace

CaptureRun::CaptureRun(Program& program, std::string migrationDir)
    : m_program(program),
      m_migrationDir(std::move(migrationDir)),
      m_driversDir(m_migrationDir + "\\Drivers"),
      m_exports{program.registry(), program.files(), program.machine().environment(),
                [&program] { program.ui().doEvents(); },
                [&program] {
                  return program.mainWindow().fieldText(MainWindow::Field::LimitLength);
                }} {}

void CaptureRun::openMasterFile() {
  const std::string path = m_migrationDir + "\\" + std::string(kMasterFileName);
  auto created = MasterWriter::create(files(), path);
  if (!created) {
    m_masterStatus = created.status();
    log().failure("the master command file " + path + " could not be written (" +
                  RunLog::describe(created.status()) + "); nothing will be restored from it");
    return;
  }
  m_master.emplace(std::move(*created));
  log().note("master command file " + path);
}

void CaptureRun::WriteMasterLine(const std::string& text) {
  if (!m_master || m_masterStatus.failed()) return;
  if (const platform::Status written = m_master->WriteMasterLine(text); written.failed()) {
    m_masterStatus = written;
    log().failure("the master command file could not be written to its end (" +
                  RunLog::describe(written) + ")");
  }
}

void CaptureRun::writePrinterRecord(const std::string& name, const std::string& value) {
  if (!m_master || m_masterStatus.failed()) return;
  if (const platform::Status written = m_master->writeRecord(name, value); written.failed()) {
    m_masterStatus = written;
    log().failure("the master command file could not be written to its end (" +
                  RunLog::describe(written) + ")");
  }
}

void CaptureRun::closeMasterFile() {
  if (!m_master) return;
  if (const platform::Status closed = m_master->close();
      closed.failed() && m_masterStatus.ok()) {
    log().failure("the master command file could not be finished (" + RunLog::describe(closed) +
                  ")");
  }
  m_master.reset();
}

void CaptureRun::writeBlock(std::string_view header,
                            std::initializer_list<std::string> entries) {
  WriteMasterLine(std::string(header));
  for (const std::string& entry : entries) WriteMasterLine(entry);
  WriteMasterLine("");
}

ExportReport CaptureRun::exportKey(platform::HKEY root, const std::string& keyPath,
                                   const std::string& fileName) {
  ExportReport report = ExportRegistryKey(m_exports, root, keyPath, fileName);
  const bool topKeyMissing = report.keysWritten == 0 && report.keysSkipped.size() == 1 &&
                             report.keysSkipped.front().key == report.key;
  if (report.rootUnknown) {
    log().failure("not exported: " + report.key + ", the root key is unknown");
    return report;
  }
  if (topKeyMissing) {
    log().note(report.key + " is not on this machine: " + fileName + " holds the header only");
  } else {
    log().note(DescribeExport(report).front());
  }
  // What the user would want to know: whatever did not reach the file.
  const std::string about = "export of " + report.key + ": ";
  if (!topKeyMissing) {
    for (const SkippedKey& skipped : report.keysSkipped) {
      log().warning(about + "key " + skipped.key + " not exported (" +
                    RunLog::describe(skipped.status) + ")");
    }
  }
  for (const PassedOverValue& value : report.valuesPassedOver) {
    log().warning(about + "value \"" + value.name + "\" of " + value.key + " passed over, " +
                  value.reason);
  }
  if (report.keysLeftOut > 0) {
    log().note(about + std::to_string(report.keysLeftOut) +
               " Windows 95/98 desktop keys left out on purpose");
  }
  if (report.limitUnreadable) log().warning(about + "the size limit is no number: none applied");
  if (report.cutByLimit) {
    log().warning(about + "cut by the size limit of " +
                  window().fieldText(MainWindow::Field::LimitLength) + " characters at " +
                  report.cutAtKey + ": that key and the ones after it are missing");
  }
  if (report.fileStatus.failed()) {
    log().failure(about + fileName + " not written (" + RunLog::describe(report.fileStatus) + ")");
  }
  return report;
}

bool CaptureRun::copyFile(const std::string& source, const std::string& destination,
                          const std::string& what) {
  return logCopy(files().copyFile(source, destination, platform::Overwrite::Yes), source,
                 destination, what);
}

bool CaptureRun::copyFolder(const std::string& source, const std::string& destination,
                            const std::string& what) {
  return logCopy(files().copyFolder(source, destination, platform::Overwrite::Yes), source,
                 destination, what);
}

bool CaptureRun::logCopy(platform::Status status, const std::string& source,
                         const std::string& destination, const std::string& what) {
  const std::string line = what + ": " + source + " -> " + destination;
  if (status.ok()) {
    log().note("copied " + line);
  } else if (isMissingSource(status)) {
    log().note("not on this machine, " + line + " (" + RunLog::describe(status) + ")");
  } else {
    log().warning("not copied, " + line + " (" + RunLog::describe(status) + ")");
  }
  return status.ok();
}

std::optional<std::string> CaptureRun::textValue(platform::HKEY root, const std::string& key,
                                                 const std::string& name) {
  const RegValue value = QueryKeyValue(m_program.registry(), root, key, name);
  if (value.isEmpty()) return std::nullopt;
  return withoutFinalNul(value.toText());
}

}  // namespace migration
