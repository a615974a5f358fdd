#pragma once
// A spreadsheet application over IDispatch for the COM tests: application,
// workbook, worksheets collection, worksheet and range, by member name,
// over the in-memory workbook. It counts live objects so tests can prove
// every reference was released.
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "session/memory_workbook.h"

namespace pradima::testing {

struct FakeHostStats {
  long liveObjects = 0;
  std::vector<bool> cellDragAndDrop;
  std::vector<bool> screenUpdating;
  double hostSeconds = 0;  // time spent inside the fake application's members
};
FakeHostStats& HostStats();

// Event macros, as the real application runs them: synchronously, inside the
// call that fired them. Unset hooks do nothing; tests reset them.
struct FakeHostEvents {
  std::function<void()> afterCellChange;                         // every Value put and ClearContents
  std::function<void(const std::wstring&)> afterApplicationPut;  // the property's name
  // When set, every member lookup by name fails with it, as on a closed workbook.
  HRESULT lookupFailure = S_OK;
};
FakeHostEvents& HostEvents();

// A late-bound object with the given members; a handler gets the arguments
// in declaration order (a property put's value last) and fills the result.
using FakeMember = std::function<void(std::vector<const VARIANT*>& args, VARIANT* result)>;
Microsoft::WRL::ComPtr<IDispatch> FakeObject(std::vector<std::pair<std::wstring, FakeMember>> members);

Microsoft::WRL::ComPtr<IDispatch> FakeApplication();
Microsoft::WRL::ComPtr<IDispatch> FakeWorkbook(std::shared_ptr<MemoryWorkbook> book);
// A range of `sheet` as the application hands one to a macro (ActiveCell,
// Sheet4.Range("B3")), with its Row, Column and Worksheet, whose Parent is
// `workbook`.
Microsoft::WRL::ComPtr<IDispatch> FakeRange(IDispatch* workbook, std::shared_ptr<MemorySheet> sheet,
                                            const std::string& address);

}  // namespace pradima::testing
