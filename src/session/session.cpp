#include "session/session.h"

#include "base/error.h"
#include "terms/sheet_layout.h"

namespace pradima {
namespace {

template <typename T>
T& Require(const std::shared_ptr<T>& field, const char* what) {
  if (!field) throw Error(VbError::ObjectNotSet, std::string(what) + " is not bound");
  return *field;
}

}  // namespace

Session& Session::ForThisThread() {
#ifdef _WIN32
  // A trivially destructible thread_local: mingw's static runtime crashes
  // running thread_local destructors at thread exit. The session of a thread
  // holds nothing once released, so the few bytes left behind cost nothing.
  thread_local Session* session = nullptr;
  if (!session) session = new Session();
  return *session;
#else
  thread_local Session session;
  return session;
#endif
}

void Session::BindSheets() {
  // Held here, so that the workbook outlives the calls into it even if an
  // event macro replaces the session's own reference meanwhile.
  const std::shared_ptr<Workbook> book = workbook_;
  Require(book, "the workbook");
  for (const std::shared_ptr<Worksheet>& sheet : book->WorkSheets()) {
    const std::string codeName = sheet->CodeName();
    if (codeName == terms::kResultsCodeName) results_ = sheet;
    if (codeName == terms::kSettingsCodeName) settings_ = sheet;
    if (codeName == terms::kControlCodeName) control_ = sheet;
  }
}

void Session::ReleaseSession() {
  application_.reset();
  workbook_.reset();
  results_.reset();
  settings_.reset();
  control_.reset();
}

Application& Session::application() const { return Require(application_, "the spreadsheet application"); }
Workbook& Session::workbook() const { return Require(workbook_, "the workbook"); }
Worksheet& Session::results() const { return Require(results_, "the results sheet (code name Sheet1)"); }
Worksheet& Session::settings() const { return Require(settings_, "the settings sheet (code name Sheet2)"); }
Worksheet& Session::control() const { return Require(control_, "the control sheet (code name Sheet3)"); }

}  // namespace pradima
