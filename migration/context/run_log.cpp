#include "context/run_log.h"

#include <ostream>
#include <utility>

namespace migration {

RunLog::RunLog(platform::FileSystem& files, std::function<std::string()> timestamp)
    : m_files(files), m_timestamp(std::move(timestamp)) {}

// NOTE: the log never passes its own failures to ignoreFailure: it may be the one listening.
RunLog::~RunLog() {
  if (m_writer) m_fileStatus = m_writer->close();
}

void RunLog::begin(const std::string& run) {
  if (m_running) end();
  m_run = run;
  m_running = true;
  m_used = true;
  m_notes = m_warnings = m_failures = m_passedOver = 0;
  m_fileStatus = platform::ERROR_SUCCESS;
  m_attention.clear();
  m_results.clear();
  write("");
  write("=== " + run + " started " + m_timestamp());
}

void RunLog::setFolder(const std::string& migrationDirectory) {
  std::string path = migrationDirectory;
  if (!path.empty() && path.back() != '\\') path += '\\';
  path += kFileName;
  if (path == m_path && m_writer) return;
  if (m_writer) {
    if (const platform::Status closed = m_writer->close(); closed.failed()) fileFailed(closed);
  }
  m_writer.reset();
  m_path = path;
  auto opened = platform::TextWriter::open(m_files, m_path, platform::OpenMode::Append);
  if (!opened) {
    fileFailed(opened.status());
    return;
  }
  m_writer = std::make_unique<platform::TextWriter>(std::move(*opened));
  for (const std::string& line : m_pending) write(line);
  m_pending.clear();
}

void RunLog::note(const std::string& text) {
  ++m_notes;
  add("", text);
}

void RunLog::warning(const std::string& text) {
  ++m_warnings;
  m_attention.push_back("warning: " + text);
  add("warning: ", text);
  if (m_echo != nullptr) *m_echo << "warning: " << text << '\n';
}

void RunLog::failure(const std::string& text) {
  ++m_failures;
  m_attention.push_back("failed: " + text);
  add("failed: ", text);
  if (m_echo != nullptr) *m_echo << "failed: " << text << '\n';
}

void RunLog::result(const std::string& text) {
  ++m_notes;
  m_results.push_back(text);
  add("", text);
}

std::string RunLog::describe(platform::Status status, const std::string& subject) {
  std::string text = "status " + platform::toString(status);
  if (!subject.empty()) text += ": " + subject;
  return text;
}

std::unique_ptr<platform::ScopedFailureListener> RunLog::listen() {
  return std::make_unique<platform::ScopedFailureListener>(*this);
}

void RunLog::failurePassedOver(platform::Status status, std::string_view subject,
                               std::string_view reason) {
  ++m_passedOver;
  add("passed over: ", std::string(reason) + " (" + describe(status, std::string(subject)) + ")");
}

void RunLog::end() {
  if (!m_running) return;
  for (const std::string& line : summary()) write(line);
  write("=== " + m_run + " ended " + m_timestamp());
  m_running = false;
  if (m_writer) {
    if (const platform::Status closed = m_writer->close(); closed.failed()) fileFailed(closed);
    m_writer.reset();
  }
  // The next run finds its folder anew: a folder that could not be written stays this run's.
  m_path.clear();
}

std::vector<std::string> RunLog::summary() const {
  std::vector<std::string> lines;
  std::string counts = m_run + ": " + std::to_string(warnings()) + " warnings, " +
                       std::to_string(m_failures) + " failures, " +
                       std::to_string(m_passedOver) + " passed over";
  lines.push_back(counts);
  for (const std::string& line : m_results) lines.push_back("  " + line);
  for (const std::string& line : m_attention) lines.push_back("  " + line);
  if (m_fileStatus.failed()) {
    lines.push_back("  warning: the log " + m_fileStatusPath + " could not be written (" +
                    describe(m_fileStatus) + ")");
  }
  return lines;
}

void RunLog::add(const std::string& prefix, const std::string& text) {
  m_used = true;
  write(prefix + text);
}

RunLog::Scope::Scope(RunLog& log, const std::string& run)
    : m_log(log), m_began(!log.running()), m_listening(log) {
  if (m_began) m_log.begin(run);
}

RunLog::Scope::~Scope() {
  if (m_began) m_log.end();
}

void RunLog::fileFailed(platform::Status status) {
  m_fileStatus = status;
  m_fileStatusPath = m_path;
}

void RunLog::write(const std::string& line) {
  if (!m_writer) {
    if (m_path.empty()) m_pending.push_back(line);
    return;
  }
  if (const platform::Status written = m_writer->writeLine(line); written.failed()) {
    fileFailed(written);
  }
}

}  // namespace migration
