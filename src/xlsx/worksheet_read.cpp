#include "xlsx/worksheet_read.h"

#include <cstring>
#include <exception>
#include <system_error>
#include <thread>

#include "xlsx/xml_part.h"
#include "xlsx/xml_tokens.h"
#include "session/address.h"

namespace pradima::xlsx {
namespace {

// One pass over a worksheet part. Every step returns false where the part
// is left to the full parser.
class WorksheetScan {
 public:
  WorksheetScan(std::string_view xml, const CellReader& reader, WorksheetLayout* layout)
      : tokens_(xml), reader_(reader), layout_(layout) {}

  // The whole part; with a pause, up to that place between two rows, where
  // the scan stops if it gets there (see paused()).
  bool Run(ScannedWorksheet& sheet, size_t pause = 0) {
    pause_ = pause;
    std::string_view root;
    if (!Prolog(root) || !Same(LocalName(root), "worksheet")) return false;
    prefix_ = PrefixOf(root);
    if (!tokens_.selfClosing() && !RootChildren(root, sheet, false)) return false;
    return paused_ || Epilogue();
  }

  // The part from `start`, a place between two rows of the sheet data that
  // a scan paused at, to its end. The first row there must say its number.
  bool RunFrom(size_t start, ScannedWorksheet& sheet) {
    std::string_view root;
    if (!Prolog(root) || !Same(LocalName(root), "worksheet") || tokens_.selfClosing()) return false;
    prefix_ = PrefixOf(root);
    const std::string dataName = std::string(prefix_) + "sheetData";
    tokens_.MoveTo(start);
    firstRowNumbered_ = true;
    if (!SheetData(dataName, sheet) || !RootChildren(root, sheet, true)) return false;
    return Epilogue();
  }

  // The root, and the code name where its properties come before the sheet data.
  bool Start(SheetStart& start) {
    std::string_view root;
    if (!Prolog(root)) return false;
    start.worksheet = Same(LocalName(root), "worksheet");
    if (!start.worksheet || tokens_.selfClosing()) return true;
    prefix_ = PrefixOf(root);
    for (;;) {
      switch (tokens_.Next()) {
        case Token::StartTag: {
          const std::string_view name = tokens_.name(), local = LocalName(name);
          const bool properties = Same(local, "sheetPr");
          if (properties || Same(local, "sheetData")) {
            if (!Same(PrefixOf(name), prefix_)) return false;
            const auto codeName = properties ? tokens_.Attribute("codeName") : std::nullopt;
            std::string_view value;
            if (codeName && !AttributeValue(*codeName, attribute_, value)) return false;
            start.codeName = value;
            return true;
          }
          if (!tokens_.selfClosing() && !SkipElement(name)) return false;
          break;
        }
        case Token::EndTag: return true;
        case Token::End:
        case Token::Bad: return false;
        default: break;
      }
    }
  }

  bool paused() const { return paused_; }
  bool sawProperties() const { return sawProperties_; }

 private:
  bool Prolog(std::string_view& root) {
    for (;;) {
      switch (tokens_.Next()) {
        case Token::Text:
          if (!IsBlank(tokens_.text())) return false;
          break;
        case Token::Comment: break;
        case Token::Instruction:
          if (!IsUtf8Declaration(tokens_.text())) return false;
          break;
        case Token::StartTag: root = tokens_.name(); return true;
        default: return false;
      }
    }
  }

  // A processing instruction, or a declaration that names no encoding but UTF-8.
  static bool IsUtf8Declaration(std::string_view instruction) {
    if (!instruction.starts_with("<?xml") || instruction.size() < 6 || !IsSpace(instruction[5])) return true;
    const size_t at = instruction.find("encoding");
    if (at == std::string_view::npos) return true;
    const size_t quote = instruction.find_first_of("\"'", at);
    if (quote == std::string_view::npos) return false;
    const size_t close = instruction.find(instruction[quote], quote + 1);
    if (close == std::string_view::npos) return false;
    std::string encoding(instruction.substr(quote + 1, close - quote - 1));
    for (char& c : encoding) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return encoding == "UTF-8";
  }

