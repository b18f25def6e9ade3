#include "cli/cli_options.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace morva {
namespace {

bool Parse(const std::vector<std::string>& args, CliOptions* options, std::string* error) {
  return ParseCommandLine(args, options, error);
}

TEST(CliOptionsTest, TakesEveryOptionInBothFormsAndAnywhereBeforeTheSeparator) {
  CliOptions o;
  std::string error;
  ASSERT_TRUE(Parse({"--home", "/h", "--settings=/s.dat", "--set", "SW_FNM=1", "--set=FNM_IPN2=1", "run", "--yes",
                     "--copy-to", "/out", "--overwrite", "/a", "--", "--b", "-"},
                    &o, &error))
      << error;
  EXPECT_EQ(o.home, "/h");
  EXPECT_EQ(o.settings_file, "/s.dat");
  EXPECT_EQ(o.sets, (std::vector<std::string>{"SW_FNM=1", "FNM_IPN2=1"}));
  EXPECT_TRUE(o.yes);
  EXPECT_EQ(o.copy_to, "/out");
  EXPECT_TRUE(o.overwrite);
  EXPECT_EQ(o.command, CliCommand::kRun);
  EXPECT_EQ(o.targets, (std::vector<std::string>{"/a", "--b", "-"}));

  ASSERT_TRUE(Parse({"check"}, &o, &error));
  EXPECT_EQ(o.command, CliCommand::kCheck);
  EXPECT_TRUE(o.targets.empty());
  EXPECT_FALSE(o.yes);
  ASSERT_TRUE(Parse({"-y", "preview", "x", "y"}, &o, &error));
  EXPECT_EQ(o.command, CliCommand::kPreview);
  EXPECT_TRUE(o.yes);
  EXPECT_EQ(o.targets.size(), 2u);
  // Help needs no command.
  ASSERT_TRUE(Parse({"--help"}, &o, &error));
  EXPECT_TRUE(o.help);
  ASSERT_TRUE(Parse({"--version"}, &o, &error));
  EXPECT_TRUE(o.version);
  ASSERT_TRUE(Parse({"--set", "SW_FNM=1", "show"}, &o, &error));
  EXPECT_EQ(o.command, CliCommand::kShow);
  ASSERT_TRUE(Parse({"keys"}, &o, &error));
  EXPECT_EQ(o.command, CliCommand::kKeys);
}

TEST(CliOptionsTest, RefusesWhatItCannotTake) {
  const std::vector<std::vector<std::string>> refused = {
      {},                                  // no command
      {"--home", "/h"},                    // no command
      {"convert"},                         // unknown command
      {"runs", "x"},                       // runs takes nothing
      {"undo", "2024/01/02", "03:04:05", "x"},  // one identifier at most
      {"log", "2024/01/02", "03:04:05", "x"},
      {"eval", "<F>"},                     // a statement without a path
      {"eval", "<F>", "/a", "/b"},         // one path only
      {"--preset", "a", "--preset", "b", "run"},  // given twice
      {"presets", "x"},                    // presets takes nothing
      {"keys", "x"},                       // keys takes nothing
      {"show", "x"},                       // show takes nothing
      {"--version=1"},                     // a switch with a value
      {"--frobnicate", "run"},             // unknown option
      {"run", "--home"},                   // missing value
      {"--home=", "run"},                  // empty value
      {"--set", "", "run"},
      {"--home", "/a", "--home", "/b", "run"},  // given twice
      {"--overwrite", "run"},              // without --copy-to
      {"--yes=1", "run"},                  // a switch with a value
      {"-yx", "run"},                      // a letter that is no option among combined ones
      {"--json", "--null", "run"},         // two output forms
      {"--json", "keys"},                  // a command without rows
      {"-0", "show"},
      {"--save", "preview"},               // only a run keeps its job
      {"help", "convert"},                 // help on an unknown command
      {"help", "run", "undo"},
  };
  for (const auto& args : refused) {
    CliOptions o;
    std::string error;
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    EXPECT_FALSE(Parse(args, &o, &error)) << joined;
    EXPECT_FALSE(error.empty()) << joined;
  }
  CliOptions o;
  std::string error;

  // A run identifier typed without quotes is put back together.
  ASSERT_TRUE(Parse({"undo", "2024/01/02", "03:04:05"}, &o, &error)) << error;
  EXPECT_EQ(o.command, CliCommand::kUndo);
  EXPECT_EQ(o.targets, std::vector<std::string>{"2024/01/02 03:04:05"});
  ASSERT_TRUE(Parse({"log", "2024/01/02", "03:04:05"}, &o, &error)) << error;
  EXPECT_EQ(o.command, CliCommand::kLog);
  EXPECT_EQ(o.targets, std::vector<std::string>{"2024/01/02 03:04:05"});
  ASSERT_TRUE(Parse({"runs"}, &o, &error)) << error;
  EXPECT_EQ(o.command, CliCommand::kRuns);

  // The hint after a usage error names the help of the command read so far.
  EXPECT_FALSE(Parse({"eval", "<F>"}, &o, &error));
  EXPECT_EQ(UsageHint(o.command), "try morva-cli eval --help, or morva-cli --help\n");
  EXPECT_FALSE(Parse({"--frobnicate"}, &o, &error));
  EXPECT_EQ(UsageHint(o.command), "try morva-cli --help\n");
}

// Short options combine, help comes as a command or after one, and the output forms and --save are
// taken where they apply.
TEST(CliOptionsTest, CombinedShortOptionsHelpAndOutputForms) {
  const struct {
    std::vector<std::string> args;
    bool yes;
    bool help;
    CliCommand help_topic;
    OutputForm output;
    bool save;
  } cases[] = {
      {{"-y0", "preview"}, true, false, CliCommand::kNone, OutputForm::kNull, false},
      {{"-0y", "--save", "run"}, true, false, CliCommand::kNone, OutputForm::kNull, true},
      {{"-yh"}, true, true, CliCommand::kNone, OutputForm::kText, false},
      {{"run", "-yh"}, true, true, CliCommand::kRun, OutputForm::kText, false},
      {{"undo", "--help"}, false, true, CliCommand::kUndo, OutputForm::kText, false},
      {{"help", "runs"}, false, true, CliCommand::kRuns, OutputForm::kText, false},
      {{"help"}, false, true, CliCommand::kNone, OutputForm::kText, false},
      {{"--json", "runs"}, false, false, CliCommand::kNone, OutputForm::kJson, false},
      {{"--null", "--null", "run"}, false, false, CliCommand::kNone, OutputForm::kNull, false},
      // After "--" a "-y" is a target.
      {{"preview", "--", "-y"}, false, false, CliCommand::kNone, OutputForm::kText, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : ""));
    CliOptions o;
    std::string error;
    ASSERT_TRUE(Parse(c.args, &o, &error)) << error;
    EXPECT_EQ(o.yes, c.yes);
    EXPECT_EQ(o.help, c.help);
    EXPECT_EQ(o.help_topic, c.help_topic);
    EXPECT_EQ(o.output, c.output);
    EXPECT_EQ(o.save, c.save);
  }
  CliOptions o;
  std::string error;
  ASSERT_TRUE(Parse({"preview", "--", "-y"}, &o, &error));
  EXPECT_EQ(o.targets, std::vector<std::string>{"-y"});
  // A command's help is its own, with the output forms where it prints rows.
  const ConsoleText text(UiLanguage::kJapanese);
  EXPECT_NE(CommandHelpText(CliCommand::kRun, text).find("usage: morva-cli [OPTIONS] run [TARGET...]"), std::string::npos);
  EXPECT_NE(CommandHelpText(CliCommand::kRun, text).find("--json"), std::string::npos);
  EXPECT_EQ(CommandHelpText(CliCommand::kLog, text).find("--json"), std::string::npos);
}

}  // namespace
}  // namespace morva
