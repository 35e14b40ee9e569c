#include "control_dispatcher.h"

#include <string>

#include "method_table.h"

namespace parcelon {
namespace {

// The arguments of one call, converted to the types the method takes (checked beforehand).
class Arguments {
 public:
  explicit Arguments(std::span<const ParcelonVariant> values) : m_values(values) {}

  std::string text(std::size_t i) const { return toText(m_values[i]).value_or(std::string()); }
  std::int32_t integer(std::size_t i) const { return toInteger(m_values[i]).value_or(0); }
  bool boolean(std::size_t i) const { return toBoolean(m_values[i]).value_or(false); }

 private:
  std::span<const ParcelonVariant> m_values;
};

template <typename T>
AutomationValue valueOf(const T& value) {
  return value;
}
inline AutomationValue valueOf(double date) { return AutomationDate{date}; }

template <typename T>
DispatchOutcome finish(const Outcome<T>& outcome) {
  DispatchOutcome result;
  if (outcome.raised()) {
    result.status = PARCELON_DISP_E_EXCEPTION;
    result.raised = describe(outcome.error());
  } else {
    result.result = valueOf(outcome.value());
  }
  return result;
}

DispatchOutcome call(ParcelonCtrl& control, std::int32_t id, const Arguments& args) {
  switch (id) {
    case PARCELON_DISPID_EXTRACTFILE:
      return finish(control.ExtractFile(args.text(0), args.text(1), args.text(2)));
    case PARCELON_DISPID_FILENAME:
      return finish(control.Filename(args.integer(0)));
    case PARCELON_DISPID_FILECOUNT:
      return finish(control.FileCount());
    case PARCELON_DISPID_FILESIZE:
      return finish(control.FileSize(args.integer(0)));
    case PARCELON_DISPID_FILESIZEZ:
      return finish(control.FileSizeZ(args.integer(0)));
    case PARCELON_DISPID_FILEDATE:
      return finish(control.FileDate(args.integer(0)));
    case PARCELON_DISPID_OPENZIP:
      return finish(control.OpenZip(args.text(0)));
    case PARCELON_DISPID_CREATEZIP:
      return finish(control.CreateZip(args.text(0), args.text(1)));
    case PARCELON_DISPID_CLOSE:
      return finish(control.Close());
    case PARCELON_DISPID_ADDFILE:
      return finish(control.AddFile(args.text(0), args.text(1), args.boolean(2), args.text(3)));
    case PARCELON_DISPID_REMOVEFILE:
      return finish(control.RemoveFile(args.text(0)));
    case PARCELON_DISPID_FILECOMMENT:
      return finish(control.FileComment(args.integer(0)));
    case PARCELON_DISPID_ISCRYPTED:
      return finish(control.IsCrypted(args.integer(0)));
    case PARCELON_DISPID_ABOUTBOX:
      control.AboutBox();
      return DispatchOutcome{};
    default:
      return DispatchOutcome{PARCELON_DISP_E_MEMBERNOTFOUND, {}, {}};
  }
}

// Converts every argument before the call, so that a mismatch calls nothing.
bool argumentsConvert(const ParcelonMethodInfo& method, std::span<const ParcelonVariant> values) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    const bool ok = method.argumentTypes[i] == PARCELON_VT_TEXT ? toText(values[i]).has_value()
                    : method.argumentTypes[i] == PARCELON_VT_I4 ? toInteger(values[i]).has_value()
                                                                : toBoolean(values[i]).has_value();
    if (!ok) return false;
  }
  return true;
}

}  // namespace

DispatchOutcome dispatch(ParcelonCtrl& control, std::int32_t dispatchId,
                         std::span<const ParcelonVariant> arguments) {
  const ParcelonMethodInfo* method = findMethod(dispatchId);
  if (method == nullptr) return DispatchOutcome{PARCELON_DISP_E_MEMBERNOTFOUND, {}, {}};
  if (arguments.size() != method->argumentCount) {
    return DispatchOutcome{PARCELON_DISP_E_BADPARAMCOUNT, {}, {}};
  }
  if (!argumentsConvert(*method, arguments)) {
    return DispatchOutcome{PARCELON_DISP_E_TYPEMISMATCH, {}, {}};
  }
  return call(control, dispatchId, Arguments(arguments));
}

}  // namespace parcelon
