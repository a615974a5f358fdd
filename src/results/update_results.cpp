#include "results/update_results.h"

#include <algorithm>
#include <string>

#include "base/error.h"
#include "results/missing_days.h"
#include "session/address.h"
#include "terms/lottery.h"
#include "text/telex.h"

namespace pradima {
namespace {

using terms::kResultColumns;

// The rows of complete days not yet written, below those written before.
class PendingRows {
 public:
  PendingRows(Worksheet& results, int32_t firstRow, int32_t height)
      : results_(results), nextRow_(firstRow), rows_(height, kResultColumns) {}

  // The block row the next day is built in; a full block is written first.
  int32_t NextRow(int32_t daysLeft) {
    if (count_ == rows_.rows()) {
      Write();
      rows_ = Block(std::min(rows_.rows(), daysLeft), kResultColumns);
    }
    return count_ + 1;
  }
  Block& rows() { return rows_; }
  void Complete() { ++count_; }

  // Writes the complete days in one write; the day being built is left out.
  void Write() {
    if (count_ == 0) return;
    if (count_ < rows_.rows()) {
      Block head(count_, kResultColumns);
      for (int32_t r = 1; r <= count_; ++r)
        for (int32_t c = 1; c <= kResultColumns; ++c) head(r, c) = std::move(rows_(r, c));
      rows_ = std::move(head);
    }
    results_.GetRange(CellAddress(nextRow_, 1))->Resize(count_, kResultColumns)->SetValue(rows_);
    nextRow_ += count_;
    written_ += count_;
    count_ = 0;
  }
  int32_t written() const { return written_; }

 private:
  Worksheet& results_;
  int32_t nextRow_;
  Block rows_;
  int32_t count_ = 0;
  int32_t written_ = 0;
};

enum class OnFailure { WriteNothing, WriteCompleteDays };

// Reads the pages of the missing days in order and builds their rows,
// writing them in blocks of `daysPerWrite` days (0: all in one block).
UpdateOutcome AppendMissingDays(Session& session, PageSource& source, const Clock& clock, std::string_view site,
                                const UpdateProgress& progress, int32_t daysPerWrite, OnFailure onFailure) {
  const LocalDateTime now = clock();
  Worksheet& results = session.results();
  const DayRowBuilder builder(session.settings());
  const MissingDays missing = FindMissingDays(results, now);
  if (missing.count == 0) return {};

  const PagePlan plan(std::string(site), missing.firstDay, missing.count);
  source.Start(plan);
  PendingRows pending(results, missing.firstRow,
                      daysPerWrite > 0 ? std::min(daysPerWrite, missing.count) : missing.count);
  for (int32_t j = 0; j < missing.count; ++j) {
    const CivilDate day = plan.Day(static_cast<size_t>(j) * PagePlan::kPagesPerDay);
    const int32_t row = pending.NextRow(missing.count - j);
    builder.Begin(pending.rows(), row, day);
    for (size_t r = 0; r < PagePlan::kPagesPerDay; ++r) {
      const size_t index = static_cast<size_t>(j) * PagePlan::kPagesPerDay + r;
      const terms::Region& region = plan.RegionOf(index);
      std::optional<std::string> page;
      try {
        page = source.Page(index);
        if (page) builder.AddPage(pending.rows(), row, region, *page);
      } catch (const Error& e) {
        if (onFailure == OnFailure::WriteCompleteDays) pending.Write();
        throw e.WithContext(TelexToUnicode(region.telexName) + ", " + FormatShortDate(day));
      } catch (...) {
        // Out of memory, say: the complete days are kept all the same.
        if (onFailure == OnFailure::WriteCompleteDays) pending.Write();
        throw;
      }
      if (!page) {
        pending.Write();
        return {pending.written(), true};
      }
    }
    pending.Complete();
    if (progress) progress(j + 1, missing.count, day);
  }
  pending.Write();
  return {pending.written(), false};
}

}  // namespace

void UpdateResults(Session session, PageFetcher& fetcher, const Clock& clock, std::string_view site,
                   const UpdateProgress& progress) {
  FetchingPageSource source(fetcher);
  AppendMissingDays(session, source, clock, site, progress, 0, OnFailure::WriteNothing);
}

UpdateOutcome UpdateResultsInParts(Session session, PageSource& source, const Clock& clock, std::string_view site,
                                   const UpdateProgress& progress, int32_t daysPerWrite) {
  if (daysPerWrite < 1) {
    throw Error(VbError::InvalidArgument,
                "an update in parts writes at least one day at a time, not " + std::to_string(daysPerWrite));
  }
  return AppendMissingDays(session, source, clock, site, progress, daysPerWrite, OnFailure::WriteCompleteDays);
}

}  // namespace pradima
