// The command line: which command, its usage, and the errors of a run.
#include "cli/commands.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <ostream>

#include "base/files.h"
#include "base/xml_text.h"
#include "cli/translate.h"
#include "cli/usage.h"
#include "terms/lottery.h"
#include "text/composed_text.h"

#ifndef PRADIMA_VERSION
#error "PRADIMA_VERSION must give the version of the build"
#endif

namespace pradima::cli {
namespace {

using Command = int (*)(const Options&, const ToolContext&);

struct KnownCommand {
  std::string_view name;
  Command run;
  std::initializer_list<std::string_view> options;
  std::initializer_list<std::string_view> flags = {};  // options without a value
};

const KnownCommand kCommands[] = {
    {"init", InitCommand, {}},
    {"update", UpdateCommand, {"--connections"}},
    {"numbers", NumbersCommand, {}},
    {"stats",
     StatsCommand,
     {"--from", "--to", "--region", "--weekday", "--set", "--type", "--numbers", "--format", "--chart", "--prizes",
      "--station"}},
    {"gan",
     GanCommand,
     {"--from", "--to", "--region", "--weekday", "--type", "--top", "--format", "--chart", "--prizes", "--station"}},
    {"xien",
     XienCommand,
     {"--from", "--to", "--region", "--weekday", "--size", "--top", "--format", "--station"},
     {"--reverse"}},
    {"roi", RoiCommand, {"--from", "--to", "--region", "--weekday", "--format", "--station"}},
    {"bacnho",
     BacnhoCommand,
     {"--from", "--to", "--region", "--weekday", "--after", "--top", "--format", "--station"}},
    {"de", DeCommand, {"--from", "--to", "--region", "--weekday", "--format", "--station", "--by"}},
};

bool AsksForHelp(const std::string& argument) { return argument == "-h" || argument == "--help"; }

// Text that goes into a workbook must be text a workbook can store.
void CheckStorable(const std::vector<std::string>& args, size_t first) {
  for (size_t i = first; i < args.size(); ++i)
    if (const auto problem = UnstorableTextProblem(args[i]))
      throw UsageError{TrFormat("the argument \"{1}\" {2}", {args[i], *problem}), args[0]};
}

// The options of a command line whose command takes its arguments in order
// (init BOOK, numbers BOOK TYPE): checked here, as no option parser sees them.
Options PositionalOptions(const std::vector<std::string>& args) {
  const std::string& command = args[0];
  Options options;
  options.command = command;
  options.book = args[1];
  if (command == "init" && args.size() == 2) {
    if (!HasExtension(args[1], ".xlsx") && !HasExtension(args[1], ".xlsm"))
      throw UsageError{
          TrFormat("{1} is not a workbook name: it must end in .xlsx, or in .xlsm for a workbook with macros", {args[1]}),
          command};
    return options;
  }
  if (command == "numbers" && args.size() == 3) {
    if (!IsNumberType(args[2]))
      throw UsageError{
          TrFormat("the number type must be \"{1}\" or \"{2}\"", {terms::kTwoDigits, terms::kThreeDigits}), command};
    options.type = args[2];
    return options;
  }
  throw UsageError{TrFormat("wrong arguments for {1}", {command}), command};
}

// The command of that name; none for a name the tool does not know.
const KnownCommand* FindCommand(const std::string& name) {
  for (const KnownCommand& candidate : kCommands)
    if (candidate.name == name) return &candidate;
  return nullptr;
}

// The command the line names, run; bad usage is thrown.
int Dispatch(std::vector<std::string> args, const ToolContext& context) {
  if (args.empty()) throw UsageError{Tr("no command given"), ""};
  const std::string& command = args[0];
  if (AsksForHelp(command) || command == "help") {
    // "pradima help help" and "pradima --help --help" ask for the whole help.
    std::string asked = args.size() > 1 ? args[1] : "";
    if (AsksForHelp(asked) || asked == "help") asked.clear();
    if (!asked.empty() && !FindCommand(asked))
      throw UsageError{TrFormat("unknown command or wrong arguments: {1}", {asked}), ""};
    context.out << UsageOf(asked);
    return 0;
  }
  if (command == "--version" && args.size() == 1) {
    context.out << "pradima " << PRADIMA_VERSION << "\n";
    return 0;
  }
  const KnownCommand* known = FindCommand(command);
  if (!known) throw UsageError{TrFormat("unknown command or wrong arguments: {1}", {command}), ""};
  // Help asked for anywhere on the line is given, whatever else the line holds.
  if (std::any_of(args.begin() + 1, args.end(), AsksForHelp)) {
    context.out << UsageOf(command);
    return 0;
  }
  if (args.size() < 2) throw UsageError{TrFormat("{1} needs a workbook", {command}), command};
  if (args[1].starts_with("--"))
    throw UsageError{TrFormat("the workbook comes first, before the options: pradima {1} BOOK ...", {command}),
                     command};
  // The workbook's file name may be any name the system allows; the other arguments go into the workbook.
  CheckStorable(args, 2);
  // Letters typed as a letter and its marks (some keyboards, some systems) match the sheet's words.
  for (size_t i = 2; i < args.size(); ++i) args[i] = ComposeLatin(args[i]);
  const Options options =
      known->options.size() == 0 ? PositionalOptions(args) : ParseOptions(args, known->options, known->flags);
  return known->run(options, context);
}

}  // namespace

int RunCommand(const std::vector<std::string>& args, const std::string& resultsSite, const Clock& clock,
               std::ostream& out, std::ostream& err, bool progressOnTerminal) {
  try {
    return Dispatch(args, {resultsSite, clock, out, err, progressOnTerminal});
  } catch (const UsageError& e) {
    err << "pradima: " << e.message << "\n" << HelpPointer(e.command);
    return 2;
  } catch (const std::filesystem::filesystem_error& e) {
    err << "pradima: " << e.path1().string() << ": " << e.code().message() << "\n";
  } catch (const std::bad_alloc&) {
    err << "pradima: " << Tr("out of memory") << "\n";
  } catch (const std::exception& e) {
    err << "pradima: " << e.what() << "\n";
  }
  return 1;
}

}  // namespace pradima::cli
