#include "bench_corpus.h"

#include <array>
#include <cmath>
#include <fstream>
#include <random>

namespace bench {
namespace {

constexpr std::uint64_t kKilobyte = 1024;

// Prose from a small vocabulary: deflates about as well as documents do.
std::string textContent(std::uint64_t size, std::mt19937& random) {
  static const std::array<const char*, 24> kWords = {
      "migration", "the",     "of",      "user", "settings", "printer",  "and",    "archive",
      "Windows",   "network", "drive",   "a",    "to",       "document", "report", "in",
      "profile",   "is",      "desktop", "for",  "with",     "registry", "file",   "2001"};
  std::string text;
  text.reserve(size);
  std::uniform_int_distribution<std::size_t> word(0, kWords.size() - 1);
  std::uniform_int_distribution<int> lineLength(6, 16);
  while (text.size() < size) {
    for (int i = lineLength(random); i > 0; --i) {
      text += kWords[word(random)];
      text += ' ';
    }
    text += "\r\n";
  }
  text.resize(size);
  return text;
}

// Records with counters and a few random fields, as spreadsheets and databases hold.
std::string structuredContent(std::uint64_t size, std::mt19937& random) {
  std::string bytes;
  bytes.reserve(size);
  std::uint32_t counter = 0;
  while (bytes.size() < size) {
    const auto field = static_cast<std::uint32_t>(random());
    std::array<std::uint32_t, 8> record = {counter++,  0x00010002,  field & 0xFF, 0,
                                           0xFFFFFFFF, counter * 3, field,        0x20202020};
    bytes.append(reinterpret_cast<const char*>(record.data()), sizeof record);
  }
  bytes.resize(size);
  return bytes;
}

// Already compressed data (pictures, archives): does not deflate.
std::string randomContent(std::uint64_t size, std::mt19937& random) {
  std::string bytes(size, '\0');
  for (auto& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

std::uint64_t drawSize(std::mt19937& random) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  // Most files are small; a few percent are large and carry much of the volume.
  const bool large = unit(random) < 0.03;
  const double low = large ? 64.0 : 1.0;
  const double high = large ? 2048.0 : 64.0;
  return static_cast<std::uint64_t>(kKilobyte * low * std::pow(high / low, unit(random)));
}

}  // namespace

std::vector<CorpusFile> writeCorpus(const std::filesystem::path& folder, std::uint64_t totalBytes,
                                    std::uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<CorpusFile> files;
  std::uint64_t written = 0;
  while (written < totalBytes) {
    const std::uint64_t size = drawSize(random);
    const std::size_t index = files.size();
    const auto kind = random() % 4;
    const char* extension = kind < 2 ? ".txt" : kind == 2 ? ".xls" : ".jpg";
    CorpusFile file;
    file.relative = std::filesystem::path("folder" + std::to_string(index % 37)) /
                    ("file" + std::to_string(index) + extension);
    file.size = size;
    std::filesystem::create_directories(folder / file.relative.parent_path());
    const std::string bytes = kind < 2    ? textContent(size, random)
                              : kind == 2 ? structuredContent(size, random)
                                          : randomContent(size, random);
    std::ofstream(folder / file.relative, std::ios::binary) << bytes;
    written += size;
    files.push_back(std::move(file));
  }
  return files;
}

}  // namespace bench
