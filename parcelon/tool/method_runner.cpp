#include "method_runner.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace parcelon::tool {
namespace {

void printStatus(void* context, const char* filename, std::uint32_t length, std::int32_t progress) {
  auto& out = *static_cast<std::ostream*>(context);
  out << "Status: " << std::string(filename, length) << " " << progress << "\n";
}

std::string dispatchFailure(ParcelonHresult status) {
  switch (status) {
    case PARCELON_DISP_E_TYPEMISMATCH:
      return "an argument has the wrong type";
    case PARCELON_DISP_E_BADPARAMCOUNT:
      return "wrong number of arguments";
    default: {
      char text[32];
      std::snprintf(text, sizeof text, "failed with 0x%08X", static_cast<unsigned>(status));
      return text;
    }
  }
}

}  // namespace

std::string formatAutomationDate(double date) {
  using namespace std::chrono;
  const double wholeDays = std::floor(date);
  const auto seconds = static_cast<long long>(std::llround((date - wholeDays) * 86400.0));
  const sys_days day = sys_days(year{1899} / December / 30) + days(static_cast<long>(wholeDays));
  const year_month_day ymd(day);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02lld:%02lld:%02lld",
                static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                static_cast<unsigned>(ymd.day()), seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

MethodRunner::MethodRunner(ParcelonControl* control, std::ostream& out, std::ostream& err)
    : m_control(control), m_out(out), m_err(err) {}

int MethodRunner::run(const std::vector<std::string>& words, ShowStatus showStatus) {
  if (showStatus == ShowStatus::Yes) {
    ParcelonControlAdvise(m_control, &printStatus, &m_out);
  }
  std::size_t next = 0;
  while (next < words.size()) {
    std::int32_t dispatchId = 0;
    ParcelonMethodInfo method{};
    if (ParcelonControlGetIdOfName(m_control, words[next].c_str(), &dispatchId) != PARCELON_S_OK ||
        ParcelonControlGetMethodInfo(m_control, dispatchId, &method) != PARCELON_S_OK) {
      m_err << "parcelon-tool: no method named " << words[next] << "\n";
      return 2;
    }
    if (next + 1 + method.argumentCount > words.size()) {
      m_err << "parcelon-tool: " << method.name << " takes " << method.argumentCount
            << " argument(s)\n";
      return 2;
    }
    const std::vector<std::string> arguments(
        words.begin() + static_cast<long>(next) + 1,
        words.begin() + static_cast<long>(next) + 1 + method.argumentCount);
    if (const int status = runOne(method, arguments); status != 0) return status;
    next += 1 + method.argumentCount;
  }
  return 0;
}

int MethodRunner::runOne(const ParcelonMethodInfo& method,
                         const std::vector<std::string>& arguments) {
  // Every argument goes as text; the control converts it as automation does.
  std::vector<ParcelonVariant> values;
  for (const std::string& argument : arguments) {
    ParcelonVariant value{};
    value.type = PARCELON_VT_TEXT;
    value.text = argument.data();
    value.textLength = static_cast<std::uint32_t>(argument.size());
    values.push_back(value);
  }
  ParcelonVariant result{};
  ParcelonException exception{};
  const ParcelonHresult status =
      ParcelonControlInvoke(m_control, method.dispatchId, values.data(),
                            static_cast<std::uint32_t>(values.size()), &result, &exception);
  if (status == PARCELON_DISP_E_EXCEPTION) {
    m_out.flush();
    m_err << "error " << (exception.code & 0xFFFF) << ": "
          << (exception.description ? exception.description : "") << "\n";
    ParcelonExceptionClear(&exception);
    return 1;
  }
  if (status != PARCELON_S_OK) {
    m_err << "parcelon-tool: " << method.name << ": " << dispatchFailure(status) << "\n";
    return 2;
  }
  print(method, result);
  ParcelonVariantClear(&result);
  return 0;
}

void MethodRunner::print(const ParcelonMethodInfo& method, const ParcelonVariant& result) {
  m_out << method.name << ":";
  switch (result.type) {
    case PARCELON_VT_I4:
      m_out << " " << result.i4;
      break;
    case PARCELON_VT_BOOL:
      m_out << " " << (result.boolean != 0 ? "True" : "False");
      break;
    case PARCELON_VT_DATE:
      m_out << " " << formatAutomationDate(result.date);
      break;
    case PARCELON_VT_TEXT:
      m_out << " " << std::string(result.text, result.textLength);
      break;
    default:
      break;
  }
  m_out << "\n";
}

}  // namespace parcelon::tool
