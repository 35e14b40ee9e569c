// The log of a run: what an export, a copy or a restore did, step by step, written as plain text
// to "migrate.log" in the migration directory (appended, so that the restore on the new machine
// continues what the capture on the old one began), with a summary at the end.
//
// Three kinds of line: a note says what was done; a warning names something passed over that the
// user would want to know about (an export cut short, a file left out, a setting that could not be
// read); a failure names something that did not happen at all. Failures passed over on purpose
// with platform::ignoreFailure arrive as notes while the log listens (see listen()).
#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/status.h"
#include "platform/text_file.h"

namespace migration {

class RunLog final : public platform::FailureListener {
 public:
  static constexpr const char* kFileName = "migrate.log";

  // `timestamp` gives the local time as text for the lines that open and close a run.
  RunLog(platform::FileSystem& files, std::function<std::string()> timestamp);
  ~RunLog() override;
  RunLog(const RunLog&) = delete;
  RunLog& operator=(const RunLog&) = delete;

  // Starts a run ("Export", "Restore", ...); its counts start at zero. Lines go to memory until
  // the log knows its folder.
  void begin(const std::string& run);
  // The migration directory that holds the log; what was logged so far is written there now.
  void setFolder(const std::string& migrationDirectory);
  bool hasFolder() const { return !m_path.empty(); }

  // Warnings and failures are also written to `stream` as they come (standard error of a run
  // that nobody watches); null for none.
  void echoAttentionTo(std::ostream* stream) { m_echo = stream; }

  void note(const std::string& text);
  void warning(const std::string& text);
  void failure(const std::string& text);
  // A line of the run's outcome (the restore report's counts): written like a note, and repeated
  // in the summary.
  void result(const std::string& text);
  // A status with what it concerned, as the log prints it: "status 5: C:\x".
  static std::string describe(platform::Status status, const std::string& subject = {});

  // Failures passed over with ignoreFailure on this thread are noted while the guard lives.
  [[nodiscard]] std::unique_ptr<platform::ScopedFailureListener> listen();
  void failurePassedOver(platform::Status status, std::string_view subject,
                         std::string_view reason) override;

  // Ends the run: writes its summary to the log and closes the file.
  void end();

  // A run for the length of a command: begun unless one runs already (an unattended run holds
  // its commands in one run), listening for failures passed over, and ended by the scope that
  // began it.
  class [[nodiscard]] Scope {
   public:
    Scope(RunLog& log, const std::string& run);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    RunLog& m_log;
    bool m_began;
    platform::ScopedFailureListener m_listening;
  };

  bool running() const { return m_running; }
  // Whether any run was begun, or anything logged, since the program started.
  bool used() const { return m_used; }
  // The log file that could not be written counts among them, so that a login script hears of it.
  std::size_t warnings() const { return m_warnings + (m_fileStatus.failed() ? 1 : 0); }
  std::size_t failures() const { return m_failures; }
  std::size_t passedOver() const { return m_passedOver; }
  // The summary of the last run: its name, the counts, its result lines, and each warning and
  // failure.
  std::vector<std::string> summary() const;
  // Whether the log file could be written (a log that cannot be written is itself a warning).
  platform::Status fileStatus() const { return m_fileStatus; }

 private:
  void add(const std::string& prefix, const std::string& text);
  void write(const std::string& line);
  void fileFailed(platform::Status status);

  platform::FileSystem& m_files;
  std::function<std::string()> m_timestamp;
  std::string m_run;
  std::string m_path;
  std::vector<std::string> m_pending;    // lines before the folder was known
  std::vector<std::string> m_attention;  // warnings and failures, for the summary
  std::vector<std::string> m_results;    // result lines, for the summary
  bool m_running = false;
  bool m_used = false;
  std::size_t m_notes = 0;
  std::size_t m_warnings = 0;
  std::size_t m_failures = 0;
  std::size_t m_passedOver = 0;
  platform::Status m_fileStatus;
  std::string m_fileStatusPath;  // the log that could not be written
  std::unique_ptr<platform::TextWriter> m_writer;
  std::ostream* m_echo = nullptr;
};

}  // namespace migration
