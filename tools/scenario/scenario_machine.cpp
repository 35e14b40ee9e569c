#include "scenario_machine.h"

#include <unistd.h>

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

#include "driver_catalogue.h"
#include "forms/dir_list_box.h"
#include "platform/text_encoding.h"
#include "platform/text_file.h"
#include "registry_text.h"
#include "stored_zip.h"
#include "unc_name.h"

namespace scenario {

namespace {

constexpr const char* kDefaultProgramDirectory = "C:\\Transvale";
constexpr const char* kSystemEnvironmentKey =
    "System\\CurrentControlSet\\Control\\Session Manager\\Environment";

struct DriveSpec {
  std::string wineType = "hd";
  std::string label;
  std::string share;  // \\server\share for a network drive
  bool ready = true;
};

struct FileDescription {
  std::string path;
  bool folder = false;
  std::string bytes;
  std::optional<platform::FileTime> time;
  std::uint32_t attributes = 0;
  std::string location;
};

struct MachineDescription {
  std::map<char, DriveSpec> drives{{'c', DriveSpec{}}};
  std::optional<std::string> user = "jsmith";
  std::map<std::string, std::string> environment{{"OS", "Windows_NT"}, {"windir", "C:\\WINNT"}};
  std::string programDirectory = kDefaultProgramDirectory;
  std::vector<FileDescription> files;
  struct RegLine {
    RegistryPath path;
    std::optional<std::string> name;
    RegistryData data;
  };
  std::vector<RegLine> registry;
  bool zipComponent = false;
  std::vector<platform::UncName> shares;
  // Printers with the line that made each, for messages.
  std::vector<std::pair<platform::PrinterDetails, std::string>> printers;
  std::vector<std::pair<platform::PrinterDetails, std::string>> sharedPrinters;
  std::vector<std::pair<std::string, std::string>> printerConnections;
};

// Days from 1 January 1970 to a civil date.
std::int64_t daysFromCivil(int year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146'097 + static_cast<std::int64_t>(dayOfEra) - 719'468;
}

// "2001-06-01" and "15:04:05", UTC.
std::optional<platform::FileTime> parseTime(const std::string& date, const std::string& clock) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  if (std::sscanf(date.c_str(), "%d-%d-%d", &y, &mo, &d) != 3 ||
      std::sscanf(clock.c_str(), "%d:%d:%d", &h, &mi, &s) != 3 || y < 1601 || mo < 1 || mo > 12 ||
      d < 1 || d > 31 || h > 23 || mi > 59 || s > 59) {
    return std::nullopt;
  }
  const std::int64_t unixSeconds =
      daysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) * 86'400 + h * 3600 +
      mi * 60 + s;
  return static_cast<platform::FileTime>((unixSeconds + 11'644'473'600) * 10'000'000);
}

std::optional<std::uint32_t> parseAttributes(const std::string& letters) {
  std::uint32_t attributes = 0;
  for (const char c : letters) {
    switch (std::tolower(static_cast<unsigned char>(c))) {
      case 'r':
        attributes |= platform::FILE_ATTRIBUTE_READONLY;
        break;
      case 'h':
        attributes |= platform::FILE_ATTRIBUTE_HIDDEN;
        break;
      case 's':
        attributes |= platform::FILE_ATTRIBUTE_SYSTEM;
        break;
      default:
        return std::nullopt;
    }
  }
  return attributes;
}

class LineParser {
 public:
  LineParser(MachineDescription& description, std::string& error)
      : m_description(description), m_error(error) {}

  bool parse(const ScenarioLine& line) {
    m_location = line.location;
    std::string wordError;
    const auto words = splitWords(line.text, wordError);
    if (!words) return fail(wordError);
    const std::string& keyword = (*words)[0].text;
    if (keyword == "user") return parseUser(*words);
    if (keyword == "os") return parseOs(*words);
    if (keyword == "env") return parseEnv(*words);
    if (keyword == "drive") return parseDrive(*words);
    if (keyword == "program-dir") return parseProgramDirectory(*words);
    if (keyword == "folder") return parseFile(*words, line, "", true);
    if (keyword == "file") return parseFile(*words, line, "", false);
    if (keyword == "program-file")
      return parseFile(*words, line, m_description.programDirectory, false);
    if (keyword == "archive") return parseArchive(*words, line);
    if (keyword == "reg") return parseReg(line.text);
    if (keyword == "zip-component" && words->size() == 1) return m_description.zipComponent = true;
    if (keyword == "share") return parseShare(*words);
    if (keyword == "printer") return parsePrinter(*words);
    if (keyword == "printer-share") return parsePrinterShare(*words);
    if (keyword == "printer-connection") return parsePrinterConnection(*words);
    if (keyword == "driver-catalogue") return parseDriverCatalogue(*words);
    return fail("unknown machine line \"" + keyword + "\"");
  }

 private:
  bool fail(const std::string& why) {
    m_error = m_location + ": " + why;
    return false;
  }

  bool parseUser(const std::vector<Word>& words) {
    if (words.size() != 2) return fail("user NAME, or user none");
    m_description.user =
        words[1].text == "none" && !words[1].quoted ? std::nullopt : std::optional(words[1].text);
    return true;
  }

  bool parseOs(const std::vector<Word>& words) {
    if (words.size() != 2) return fail("os VALUE, or os none for Windows 95 and 98");
    if (words[1].text == "none" && !words[1].quoted) {
      m_description.environment.erase("OS");
    } else {
      m_description.environment["OS"] = words[1].text;
    }
    return true;
  }

  bool parseEnv(const std::vector<Word>& words) {
    if (words.size() != 3) return fail("env NAME VALUE");
    m_description.environment[words[1].text] = words[2].text;
    return true;
  }

  bool parseDrive(const std::vector<Word>& words) {
    static const std::map<std::string, std::string> kTypes = {{"fixed", "hd"},
                                                              {"removable", "floppy"},
                                                              {"cdrom", "cdrom"},
                                                              {"network", "network"},
                                                              {"ramdisk", "ramdisk"}};
    if (words.size() < 3 || words[1].text.size() != 2 || words[1].text[1] != ':' ||
        !std::isalpha(static_cast<unsigned char>(words[1].text[0]))) {
      return fail("drive X: TYPE [label TEXT] [not-ready], or drive X: network \\\\server\\share");
    }
    const auto type = kTypes.find(words[2].text);
    if (type == kTypes.end()) return fail("drive types: fixed removable cdrom network ramdisk");
    DriveSpec drive;
    drive.wineType = type->second;
    std::size_t i = 3;
    if (words[2].text == "network") {
      if (words.size() < 4 || words[3].text.rfind("\\\\", 0) != 0) {
        return fail("a network drive names its share: \\\\server\\share");
      }
      drive.share = words[3].text;
      i = 4;
    }
    for (; i < words.size(); ++i) {
      if (words[i].text == "label" && i + 1 < words.size()) {
        drive.label = words[++i].text;
      } else if (words[i].text == "not-ready") {
        drive.ready = false;
      } else {
        return fail("unknown drive option " + words[i].text);
      }
    }
    m_description
        .drives[static_cast<char>(std::tolower(static_cast<unsigned char>(words[1].text[0])))] =
        drive;
    return true;
  }

  bool parseProgramDirectory(const std::vector<Word>& words) {
    if (words.size() != 2) return fail("program-dir PATH");
    m_description.programDirectory = words[1].text;
    return true;
  }

  bool parseFile(const std::vector<Word>& words, const ScenarioLine& line,
                 const std::string& directory, bool folder) {
    if (words.size() < 2) return fail(words[0].text + " PATH ...");
    FileDescription file;
    file.path = directory.empty() ? words[1].text : forms::joinPath(directory, words[1].text);
    file.folder = folder;
    file.location = m_location;
    bool hasContent = line.hasBlock;
    if (line.hasBlock) file.bytes = line.block;
    for (std::size_t i = 2; i < words.size(); ++i) {
      const Word& word = words[i];
      if (word.quoted && !folder && !hasContent) {
        file.bytes = word.text;
        hasContent = true;
      } else if (word.text == "size" && i + 1 < words.size() && !folder && !hasContent) {
        std::size_t size = 0;
        const std::string& text = words[++i].text;
        const auto [next, error] = std::from_chars(text.data(), text.data() + text.size(), size);
        if (error != std::errc() || next != text.data() + text.size() || size > (64u << 20)) {
          return fail("size needs a number of bytes (at most 64 MiB)");
        }
        file.bytes.assign(size, 'x');
        hasContent = true;
      } else if (word.text == "time" && i + 2 < words.size()) {
        file.time = parseTime(words[i + 1].text, words[i + 2].text);
        if (!file.time) return fail("time YYYY-MM-DD HH:MM:SS (UTC)");
        i += 2;
      } else if (word.text == "attributes" && i + 1 < words.size()) {
        const auto attributes = parseAttributes(words[++i].text);
        if (!attributes) return fail("attributes are letters of r (read-only), h, s");
        file.attributes = *attributes;
      } else {
        return fail("unexpected \"" + word.text + "\"");
      }
    }
    m_description.files.push_back(std::move(file));
    return true;
  }

  // `archive PATH <<END`, then one entry a line: `NAME "content"` or `NAME size N`.
  bool parseArchive(const std::vector<Word>& words, const ScenarioLine& line) {
    if (words.size() != 2 || !line.hasBlock) return fail("archive PATH <<END, then NAME \"content\" lines");
    std::vector<std::pair<std::string, std::string>> entries;
    std::size_t start = 0;
    while (start < line.block.size()) {
      std::size_t end = line.block.find("\r\n", start);
      if (end == std::string::npos) end = line.block.size();
      const std::string entryLine = line.block.substr(start, end - start);
      start = end + 2;
      if (trimmedLine(entryLine).empty()) continue;
      std::string error;
      const auto entry = splitWords(entryLine, error);
      if (!entry) return fail(error);
      if (entry->size() == 2 && (*entry)[1].quoted) {
        entries.emplace_back((*entry)[0].text, (*entry)[1].text);
      } else if (entry->size() == 3 && (*entry)[1].text == "size") {
        std::size_t size = 0;
        const std::string& text = (*entry)[2].text;
        const auto [next, failed] = std::from_chars(text.data(), text.data() + text.size(), size);
        if (failed != std::errc() || next != text.data() + text.size() || size > (64u << 20)) {
          return fail("size needs a number of bytes (at most 64 MiB)");
        }
        entries.emplace_back((*entry)[0].text, std::string(size, 'x'));
      } else {
        return fail("an archive entry is NAME \"content\" or NAME size N");
      }
    }
    FileDescription file;
    file.path = words[1].text;
    file.location = m_location;
    file.bytes = StoredZip(entries);
    m_description.files.push_back(std::move(file));
    return true;
  }

  bool parseReg(const std::string& text) {
    std::string left, right;
    const bool hasValue = splitAtEquals(text, left, right);
    std::string error;
    const auto words = splitWords(hasValue ? left : text, error);
    if (!words) return fail(error);
    const auto question =
        splitRegistryQuestion(std::vector<Word>(words->begin() + 1, words->end()));
    if (!question || question->name.has_value() != hasValue) {
      return fail("reg KEY, or reg KEY \"NAME\" = TYPE DATA");
    }
    const auto path = parseRegistryPath(question->key);
    if (!path) return fail("unknown registry root in " + question->key);
    MachineDescription::RegLine reg{*path, question->name, {}};
    if (hasValue) {
      const auto dataWords = splitWords(right, error);
      if (!dataWords) return fail(error);
      const auto data = parseRegistryData(*dataWords, error);
      if (!data) return fail(error);
      reg.data = *data;
    }
    m_description.registry.push_back(std::move(reg));
    return true;
  }

  // `share \\server\share`
  bool parseShare(const std::vector<Word>& words) {
    const auto share = words.size() == 2 ? platform::parseUncName(words[1].text) : std::nullopt;
    if (!share) return fail("share \\\\server\\share");
    m_description.shares.push_back(*share);
    return true;
  }

  // Words after `first` in pairs: an option's name, then its text.
  bool parseOptions(const std::vector<Word>& words, std::size_t first,
                    const std::map<std::string, std::string*>& options) {
    for (std::size_t i = first; i < words.size(); i += 2) {
      const auto option = options.find(words[i].quoted ? std::string() : words[i].text);
      if (option == options.end() || i + 1 == words.size()) {
        return fail("unexpected \"" + words[i].text + "\"");
      }
      *option->second = words[i + 1].text;
    }
    return true;
  }

  // `printer NAME driver DRIVER [port PORT] [location TEXT] [share NAME] [comment TEXT]`
  bool parsePrinter(const std::vector<Word>& words) {
    if (words.size() < 4 || words[2].text != "driver") {
      return fail(
          "printer NAME driver DRIVER [port PORT] [location TEXT] [share NAME] "
          "[comment TEXT]");
    }
    platform::PrinterDetails printer;
    printer.name = words[1].text;
    printer.driver = words[3].text;
    printer.port = "LPT1:";
    if (!parseOptions(words, 4,
                      {{"port", &printer.port},
                       {"location", &printer.location},
                       {"share", &printer.shareName},
                       {"comment", &printer.description}})) {
      return false;
    }
    m_description.printers.emplace_back(printer, m_location);
    return true;
  }

  // `printer-share \\server\share driver DRIVER [location TEXT] [comment TEXT]`
  bool parsePrinterShare(const std::vector<Word>& words) {
    if (words.size() < 4 || !platform::parseUncName(words[1].text) || words[2].text != "driver") {
      return fail("printer-share \\\\server\\share driver DRIVER [location TEXT] [comment TEXT]");
    }
    platform::PrinterDetails printer;
    printer.name = words[1].text;
    printer.driver = words[3].text;
    if (!parseOptions(words, 4,
                      {{"location", &printer.location}, {"comment", &printer.description}})) {
      return false;
    }
    m_description.sharedPrinters.emplace_back(printer, m_location);
    return true;
  }

  // `printer-connection \\server\share`
  bool parsePrinterConnection(const std::vector<Word>& words) {
    if (words.size() != 2 || !platform::parseUncName(words[1].text)) {
      return fail("printer-connection \\\\server\\share");
    }
    m_description.printerConnections.emplace_back(words[1].text, m_location);
    return true;
  }

  // `driver-catalogue PATH MODEL...`: an INF file that lists those printer models.
  bool parseDriverCatalogue(const std::vector<Word>& words) {
    if (words.size() < 3) return fail("driver-catalogue PATH MODEL...");
    std::vector<std::string> models;
    for (std::size_t i = 2; i < words.size(); ++i) models.push_back(words[i].text);
    FileDescription file;
    file.path = words[1].text;
    file.bytes = platform::driverCatalogueText(models);
    file.location = m_location;
    m_description.files.push_back(std::move(file));
    return true;
  }

  MachineDescription& m_description;
  std::string& m_error;
  std::string m_location;
};

void makeDrives(const std::filesystem::path& root, const MachineDescription& description) {
  namespace fs = std::filesystem;
  fs::create_directories(root / "dosdevices");
  for (const auto& [letter, drive] : description.drives) {
    const std::string link = std::string(1, letter) + ":";
    if (!drive.share.empty()) {
      // \\server\share lives in dosdevices/unc/server/share; the drive links to it.
      std::string relative = "unc";
      std::string rest = drive.share.substr(2);
      for (char& c : rest) c = c == '\\' ? '/' : c;
      relative += "/" + rest;
      fs::create_directories(root / "dosdevices" / relative);
      fs::create_symlink(drive.ready ? relative : relative + ".missing",
                         root / "dosdevices" / link);
      continue;
    }
    const std::string folder = "drive_" + std::string(1, letter);
    if (drive.ready) fs::create_directories(root / folder);
    fs::create_symlink("../" + folder, root / "dosdevices" / link);
    if (drive.ready && !drive.label.empty()) {
      std::ofstream(root / folder / ".windows-label", std::ios::binary) << drive.label;
    }
  }
}

void makeShares(const std::filesystem::path& root, const MachineDescription& description) {
  for (const platform::UncName& share : description.shares) {
    std::filesystem::create_directories(root / "dosdevices" / "unc" /
                                        platform::ansiToUtf8(share.server) /
                                        platform::ansiToUtf8(share.share));
  }
}

// Local printers, the network's printers and the user's connections, where Windows keeps them.
bool addPrinters(platform::NativePrinters& printers, const MachineDescription& description,
                 std::string& error) {
  const auto failed = [&error](const std::string& location, const std::string& what,
                               platform::Status status) {
    error = location + ": cannot add " + what + " (status " + platform::toString(status) + ")";
    return false;
  };
  for (const auto& [printer, location] : description.printers) {
    const platform::Status status = printers.addLocalPrinter(printer);
    if (status.failed()) return failed(location, printer.name, status);
  }
  for (const auto& [printer, location] : description.sharedPrinters) {
    const platform::Status status = printers.recordSharedPrinter(printer);
    if (status.failed()) return failed(location, printer.name, status);
  }
  for (const auto& [name, location] : description.printerConnections) {
    const platform::Status status = printers.rememberConnection(name);
    if (status.failed()) return failed(location, name, status);
  }
  return true;
}

// The first failure stops the writing: a machine that lacks part of its description would only
// make the scenario fail later, for a reason further from its cause.
platform::Status writeRegistry(platform::Registry& registry, const MachineDescription& description) {
  const RegistryPath drives{platform::HKEY_LOCAL_MACHINE, "Software\\Wine\\Drives"};
  for (const auto& [letter, drive] : description.drives) {
    RETURN_IF_FAILED(writeRegistryValue(registry, drives, std::string(1, letter) + ":",
                                        {platform::REG_SZ, drive.wineType + '\0'}));
  }
  const RegistryPath system{platform::HKEY_LOCAL_MACHINE, kSystemEnvironmentKey};
  for (const auto& [name, value] : description.environment) {
    RETURN_IF_FAILED(writeRegistryValue(registry, system, name, {platform::REG_SZ, value + '\0'}));
  }
  if (description.user) {
    RETURN_IF_FAILED(writeRegistryValue(registry,
                                        {platform::HKEY_CURRENT_USER, "Volatile Environment"},
                                        "USERNAME", {platform::REG_SZ, *description.user + '\0'}));
  }
  for (const auto& reg : description.registry) {
    RETURN_IF_FAILED(reg.name ? writeRegistryValue(registry, reg.path, *reg.name, reg.data)
                              : createRegistryKey(registry, reg.path));
  }
  return platform::ERROR_SUCCESS;
}

// Creates every missing folder of `path`, the path included.
void createFolders(platform::FileSystem& files, const std::string& path) {
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '\\') continue;
    const std::string prefix = path.substr(0, i);
    if (prefix.size() > 2 && !files.folderExists(prefix)) {
      platform::ignoreFailure(files.createFolder(prefix), "a folder of the described machine");
    }
  }
}

