#include "entry/session_start.h"

#include "results/update_results.h"
#include "results/xmlhttp_fetcher.h"
#include "session/error.h"
#include "session/win/dispatch_host.h"

#ifndef PRADIMA_RESULTS_SITE
#error "PRADIMA_RESULTS_SITE must name the results site"
#endif

namespace pradima::entry {
namespace {

constexpr LCID kVietnamese = 0x042A;
constexpr const char* kResultsSite = PRADIMA_RESULTS_SITE;

}  // namespace

void StartSession(Session& session) {
  session.BindSheets();
  session.application().SetCellDragAndDrop(false);
  // The workbook reads and shows dates as day/month/year; the result is not checked.
  SetLocaleInfoA(kVietnamese, LOCALE_SSHORTDATE, "dd/MM/yyyy");
}

void Sup(Session& session, IDispatch* application, IDispatch* workbook) {
  if (!application) throw Error(VbError::ObjectRequired, "Sup: ExcelApp is not an object");
  if (!workbook) throw Error(VbError::ObjectRequired, "Sup: ThisWorkBook is not an object");
  session.SetApplication(win::DispatchApplication(application));
  session.SetWorkbook(win::DispatchWorkbook(workbook));
  StartSession(session);
  XmlHttpPageFetcher fetcher;
  UpdateResults(session, fetcher, SystemLocalTime, kResultsSite);
}

void EndSession(Session& session) {
  if (!session.HasApplication()) return;
  session.application().SetCellDragAndDrop(true);
  session.ReleaseSession();
}

}  // namespace pradima::entry
