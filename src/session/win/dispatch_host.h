#pragma once
#include <memory>

#include "session/host.h"
#include "session/win/dispatch.h"

namespace pradima::win {

// The host layer over the spreadsheet application's automation objects.
std::shared_ptr<Application> DispatchApplication(Microsoft::WRL::ComPtr<IDispatch> application);
std::shared_ptr<Workbook> DispatchWorkbook(Microsoft::WRL::ComPtr<IDispatch> workbook);
// The spreadsheet's own object behind a workbook made by DispatchWorkbook;
// error 91 for any other.
Microsoft::WRL::ComPtr<IDispatch> DispatchOf(Workbook& workbook);

// A block of values from the VARIANT a multi-cell Value get returns (a
// SAFEARRAY of VARIANT with any lower bounds) or from a single value.
Block BlockFromVariant(const VARIANT& value);
// A block as a SAFEARRAY of VARIANT with lower bounds 1, in a VARIANT.
UniqueVariant VariantFromBlock(const Block& block);

}  // namespace pradima::win
