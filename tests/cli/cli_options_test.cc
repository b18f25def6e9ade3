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
}

}  // namespace
}  // namespace morva
