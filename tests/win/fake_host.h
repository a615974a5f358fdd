#pragma once
// A spreadsheet application over IDispatch for the COM tests: application,
// workbook, worksheets collection, worksheet and range, by member name,
// over the in-memory workbook. It counts live objects and calls per member
// so tests can prove every reference was released.
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "session/memory_workbook.h"

namespace pradima::testing {

struct FakeHostStats {
  long liveObjects = 0;
  std::map<std::wstring, int> calls;
  std::vector<bool> cellDragAndDrop;
  std::vector<bool> screenUpdating;
};
FakeHostStats& HostStats();

Microsoft::WRL::ComPtr<IDispatch> FakeApplication();
Microsoft::WRL::ComPtr<IDispatch> FakeWorkbook(std::shared_ptr<MemoryWorkbook> book);

}  // namespace pradima::testing
