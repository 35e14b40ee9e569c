// The rewrites an export makes on its way out, so that the settings of Office 97 (version 8.0,
// programs in "Microsoft Office\Office") land where Office XP (version 10.0, "Office10") looks
// for them. They act on the registry's own text, before the export escapes it: key paths and
// value names move from "Office\8.0" to "Office\10.0"; text data does too unless it is a drive
// path, whose "\Microsoft Office\Office" directory becomes "\Microsoft Office\Office10".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace migration {

// A text whose second and third characters are ":\" ("C:\...").
bool IsDrivePath(std::string_view text);

// A key path or value name with every "Office\8.0" made "Office\10.0"; nothing when the text
// holds none, so that the common case copies nothing.
std::optional<std::string> RewriteOfficeKeyText(std::string_view text);

// The data of a text value (its bytes, final NUL included): a drive path gets the Office10
// directory, any other text the 10.0 version; nothing when neither occurs. A directory already
// named "Office10", or any other name that only starts with "Office" ("Office11"), is left alone.
std::optional<std::string> RewriteOfficeValueText(std::string_view data);

}  // namespace migration
