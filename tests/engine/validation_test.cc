#include "engine/validation.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/scripted_ui.h"
#include "common/test_util.h"
#include "engine/session.h"
#include "core/user_interface.h"
#include "engine/validation_checks.h"
#include "platform/file_system.h"
#include "platform/file_system_wrapper.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

using testing::ScriptedUi;

// Engine paths of the tree every case starts from: root\f.txt, root\g.txt, root\sub\h.txt.
struct Tree {
  std::string root, file, file2, dir, nested, missing;
  std::string drive_root = "Z:\\";
};

// One validation: a fresh interface and session over the shared file system, with a job that passes
// (directory mode on the tree's root, general conversion with case conversion).
struct Harness {
  Harness(TextCodec& codec, FileSystem& fs, const Tree& tree) : session(codec, fs, ui) {
    session.job.app.set_0 = 1;
    session.job.app.dirfil[0] = tree.root;
    session.job.settings.sw_fnm = 1;
    session.job.settings.fnm_ipn_sel = 1;
  }
  ScriptedUi ui;
  Session session;
};

// How a case departs from the passing job; changes compose with All.
using Change = std::function<void(Session&, const Tree&)>;

Change All(std::vector<Change> changes) {
  return [changes](Session& s, const Tree& t) {
    for (const Change& c : changes) c(s, t);
  };
}
Change Job(std::function<void(ConversionSettings&)> edit) {
  return [edit](Session& s, const Tree&) { edit(s.job.settings); };
}
// Turns on the SW_SET flags at `positions`.
Change Flags(std::vector<int> positions) {
  return [positions](Session& s, const Tree&) {
    for (int i : positions) s.job.app.sw_set[i] = true;
  };
}
// Directory mode on the tree path `base` followed by `suffix`.
Change Target(std::string Tree::*base, std::string suffix = "") {
  return [base, suffix](Session& s, const Tree& t) { s.job.app.dirfil[0] = t.*base + suffix; };
}
Change Wildcard(std::string text) {
  return [text](Session& s, const Tree&) {
    s.job.app.sw_set[5] = true;
    s.job.app.set_11.Assign(text);
  };
}
// File-list mode over the tree paths `items`.
Change List(std::vector<std::string Tree::*> items) {
  return [items](Session& s, const Tree& t) {
    s.job.app.set_0 = 2;
    auto& list = s.job.app.list_items;
    for (auto item : items) list.push_back(t.*item);
  };
}
Change Copy() {
  return [](Session& s, const Tree&) { s.run.copy_conversion = true; };
}
const Change kNameOff = Job([](ConversionSettings& s) { s.sw_fnm = 0; });
const Change kAttributesOnly = Job([](ConversionSettings& s) {
  s.sw_fnm = 0;
  s.sw_atr[0] = true;
});

// A case of a table: the change, and the refusal it must get (an empty message: it must pass).
struct Case {
  Case(const char* name_in, Change change_in, std::string message_in, int page_in = 0, std::string focus_in = "")
      : name(name_in),
        change(std::move(change_in)),
        message(std::move(message_in)),
        page(page_in),
        focus(std::move(focus_in)) {}

  const char* name;
  Change change;
  std::string message;
  int page;
  std::string focus;
};

class ValidationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.ok());
    codec_ = NewIconvTextCodec();
    ASSERT_NE(codec_, nullptr);
    posix_ = NewPosixFileSystem(codec_.get());
    fs_ = std::make_unique<FaultInjectingFileSystem>(posix_.get());
    ASSERT_TRUE(dir_.WriteFile("f.txt", "f"));
    ASSERT_TRUE(dir_.WriteFile("g.txt", "g"));
    ASSERT_EQ(mkdir(dir_.Sub("sub").c_str(), 0755), 0);
    ASSERT_TRUE(dir_.WriteFile("sub/h.txt", "h"));
    tree_.root = Engine(dir_.path());
    tree_.file = tree_.root + "\\f.txt";
    tree_.file2 = tree_.root + "\\g.txt";
    tree_.dir = tree_.root + "\\sub";
    tree_.nested = tree_.dir + "\\h.txt";
    tree_.missing = tree_.root + "\\missing";
  }

  std::unique_ptr<Harness> NewHarness() { return std::make_unique<Harness>(*codec_, *fs_, tree_); }
  std::string Engine(const std::string& host) { return testing::EnginePath(codec_.get(), host); }
  std::string Sjis(const std::string& utf8) { return testing::Sjis(codec_.get(), utf8); }
  std::string Utf8(const std::string& cp932) {
    std::string out;
    EXPECT_TRUE(codec_->Cp932ToUtf8(cp932, &out).ok());
    return out;
  }

  // Runs every case through ValidateJob and checks the verdict: the refusal, its setting, or acceptance.
  // Validation itself never speaks to the person.
  void RunCases(const std::vector<Case>& cases, bool job_only = false) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      std::unique_ptr<Harness> h = NewHarness();
      c.change(h->session, tree_);
      const ValidationVerdict verdict = ValidateJob(h->session, job_only);
      EXPECT_TRUE(h->ui.messages.empty()) << (h->ui.messages.empty() ? "" : Utf8(h->ui.messages[0].text));
      if (c.message.empty()) {
        EXPECT_TRUE(verdict.accepted()) << Utf8(verdict.message);
        continue;
      }
      EXPECT_EQ(verdict.kind, ValidationVerdict::Kind::kRefused);
      EXPECT_EQ(Utf8(verdict.message), c.message);
      // The bytes to show are the code page 932 form, not UTF-8.
      EXPECT_EQ(verdict.message, Sjis(c.message));
      EXPECT_EQ(verdict.page, c.page);
      EXPECT_EQ(verdict.key, c.focus);
    }
  }

  testing::TempDir dir_;
  std::unique_ptr<TextCodec> codec_;
  std::unique_ptr<FileSystem> posix_;
  std::unique_ptr<FaultInjectingFileSystem> fs_;
  Tree tree_;
};

