#include "machine_description.h"

#include <cctype>
#include <charconv>
#include <cstdio>

#include "driver_catalogue.h"
#include "forms/dir_list_box.h"
#include "stored_zip.h"

namespace scenario {

namespace {

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
    if (words.size() != 2 || !line.hasBlock)
      return fail("archive PATH <<END, then NAME \"content\" lines");
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

}  // namespace

bool describeMachine(const std::vector<ScenarioLine>& lines, MachineDescription& description,
                     std::string& error) {
  LineParser parser(description, error);
  for (const ScenarioLine& line : lines) {
    if (!parser.parse(line)) return false;
  }
  return true;
}

}  // namespace scenario
