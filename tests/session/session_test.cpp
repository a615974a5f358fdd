#include "session/session.h"

#include <gtest/gtest.h>

#include <thread>

#include "base/error.h"
#include "session/memory_workbook.h"
#include "support/error_of.h"

namespace pradima {
namespace {

// Binding another workbook keeps a field that no sheet of it matches; a
// release drops every reference and can be repeated.
TEST(Session, BindsSheetsByExactCodeNameWhateverTheirTabsAndOrderAndReleasesThem) {
  auto book = MemoryWorkbook::Create();
  auto control = book->AddSheet("Sheet3", "Sheet1");
  auto lower = book->AddSheet("sheet1", "KetQua");
  auto settings = book->AddSheet("Sheet2", "CaiDat");
  auto app = std::make_shared<MemoryApplication>();
  Session session;
  session.SetApplication(app);
  session.SetWorkbook(book);
  session.BindSheets();
  EXPECT_EQ(&session.control(), control.get());
  EXPECT_EQ(&session.settings(), settings.get());
  EXPECT_FALSE(session.HasResultsSheet()) << "\"sheet1\" must not bind";
  EXPECT_EQ(testing::ErrorOf([&] { session.results(); }),
            std::pair(91, std::string("the results sheet (code name Sheet1) is not bound")));
  auto second = MemoryWorkbook::Create();
  auto results = second->AddSheet("Sheet1", "a");
  session.SetWorkbook(second);
  session.BindSheets();
  EXPECT_EQ(&session.results(), results.get());
  EXPECT_EQ(&session.control(), control.get());

  EXPECT_EQ(app.use_count(), 2);
  session.ReleaseSession();
  EXPECT_EQ(app.use_count(), 1);
  EXPECT_EQ(results.use_count(), 2) << "the workbook still holds it, the session does not";
  EXPECT_EQ(control.use_count(), 2) << "a field kept from another workbook is dropped too";
  EXPECT_FALSE(session.HasApplication());
  session.ReleaseSession();
  EXPECT_THROW(session.workbook(), Error);
}

TEST(Session, OnePerThread) {
  Session* mine = &Session::ForThisThread();
  Session* other = nullptr;
  std::thread([&] { other = &Session::ForThisThread(); }).join();
  EXPECT_EQ(mine, &Session::ForThisThread());
  EXPECT_NE(mine, other);
}

}  // namespace
}  // namespace pradima
