// Feeds saved inputs to a fuzz target without libFuzzer, so that every build (gcc's too) replays
// the crashes found so far and the seeds: each argument is a file or a folder of files; a folder
// that does not exist holds no inputs. Fails when no input at all was found.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputsOf(const fs::path& argument) {
  std::vector<fs::path> inputs;
  std::error_code error;
  if (fs::is_regular_file(argument, error)) return {argument};
  if (!fs::is_directory(argument, error)) return inputs;
  for (const auto& entry : fs::recursive_directory_iterator(argument, error)) {
    if (entry.is_regular_file(error)) inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t replayed = 0;
  for (int i = 1; i < argc; ++i) {
    for (const fs::path& input : inputsOf(argv[i])) {
      std::ifstream file(input, std::ios::binary);
      const std::string bytes{std::istreambuf_iterator<char>(file),
                              std::istreambuf_iterator<char>()};
      std::printf("%s\n", input.string().c_str());
      std::fflush(stdout);  // so that a crash shows which input it was
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++replayed;
    }
  }
  std::printf("%zu inputs replayed\n", replayed);
  return replayed > 0 ? 0 : 1;
}
