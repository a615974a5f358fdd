#include "entry/session_start.h"

#include "base/error.h"
#include "results/update_results.h"
#include "results/win/xmlhttp_fetcher.h"
#include "session/win/dispatch_host.h"

#ifndef PRADIMA_RESULTS_SITE
#error "PRADIMA_RESULTS_SITE must name the results site"
#endif

namespace pradima::entry {
namespace {

constexpr LCID kVietnamese = 0x042A;
constexpr const char* kResultsSite = PRADIMA_RESULTS_SITE;

}  // namespace

Session StartSession(Session& shared) {
  shared.BindSheets();
  const Session call = shared;
  call.application().SetCellDragAndDrop(false);
  // The workbook reads and shows dates as day/month/year; the result is not checked.
  SetLocaleInfoA(kVietnamese, LOCALE_SSHORTDATE, "dd/MM/yyyy");
  return call;
}

void Sup(Session& shared, IDispatch* application, IDispatch* workbook, const Clock& clock) {
  if (!application) throw Error(VbError::ObjectRequired, "Sup: ExcelApp is not an object");
  if (!workbook) throw Error(VbError::ObjectRequired, "Sup: ThisWorkBook is not an object");
  shared.SetApplication(win::DispatchApplication(application));
  shared.SetWorkbook(win::DispatchWorkbook(workbook));
  const Session call = StartSession(shared);
  win::XmlHttpPageFetcher fetcher;
  UpdateResults(call, fetcher, clock, kResultsSite);
}

void EndSession(Session& shared) {
  if (!shared.HasApplication()) return;
  const Session ending = shared;  // the application outlives the put, whatever its events do
  ending.application().SetCellDragAndDrop(true);
  shared.ReleaseSession();
}

}  // namespace pradima::entry