const char kForbidden[] = "\\ / : * ? \" < > | \\n \\r \\t";

TEST_F(ValidationTest, DirectoryModeTargets) {
  const std::string wildcard_with_directories =
      "対象ディレクトリにワイルドカードを使用して「ディレクトリも対象」または「サブディレクトリ内も対象にする」"
      "指定はできません。";
  const std::string missing_target = "指定された変換対象は存在しません。";
  const std::string copy_with_subdirectories =
      "コピー変換の場合、「サブディレクトリ内も対象にする」指定で以下を実行することはできません。\n\n"
      "・名称変換\n・日時変換\n・ファイル削除";
  const std::string root_with_itself = "ルートディレクトリ指定で「指定ディレクトリ自身も対象」指定はできません。";
  const int p = kPageTargets;
  RunCases({
      {"passes", All({}), ""},
      {"a file alone passes", Target(&Tree::file), ""},
      {"a pattern with a plain wildcard passes", All({Target(&Tree::root, "\\*.txt"), Wildcard("f.txt")}), ""},
      {"no target path", [](Session& s, const Tree&) { s.job.app.dirfil[0].reset(); },
       "対象ディレクトリが指定されていません。", p, "DIRFIL"},
      {"empty target path", [](Session& s, const Tree&) { s.job.app.dirfil[0] = ""; },
       "対象ディレクトリが指定されていません。", p, "DIRFIL"},
      {"no target path before no job", All({[](Session& s, const Tree&) { s.job.app.dirfil[0].reset(); }, kNameOff}),
       "対象ディレクトリが指定されていません。", p, "DIRFIL"},
      {"relative target path", [](Session& s, const Tree&) { s.job.app.dirfil[0] = "tmp\\x"; },
       "対象ディレクトリの指定が不正です。", p, "DIRFIL"},
      {"forbidden character in the target path", Target(&Tree::root, "\\a|b"), "対象ディレクトリの指定が不正です。", p,
       "DIRFIL"},
      {"wildcard before the last component", Target(&Tree::root, "\\s*\\h.txt"), "対象ディレクトリの指定が不正です。",
       p, "DIRFIL"},
      {"wildcard target with subdirectories", All({Target(&Tree::root, "\\*.txt"), Flags({2})}),
       wildcard_with_directories, p, "SW_SET[2]"},
      {"wildcard target with directories before a missing target", All({Target(&Tree::missing, "\\?.txt"), Flags({3})}),
       wildcard_with_directories, p, "SW_SET[3]"},
      {"missing target", Target(&Tree::missing), missing_target, p, "DIRFIL"},
      {"pattern in a missing directory", Target(&Tree::missing, "\\*.txt"), missing_target, p, "DIRFIL"},
      {"pattern under a file", Target(&Tree::file, "\\*.txt"), missing_target, p, "DIRFIL"},
      {"missing target before copy with subdirectories", All({Target(&Tree::missing), Copy(), Flags({2})}),
       missing_target, p, "DIRFIL"},
      {"empty file wildcard", Flags({5}), "対象ファイルワイルドカード指定の文字列が指定されていません。", p, "SET_11"},
      {"wildcards in both the target and the file wildcard", All({Target(&Tree::root, "\\*.txt"), Wildcard("a?c")}),
       "対象ディレクトリと対象ファイルワイルドカードの両方にワイルドカードを使用することはできません。", p, "SET_11"},
      {"a file target with a file wildcard", All({Target(&Tree::file), Wildcard("*.txt")}),
       "変換対象としてファイルを指定する場合、対象ファイルワイルドカード指定はできません。", p, "SW_SET[5]"},
      {"copy with subdirectories and names", All({Copy(), Flags({2})}), copy_with_subdirectories, p, "SW_SET[2]"},
      {"copy with subdirectories and deletion",
       All({Copy(), Flags({2}), kNameOff, Job([](ConversionSettings& s) { s.sw_del[0] = true; })}),
       copy_with_subdirectories, p, "SW_SET[2]"},
      {"copy with subdirectories of attributes", All({Copy(), Flags({2}), kAttributesOnly}), "", 0, ""},
      {"copy with directories before a drive root with itself", All({Target(&Tree::drive_root), Copy(), Flags({3, 4})}),
       "コピー変換の場合、「ディレクトリも対象」指定はできません。", p, "SW_SET[3]"},
      {"drive root with the directory itself", All({Target(&Tree::drive_root), Flags({3, 4})}), root_with_itself, p,
       "SW_SET[4]"},
      {"a drive root after trimming with the directory itself", All({Target(&Tree::drive_root, "\\ "), Flags({4})}),
       root_with_itself, p, "SW_SET[4]"},
  });
}

