#include "stats/run_statistics.h"

#include <cmath>

#include "session/address.h"
#include "session/conversions.h"
#include "stats/custom_list.h"
#include "stats/request_period.h"
#include "stats/screen_updating.h"
#include "terms/sheet_layout.h"
#include "text/telex.h"

namespace pradima {
namespace {

// The row of LoCounts a listed value selects: digits as their number, a
// number as itself; -1 for anything else, a blank entry included (it lists
// no number, and 00 beside it would be read as its count).
int32_t CountRowOf(const Value& listed) {
  double number = -1;
  if (listed.IsNumber()) {
    number = listed.number();
  } else if (listed.IsText()) {
    const std::string text(listed.text());
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return -1;
    const size_t last = text.find_last_not_of(' ');
    const std::string digits = text.substr(first, last - first + 1);
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9) return -1;
    number = std::stod(digits);
  }
  if (number < 0 || number > 999 || number != std::floor(number)) return -1;
  return static_cast<int32_t>(number);
}

Value CountValue(const std::optional<int32_t>& count) { return count ? Value::Number(*count) : Value(); }

LoCountResult Run(const Session& session, MessageSink& messages, const Clock& clock, terms::Prizes prizes) {
  Worksheet& control = session.control();
  const RequestPeriod period = ReadRequestPeriod(session, clock);
  const std::string numberType = ToText(CellValue(control, terms::kNumberTypeCell));

  const std::string regionName = ToText(CellValue(control, terms::kRegionCell));
  RequireKnownRegion(regionName);
  const std::string numberSet = ToText(CellValue(control, terms::kNumberSetCell));
  CleanCustomList(session, messages, numberSet, numberType);

  LoCountResult result;
  CountLo(session, result.counts, period.start, period.end, regionName, result.dayCount, numberType, prizes);
  WriteCounts(control, result);
  return result;
}

}  // namespace

void WriteCounts(Worksheet& control, const LoCountResult& result) {
  const int32_t lastListRow = LastUsedRow(control, terms::kListFarCell);
  Block listBlock =
      lastListRow >= 3
          ? control.GetRange(std::string(terms::kListFirstCell) + ":H" + std::to_string(lastListRow))->GetValue()
          : Block();
  FillCounts(listBlock, result.counts);
  control.GetRange(terms::kListFirstCell)->Resize(terms::kListTableRows, terms::kListTableColumns)->ClearContents();
  if (listBlock.rows() > 0) control.GetRange(terms::kListFirstCell)->Resize(listBlock.rows(), 3)->SetValue(listBlock);
  control.GetRange(terms::kDayCountCell)
      ->SetValue(Value::Text(TelexToUnicode(kDayCountCaptionTelex) + std::to_string(result.dayCount)));
}

void FillCounts(Block& listBlock, const LoCounts& counts) {
  for (int32_t r = 1; r <= listBlock.rows(); ++r) {
    const int32_t row = CountRowOf(listBlock(r, 1));
    listBlock(r, 2) = row < 0 ? Value() : CountValue(counts.days(row));
    listBlock(r, 3) = row < 0 ? Value() : CountValue(counts.appearances(row));
  }
}

LoCountResult RunStatistics(Session session, MessageSink& messages, const Clock& clock, terms::Prizes prizes) {
  return WithScreenUpdatingOff(session.application(), [&] { return Run(session, messages, clock, prizes); });
}

}  // namespace pradima