  bool Epilogue() {
    for (;;) {
      switch (tokens_.Next()) {
        case Token::End: return true;
        case Token::Text:
          if (!IsBlank(tokens_.text())) return false;
          break;
        case Token::Comment:
        case Token::Instruction: break;
        default: return false;
      }
    }
  }

  bool RootChildren(std::string_view root, ScannedWorksheet& sheet, bool sawData) {
    for (;;) {
      switch (tokens_.Next()) {
        case Token::StartTag: {
          const std::string_view name = tokens_.name();
          const std::string_view local = LocalName(name);
          const bool properties = Same(local, "sheetPr"), data = Same(local, "sheetData");
          if ((properties || data) && !Same(PrefixOf(name), prefix_)) return false;
          if (properties) {
            if (sawProperties_) return false;
            sawProperties_ = true;
            if (const auto codeName = tokens_.Attribute("codeName")) {
              std::string_view value;
              if (!AttributeValue(*codeName, attribute_, value)) return false;
              sheet.codeName = value;
            }
          }
          if (data) {
            if (sawData) return false;
            sawData = true;
            if (layout_) layout_->dataBegin = tokens_.offset();
            if (!tokens_.selfClosing() && !SheetData(name, sheet)) return false;
            if (paused_) return true;
          } else if (!tokens_.selfClosing() && !SkipElement(name)) {
            return false;
          }
          break;
        }
        case Token::EndTag: return Same(tokens_.name(), root);
        case Token::End:
        case Token::Bad: return false;
        default: break;
      }
    }
  }

  // Passes over the content of an element whose start tag was just read.
  bool SkipElement(std::string_view name) {
    open_.assign(1, name);
    while (!open_.empty()) {
      switch (tokens_.Next()) {
        case Token::StartTag:
          if (!tokens_.selfClosing()) open_.push_back(tokens_.name());
          break;
        case Token::EndTag:
          if (!Same(tokens_.name(), open_.back())) return false;
          open_.pop_back();
          break;
        case Token::End:
        case Token::Bad: return false;
        default: break;
      }
    }
    return true;
  }

  // Rows go in as the file orders them; a row without a number is the one after the row before it.
  bool SheetData(std::string_view name, ScannedWorksheet& sheet) {
    int32_t lastRow = 0;
    for (;;) {
      if (pause_ != 0 && tokens_.offset() == pause_) {
        paused_ = true;
        return true;
      }
      switch (tokens_.Next()) {
        case Token::Text:
          if (!IsBlank(tokens_.text())) return false;
          break;
        case Token::StartTag: {
          const std::string_view row = tokens_.name();
          if (!Same(LocalName(row), "row") || !Same(PrefixOf(row), prefix_)) return false;
          RowText text;
          text.row = lastRow + 1;
          text.begin = tokens_.tokenOffset();
          const std::optional<std::string_view> given = tokens_.Attribute("r");
          if (given && !SmallNumber(*given, text.row)) return false;
          if (firstRowNumbered_ && !given) return false;
          firstRowNumbered_ = false;
          lastRow = text.row;
          // Rows of a sheet mostly hold as many cells as the row before.
          std::vector<Value> cells;
          cells.reserve(lastRowCells_);
          // A row without cells is written anew (or left out) by a writer, never copied.
          text.plain = given.has_value() && !tokens_.selfClosing();
          if (!tokens_.selfClosing() && !Row(row, cells, text)) return false;
          lastRowCells_ = cells.size();
          const bool kept = text.row >= 1 && text.row <= kMaxRows && !cells.empty();
          if (kept) {
            text.values = sheet.rows.size();
            sheet.rows.emplace_back(text.row, std::move(cells));
          }
          if (layout_) {
            text.end = tokens_.offset();
            layout_->rows.push_back(text);
          }
          break;
        }
        case Token::EndTag:
          if (layout_) {
            layout_->dataEnd = tokens_.tokenOffset();
            layout_->dataElement = true;
          }
          return Same(tokens_.name(), name);
        default: return false;
      }
    }
  }