TEST_F(ValidationTest, UnreadableTargetAttributesAreRefused) {
  // Whatever keeps the attributes from being read (here a refused status call) counts as absence.
  fs_->FailOn(FsOp::kStat, "", EACCES);
  RunCases({{"unreadable target counts as missing", [](Session&, const Tree&) {}, "指定された変換対象は存在しません。",
             kPageTargets, "DIRFIL"}});
  fs_->ClearFaults();

  fs_->FailOn(FsOp::kStat, "g.txt", EACCES);
  std::unique_ptr<Harness> h = NewHarness();
  h->session.job.app.set_0 = 2;
  h->session.job.app.list_items = {tree_.file, tree_.file2};
  const ValidationVerdict verdict = ValidateJob(h->session, false);
  EXPECT_EQ(verdict.kind, ValidationVerdict::Kind::kRefused);
  EXPECT_EQ(verdict.message, Sjis("変換対象ファイルに存在しないパスが指定されています。\n（") + tree_.file2 + Sjis("）"));
}

TEST_F(ValidationTest, TheTargetPathIsTrimmedAndNormalised) {
  const std::string hyo = Sjis("表");  // its second byte is '\'
  ASSERT_EQ(hyo[1], '\\');
  ASSERT_EQ(mkdir(dir_.Sub("表").c_str(), 0755), 0);

  struct Trim {
    std::string typed, trimmed;
  };
  for (const Trim& t : std::vector<Trim>{{tree_.dir + "\\ \\  ", tree_.dir},
                                         {tree_.root + "\\" + hyo + "\\", tree_.root + "\\" + hyo},
                                         {tree_.root + "\\" + hyo, tree_.root + "\\" + hyo},
                                         {"Z:\\\\ ", "Z:\\"},
                                         // One spelling for every entry: the targets' paths start with it.
                                         {tree_.dir + "\\.\\..\\\\sub\\ ", tree_.dir},
                                         {tree_.root + "\\" + hyo + "\\..", tree_.root}}) {
    SCOPED_TRACE(t.typed);
    std::unique_ptr<Harness> h = NewHarness();
    h->session.job.app.dirfil[0] = t.typed;
    const ValidationVerdict verdict = ValidateJob(h->session, false);
    EXPECT_TRUE(verdict.accepted());
    EXPECT_EQ(*h->session.job.app.dirfil[0], t.trimmed);
    // The front end shows the path anew only when something changed.
    EXPECT_EQ(verdict.target_path_changed, t.typed != t.trimmed);
  }

  // The path as typed leaves the history; when the usable form is in it already, it is there once.
  std::unique_ptr<Harness> h = NewHarness();
  h->session.job.app.dirfil[0] = tree_.dir + "\\.";
  h->session.job.app.dirfil[1] = tree_.root;
  h->session.job.app.dirfil[2] = tree_.dir;
  EXPECT_TRUE(ValidateJob(h->session, false).accepted());
  EXPECT_EQ(h->session.job.app.dirfil[0], tree_.dir);
  EXPECT_EQ(h->session.job.app.dirfil[1], tree_.root);
  EXPECT_FALSE(h->session.job.app.dirfil[2].has_value());

  // The trimmed path stays even when a later check refuses the job.
  h = NewHarness();
  h->session.job.app.dirfil[0] = tree_.dir + "\\";
  h->session.job.settings.fnm_ipn_sel = 0;
  const ValidationVerdict refused = ValidateJob(h->session, false);
  EXPECT_EQ(refused.kind, ValidationVerdict::Kind::kRefused);
  EXPECT_EQ(*h->session.job.app.dirfil[0], tree_.dir);
  EXPECT_TRUE(refused.target_path_changed);
}

TEST_F(ValidationTest, FileListTargets) {
  const int p = kPageTargets;
  RunCases({
      {"passes", List({&Tree::file, &Tree::dir, &Tree::nested}), ""},
      {"empty list", List({}), "変換対象ファイルが指定されていません。", p, "LIST"},
      {"empty list before no job", All({List({}), kNameOff}), "変換対象ファイルが指定されていません。", p, "LIST"},
      {"a drive root in the list", List({&Tree::file, &Tree::drive_root}),
       "変換対象ファイルにルートディレクトリを指定することはできません。", p, "LIST"},
      {"a drive root of an earlier item before a duplicate of a later one",
       List({&Tree::file2, &Tree::drive_root, &Tree::file, &Tree::file}),
       "変換対象ファイルにルートディレクトリを指定することはできません。", p, "LIST"},
      {"copy with a listed directory", All({List({&Tree::file, &Tree::dir}), Copy(), kAttributesOnly}),
       "コピー変換の場合、変換対象ファイルにディレクトリを指定することはできません。", p, "LIST"},
      {"copy of listed files", All({List({&Tree::file, &Tree::file2}), Copy(), kAttributesOnly}), "", 0, ""},
  });
}

// Messages that carry the item are checked here, since their text depends on the tree.
TEST_F(ValidationTest, FileListMessagesNameTheItem) {
  struct ItemCase {
    std::vector<std::string> items;
    std::string prefix, item;
  };
  const std::string missing_prefix = "変換対象ファイルに存在しないパスが指定されています。\n（";
  const std::string same_prefix = "変換対象ファイルに同一のパスが複数指定されています。\n（";
  for (const ItemCase& c : std::vector<ItemCase>{
           {{tree_.file2, tree_.missing, tree_.file}, missing_prefix, tree_.missing},
           // Every check of an item comes before the checks of the next item.
           {{tree_.file, tree_.missing, tree_.file}, same_prefix, tree_.file},
           // Each item is compared with the later ones only: the first of the pair is named.
           {{tree_.file2, tree_.file, tree_.dir, tree_.dir + "\\..\\f.txt"}, same_prefix, tree_.file},
           // A missing item that comes again is reported as missing, the earlier check.
           {{tree_.missing, tree_.missing}, missing_prefix, tree_.missing},
       }) {
    std::unique_ptr<Harness> h = NewHarness();
    h->session.job.app.set_0 = 2;
    h->session.job.app.list_items = c.items;
    const ValidationVerdict verdict = ValidateJob(h->session, false);
    EXPECT_EQ(verdict.kind, ValidationVerdict::Kind::kRefused);
    EXPECT_EQ(verdict.message, Sjis(c.prefix) + c.item + Sjis("）"));
    EXPECT_EQ(verdict.key, "LIST");
  }
}

