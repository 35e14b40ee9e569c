#include "platform/status.h"

#include <ostream>

namespace platform {
namespace {

// Per thread, so that a run's log sees only the failures of its own run.
thread_local FailureListener* t_listener = nullptr;

}  // namespace

ScopedFailureListener::ScopedFailureListener(FailureListener& listener) : m_previous(t_listener) {
  t_listener = &listener;
}

ScopedFailureListener::~ScopedFailureListener() { t_listener = m_previous; }

std::ostream& operator<<(std::ostream& out, Status status) {
  return out << "status " << status.code();
}

void reportPassedOver(Status status, std::string_view subject, std::string_view reason) {
  if (t_listener != nullptr) t_listener->failurePassedOver(status, subject, reason);
}

}  // namespace platform
