// The package writer: parts in their places, copied parts byte for byte, and
// files that a strict reader accepts.
#include "xlsx/zip_package.h"

#include <zip.h>

#include "base/error.h"
#include "support/cli_fixture.h"
#include "support/error_of.h"

namespace pradima::xlsx {
namespace {

// The names of the parts in the order of the central directory, checked
// for consistency by the archive library as it opens the file.
std::vector<std::string> Names(const std::string& path) {
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

class ZipPackageTest : public CliTest {
 protected:
  std::string Path(const char* name) const { return (directory / name).string(); }
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

// A damaged part is refused with what is wrong with it; a size that its
// bytes cannot hold is refused before anything is set aside for it.
TEST_F(ZipPackageTest, ADamagedPartIsRefusedWithWhatIsWrong) {
  WritePackage(Path("a.zip"), {{"x.xml", std::string(5000, 'y')}});
  const std::string bytes = Slurp(Path("a.zip"));
  const size_t central = bytes.find(std::string("PK\x01\x02", 4));
  ASSERT_NE(central, std::string::npos);
  const std::string claim("\x00\x5E\xD0\xB2", 4);  // 3,000,000,000, least significant byte first
  struct Case {
    std::vector<std::pair<size_t, std::string>> damage;  // bytes written over the file's, at an offset
    const char* says;
  };
  const Case cases[] = {
      // A byte of the deflated part, after the 30-byte local header and the name.
      {{{30 + 5 + 2, "\x55"}}, " is damaged: it does not inflate to what the archive says it holds"},
      // The checksum of the plain bytes in the local header and in the central directory.
      {{{14, claim}, {central + 16, claim}}, " is damaged: it does not inflate to what the archive says it holds"},
      // The size of the plain bytes in the local header and in the central directory.
      {{{22, claim}, {central + 24, claim}}, " is damaged: it claims more bytes than the file can hold"},
  };
  for (const Case& c : cases) {
    std::string damaged = bytes;
    for (const auto& [at, with] : c.damage) damaged.replace(at, with.size(), with);
    std::ofstream(Path("b.zip"), std::ios::binary | std::ios::trunc) << damaged;
    EXPECT_EQ(testing::ErrorOf([&] { ZipPackage(Path("b.zip")).Read("x.xml"); }).second,
              "the part x.xml of " + Path("b.zip") + c.says);
  }
}

}  // namespace
}  // namespace pradima::xlsx
