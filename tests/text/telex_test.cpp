#include "text/telex.h"

#include <gtest/gtest.h>

#include "base/utf.h"

namespace pradima {
namespace {

struct Example {
  const char* telex;
  const char* unicode;
};

class TelexExamples : public ::testing::TestWithParam<Example> {};

TEST_P(TelexExamples, ConvertsToPrecomposedUnicode) {
  EXPECT_EQ(TelexToUnicode(GetParam().telex), GetParam().unicode) << GetParam().telex;
}

INSTANTIATE_TEST_SUITE_P(StoredLiteralsAndRules, TelexExamples,
                         ::testing::Values(Example{"Thoong Baso", "Thông Báo"}, Example{"Soos Kesp", "Số Kép"},
                                           Example{"ddaafu", "đầu"}, Example{"dduooi", "đuôi"},
                                           Example{"Tufy Chojn", "Tùy Chọn"}, Example{"Mieefn Trung", "Miền Trung"},
                                           Example{"Mieefn Bawsc", "Miền Bắc"}, Example{"Mieefn Nam", "Miền Nam"},
                                           Example{"Chur Nhaajt", "Chủ Nhật"}, Example{"Thuws Bary", "Thứ Bảy"},
                                           Example{"Thuws Tuw", "Thứ Tư"}, Example{"Thuws Nawm", "Thứ Năm"},
                                           Example{"Thuws Sasu", "Thứ Sáu"},
                                           Example{" * Toorng soos ngafy thoosng kee: ", " * Tổng số ngày thống kê: "},
                                           Example{"Phari ist nhaast 1 soos tufy chojn", "Phải ít nhất 1 số tùy chọn"},
                                           Example{"THOONG BASO", "THÔNG BÁO"}, Example{"Dduwowjc", "Được"},
                                           Example{"DDUWOWJC", "ĐƯỢC"}, Example{"ThOong", "ThÔng"},
                                           Example{"dduwowjc", "được"},
                                           // a tone key is only seen right after its vowel
                                           Example{"dduwowcj", "đươcj"},
                                           // three-key rules before the two-key rules they contain
                                           Example{"aaf", "ầ"}, Example{"AAF", "Ầ"}, Example{"Aaf", "Ầ"},
                                           // other case mixtures are left alone or converted in part
                                           Example{"aA", "aA"}, Example{"AAf", "Âf"},
                                           // escapes: the tilde protects the following key only
                                           Example{"Ga~s", "Gas"}, Example{"aa~s", "â~s"}, Example{"e~~", "e~"},
                                           Example{"A~", "A"}, Example{"add", "ađ"}, Example{"", ""},
                                           Example{"123 ,.;", "123 ,.;"}, Example{"Số Kép", "Số Kép"}));

TEST(Telex, IsNotIdempotent) {
  const std::string once = TelexToUnicode("Ga~s");
  EXPECT_EQ(once, "Gas");
  EXPECT_EQ(TelexToUnicode(once), "Gá");
}

TEST(Telex, EveryRuleGivesItsCharacterInAllThreeCaseForms) {
  for (const TelexRule& rule : kTelexRules) {
    const std::string lower(rule.sequence);
    std::string upper = lower;
    for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    std::string first = lower;
    first[0] = upper[0];
    const std::string small = Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(rule.lower)));
    const std::string capital = Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(rule.upper)));
    EXPECT_EQ(TelexToUnicode(lower), small) << lower;
    EXPECT_EQ(TelexToUnicode(upper), capital) << upper;
    EXPECT_EQ(TelexToUnicode(first), capital) << first;
    // embedded in other text, the neighbours pass through
    EXPECT_EQ(TelexToUnicode("1 " + lower + " 2"), "1 " + small + " 2") << lower;
  }
}

}  // namespace
}  // namespace pradima
