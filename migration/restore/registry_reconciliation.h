// Looks up each value of an imported export in the registry and judges it by the report's rules
// (restore_report.h): the registry of the new machine against what the capture exported.
#pragma once

#include <vector>

#include "platform/registry.h"
#include "restore/reg_export_reader.h"
#include "restore/restore_report.h"

namespace migration {

// One item per value, named `KEY "NAME"` (`KEY @` for the default value), in the export's order.
std::vector<RestoreReport::Item> ReconcileExport(platform::Registry& registry,
                                                 const std::vector<ExportedValue>& values);

}  // namespace migration