platform::Status createEntry(platform::FileSystem& files, const FileDescription& file) {
  if (!file.folder) return platform::writeWholeFile(files, file.path, file.bytes);
  createFolders(files, file.path);
  return files.folderExists(file.path) ? platform::ERROR_SUCCESS : platform::ERROR_PATH_NOT_FOUND;
}

// The zip component's library, copied from the build beside the program as an installation
// puts it there.
bool installZipComponent(platform::NativeMachine& machine, const MachineDescription& description,
                         std::string& error) {
  const std::filesystem::path library = PARCELON_LIBRARY_PATH;
  std::ifstream in(library, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string target =
      forms::joinPath(description.programDirectory, library.filename().string());
  if (!in || platform::writeWholeFile(machine.files(), target, bytes) != platform::ERROR_SUCCESS) {
    error = "cannot install the zip component from " + library.string();
    return false;
  }
  return true;
}

bool writeFiles(platform::NativeMachine& machine, const MachineDescription& description,
                platform::FileTime now, std::string& error) {
  platform::FileSystem& files = machine.files();
  createFolders(files, description.programDirectory);
  for (const FileDescription& file : description.files) {
    const std::size_t slash = file.path.rfind('\\');
    if (slash != std::string::npos) createFolders(files, file.path.substr(0, slash));
    const platform::Status status = createEntry(files, file);
    if (status.failed()) {
      error = file.location + ": cannot create " + file.path + " (status " +
              platform::toString(status) + ")";
      return false;
    }
    platform::ignoreFailure(files.setLastWriteTime(file.path, file.time.value_or(now)), "the time of a described file");
    if (file.attributes != 0)
      platform::ignoreFailure(files.setAttributes(file.path, file.attributes), "the attributes of a described file");
  }
  return true;
}

}  // namespace

ScenarioMachine::~ScenarioMachine() {
  m_machine.reset();
  if (!m_root.empty() && !m_keep) {
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
  }
}

bool ScenarioMachine::build(const std::vector<ScenarioLine>& lines, std::string& error) {
  MachineDescription description;
  LineParser parser(description, error);
  for (const ScenarioLine& line : lines) {
    if (!parser.parse(line)) return false;
  }
  std::string pattern = (std::filesystem::temp_directory_path() / "scenario-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    error = "cannot make a temporary folder";
    return false;
  }
  m_root = pattern;
  makeDrives(m_root, description);
  makeShares(m_root, description);
  m_machine =
      std::make_unique<platform::NativeMachine>(m_root, m_clock, description.programDirectory);
  if (writeRegistry(m_machine->registry(), description).failed()) {
    error = "cannot write the machine's registry";
    return false;
  }
  if (!addPrinters(m_machine->nativePrinters(), description, error)) return false;
  if (m_machine->nativeRegistry().flushAll().failed()) {
    error = "cannot write the machine's registry";
    return false;
  }
  if (!writeFiles(*m_machine, description, m_clock.now(), error)) return false;
  return !description.zipComponent || installZipComponent(*m_machine, description, error);
}

}  // namespace scenario