  bool Row(std::string_view name, std::vector<Value>& cells, RowText& text) {
    int32_t column = 0;
    bool anyCell = false;
    for (;;) {
      if (const int32_t before = column; CommonCell(column, cells)) {
        text.plain = text.plain && column > before;
        if (!anyCell) text.firstColumn = column;
        text.lastColumn = column;
        anyCell = true;
        continue;
      }
      switch (tokens_.Next()) {
        case Token::StartTag: {
          const std::string_view child = tokens_.name();
          if (Same(LocalName(child), "c")) {
            const int32_t before = column;
            bool referenced = false;
            if (!Same(PrefixOf(child), prefix_) || !Cell(child, ++column, cells, referenced)) return false;
            text.plain = text.plain && referenced && column > before && column <= kMaxColumns;
            if (!anyCell) text.firstColumn = column;
            text.lastColumn = column;
            anyCell = true;
          } else {
            text.plain = false;
            if (!tokens_.selfClosing() && !SkipElement(child)) return false;
          }
          break;
        }
        case Token::EndTag:
          text.plain = text.plain && anyCell && text.firstColumn >= 1;
          return Same(tokens_.name(), name);
        case Token::End:
        case Token::Bad: return false;
        default: break;
      }
    }
  }

  // A cell without a reference is the one after the cell before it.
  bool Cell(std::string_view name, int32_t& column, std::vector<Value>& cells, bool& referenced) {
    std::optional<std::string_view> reference, givenType, givenFormat;
    tokens_.ForEachAttribute([&](std::string_view attribute, std::string_view value) {
      if (attribute.size() != 1) return;
      std::optional<std::string_view>& slot = attribute[0] == 'r'   ? reference
                                              : attribute[0] == 't' ? givenType
                                                                    : givenFormat;
      if (attribute[0] != 'r' && attribute[0] != 't' && attribute[0] != 's') return;
      if (!slot) slot = value;
    });
    std::string_view type = "n";
    int32_t format = 0;
    if (reference) {
      std::string_view address;
      if (!AttributeValue(*reference, attribute_, address)) return false;
      const int32_t referencedColumn = ReferencedColumn(address, 0);
      referenced = referencedColumn > 0;
      if (referenced) column = referencedColumn;
    }
    if (givenType && !AttributeValue(*givenType, type_, type)) return false;
    if (givenFormat && !SmallNumber(*givenFormat, format)) return false;

    bool hasValue = false, hasInline = false;
    valueText_.clear();
    inlineText_.clear();
    if (!tokens_.selfClosing()) {
      for (bool open = true; open;) {
        switch (tokens_.Next()) {
          case Token::StartTag: {
            const std::string_view child = tokens_.name();
            if (!Same(PrefixOf(child), prefix_)) return false;
            const std::string_view local = LocalName(child);
            if (Same(local, "v") && !hasValue) {
              hasValue = true;
              if (!tokens_.selfClosing() && !ElementText(child, valueText_)) return false;
            } else if (Same(local, "is") && !hasInline) {
              hasInline = true;
              if (!tokens_.selfClosing() && !StringItem(child, inlineText_)) return false;
            } else if (Same(local, "f") && tokens_.Attribute("t")) {
              if (layout_) layout_->formulaKinds = true;
              if (!tokens_.selfClosing() && !SkipElement(child)) return false;
            } else if (!tokens_.selfClosing() && !SkipElement(child)) {
              return false;
            }
            break;
          }
          case Token::EndTag:
            if (!Same(tokens_.name(), name)) return false;
            open = false;
            break;
          case Token::End:
          case Token::Bad: return false;
          default: break;
        }
      }
    }
    const std::string_view valueText = valueText_;
    Place(reader_.FromParts(type, format, hasValue ? &valueText : nullptr, inlineText_), column, cells);
    return true;
  }

  static void Place(Value value, int32_t column, std::vector<Value>& cells) {
    if (value.IsEmpty() || column < 1) return;
    if (static_cast<int32_t>(cells.size()) < column) cells.resize(static_cast<size_t>(column));
    cells[static_cast<size_t>(column - 1)] = std::move(value);
  }

