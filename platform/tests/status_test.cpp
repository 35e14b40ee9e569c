#include "platform/status.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace platform {
namespace {

class RecordingListener final : public FailureListener {
 public:
  void failurePassedOver(Status status, std::string_view subject,
                         std::string_view reason) override {
    lines.push_back(toString(status) + " " + std::string(subject) + ": " + std::string(reason));
  }
  std::vector<std::string> lines;
};

Status failWith(Status status) {
  RETURN_IF_FAILED(status);
  return ERROR_MORE_DATA;  // reached only after a success
}

TEST(Status, AnEarlyReturnPassesTheFailureOnAndGoesOnAfterSuccess) {
  EXPECT_EQ(failWith(ERROR_ACCESS_DENIED), ERROR_ACCESS_DENIED);
  EXPECT_EQ(failWith(ERROR_SUCCESS), ERROR_MORE_DATA);
}

TEST(Status, FailuresPassedOverReachTheInstalledListenerOnly) {
  RecordingListener outer;
  RecordingListener inner;
  ignoreFailure(ERROR_FILE_NOT_FOUND, "nobody listens yet");
  {
    ScopedFailureListener installOuter(outer);
    ignoreFailure(ERROR_SUCCESS, "a success is no failure");
    ignoreFailure(ERROR_PATH_NOT_FOUND, "a missing folder");
    {
      ScopedFailureListener installInner(inner);
      ignoreFailure(Result<int>::failure(ERROR_ACCESS_DENIED, "C:\\x"), "a locked file");
    }
    ignoreFailure(Result<int>(5), "a value is no failure");
    ignoreFailure(ERROR_DISK_FULL, "a full disk");
  }
  ignoreFailure(ERROR_FILE_NOT_FOUND, "nobody listens any more");
  EXPECT_EQ(outer.lines, (std::vector<std::string>{"3 : a missing folder", "112 : a full disk"}));
  EXPECT_EQ(inner.lines, (std::vector<std::string>{"5 C:\\x: a locked file"}));
}

}  // namespace
}  // namespace platform
