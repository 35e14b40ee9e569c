// Calls the control's methods by dispatch identifier with automation arguments.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "automation_value.h"
#include "parcelon/parcelon.h"
#include "parcelon_ctrl.h"
#include "zip_error.h"

namespace parcelon {

struct DispatchOutcome {
  ParcelonHresult status = PARCELON_S_OK;
  AutomationValue result;             // when status is PARCELON_S_OK
  std::optional<RaisedError> raised;  // when status is PARCELON_DISP_E_EXCEPTION
};

DispatchOutcome dispatch(ParcelonCtrl& control, std::int32_t dispatchId,
                         std::span<const ParcelonVariant> arguments);

}  // namespace parcelon
