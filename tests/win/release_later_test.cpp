// Large blocks of plain values are freed on a thread of their own; anything
// holding an object is freed on the caller's thread, as COM asks.
#include "session/win/release_later.h"

#include <gtest/gtest.h>

#include "base/win/com_object.h"

namespace pradima::win {
namespace {

// An object that says on which thread it went.
class Watched final : public ComObject<IUnknown> {
 public:
  explicit Watched(DWORD* goneOn) : gone_on_(goneOn) {}
  ~Watched() override { *gone_on_ = GetCurrentThreadId(); }

 private:
  DWORD* gone_on_;
};

// A rows × columns block of texts, as the spreadsheet hands one over.
UniqueVariant TextBlock(ULONG rows, ULONG columns) {
  SAFEARRAYBOUND bounds[2] = {{rows, 1}, {columns, 1}};
  UniqueVariant block;
  block->vt = VT_ARRAY | VT_VARIANT;
  block->parray = SafeArrayCreate(VT_VARIANT, 2, bounds);
  VARIANT* cells = nullptr;
  EXPECT_EQ(SafeArrayAccessData(block->parray, reinterpret_cast<void**>(&cells)), S_OK);
  for (ULONG i = 0; i < rows * columns; ++i) {
    cells[i].vt = VT_BSTR;
    cells[i].bstrVal = SysAllocString(L"12345");
  }
  SafeArrayUnaccessData(block->parray);
  return block;
}

// Every release handed to a thread is done within a few seconds.
bool AllReleased() {
  for (int wait = 0; wait < 500 && PendingReleases() > 0; ++wait) Sleep(10);
  return PendingReleases() == 0;
}

TEST(ReleaseLater, ALargeBlockOfTextsIsFreedByAThreadThatEnds) {
  const int before = ReleasesOnThreads();
  for (int block = 0; block < 3; ++block) ReleaseLater(TextBlock(8000, 76));
  EXPECT_EQ(ReleasesOnThreads() - before, 3);
  EXPECT_TRUE(AllReleased());
}

TEST(ReleaseLater, SmallBlocksAndBlocksHoldingObjectsAreFreedOnTheCallersThread) {
  ASSERT_TRUE(AllReleased());
  const int before = ReleasesOnThreads();
  ReleaseLater(TextBlock(30, 28));
  EXPECT_EQ(PendingReleases(), 0) << "a small block is freed at once";

  DWORD goneOn = 0;
  UniqueVariant block = TextBlock(8000, 76);
  VARIANT* cells = nullptr;
  ASSERT_EQ(SafeArrayAccessData(block->parray, reinterpret_cast<void**>(&cells)), S_OK);
  VariantClear(&cells[4000]);
  cells[4000].vt = VT_UNKNOWN;
  cells[4000].punkVal = new Watched(&goneOn);
  SafeArrayUnaccessData(block->parray);
  ReleaseLater(std::move(block));
  EXPECT_EQ(ReleasesOnThreads(), before) << "no thread for either";
  EXPECT_EQ(goneOn, GetCurrentThreadId()) << "the object went on the caller's thread, at once";
}

}  // namespace
}  // namespace pradima::win
