#include "forms/ui.h"

namespace forms {

MsgAnswer defaultAnswer(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::OK:
    case MsgButtons::OKCancel: return MsgAnswer::OK;
    case MsgButtons::AbortRetryIgnore: return MsgAnswer::Abort;
    case MsgButtons::YesNoCancel:
    case MsgButtons::YesNo: return MsgAnswer::Yes;
    case MsgButtons::RetryCancel: return MsgAnswer::Retry;
  }
  return MsgAnswer::OK;
}

bool offersAnswer(MsgButtons buttons, MsgAnswer answer) {
  using enum MsgAnswer;
  switch (buttons) {
    case MsgButtons::OK: return answer == OK;
    case MsgButtons::OKCancel: return answer == OK || answer == Cancel;
    case MsgButtons::AbortRetryIgnore: return answer == Abort || answer == Retry || answer == Ignore;
    case MsgButtons::YesNoCancel: return answer == Yes || answer == No || answer == Cancel;
    case MsgButtons::YesNo: return answer == Yes || answer == No;
    case MsgButtons::RetryCancel: return answer == Retry || answer == Cancel;
  }
  return false;
}

std::string iconName(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::None: return "none";
    case MsgIcon::Critical: return "critical";
    case MsgIcon::Question: return "question";
    case MsgIcon::Exclamation: return "exclamation";
    case MsgIcon::Information: return "information";
  }
  return "none";
}

std::string buttonsName(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::OK: return "OK";
    case MsgButtons::OKCancel: return "OK Cancel";
    case MsgButtons::AbortRetryIgnore: return "Abort Retry Ignore";
    case MsgButtons::YesNoCancel: return "Yes No Cancel";
    case MsgButtons::YesNo: return "Yes No";
    case MsgButtons::RetryCancel: return "Retry Cancel";
  }
  return "OK";
}

std::string answerName(MsgAnswer answer) {
  switch (answer) {
    case MsgAnswer::OK: return "OK";
    case MsgAnswer::Cancel: return "Cancel";
    case MsgAnswer::Abort: return "Abort";
    case MsgAnswer::Retry: return "Retry";
    case MsgAnswer::Ignore: return "Ignore";
    case MsgAnswer::Yes: return "Yes";
    case MsgAnswer::No: return "No";
  }
  return "OK";
}

}  // namespace forms
