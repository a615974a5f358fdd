// The update that keeps every complete day: against a full run's rows, with
// failures and stops at different days and regions and blocks of different
// heights.
#include <gtest/gtest.h>

#include <new>

#include <optional>
#include <string>

#include "base/error.h"
#include "results/update_results.h"
#include "session/address.h"
#include "session/standard_workbook.h"
#include "support/first_rows.h"
#include "support/fixture_pages.h"
#include "support/fixture_site.h"

namespace pradima {
namespace {

constexpr int32_t kDays = 10;  // 1 to 10 January 2005
const LocalDateTime kNow{{2005, 1, kDays}, 19, 0, 0};
Clock FixedClock() {
  return [] { return kNow; };
}

// The fixture site's pages without the network: the URL's query names the page.
class FixturePages final : public PageFetcher {
 public:
  std::string GetPageText(const std::string& url) override {
    const testing::PageQuery query = testing::ParsePageQuery(url.substr(url.find("/tra-cuu")));
    return testing::StandardPage(query.day, query.region);
  }
};

// How page `index` of the plan goes wrong, if it does.
enum class Trouble { None, RequestFails, DamagedPage, Stop, OutOfMemory };

class ScriptedSource final : public PageSource {
 public:
  ScriptedSource(size_t troubledPage, Trouble trouble) : troubledPage_(troubledPage), trouble_(trouble) {}
  void Start(const PagePlan& plan) override { plan_.emplace(plan); }
  std::optional<std::string> Page(size_t index) override {
    EXPECT_EQ(index, asked_++) << "pages are asked for in order, once each";
    if (index == troubledPage_) {
      switch (trouble_) {
        case Trouble::RequestFails: throw Error(kDownloadFailure, "GET " + plan_->Url(index) + " failed: refused");
        case Trouble::DamagedPage: return "<td class=\"giaidb\"><div>1</div></table></tr></table>";
        case Trouble::Stop: return std::nullopt;
        case Trouble::OutOfMemory: throw std::bad_alloc();
        case Trouble::None: break;
      }
    }
    return pages_.GetPageText(plan_->Url(index));
  }

