#include "stats/request_period.h"

#include "session/address.h"
#include "session/conversions.h"
#include "terms/sheet_layout.h"

namespace pradima {

RequestPeriod ReadRequestPeriod(const Session& session, const Clock& clock) {
  Worksheet& control = session.control();
  RequestPeriod period{ToDate(CellValue(control, terms::kStartDateCell)),
                       ToDate(CellValue(control, terms::kEndDateCell))};
  Worksheet& results = session.results();
  const int32_t lastResultRow = LastUsedRow(results, terms::kResultsFarCell);
  if (period.end > SerialFromCivil(clock().date) && lastResultRow >= terms::kFirstResultRow) {
    period.end = ToDate(CellValue(results, CellAddress(lastResultRow, 1)));
  }
  return period;
}

}  // namespace pradima
