#pragma once
#include <memory>

#include "session/host.h"

namespace pradima {

// The workbook session: the application, the workbook and its three
// worksheets found by code name. The COM class keeps one per thread, shared
// by every instance on that thread; tests and the tool make their own.
//
// A session is a small value of counted references, cheap to copy. Every
// operation that calls into the host takes its own copy when it starts: the
// host runs event macros inside those calls, and a macro may rebind or end
// the caller's session meanwhile. The copy keeps the objects the operation
// started with alive until it ends.
class Session {
 public:
  static Session& ForThisThread();

  void SetApplication(std::shared_ptr<Application> application) { application_ = std::move(application); }
  void SetWorkbook(std::shared_ptr<Workbook> workbook) { workbook_ = std::move(workbook); }

  // Visits the workbook's worksheets in order and binds code names "Sheet1",
  // "Sheet2" and "Sheet3", compared exactly. A code name no worksheet has
  // leaves its field as it was.
  void BindSheets();
  // Drops application, workbook, results, settings and control sheet, in that order.
  void ReleaseSession();

  bool HasApplication() const noexcept { return application_ != nullptr; }
  bool HasResultsSheet() const noexcept { return results_ != nullptr; }

  // Each raises "object not set" with the field's name when it is unset.
  Application& application() const;
  Workbook& workbook() const;
  Worksheet& results() const;   // code name Sheet1
  Worksheet& settings() const;  // code name Sheet2
  Worksheet& control() const;   // code name Sheet3

 private:
  std::shared_ptr<Application> application_;
  std::shared_ptr<Workbook> workbook_;
  std::shared_ptr<Worksheet> results_;
  std::shared_ptr<Worksheet> settings_;
  std::shared_ptr<Worksheet> control_;
};

}  // namespace pradima
