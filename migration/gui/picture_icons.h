// The small pictures of the picture buttons, drawn here so that they look the same on every
// desktop (and in the screenshots): "select-all", "deselect-all", "browse".
#pragma once

#include <QIcon>
#include <string>

namespace gui {

// A null icon for a name we do not draw.
QIcon pictureIcon(const std::string& name);

}  // namespace gui
