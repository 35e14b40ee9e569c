#include "materialise_command.h"

#include <optional>

#include "linked_share.h"
#include "sample_materialiser.h"

namespace simwin {
namespace {

constexpr const char* kUsage =
    "usage: simwin materialise [--share \\\\server\\share=FOLDER]... SAMPLE_DIR DEST\n";
constexpr std::string_view kShareOption = "--share";

struct Request {
  std::vector<std::string> places;  // the sample and the destination
  std::vector<LinkedShare> shares;
};

// The words taken apart: --share X or --share=X, and two places. The message when they are bad.
std::optional<std::string> readRequest(const std::vector<std::string>& args, Request& request) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view word = args[i];
    if (!word.starts_with(kShareOption)) {
      request.places.push_back(args[i]);
      continue;
    }
    if (word == kShareOption) {
      if (++i == args.size()) return "--share needs \\\\server\\share=FOLDER";
      word = args[i];
    } else if (word[kShareOption.size()] == '=') {
      word.remove_prefix(kShareOption.size() + 1);
    } else {
      return "unknown option " + args[i];
    }
    auto share = parseLinkedShare(word);
    if (!share) return share.subject();
    request.shares.push_back(std::move(share).value());
  }
  if (request.places.size() != 2) return "a sample folder and a destination, please";
  return std::nullopt;
}

}  // namespace

int runMaterialiseCommand(const std::vector<std::string>& args, std::ostream& out,
                          std::ostream& err) {
  Request request;
  if (auto problem = readRequest(args, request)) {
    err << "simwin materialise: " << *problem << "\n" << kUsage;
    return 2;
  }
  auto made = materialiseSample(request.places[0], request.places[1], request.shares);
  if (!made) {
    err << "simwin materialise: " << made.subject() << "\n";
    return 1;
  }
  out << "materialised " << request.places[0] << " into " << made->string() << "\n";
  for (const LinkedShare& share : request.shares) {
    out << "  " << share.share << " is the folder " << share.hostFolder.string() << "\n";
  }
  return 0;
}

}  // namespace simwin