  // Reads a cell in the form nearly every cell of a results sheet has, at
  // a fraction of the cost of reading it token by token: a plain reference,
  // at most a format and a type, then <v>text</v> or <is><t>text</t></is>,
  // with no reference or line end in the text. Anything else reads nothing
  // and is left to Cell.
  bool CommonCell(int32_t& column, std::vector<Value>& cells) {
    const std::string_view rest = tokens_.rest();
    size_t at = 0;
    const auto take = [&](std::string_view expected) {
      if (rest.size() - at < expected.size()) return false;
      for (size_t i = 0; i < expected.size(); ++i)
        if (rest[at + i] != expected[i]) return false;
      at += expected.size();
      return true;
    };
    const auto takeTag = [&](std::string_view open, std::string_view local) {
      return take(open) && take(prefix_) && take(local);
    };
    // The characters up to `stop`, none of them special.
    const auto plainUntil = [&](char stop, std::string_view& text) {
      const size_t start = at;
      for (; at < rest.size() && rest[at] != stop; ++at)
        if (rest[at] == '&' || rest[at] == '<' || rest[at] == '\r' || rest[at] == '\t' || rest[at] == '\n')
          return false;
      if (at == rest.size()) return false;
      text = rest.substr(start, at - start);
      ++at;
      return true;
    };
    if (!takeTag("<", "c ")) return false;
    std::optional<std::string_view> reference, type, format;
    for (;;) {
      std::string_view name, value;
      if (!plainUntil('=', name) || !take("\"") || !plainUntil('"', value)) return false;
      if (name.size() != 1 || (name[0] != 'r' && name[0] != 't' && name[0] != 's')) return false;
      std::optional<std::string_view>* slot = name[0] == 'r' ? &reference : name[0] == 't' ? &type : &format;
      if (*slot) return false;
      *slot = value;
      if (take(">")) break;
      if (!take(" ")) return false;
    }
    if (!reference) return false;
    const int32_t referenced = ReferencedColumn(*reference, 0);
    int32_t style = 0;
    if (referenced < 1 || referenced > kMaxColumns || (format && !SmallNumber(*format, style))) return false;
    const std::string_view kind = type.value_or("n");
    std::string_view text;
    if (Same(kind, "inlineStr")) {
      if (!takeTag("<", "is>") || !takeTag("<", "t>") || !plainUntil('<', text)) return false;
      --at;
      if (!takeTag("</", "t>") || !takeTag("</", "is>")) return false;
    } else {
      if (!takeTag("<", "v>") || !plainUntil('<', text)) return false;
      --at;
      if (!takeTag("</", "v>")) return false;
    }
    if (!takeTag("</", "c>")) return false;
    tokens_.Advance(at);
    column = referenced;
    // An inline text is the text itself, as the reader makes it.
    Place(Same(kind, "inlineStr") ? Value::Text(text) : reader_.FromParts(kind, style, &text, {}), column, cells);
    return true;
  }

  // The character data of an element that holds nothing else, up to its end tag.
  bool ElementText(std::string_view name, std::string& out) {
    out.clear();
    Token token = tokens_.Next();
    if (token == Token::Text) {
      if (!AppendCharacters(tokens_.text(), out)) return false;
      token = tokens_.Next();
    }
    return token == Token::EndTag && Same(tokens_.name(), name);
  }

  // A string item's text: its plain <t>, or else the <t> of each rich-text run.
  bool StringItem(std::string_view name, std::string& out) {
    bool plain = false;
    std::string runs;
    for (;;) {
      switch (tokens_.Next()) {
        case Token::StartTag: {
          const std::string_view child = tokens_.name();
          if (!Same(PrefixOf(child), prefix_)) return false;
          const std::string_view local = LocalName(child);
          if (Same(local, "t") && !plain) {
            plain = true;
            if (!tokens_.selfClosing() && !ElementText(child, out)) return false;
          } else if (Same(local, "r")) {
            if (!tokens_.selfClosing() && !Run(child, runs)) return false;
          } else if (!tokens_.selfClosing() && !SkipElement(child)) {
            return false;
          }
          break;
        }
        case Token::EndTag:
          if (!Same(tokens_.name(), name)) return false;
          if (!plain) out = std::move(runs);
          return true;
        case Token::End:
        case Token::Bad: return false;
        default: break;
      }
    }
  }

