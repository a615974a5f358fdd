#include "cli/command_line.h"

#include <algorithm>
#include <map>
#include <optional>

#include "cli/chart_file.h"
#include "cli/number_list.h"
#include "cli/translate.h"
#include "selection/count_lo.h"
#include "terms/lottery.h"
#include "text/telex.h"

namespace pradima::cli {
namespace {

using OptionTexts = std::map<std::string, std::string, std::less<>>;

std::optional<std::string> Text(const OptionTexts& texts, std::string_view option) {
  const auto found = texts.find(option);
  return found == texts.end() ? std::nullopt : std::optional<std::string>(found->second);
}

std::optional<CivilDate> DateOption(const OptionTexts& texts, const std::string& option, const std::string& command) {
  const std::optional<std::string> text = Text(texts, option);
  if (!text) return std::nullopt;
  const std::optional<CivilDate> date = ParseCivilDate(*text);
  if (!date) throw UsageError{TrFormat("{1} {2} is not a date (YYYY-MM-DD or DD/MM/YYYY)", {option, *text}), command};
  if (date->year < 1900)
    throw UsageError{TrFormat("{1} {2} is before 1900, where the workbook's dates begin", {option, *text}), command};
  return date;
}

// A whole number from 1 to `most`, written with digits only.
std::optional<int32_t> WholeNumber(const std::string& text, int32_t most) {
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  const int32_t value = std::stoi(text);
  if (value < 1 || value > most) return std::nullopt;
  return value;
}

// "27" or "27,72": two-digit numbers separated by commas, spaces around them allowed.
std::vector<int32_t> TwoDigitList(const std::string& text, const std::string& command) {
  std::vector<int32_t> numbers;
  size_t start = 0;
  while (true) {
    const size_t comma = std::min(text.find(',', start), text.size());
    std::string item = text.substr(start, comma - start);
    item.erase(0, item.find_first_not_of(' '));
    item.erase(item.find_last_not_of(' ') + 1);
    if (item.size() != 2 || item.find_first_not_of("0123456789") != std::string::npos)
      throw UsageError{TrFormat("--after {1}: \"{2}\" is not a two-digit number (00 to 99)", {text, item}), command};
    numbers.push_back(std::stoi(item));
    if (comma == text.size()) return numbers;
    start = comma + 1;
  }
}

}  // namespace

bool IsNumberType(const std::string& text) { return text == terms::kTwoDigits || text == terms::kThreeDigits; }

const char* PrizesName(terms::Prizes prizes) { return prizes == terms::Prizes::All ? "all" : "3-digit"; }

void RequirePrizesOfType(const Options& options, const std::string& type) {
  if (options.prizes == terms::Prizes::All || type == terms::kThreeDigits) return;
  throw UsageError{TrFormat("--prizes 3-digit counts \"{1}\" only, and the number type is \"{2}\"; give --type \"{1}\"",
                            {terms::kThreeDigits, type}),
                   options.command};
}

Options ParseOptions(const std::vector<std::string>& args, std::initializer_list<std::string_view> known,
                     std::initializer_list<std::string_view> flags) {
  Options options;
  options.command = args.at(0);
  options.book = args.at(1);
  const std::string& command = options.command;
  OptionTexts texts;
  for (size_t i = 2; i < args.size(); ++i) {
    std::string option = args[i];
    std::optional<std::string> joined;  // the value of --option=value
    if (const size_t equals = option.find('='); option.starts_with("--") && equals != std::string::npos) {
      joined = option.substr(equals + 1);
      option.resize(equals);
    }
    if (texts.contains(option)) throw UsageError{TrFormat("{1} is given twice", {option}), command};
    if (std::find(flags.begin(), flags.end(), option) != flags.end()) {
      if (joined) throw UsageError{TrFormat("{1} takes no value", {option}), command};
      texts[option] = "";
      continue;
    }
    if (std::find(known.begin(), known.end(), option) == known.end())
      throw UsageError{TrFormat("unknown option {1}", {option}), command};
    if (!joined && ++i >= args.size()) throw UsageError{TrFormat("{1} needs a value", {option}), command};
    const std::string& value = joined ? *joined : args[i];
    if (value.empty()) throw UsageError{TrFormat("{1} needs a value", {option}), command};
    texts[option] = value;
  }
  options.from = DateOption(texts, "--from", command);
  options.to = DateOption(texts, "--to", command);
  if (options.from && options.to && DaysFromCivil(*options.from) > DaysFromCivil(*options.to))
    throw UsageError{TrFormat("--from {1} is after --to {2}", {texts["--from"], texts["--to"]}), command};
  options.region = Text(texts, "--region");
  if (options.region && !RegionProfile(*options.region).known()) {
    const auto& names = RegionNames();
    throw UsageError{TrFormat("--region must be \"{1}\", \"{2}\" or \"{3}\"; it is \"{4}\"",
                              {names[0], names[1], names[2], *options.region}),
                     command};
  }
  options.weekday = Text(texts, "--weekday");
  options.set = Text(texts, "--set");
  options.type = Text(texts, "--type");
  options.station = Text(texts, "--station");
  if (options.type && !IsNumberType(*options.type))
    throw UsageError{TrFormat("--type must be \"{1}\" or \"{2}\"", {terms::kTwoDigits, terms::kThreeDigits}), command};
  if (const auto prizes = Text(texts, "--prizes")) {
    if (*prizes == PrizesName(terms::Prizes::ThreeDigitsOrMore)) options.prizes = terms::Prizes::ThreeDigitsOrMore;
    else if (*prizes != PrizesName(terms::Prizes::All)) throw UsageError{Tr("--prizes must be all or 3-digit"), command};
  }
  if (const auto format = Text(texts, "--format")) {
    const std::optional<ReportFormat> parsed = ParseReportFormat(*format);
    if (!parsed) throw UsageError{Tr("--format must be table, csv or json"), command};
    options.format = *parsed;
  }
  options.chart = Text(texts, "--chart");
  if (options.chart)
    if (const auto problem = ChartPathProblem(*options.chart, options.book)) throw UsageError{*problem, command};
  if (const auto numbers = Text(texts, "--numbers")) {
    if (const auto problem = NumberListProblem(*numbers))
      throw UsageError{TrFormat("--numbers {1}: {2}", {*numbers, *problem}), command};
    const std::string custom = TelexToUnicode(terms::kCustomTelex);
    if (options.set && *options.set != custom)
      throw UsageError{TrFormat("--numbers lists the set \"{1}\"; it cannot go with --set {2}", {custom, *options.set}),
                       command};
    options.set = custom;
    options.numbers = SplitNumberList(*numbers);
  }
  if (const auto top = Text(texts, "--top")) {
    const std::optional<int32_t> value = WholeNumber(*top, 9999);
    if (!value) throw UsageError{TrFormat("--top {1} is not a whole number from 1 to 9999", {*top}), command};
    options.top = *value;
  }
  if (const auto size = Text(texts, "--size")) {
    if (*size != "2" && *size != "3") throw UsageError{TrFormat("--size {1} is neither 2 nor 3", {*size}), command};
    options.size = *size == "3" ? 3 : 2;
  }
  options.reverse = texts.contains("--reverse");
  if (options.reverse && options.size != 2)
    throw UsageError{Tr("--reverse pairs a number with its reverse: it goes with --size 2 only"), command};
  if (const auto connections = Text(texts, "--connections")) {
    const std::optional<int32_t> value = connections->size() == 1 ? WholeNumber(*connections, kMostConnections)
                                                                  : std::nullopt;
    if (!value)
      throw UsageError{TrFormat("--connections {1} is not a whole number from 1 to {2}",
                                {*connections, std::to_string(kMostConnections)}),
                       command};
    options.connections = *value;
  }
  if (const auto after = Text(texts, "--after")) options.after = TwoDigitList(*after, command);
  if (const auto by = Text(texts, "--by")) {
    if (*by != "week" && *by != "year") throw UsageError{TrFormat("--by {1}: it must be week or year", {*by}), command};
    options.by = *by;
  }
  return options;
}

}  // namespace pradima::cli