TEST_F(ValidationTest, DuplicatesAreItemsNamingTheSameEntry) {
  // Names that differ in letter case only are two files on this host.
  for (const char* name : {"a", "A"}) ASSERT_TRUE(dir_.WriteFile(name, "x"));
  const std::string r = tree_.root + "\\";
  struct DuplicateCase {
    const char* name;
    std::vector<std::string> items;
    std::string duplicate;  // the item the refusal names; empty: accepted
  };
  for (const DuplicateCase& c : std::vector<DuplicateCase>{
           {"letter case", {r + "a", r + "A"}, ""},
           {"the same spelling", {r + "a", r + "A", r + "a"}, r + "a"},
           {"through \"..\"", {tree_.dir + "\\..\\a", r + "a"}, tree_.dir + "\\..\\a"},
           {"through \".\" and a doubled separator", {r + "a", tree_.root + "\\.\\\\a"}, r + "a"},
       }) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<Harness> h = NewHarness();
    h->session.job.app.set_0 = 2;
    h->session.job.app.list_items = c.items;
    const ValidationVerdict verdict = ValidateJob(h->session, false);
    EXPECT_EQ(verdict.accepted(), c.duplicate.empty());
    const std::string expected =
        c.duplicate.empty() ? ""
                            : Sjis("変換対象ファイルに同一のパスが複数指定されています。\n（") + c.duplicate + Sjis("）");
    EXPECT_EQ(verdict.message, expected);
  }

  // A root reached through ".." is a root.
  std::unique_ptr<Harness> h = NewHarness();
  h->session.job.app.set_0 = 2;
  h->session.job.app.list_items = {"Z:\\tmp\\.."};
  const ValidationVerdict verdict = ValidateJob(h->session, false);
  EXPECT_EQ(verdict.kind, ValidationVerdict::Kind::kRefused);
  EXPECT_EQ(verdict.message, Sjis("変換対象ファイルにルートディレクトリを指定することはできません。"));
}

TEST_F(ValidationTest, JobCombination) {
  const std::string bad_direct_time = "日時直接指定の形式が不正です。";
  auto direct = [](int i, const char* date, const char* time) {
    return Job([=](ConversionSettings& s) {
      s.sw_dtt[i] = 1;
      s.dtt_date[i].Assign(date);
      s.dtt_time[i].Assign(time);
    });
  };
  auto deletion = [](bool bypass, bool wipe) {
    return Job([=](ConversionSettings& s) {
      s.sw_fnm = 0;
      s.sw_del = {true, bypass, wipe};
    });
  };
  const Change id3 = Job([](ConversionSettings& s) {
    s.sw_fnm = 0;
    s.sw_id3[0] = 1;
  });
  const int id3_page = kPageId3;
  RunCases({
      {"no job", kNameOff, "変換機能が指定されていません。", kPageNameSelector, "SW_FNM"},
      {"the date forms of names are no job", All({kNameOff, Job([](ConversionSettings& s) {
                                                    s.sw_dtt[3] = 1;
                                                    s.sw_dtt[4] = 2;
                                                  })}),
       "変換機能が指定されていません。", kPageNameSelector, "SW_FNM"},
      {"deletion and names", Job([](ConversionSettings& s) { s.sw_del[0] = true; }),
       "ファイル削除と他の変換機能は同時に指定できません。", kPageDeletion, "SW_DEL[0]"},
      {"deletion with another job before ID3 with another job", All({id3, deletion(false, false)}),
       "ファイル削除と他の変換機能は同時に指定できません。", kPageDeletion, "SW_DEL[0]"},
      {"ID3 and attributes", All({id3, Job([](ConversionSettings& s) { s.sw_atr[3] = true; })}),
       "ID3情報変換と他の変換機能は同時に指定できません。", id3_page, "SW_ID3"},
      {"invalid direct time before the refusal of the time job", All({kNameOff, direct(1, "2013/02/29", "10:00:00")}),
       bad_direct_time, kPageTimes, "DTT_21"},
      {"the last invalid direct time gets the focus",
       All({direct(0, "2013/1a/05", "10:00:00"), direct(1, "2013/01/05", "10:00:00"),
            direct(2, "2013/01/05", "24:00:00")}),
       bad_direct_time, kPageTimes, "DTT_32"},
      {"an empty direct time is invalid", direct(0, "2013/01/05", ""), bad_direct_time, kPageTimes, "DTT_12"},
      {"only direct times are read", Job([](ConversionSettings& s) {
         s.sw_dtt[0] = 2;
         s.dtt_date[0].Assign("garbage");
       }),
       "", 0, ""},
      {"deletion of directories only", All({deletion(false, false), Flags({3, 6})}),
       "ファイル削除の場合、「ディレクトリのみを対象」の指定はできません。", kPageTargets, "SW_SET[6]"},
      {"wiping directories without subdirectories", All({deletion(true, true), Flags({3})}),
       "「ディレクトリも対象」指定での復元不可削除の場合、「サブディレクトリ内も対象にする」の指定が必須です。",
       kPageTargets, "SW_SET[2]"},
      {"directories without subdirectories pass without the wipe", All({deletion(true, false), Flags({3})}), ""},
      {"no directory checks of deletion in list mode", All({deletion(true, true), Flags({3, 6}), List({&Tree::file})}),
       ""},
      {"an absent direct ID3 string", All({id3, Job([](ConversionSettings& s) { s.sw_id3[0] = 10; })}),
       "「文字列直接指定」での文字列が指定されていません。", id3_page, "ID3_STR0"},
      {"an empty direct string before a missing separator of a later item", All({id3, Job([](ConversionSettings& s) {
                                                                                   s.sw_id3[4] = 10;
                                                                                   s.id3_str[4] = "";
                                                                                   s.sw_id3[5] = 2;
                                                                                   s.id3_spr.Clear();
                                                                                 })}),
       "「文字列直接指定」での文字列が指定されていません。", id3_page, "ID3_STR4"},
      {"a missing separator of an earlier item before an absent string of a later one",
       All({id3, Job([](ConversionSettings& s) {
              s.sw_id3[1] = 3;
              s.id3_spr.Clear();
              s.sw_id3[2] = 10;
            })}),
       "ファイル名要素の区切り文字が指定されていません。", id3_page, "ID3_SPR"},
      {"a forbidden character in the separator", All({id3, Job([](ConversionSettings& s) { s.id3_spr.Assign("a/"); })}),
       std::string("ファイル名要素の区切り文字に以下の文字は指定できません。\n") + kForbidden, id3_page, "ID3_SPR"},
      {"no tag version", All({id3, Job([](ConversionSettings& s) { s.id3_cts = 0; })}),
       "変更対象ID3バージョンの指定が１つもありません。", id3_page, "ID3_CTS"},
      {"ID3 with directories, before the Exif filter", All({id3, Flags({3, 7})}),
       "ID3情報変換の場合、「ディレクトリも対象」の指定はできません。", kPageTargets, "SW_SET[3]"},
      {"ID3 with the Exif filter", All({id3, Flags({7})}),
       "ID3情報変換の場合、「Exif情報があるファイルのみを対象」の指定はできません。", kPageTargets, "SW_SET[7]"},
      {"ID3 with a two-byte separator passes",
       All({id3, Job([this](ConversionSettings& s) {
              s.sw_id3[6] = 10;
              s.id3_str[6] = "Rock";
              s.id3_spr.Assign(Sjis("表"));  // its second byte reads as a backslash
            })}),
       "", 0, ""},
  });
}

