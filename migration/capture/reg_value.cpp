#include "capture/reg_value.h"

namespace migration {

std::string RegValue::toText() const {
  if (isText()) return text();
  if (isInteger()) return std::to_string(integer());
  return {};
}

std::string withoutFinalNul(std::string text) {
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

}  // namespace migration