 private:
  size_t troubledPage_;
  Trouble trouble_;
  size_t asked_ = 0;
  std::optional<PagePlan> plan_;
  FixturePages pages_;
};

struct Book {
  Book() {
    session.SetWorkbook(book);
    session.BindSheets();
    results = book->SheetByCodeName("Sheet1");
  }
  // Rows 5 on of the results sheet, a day each, every column.
  Block Days(int32_t count) const { return results->Read(*ParseAddress("A5:FF" + std::to_string(4 + count))); }
  std::shared_ptr<MemoryWorkbook> book = NewStandardWorkbook({2005, 1, 1});
  Session session;
  std::shared_ptr<MemorySheet> results;
};

// The rows of an uninterrupted run, one page after another.
Block FullRunRows() {
  Book full;
  FixturePages pages;
  UpdateResults(full.session, pages, FixedClock(), "http://site");
  EXPECT_EQ(full.results->LastRowAtOrAbove(kMaxRows, 1), 4 + kDays);
  return full.Days(kDays);
}

size_t PageOf(int day, size_t region) { return static_cast<size_t>(day - 1) * PagePlan::kPagesPerDay + region; }

TEST(UpdateResultsInParts, AFailureKeepsTheDaysBeforeItExactlyAsAFullRunWritesThem) {
  const Block full = FullRunRows();
  struct Case {
    int day;        // the failing day of January
    size_t region;  // 0 North, 1 Central, 2 South
    Trouble trouble;
    int32_t daysPerWrite;
    int number;
    std::string description;
  };
  const Case cases[] = {
      {5, 1, Trouble::RequestFails, 100, kDownloadFailure,
       "Miền Trung, 05/01/2005: GET http://site/tra-cuu-ket-qua-xo-so.html?mien=3&thu=0&ngay=5&thang=1&nam=2005 "
       "failed: refused"},
      {1, 0, Trouble::DamagedPage, 100, 9,
       "Miền Bắc, 01/01/2005: the North page has 2 pieces, fewer than its 27 prizes"},
      {8, 2, Trouble::RequestFails, 3, kDownloadFailure, "Miền Nam, 08/01/2005: GET http://site/"},
      {7, 0, Trouble::DamagedPage, 3, 9, "Miền Bắc, 07/01/2005: the North page has 2 pieces"},
      {10, 2, Trouble::RequestFails, 1, kDownloadFailure, "Miền Nam, 10/01/2005: GET "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    Book book;
    ScriptedSource source(PageOf(c.day, c.region), c.trouble);
    try {
      UpdateResultsInParts(book.session, source, FixedClock(), "http://site", {}, c.daysPerWrite);
      ADD_FAILURE() << "the update did not fail";
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), c.number);
      EXPECT_EQ(std::string(e.what()).rfind(c.description, 0), 0u) << e.what();
    }
    const int32_t kept = c.day - 1;
    EXPECT_EQ(book.results->LastRowAtOrAbove(kMaxRows, 1), 4 + kept);
    if (kept > 0) {
      EXPECT_EQ(book.Days(kept), testing::FirstRows(full, kept));
    }
    EXPECT_EQ(book.book->calls("Value.set"), (kept + c.daysPerWrite - 1) / c.daysPerWrite) << "one write per block";
  }
}

// A failure that is no error of the run's own (memory running out) keeps the complete days too.
TEST(UpdateResultsInParts, AnyFailureKeepsTheDaysBeforeIt) {
  const Block full = FullRunRows();
  Book book;
  ScriptedSource source(PageOf(6, 2), Trouble::OutOfMemory);
  EXPECT_THROW(UpdateResultsInParts(book.session, source, FixedClock(), "http://site", {}, 4), std::bad_alloc);
  EXPECT_EQ(book.results->LastRowAtOrAbove(kMaxRows, 1), 4 + 5);
  EXPECT_EQ(book.Days(5), testing::FirstRows(full, 5));
}

TEST(UpdateResultsInParts, AStopKeepsTheCompleteDaysAndTheNextRunEndsAsAnUninterruptedOne) {
  const Block full = FullRunRows();
  struct Case {
    size_t stopPage;
    int32_t daysPerWrite;
    int32_t kept;
  };
  const Case cases[] = {
      {PageOf(1, 0), 100, 0},
      {PageOf(6, 1), 100, 5},
      {PageOf(7, 0), 4, 6},
      {PageOf(10, 2), 2, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stopPage);
    Book book;
    ScriptedSource stopping(c.stopPage, Trouble::Stop);
    const UpdateOutcome stopped =
        UpdateResultsInParts(book.session, stopping, FixedClock(), "http://site", {}, c.daysPerWrite);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.daysAdded, c.kept);
    EXPECT_EQ(book.results->LastRowAtOrAbove(kMaxRows, 1), 4 + c.kept);
    if (c.kept > 0) {
      EXPECT_EQ(book.Days(c.kept), testing::FirstRows(full, c.kept));
    }

    ScriptedSource rest(SIZE_MAX, Trouble::None);
    const UpdateOutcome finished = UpdateResultsInParts(book.session, rest, FixedClock(), "http://site");
    EXPECT_FALSE(finished.stopped);
    EXPECT_EQ(finished.daysAdded, kDays - c.kept);
    EXPECT_EQ(book.Days(kDays), full);
    EXPECT_TRUE(book.results->Get(5 + kDays, 1).IsEmpty());
  }
}

TEST(UpdateResultsInParts, WritesInBlocksAndReportsEachDay) {
  const Block full = FullRunRows();
  for (const int32_t daysPerWrite : {1, 3, 10, 100}) {
    SCOPED_TRACE(daysPerWrite);
    Book book;
    ScriptedSource source(SIZE_MAX, Trouble::None);
    std::vector<int> reported;
    const UpdateOutcome outcome = UpdateResultsInParts(
        book.session, source, FixedClock(), "http://site",
        [&](int done, int total, const CivilDate& day) {
          EXPECT_EQ(total, kDays);
          EXPECT_EQ(day, (CivilDate{2005, 1, done}));
          reported.push_back(done);
        },
        daysPerWrite);
    EXPECT_EQ(outcome.daysAdded, kDays);
    EXPECT_FALSE(outcome.stopped);
    EXPECT_EQ(book.Days(kDays), full);
    EXPECT_EQ(book.book->calls("Value.set"), (kDays + daysPerWrite - 1) / daysPerWrite);
    EXPECT_EQ(reported.size(), static_cast<size_t>(kDays));
  }
}

}  // namespace
}  // namespace pradima