TEST_F(ValidationTest, JobsNotBuiltYetAreRefusedAfterTheJobCombination) {
  // The ID3 job, the last one not built, is refused in the job settings' table above.
  auto rule = [](int n) { return Job([n](ConversionSettings& s) { s.sw_fnm = static_cast<std::int16_t>(n); }); };
  std::vector<Case> cases;
  cases.emplace_back("attributes and times together", Job([](ConversionSettings& s) {
                       s.sw_atr[2] = true;
                       s.sw_dtt[1] = 3;
                     }),
                     "", 0, "");
  cases.emplace_back("a missing target first", All({rule(8), Target(&Tree::missing)}),
                     "指定された変換対象は存在しません。", kPageTargets, "DIRFIL");
  RunCases(cases);
}

TEST_F(ValidationTest, GeneralRuleSettings) {
  auto general = [](unsigned parts, int classes = 1, unsigned widths = 3) {
    return Job([=](ConversionSettings& s) {
      s.fnm_ipn_sel = static_cast<std::uint8_t>(parts);
      s.fnm_ipng = static_cast<std::int16_t>(classes);
      s.fnm_ipn_tgc = static_cast<std::uint8_t>(widths);
    });
  };
  const Change no_pairs = Job([](ConversionSettings& s) { s.sw_kakko.fill(false); });
  const std::string every_class_in_both_widths =
      "特定文字の削除で削除対象文字種別全てを指定した場合、対象文字に全角と半角両方を指定することはできません。";
  const std::string digits_deleted_and_padded =
      "特定文字の削除に「数字」を指定して「半角数字の0埋め桁揃え」変換を同時に行うことはできません。";
  const std::string no_deleted_class = "特定文字の削除の削除対象文字種別が１つも指定されていません。";
  const std::string no_widths = "対象文字（全角／半角）が指定されていません。";
  const int p = kPageNameRuleBase + 1;
  RunCases({
      {"case, brackets and padding", general(1 | 4 | 8), ""},
      {"no part of the general rule", general(0), "名称一般変換で変換機能が指定されていません。", p, "FNM_IPN_SEL"},
      {"missing target before no part of the general rule", All({general(0), Target(&Tree::missing)}),
       "指定された変換対象は存在しません。", kPageTargets, "DIRFIL"},
      {"case without widths", general(1, 1, 0), no_widths, p, "FNM_IPN_TGC"},
      {"brackets without widths", general(4, 1, 0), no_widths, p, "FNM_IPN_TGC"},
      {"no widths before padding without half-width", general(1 | 8, 1, 0), no_widths, p, "FNM_IPN_TGC"},
      {"deletion without classes", general(2, 0), no_deleted_class, p, "FNM_IPNG"},
      {"bits that name no class count as none", general(2, 8 | 64), no_deleted_class, p, "FNM_IPNG"},
      {"every class in both widths", general(2, 135, 3), every_class_in_both_widths, p, "FNM_IPN_TGC"},
      {"every class in both widths with bits that name no class", general(2, 255, 3), every_class_in_both_widths, p,
       "FNM_IPN_TGC"},
      {"every class in one width passes", general(2, 135, 1), ""},
      {"digits deleted and padded", general(2 | 8, 2), digits_deleted_and_padded, p, "FNM_IPNG"},
      {"digits deleted and padded before the letter and other-class conflicts", general(1 | 2 | 4 | 8, 2 | 4 | 128, 1),
       digits_deleted_and_padded, p, "FNM_IPNG"},
      {"letters deleted and cased", general(1 | 2, 4),
       "特定文字の削除に「英字」を指定して「大文字／小文字変換」変換を同時に行うことはできません。", p, "FNM_IPNG"},
      {"others deleted and brackets", general(2 | 4, 128 | 1),
       "特定文字の削除に「その他」を指定して「括弧の処理」変換を同時に行うことはできません。", p, "FNM_IPNG"},
      {"brackets without a pair", All({general(4), no_pairs}), "括弧の処理の対象括弧が１つも指定されていません。", p,
       "SW_KAKKO"},
      {"one bracket pair is enough",
       All({general(4), no_pairs, Job([](ConversionSettings& s) { s.sw_kakko[15] = true; })}), ""},
      {"padding without half-width", general(8, 1, 1),
       "半角数字の0埋め桁揃えを行う場合、対象文字として半角文字の指定が必須です。", p, "FNM_IPN_TGC"},
  });
}

