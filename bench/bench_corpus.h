// A generated corpus of files like the ones a migration archives: a few thousand files from
// 1 KB to 2 MB, mostly small, text and binary mixed, about 100 MB in all.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

struct CorpusFile {
  std::filesystem::path relative;  // below the corpus folder
  std::uint64_t size = 0;
};

// Writes the corpus below `folder` (which must exist) and lists its files. The same seed makes
// the same corpus.
std::vector<CorpusFile> writeCorpus(const std::filesystem::path& folder, std::uint64_t totalBytes,
                                    std::uint32_t seed);

}  // namespace bench