  // Appends the text of a rich-text run's first <t>.
  bool Run(std::string_view name, std::string& runs) {
    bool sawText = false;
    std::string text;
    for (;;) {
      switch (tokens_.Next()) {
        case Token::StartTag: {
          const std::string_view child = tokens_.name();
          if (!Same(PrefixOf(child), prefix_)) return false;
          if (Same(LocalName(child), "t") && !sawText) {
            sawText = true;
            if (!tokens_.selfClosing() && !ElementText(child, text)) return false;
            runs += text;
          } else if (!tokens_.selfClosing() && !SkipElement(child)) {
            return false;
          }
          break;
        }
        case Token::EndTag: return Same(tokens_.name(), name);
        case Token::End:
        case Token::Bad: return false;
        default: break;
      }
    }
  }

  Tokenizer tokens_;
  const CellReader& reader_;
  WorksheetLayout* const layout_;
  std::string_view prefix_;
  size_t pause_ = 0;
  size_t lastRowCells_ = 0;
  bool paused_ = false;
  bool sawProperties_ = false;
  bool firstRowNumbered_ = false;
  std::vector<std::string_view> open_;
  std::string attribute_, type_, valueText_, inlineText_;
};

// The values of a row's cells, column A first, into `cells`; a cell without
// a reference is the one after the cell before it.
void ReadRowCells(const pugi::xml_node& row, const CellReader& reader, std::vector<Value>& cells) {
  cells.clear();
  ForEachCell(row, [&](const pugi::xml_node& cell, int32_t column) {
    Value value = reader.Read(cell);
    if (value.IsEmpty() || column < 1) return;
    if (static_cast<int32_t>(cells.size()) < column) cells.resize(static_cast<size_t>(column));
    cells[static_cast<size_t>(column - 1)] = std::move(value);
  });
}

// The rows of <sheetData>, in the order of the file; a row without a number is the one
// after the row before it.
void LoadRows(const pugi::xml_node& sheetData, const CellReader& reader, ScannedWorksheet& sheet) {
  int32_t lastRow = 0;
  std::vector<Value> cells;
  for (pugi::xml_node row : sheetData.children()) {
    const int32_t rowNumber = row.attribute("r").as_int(lastRow + 1);
    lastRow = rowNumber;
    ReadRowCells(row, reader, cells);
    if (rowNumber >= 1 && rowNumber <= kMaxRows && !cells.empty()) sheet.rows.emplace_back(rowNumber, std::move(cells));
  }
}

// A place between two rows near the middle of the part, where a second
// scan may start: just after a row's end tag that a row's start tag
// follows. Zero when there is none.
size_t MiddleBetweenRows(std::string_view xml) {
  for (size_t at = xml.find("</", xml.size() / 2); at != std::string_view::npos && at < xml.size() * 3 / 4;
       at = xml.find("</", at + 2)) {
    const size_t close = xml.find('>', at);
    if (close == std::string_view::npos) return 0;
    const std::string_view name = xml.substr(at + 2, close - at - 2);
    if (!Same(LocalName(name), "row")) continue;
    const size_t next = close + 1;
    if (xml.size() > next + name.size() + 2 && xml[next] == '<' && xml.substr(next + 1, name.size()) == name &&
        xml[next + 1 + name.size()] == ' ')
      return next;
  }
  return 0;
}

// The two halves of a large part, each on a core of its own: the second
// from a place between rows, the first up to there. When the first never
// got there (the place was inside something else), it read the whole part
// itself. None when a half left the part to the full parser, or when no
// second thread could be had.
std::optional<ScannedWorksheet> ScanInHalves(std::string_view xml, const CellReader& reader, WorksheetLayout* layout) {
  const size_t middle = MiddleBetweenRows(xml);
  if (middle == 0) return std::nullopt;
  ScannedWorksheet tail;
  WorksheetLayout tailLayout;
  WorksheetScan tailScan(xml, reader, layout ? &tailLayout : nullptr);
  bool tailRead = false;
  std::exception_ptr tailFailure;
  std::thread second;
  try {
    second = std::thread([&] {
      try {
        tailRead = tailScan.RunFrom(middle, tail);
      } catch (...) {
        tailFailure = std::current_exception();  // carried to this thread
      }
    });
  } catch (const std::system_error&) {
    return std::nullopt;  // one thread reads it all
  }
  ScannedWorksheet head;
  WorksheetScan headScan(xml, reader, layout);
  bool headRead = false;
  try {
    headRead = headScan.Run(head, middle);
  } catch (...) {
    second.join();
    throw;
  }
  second.join();
  if (!headRead) return std::nullopt;
  if (!headScan.paused()) return head;  // it read the whole part itself
  if (tailFailure) std::rethrow_exception(tailFailure);
  if (!tailRead || (headScan.sawProperties() && tailScan.sawProperties())) return std::nullopt;
  if (tailScan.sawProperties()) head.codeName = std::move(tail.codeName);
  const size_t headRows = head.rows.size();
  head.rows.insert(head.rows.end(), std::make_move_iterator(tail.rows.begin()),
                   std::make_move_iterator(tail.rows.end()));
  if (layout) {
    for (RowText& row : tailLayout.rows)
      if (row.values) *row.values += headRows;
    layout->rows.insert(layout->rows.end(), tailLayout.rows.begin(), tailLayout.rows.end());
    layout->dataEnd = tailLayout.dataEnd;
    layout->dataElement = tailLayout.dataElement;
    layout->formulaKinds = layout->formulaKinds || tailLayout.formulaKinds;
  }
  return head;
}

// Parts this large are scanned in two halves at once.
constexpr size_t kHalvesFrom = 4 << 20;

}  // namespace

std::optional<ScannedWorksheet> ScanWorksheet(std::string_view xml, const CellReader& reader, WorksheetLayout* layout) {
  size_t skipped = 0;
  if (xml.starts_with("\xEF\xBB\xBF")) skipped = 3;
  xml.remove_prefix(skipped);
  // The full parser stops at a zero byte. A reference it would keep as
  // text, even where the scan reads no text, is for it to refuse.
  if (std::memchr(xml.data(), 0, xml.size()) || FindUnknownReference(xml) != std::string_view::npos)
    return std::nullopt;
  std::optional<ScannedWorksheet> sheet;
  if (xml.size() >= kHalvesFrom) {
    if (layout) *layout = WorksheetLayout();
    sheet = ScanInHalves(xml, reader, layout);
  }
  if (!sheet) {
    if (layout) *layout = WorksheetLayout();
    sheet.emplace();
    if (!WorksheetScan(xml, reader, layout).Run(*sheet)) return std::nullopt;
  }
  if (layout) {
    layout->dataBegin += skipped;
    layout->dataEnd += skipped;
    for (RowText& row : layout->rows) {
      row.begin += skipped;
      row.end += skipped;
    }
  }
  return sheet;
}

std::optional<SheetStart> ReadSheetStart(std::string_view start) {
  if (start.starts_with("\xEF\xBB\xBF")) start.remove_prefix(3);
  if (std::memchr(start.data(), 0, start.size())) return std::nullopt;
  // The start holds no cells to read.
  static const std::vector<std::string> kNoStrings;
  static const CellFormats kNoFormats;
  const CellReader reader(kNoStrings, kNoFormats);
  SheetStart read;
  if (!WorksheetScan(start, reader, nullptr).Start(read)) return std::nullopt;
  return read;
}

std::optional<ScannedWorksheet> ParseWorksheet(const std::string& xml, const std::string& part,
                                               const CellReader& reader) {
  const pugi::xml_document document = ParseXmlPart(xml, part);
  const pugi::xml_node worksheet = Child(document, "worksheet");
  if (!worksheet) return std::nullopt;
  ScannedWorksheet sheet;
  sheet.codeName = Child(worksheet, "sheetPr").attribute("codeName").as_string();
  LoadRows(Child(worksheet, "sheetData"), reader, sheet);
  return sheet;
}

std::optional<ScannedWorksheet> ReadWorksheet(const std::string& xml, const std::string& part, const CellReader& reader,
                                              std::optional<WorksheetLayout>* layout) {
  WorksheetLayout found;
  if (std::optional<ScannedWorksheet> scanned = ScanWorksheet(xml, reader, layout ? &found : nullptr)) {
    if (layout) *layout = std::move(found);
    return scanned;
  }
  if (layout) layout->reset();
  return ParseWorksheet(xml, part, reader);
}

}  // namespace pradima::xlsx