TEST_F(ValidationTest, ExtensionHandlingOfTheNameJob) {
  const Change ext_only = Job([](ConversionSettings& s) { s.fnm_02 = 2; });
  const Change ext_off = Job([](ConversionSettings& s) { s.fnm_01 = false; });
  const Change padding = Job([](ConversionSettings& s) { s.fnm_ipn_sel = 8; });
  const std::string extension_only_with_directories =
      "名称変換を行う場合、「拡張子のみ変換」で「ディレクトリも対象」指定はできません。";
  RunCases({
      {"extension only with directories", All({ext_only, Flags({3})}), extension_only_with_directories,
       kPageNameSelector, "FNM_02"},
      {"extension only with a listed directory", All({ext_only, List({&Tree::file, &Tree::dir})}),
       "名称変換を行う場合、「拡張子のみ変換」でディレクトリの指定はできません。", kPageNameSelector, "FNM_02"},
      {"extension only with listed files passes", All({ext_only, List({&Tree::file, &Tree::nested})}), ""},
      {"extension only needs extension handling on", All({ext_only, ext_off, Flags({3})}), ""},
      {"padding needs extension handling", All({padding, ext_off}),
       "名称一般変換の半角数字の0埋め桁揃えを行う場合、拡張子処理の指定が必須です。", kPageNameSelector, "FNM_01"},
      {"extension only with directories before padding without extension handling",
       All({ext_only, padding, Flags({3})}), extension_only_with_directories, kPageNameSelector, "FNM_02"},
      {"no part of the general rule before padding without extension handling",
       All({ext_off, Job([](ConversionSettings& s) { s.fnm_ipn_sel = 0; })}),
       "名称一般変換で変換機能が指定されていません。", kPageNameRuleBase + 1, "FNM_IPN_SEL"},
      {"other general parts need no extension handling",
       All({ext_off, Job([](ConversionSettings& s) { s.fnm_ipn_sel = 1 | 4; })}), ""},
  });
}

TEST_F(ValidationTest, JobOnlySkipsTheTargets) {
  const Change no_path = [](Session& s, const Tree&) { s.job.app.dirfil[0].reset(); };
  RunCases(
      {{"no target path", no_path, ""},
       {"an empty list", All({List({}), Flags({3})}), ""},
       {"the job is still checked", All({no_path, Job([](ConversionSettings& s) { s.fnm_ipn_sel = 0; })}),
        "名称一般変換で変換機能が指定されていません。", kPageNameRuleBase + 1, "FNM_IPN_SEL"},
       {"and so is the extension", Job([](ConversionSettings& s) {
          s.fnm_ipn_sel = 8;
          s.fnm_01 = false;
        }),
        "名称一般変換の半角数字の0埋め桁揃えを行う場合、拡張子処理の指定が必須です。", kPageNameSelector, "FNM_01"}},
      true);

  // Nothing of the targets is touched: no trimming, no status call.
  std::unique_ptr<Harness> h = NewHarness();
  h->session.job.app.dirfil[0] = tree_.dir + "\\";
  const int stats = fs_->calls(FsOp::kStat);
  EXPECT_TRUE(ValidateJob(h->session, true).accepted());
  EXPECT_EQ(*h->session.job.app.dirfil[0], tree_.dir + "\\");
  EXPECT_EQ(fs_->calls(FsOp::kStat), stats);
}

// Rules 4 to 8 are refused before the extension and directory checks for now; their directory checks and sort
// parameters are reached here through CheckNameTargets itself.
class NameTargetsTest : public ValidationTest {
 protected:
  // Runs the extension and directory checks for name rule `rule` with `kinds` as the file list held them.
  // The verdict it came to is kept in `verdict_`.
  bool Check(Harness& h, int rule, validation_internal::TargetKinds kinds = {}, bool job_only = false) {
    h.session.job.settings.sw_fnm = static_cast<std::int16_t>(rule);
    validation_internal::ValidationContext ctx(h.session, job_only);
    ctx.kinds = kinds;
    const bool ok = validation_internal::CheckNameTargets(ctx);
    verdict_ = ctx.verdict;
    EXPECT_TRUE(h.ui.messages.empty());
    return ok;
  }
  // The message of the refusal of the last check.
  std::string Warning() {
    EXPECT_EQ(verdict_.kind, ValidationVerdict::Kind::kRefused);
    return Utf8(verdict_.message);
  }
  // The setting it names, as (page, key).
  std::vector<std::pair<int, std::string>> Focused() const { return {{verdict_.page, verdict_.key}}; }

