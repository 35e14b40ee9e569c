#include "restore/restore_report.h"

#include <tuple>
#include <utility>

#include "context/run_log.h"

namespace migration {

namespace {

std::string count(std::size_t number, const std::string& one, const std::string& many) {
  return std::to_string(number) + " " + (number == 1 ? one : many);
}

// "1 differs, 2 missing": how many of each way of not arriving.
std::string notArrivedBreakdown(const std::vector<RestoreReport::Item>& items) {
  std::string text;
  for (const Arrival arrival : {Arrival::Differs, Arrival::Missing, Arrival::Refused}) {
    std::size_t number = 0;
    for (const auto& item : items) number += item.arrival == arrival ? 1 : 0;
    if (number == 0) continue;
    text += (text.empty() ? "" : ", ") + std::to_string(number) + " " + ArrivalText(arrival);
  }
  return text;
}

std::string withDetail(const std::string& text, const std::string& detail) {
  return detail.empty() ? text : text + " (" + detail + ")";
}

}  // namespace

std::string ArrivalText(Arrival arrival) {
  switch (arrival) {
    case Arrival::Arrived:
      return "arrived";
    case Arrival::Differs:
      return "differs";
    case Arrival::Missing:
      return "missing";
    case Arrival::Refused:
      return "refused";
    case Arrival::PassedOver:
      return "passed over";
  }
  return "arrived";
}

bool NotArrived(Arrival arrival) {
  return arrival == Arrival::Differs || arrival == Arrival::Missing || arrival == Arrival::Refused;
}

Arrival JudgeValue(std::uint32_t exportedType, const std::string& exportedData, bool present,
                   std::uint32_t actualType, const std::string& actualData) {
  if (!present) return Arrival::Missing;
  if (exportedType != actualType) return Arrival::Differs;
  if (exportedData == actualData) return Arrival::Arrived;
  const bool stringType = exportedType == 1 || exportedType == 2 || exportedType == 7;
  const bool endedByImport = stringType && !exportedData.empty() && exportedData.back() != '\0' &&
                             actualData.size() == exportedData.size() + 1 &&
                             actualData.back() == '\0' && actualData.starts_with(exportedData);
  return endedByImport ? Arrival::Arrived : Arrival::Differs;
}

Arrival JudgeEntry(std::uint64_t entrySize, std::uint32_t entryCrc, bool present,
                   std::uint64_t fileSize, std::uint32_t fileCrc) {
  if (!present) return Arrival::Missing;
  return entrySize == fileSize && entryCrc == fileCrc ? Arrival::Arrived : Arrival::Differs;
}

void RestoreReport::masterFileUnreadable(const std::string& path, platform::Status status) {
  m_masterProblem = "the master command file " + path + " could not be read (" +
                    RunLog::describe(status) + "); no section of it was restored";
}

void RestoreReport::addExport(const std::string& file, std::vector<Item> values,
                              std::string problem) {
  m_exports.push_back({"registry", file, std::move(problem), std::move(values)});
}

void RestoreReport::addArchive(const std::string& archive, std::vector<Item> entries,
                               std::string problem) {
  m_archives.push_back({"archive", archive, std::move(problem), std::move(entries)});
}

void RestoreReport::addRoutine(const std::string& routine, RoutineOutcome outcome) {
  m_routines.push_back({routine, std::move(outcome)});
}

RestoreReport::Tally RestoreReport::tally(const std::vector<Group>& groups) const {
  Tally tally;
  for (const Group& group : groups) {
    ++tally.sources;
    if (!group.problem.empty()) ++tally.sourceProblems;
    for (const Item& item : group.items) {
      ++tally.total;
      if (item.arrival == Arrival::Arrived) ++tally.arrived;
      if (NotArrived(item.arrival)) ++tally.notArrived;
    }
  }
  return tally;
}

bool RestoreReport::complete() const {
  if (!m_masterProblem.empty()) return false;
  for (const auto* groups : {&m_exports, &m_archives}) {
    const Tally counted = tally(*groups);
    if (counted.notArrived > 0 || counted.sourceProblems > 0) return false;
  }
  for (const auto* items : {&m_printers, &m_drives}) {
    for (const Item& item : *items) {
      if (NotArrived(item.arrival)) return false;
    }
  }
  for (const Routine& routine : m_routines) {
    if (routine.outcome.outcome == Outcome::Failed) return false;
  }
  return true;
}

void RestoreReport::writeTo(RunLog& log) const {
  log.note("restore report:");
  if (!m_masterProblem.empty()) log.failure(m_masterProblem);
  for (const Group& group : m_exports) writeGroup(log, group, "value", "values");
  for (const Group& group : m_archives) writeGroup(log, group, "entry", "entries");
  writeItems(log, "printer", m_printers);
  writeItems(log, "network drive", m_drives);
  for (const Routine& routine : m_routines) {
    const RoutineOutcome& outcome = routine.outcome;
    switch (outcome.outcome) {
      case Outcome::Done:
        log.note(withDetail(routine.name + ": done", outcome.detail));
        break;
      case Outcome::PassedOver:
        log.note(withDetail(routine.name + ": passed over", outcome.detail));
        break;
      case Outcome::Failed:
        log.failure(withDetail(routine.name + ": failed", outcome.detail));
        break;
    }
  }

  const Tally values = tally(m_exports);
  const Tally files = tally(m_archives);
  log.result("registry values in place: " + std::to_string(values.arrived) + " of " +
             std::to_string(values.total) + " (" + count(values.sources, "export", "exports") +
             ")");
  log.result(files.sources == 0 ? std::string("archived files: no archive restored")
                                : "archived files in place: " + std::to_string(files.arrived) +
                                      " of " + std::to_string(files.total));
  for (const auto& [what, items] :
       {std::pair{"printers", &m_printers}, std::pair{"network drives", &m_drives}}) {
    std::size_t present = 0, passedOver = 0;
    for (const Item& item : *items) {
      present += item.arrival == Arrival::Arrived ? 1 : 0;
      passedOver += item.arrival == Arrival::PassedOver ? 1 : 0;
    }
    std::string line = std::string(what) + " present: " + std::to_string(present) + " of " +
                       std::to_string(items->size() - passedOver);
    if (passedOver > 0) line += " (" + std::to_string(passedOver) + " passed over)";
    log.result(line);
  }
  std::size_t done = 0, passedOver = 0, failed = 0;
  for (const Routine& routine : m_routines) {
    done += routine.outcome.outcome == Outcome::Done ? 1 : 0;
    passedOver += routine.outcome.outcome == Outcome::PassedOver ? 1 : 0;
    failed += routine.outcome.outcome == Outcome::Failed ? 1 : 0;
  }
  log.result("placement routines: " + std::to_string(done) + " done, " +
             std::to_string(passedOver) + " passed over, " + std::to_string(failed) + " failed");
  log.result(complete() ? "restore report: everything arrived"
                        : "restore report: not everything arrived");
}

void RestoreReport::writeGroup(RunLog& log, const Group& group, const std::string& one,
                               const std::string& many) const {
  const std::string head = group.kind + " " + group.source + ": ";
  if (!group.problem.empty()) {
    log.failure(head + group.problem);
  }
  std::size_t arrived = 0;
  std::vector<const Item*> notArrived;
  for (const Item& item : group.items) {
    if (item.arrival == Arrival::Arrived) ++arrived;
    if (NotArrived(item.arrival)) notArrived.push_back(&item);
  }
  if (group.items.empty() && !group.problem.empty()) return;
  if (notArrived.empty()) {
    log.note(head + std::to_string(arrived) + " of " + std::to_string(group.items.size()) + " " +
             (group.items.size() == 1 ? one : many) + " in place");
    return;
  }
  log.failure(head + std::to_string(notArrived.size()) + " of " +
              std::to_string(group.items.size()) + " " + (group.items.size() == 1 ? one : many) +
              " did not arrive (" + notArrivedBreakdown(group.items) + ")");
  for (std::size_t i = 0; i < notArrived.size() && i < kMostNamed; ++i) {
    log.note("  " + ArrivalText(notArrived[i]->arrival) + ": " +
             withDetail(notArrived[i]->name, notArrived[i]->detail));
  }
  if (notArrived.size() > kMostNamed) {
    log.note("  and " + std::to_string(notArrived.size() - kMostNamed) + " more");
  }
}

void RestoreReport::writeItems(RunLog& log, const std::string& kind,
                               const std::vector<Item>& items) const {
  for (const Item& item : items) {
    const std::string head = kind + " " + item.name + ": ";
    if (NotArrived(item.arrival)) {
      log.failure(withDetail(head + "not present", item.detail));
    } else if (item.arrival == Arrival::PassedOver) {
      log.note(withDetail(head + "passed over", item.detail));
    } else {
      log.note(withDetail(head + "present", item.detail));
    }
  }
}

std::string RestoreReport::statusText() const {
  if (!m_masterProblem.empty()) return "Restore: the master command file could not be read";
  std::vector<std::string> parts;
  const Tally values = tally(m_exports);
  const Tally files = tally(m_archives);
  if (values.notArrived > 0)
    parts.push_back(count(values.notArrived, "registry value", "registry values"));
  if (values.sourceProblems > 0)
    parts.push_back(count(values.sourceProblems, "registry export", "registry exports"));
  if (files.notArrived > 0) parts.push_back(count(files.notArrived, "file", "files"));
  if (files.sourceProblems > 0) parts.push_back(count(files.sourceProblems, "archive", "archives"));
  for (const auto& [one, many, items] :
       {std::tuple{"printer", "printers", &m_printers},
        std::tuple{"network drive", "network drives", &m_drives}}) {
    std::size_t missing = 0;
    for (const Item& item : *items) missing += NotArrived(item.arrival) ? 1 : 0;
    if (missing > 0) parts.push_back(count(missing, one, many));
  }
  std::size_t failed = 0;
  for (const Routine& routine : m_routines) failed += routine.outcome.outcome == Outcome::Failed;
  if (failed > 0) parts.push_back(count(failed, "placement", "placements"));
  if (parts.empty()) return "Restore: everything arrived";
  std::string text = "Restore: not arrived: ";
  for (std::size_t i = 0; i < parts.size(); ++i) text += (i ? ", " : "") + parts[i];
  return text;
}

}  // namespace migration
