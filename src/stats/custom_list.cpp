#include "stats/custom_list.h"

#include <set>
#include <utility>
#include <vector>

#include "base/utf.h"
#include "session/conversions.h"
#include "terms/lottery.h"
#include "terms/sheet_layout.h"
#include "text/telex.h"

namespace pradima {
namespace {

constexpr const char* kNoticeTitle = "Thoong Baso";
constexpr const char* kNeedOneNumber = "Phari ist nhaast 1 soos tufy chojn";
constexpr const char* kTwoDigitsAtLeast = "Soos nhaajp vafo ist nhaast phari laf soos cos 2 chuwx soos.";
constexpr const char* kEvenDigitCount = "Toorng soos nhaajp vafo phari laf soos chawxn.";

void Notify(MessageSink& messages, const std::string& telex) {
  ShowMessage(messages, TelexToUnicode(telex), kInformationIcon, kNoticeTitle);
}

void Reject(MessageSink& messages, const char* telexMessage, const std::string& entryText) {
  Notify(messages, std::string(telexMessage) + "\r\n" + "Soos bij looxi: " + entryText);
}

// Clears a column from its first cell down 10,000 rows and writes the list there.
void ReplaceColumn(Worksheet& sheet, const char* firstCell, const Block& list) {
  sheet.GetRange(firstCell)->Resize(terms::kSavedListRows, 1)->ClearContents();
  if (list.rows() > 0) sheet.GetRange(firstCell)->Resize(list.rows(), 1)->SetValue(list);
}

// A number cell and a text with the same digits are different keys.
using SeenKey = std::pair<bool, std::string>;

}  // namespace

CustomListOutcome CleanCustomList(Session session, MessageSink& messages, const std::string& numberSet,
                                  const std::string& numberType) {
  Worksheet& control = session.control();
  const bool twoDigits = numberType == terms::kTwoDigits;
  const bool threeDigits = numberType == terms::kThreeDigits;
  if (numberSet == TelexToUnicode(terms::kCustomTelex) && (twoDigits || threeDigits)) {
    const int32_t last = LastUsedRow(control, terms::kCustomListFarCell);
    if (last <= 2) {
      Notify(messages, kNeedOneNumber);
      return CustomListOutcome::Rejected;
    }
    // Two rows beyond the last entry, so the read is always a block.
    const Block entries =
        control.GetRange(std::string(terms::kListFirstCell) + ":F" + std::to_string(last + 2))->GetValue();
    if (threeDigits) {
      ReplaceColumn(session.settings(), terms::kSavedThreeDigitList, entries);
      ReplaceColumn(control, terms::kListFirstCell, entries);
    } else {
      std::set<SeenKey> seen;
      std::vector<Value> clean;
      for (int32_t r = 1; r <= last - 2; ++r) {
        const Value& entry = entries(r, 1);
        if (!IsNumeric(entry)) continue;
        const std::string text = ToText(entry);
        const std::u16string units = Utf8ToUtf16(text);
        const size_t length = units.size();
        std::vector<Value> candidates;
        if (length == 1) {
          Reject(messages, kTwoDigitsAtLeast, text);
          return CustomListOutcome::Rejected;
        } else if (length == 2) {
          candidates.push_back(entry);
        } else if (length == 3) {
          candidates.push_back(Value::Text(Utf16ToUtf8(units.substr(0, 2))));
          candidates.push_back(Value::Text(Utf16ToUtf8(units.substr(1, 2))));
        } else if (length >= 4 && length % 2 == 0) {
          for (size_t i = 0; i < length; i += 2) candidates.push_back(Value::Text(Utf16ToUtf8(units.substr(i, 2))));
        } else {
          Reject(messages, kEvenDigitCount, text);
          return CustomListOutcome::Rejected;
        }
        for (Value& candidate : candidates) {
          if (seen.emplace(candidate.IsNumber(), ToText(candidate)).second) clean.push_back(std::move(candidate));
        }
      }
      // Every entry skipped as not numeric: as with no entry at all.
      if (clean.empty()) {
        Notify(messages, kNeedOneNumber);
        return CustomListOutcome::Rejected;
      }
      const Block list = ColumnBlock(clean);
      ReplaceColumn(session.settings(), terms::kSavedTwoDigitList, list);
      ReplaceColumn(control, terms::kListFirstCell, list);
    }
    control.GetRange(terms::kCountsFirstCell)->Resize(terms::kCountRows, 2)->ClearContents();
    return CustomListOutcome::Saved;
  }
  control.GetRange(terms::kCountsFirstCell)->Resize(terms::kCountRows, 2)->ClearContents();
  return CustomListOutcome::NotCustom;
}

}  // namespace pradima