  ValidationVerdict verdict_;
};

TEST_F(NameTargetsTest, ExtensionHandlingIsRequiredExceptForControlStatements) {
  const char* subjects[] = {"連番による名称変換", "日時による名称変換", "ID3情報による名称変換", "",
                            "置換パターンCSVによる名称変換"};
  for (int rule = 4; rule <= 8; ++rule) {
    SCOPED_TRACE(rule);
    std::unique_ptr<Harness> h = NewHarness();
    h->session.job.settings.fnm_01 = false;
    if (rule == 7) {
      EXPECT_TRUE(Check(*h, rule));
      EXPECT_TRUE(verdict_.accepted());
      continue;
    }
    EXPECT_FALSE(Check(*h, rule, {}, true));
    EXPECT_EQ(Warning(), std::string(subjects[rule - 4]) + "を行う場合、拡張子処理の指定が必須です。");
    EXPECT_EQ(Focused(), (std::vector<std::pair<int, std::string>>{{kPageNameSelector, "FNM_01"}}));
  }

  // Replacement by position needs it, replacement by string does not.
  std::unique_ptr<Harness> h = NewHarness();
  h->session.job.settings.fnm_01 = false;
  h->session.job.settings.fnm_ckn0 = 1;
  EXPECT_TRUE(Check(*h, 3));
  h->session.job.settings.fnm_ckn0 = 2;
  EXPECT_FALSE(Check(*h, 3));
  EXPECT_EQ(Warning(), "名称文字列置換の位置指定を行う場合、拡張子処理の指定が必須です。");
}

TEST_F(NameTargetsTest, SerialNumberingTakesDirectoriesOnlyAlone) {
  const std::string dirs =
      "連番による名称変換を行う場合、「ディレクトリのみを対象」以外でのディレクトリの変換指定はできません。";
  struct Flags {
    bool dirs, itself, only;
    bool ok;
  };
  for (const Flags& f : std::vector<Flags>{{false, false, false, true},
                                           {true, false, true, true},
                                           {true, true, true, false},
                                           {true, false, false, false},
                                           {false, true, false, true}}) {
    SCOPED_TRACE(::testing::Message() << f.dirs << f.itself << f.only);
    std::unique_ptr<Harness> h = NewHarness();
    h->session.job.app.sw_set[3] = f.dirs;
    h->session.job.app.sw_set[4] = f.itself;
    h->session.job.app.sw_set[6] = f.only;
    EXPECT_EQ(Check(*h, 4), f.ok);
    if (!f.ok) {
      EXPECT_EQ(Warning(), dirs);
      EXPECT_EQ(Focused(), (std::vector<std::pair<int, std::string>>{{kPageTargets, "SW_SET[3]"}}));
    }
  }

  // In list mode, files and directories must not be mixed; either alone is fine.
  std::unique_ptr<Harness> h = NewHarness();
  h->session.job.app.set_0 = 2;
  EXPECT_TRUE(Check(*h, 4, {true, false}));
  EXPECT_TRUE(Check(*h, 4, {false, true}));
  EXPECT_FALSE(Check(*h, 4, {true, true}));
  EXPECT_EQ(Warning(),
            "連番による名称変換を行う場合、変換対象ファイルにディレクトリとファイルを混在させて指定できません。");
  EXPECT_EQ(Focused(), (std::vector<std::pair<int, std::string>>{{kPageTargets, "LIST"}}));

  // With the job alone, the targets are not looked at.
  h = NewHarness();
  h->session.job.app.sw_set[3] = true;
  EXPECT_TRUE(Check(*h, 4, {}, true));
  EXPECT_TRUE(verdict_.accepted());
}

TEST_F(NameTargetsTest, DateAndTagNamingOfferToDropDirectories) {
  for (int rule : {5, 6}) {
    SCOPED_TRACE(rule);
    const std::string subject = rule == 5 ? "日時による名称変換" : "ID3情報による名称変換";
    const std::string question =
        subject + "を行う場合、「ディレクトリも対象」指定はできません。\n「ディレクトリも対象」指定を外しますか？";

    // A question, not a refusal: the job keeps its flags until the person agrees.
    std::unique_ptr<Harness> h = NewHarness();
    h->session.job.app.sw_set[3] = h->session.job.app.sw_set[4] = h->session.job.app.sw_set[6] = true;
    h->session.job.app.sw_set[2] = true;
    EXPECT_FALSE(Check(*h, rule));
    EXPECT_EQ(verdict_.kind, ValidationVerdict::Kind::kQuestion);
    EXPECT_EQ(verdict_.message, Sjis(question));
    EXPECT_EQ(verdict_.change, ProposedChange::kDropDirectoryTargets);
    EXPECT_TRUE(h->session.job.app.sw_set[3] && h->session.job.app.sw_set[4] && h->session.job.app.sw_set[6]);

    // Yes: the three flags are cleared, the others stay, and the check passes.
    ApplyProposedChange(h->session.job, verdict_.change);
    EXPECT_FALSE(h->session.job.app.sw_set[3] || h->session.job.app.sw_set[4] || h->session.job.app.sw_set[6]);
    EXPECT_TRUE(h->session.job.app.sw_set[2]);
    EXPECT_TRUE(Check(*h, rule));
    EXPECT_TRUE(verdict_.accepted());

    // In list mode a directory is refused outright.
    h = NewHarness();
    h->session.job.app.set_0 = 2;
    h->session.job.app.sw_set[3] = true;  // not a list-mode setting
    EXPECT_TRUE(Check(*h, rule, {true, false}));
    EXPECT_FALSE(Check(*h, rule, {true, true}));
    EXPECT_EQ(Warning(), subject + "を行う場合、変換対象ファイルにディレクトリは指定できません。");
    EXPECT_EQ(Focused(), (std::vector<std::pair<int, std::string>>{{kPageTargets, "LIST"}}));
  }
}

