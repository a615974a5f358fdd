#include "cli/standard_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <string>

namespace pradima::cli {
namespace {

TEST(StandardOutputTest, AFullDiskIsAFailureAndAReaderThatLeftIsNot) {
  std::signal(SIGPIPE, SIG_IGN);  // as the tool does
  const std::string table(100000, 'x');

  const int full = ::open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  EXPECT_EQ(WriteOutput(full, table), ENOSPC);
  ::close(full);

  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ::close(ends[0]);  // the reader is gone, as `head` goes after its lines
  EXPECT_EQ(WriteOutput(ends[1], table), 0);
  ::close(ends[1]);
}

}  // namespace
}  // namespace pradima::cli
