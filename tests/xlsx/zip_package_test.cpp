// The package writer: parts in their places, copied parts byte for byte, and
// files that a strict reader accepts.
#include "xlsx/zip_package.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/error.h"

namespace pradima::xlsx {
namespace {

class ZipPackageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              (std::string("pradima-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Path(const char* name) const { return (folder_ / name).string(); }

  // The names of the parts in the order of the central directory, checked
  // for consistency by the archive library as it opens the file.
  static std::vector<std::string> Names(const std::string& path) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    EXPECT_NE(archive, nullptr) << "zip error " << error;
    std::vector<std::string> names;
    if (!archive) return names;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i)
      names.emplace_back(zip_get_name(archive, static_cast<zip_uint64_t>(i), 0));
    zip_close(archive);
    return names;
  }

  std::filesystem::path folder_;
};

TEST_F(ZipPackageTest, ReplacedPartsKeepTheirPlaceAndOthersComeThroughAsStored) {
  const std::string big(300000, 'x');
  WritePackage(Path("a.zip"), {{"[Content_Types].xml", "<Types/>"}, {"b/big.xml", big}, {"c.bin", ""}});
  ZipPackage original(Path("a.zip"));
  original.WriteTo(Path("b.zip"), {{"[Content_Types].xml", "<Types>new</Types>"}, {"d/new.xml", "<new/>"}}, {"c.bin"});

  EXPECT_EQ(Names(Path("b.zip")), (std::vector<std::string>{"[Content_Types].xml", "b/big.xml", "d/new.xml"}));
  ZipPackage written(Path("b.zip"));
  EXPECT_EQ(written.Read("[Content_Types].xml"), "<Types>new</Types>");
  EXPECT_EQ(written.Read("b/big.xml"), big);
  EXPECT_EQ(written.Read("d/new.xml"), "<new/>");
  EXPECT_FALSE(written.Has("c.bin"));
  // An empty part and a deflated one read back through the archive library too.
  EXPECT_EQ(ZipPackage(Path("a.zip")).Read("c.bin"), "");
}

TEST_F(ZipPackageTest, ANewPackageRefusesAFileThatExistsAndLeavesNothingHalfWritten) {
  WritePackage(Path("a.zip"), {{"x.xml", "<x/>"}});
  EXPECT_THROW(WritePackage(Path("a.zip"), {{"y.xml", "<y/>"}}), Error);
  EXPECT_EQ(ZipPackage(Path("a.zip")).Read("x.xml"), "<x/>");
  EXPECT_THROW(WritePackage(Path("no/such/folder.zip"), {{"y.xml", "<y/>"}}), Error);
}

TEST_F(ZipPackageTest, APartThatDoesNotInflateToWhatTheArchiveSaysIsNamed) {
  WritePackage(Path("a.zip"), {{"x.xml", std::string(5000, 'y')}});
  // Damage the deflated bytes (they follow the 30-byte header and the name).
  std::string bytes;
  {
    std::FILE* file = std::fopen(Path("a.zip").c_str(), "r+b");
    ASSERT_NE(file, nullptr);
    std::fseek(file, 30 + 5 + 2, SEEK_SET);
    std::fputc(0x55, file);
    std::fclose(file);
  }
  try {
    ZipPackage(Path("a.zip")).Read("x.xml");
    FAIL() << "a damaged part was read";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("x.xml"), std::string::npos) << e.what();
  }
}

// A file may claim any size for a part: a claim its bytes cannot hold is
// refused before anything is set aside for it.
TEST_F(ZipPackageTest, APartClaimingMoreThanItsBytesCanHoldIsRefusedUpFront) {
  WritePackage(Path("a.zip"), {{"x.xml", std::string(5000, 'y')}});
  std::string bytes;
  {
    std::ifstream in(Path("a.zip"), std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  const auto put32 = [&](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  put32(22, 3000000000u);  // the local header's size
  const size_t central = bytes.find(std::string("PK\x01\x02", 4));
  ASSERT_NE(central, std::string::npos);
  put32(central + 24, 3000000000u);  // the central directory's
  std::ofstream(Path("b.zip"), std::ios::binary | std::ios::trunc) << bytes;
  try {
    ZipPackage(Path("b.zip")).Read("x.xml");
    FAIL() << "a part claiming 3 GB was read";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("x.xml of " + Path("b.zip") + " is damaged: it claims more bytes"),
              std::string::npos)
        << e.what();
  }
}

}  // namespace
}  // namespace pradima::xlsx