TEST_F(ValidationTest, ADateJobOnDirectoriesIsAQuestionUntilTheChangeIsMade) {
  std::unique_ptr<Harness> h = NewHarness();
  ConversionSettings& s = h->session.job.settings;
  s.sw_fnm = 5;  // date naming from the last write, extension kept
  s.fnm_hdk0 = 2;
  s.fnm_hdk_udt = 2;
  s.fnm_hdk2 = 1;
  AppSettings& app = h->session.job.app;
  app.dirfil[0] = tree_.root + "\\";  // the trimmed form is kept whatever the verdict
  app.sw_set[3] = app.sw_set[4] = true;
  const AppSettings before = app;

  const ValidationVerdict question = ValidateJob(h->session, false);
  EXPECT_EQ(question.kind, ValidationVerdict::Kind::kQuestion);
  EXPECT_EQ(Utf8(question.message),
            "日時による名称変換を行う場合、「ディレクトリも対象」指定はできません。\n"
            "「ディレクトリも対象」指定を外しますか？");
  EXPECT_EQ(question.change, ProposedChange::kDropDirectoryTargets);
  EXPECT_TRUE(question.target_path_changed);
  EXPECT_TRUE(h->ui.messages.empty());  // asked of no one: the front end asks
  // Asking again asks the same: nothing of the job but its path's form changed.
  EXPECT_EQ(app.sw_set, before.sw_set);
  EXPECT_EQ(ValidateJob(h->session, false).kind, ValidationVerdict::Kind::kQuestion);

  ApplyProposedChange(h->session.job, question.change);
  EXPECT_FALSE(app.sw_set[3] || app.sw_set[4] || app.sw_set[6]);
  const ValidationVerdict accepted = ValidateJob(h->session, false);
  EXPECT_TRUE(accepted.accepted()) << Utf8(accepted.message);
  EXPECT_FALSE(accepted.target_path_changed);
  EXPECT_EQ(*app.dirfil[0], tree_.root);
}

TEST_F(NameTargetsTest, SortParametersComeFromNumberingAndDateNaming) {
  std::unique_ptr<Harness> h = NewHarness();
  ConversionSettings& s = h->session.job.settings;
  s.fnm_rnb_opt = 2;  // ordered, descending
  s.fnm_rnb7 = 64 + 4;
  ASSERT_TRUE(Check(*h, 4));
  EXPECT_TRUE(h->session.run.sort.on);
  EXPECT_FALSE(h->session.run.sort.ascending);
  EXPECT_EQ(h->session.run.sort.key, 68);

  s.fnm_rnb_opt = 1 | 4;  // ascending but not ordered
  ASSERT_TRUE(Check(*h, 4));
  EXPECT_FALSE(h->session.run.sort.on);
  EXPECT_TRUE(h->session.run.sort.ascending);

  s.fnm_hdk_rnb = 4 | 8;
  s.fnm_hdkg = 3;
  ASSERT_TRUE(Check(*h, 5));
  EXPECT_TRUE(h->session.run.sort.on);
  EXPECT_TRUE(h->session.run.sort.ascending);
  EXPECT_EQ(h->session.run.sort.key, 3);
  s.fnm_hdk_rnb = 1 | 2;
  ASSERT_TRUE(Check(*h, 5));
  EXPECT_FALSE(h->session.run.sort.on);
  EXPECT_FALSE(h->session.run.sort.ascending);
  EXPECT_EQ(h->session.run.sort.key, 3);

  // Every other job leaves sorting off, whatever an earlier job set.
  for (bool name : {true, false}) {
    h = NewHarness();
    h->session.run.sort = SortParameters{true, false, 4};
    if (!name) {
      h->session.job.settings.sw_fnm = 0;
      h->session.job.settings.sw_atr[0] = true;
      EXPECT_TRUE(ValidateJob(h->session, false).accepted());
    } else {
      EXPECT_TRUE(ValidateJob(h->session, false).accepted());
    }
    EXPECT_FALSE(h->session.run.sort.on);
    EXPECT_TRUE(h->session.run.sort.ascending);
    EXPECT_EQ(h->session.run.sort.key, 0);
  }
}

TEST(JobSwitchesTest, EachJobHasItsSwitch) {
  ConversionSettings s;
  EXPECT_FALSE(ComputeJobSwitches(s).any());
  s.sw_dtt[3] = 1;  // the date form of names alone changes no time
  s.sw_dtt[4] = 3;
  EXPECT_FALSE(ComputeJobSwitches(s).any());
  s.sw_del[1] = s.sw_del[2] = true;  // the deletion options without deletion itself
  EXPECT_FALSE(ComputeJobSwitches(s).any());

  s.sw_fnm = 8;
  s.sw_atr[3] = true;
  s.sw_dtt[2] = 5;
  s.sw_del[0] = true;
  s.sw_id3[6] = 10;
  const JobSwitches all = ComputeJobSwitches(s);
  EXPECT_TRUE(all.name && all.attributes && all.times && all.deletion && all.id3);
}

}  // namespace
}  // namespace morva
