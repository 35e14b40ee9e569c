// The receiver of the control's Status event: the entry name and the progress, 0 to 100.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace parcelon {

using StatusSink = std::function<void(const std::string& name, std::int32_t progress)>;

}  // namespace parcelon
