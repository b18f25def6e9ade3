// Name rule 7 over real files: the variables that read them, serial numbers over real targets, the
// names that cannot be built, and the messages of job validation.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/jpeg_builder.h"
#include "common/media_builder.h"
#include "common/mp3_builder.h"
#include "common/start_conversion.h"
#include "engine/validation.h"
#include "platform/regex_service.h"

namespace morva {
namespace {

using Message = testing::ScriptedUi::Message;
using Names = std::vector<std::string>;

class ControlRuleTest : public testing::EngineFixture {
 protected:
  ControlRuleTest() {
    session.host.regex = regex.get();
    session.job.settings.sw_fnm = 7;
    session.job.settings.fnm_01 = true;
  }

  void Statement(const std::string& utf8) { ASSERT_TRUE(session.job.settings.fnm_usr1.Assign(S(utf8))) << utf8; }

  void MakeJpeg(const std::string& rel, testing::JpegContents contents) { MakeFile(rel, testing::BuildJpeg(contents)); }

  void MakeMp3(const std::string& rel, const std::string& title, const std::string& track = "") {
    testing::Mp3Contents contents;
    contents.v2_version = 3;
    contents.frames.push_back(testing::Id3v2Frame{"TIT2", 0, title});
    if (!track.empty()) contents.frames.push_back(testing::Id3v2Frame{"TRCK", 0, track});
    MakeFile(rel, testing::BuildMp3(contents));
  }

  // The preview of each statement; no warning may come with it.
  void ExpectPreviews(const std::vector<std::pair<std::string, Names>>& cases) {
    for (const auto& [statement, names] : cases) {
      SCOPED_TRACE(statement);
      Statement(statement);
      ui.messages.clear();
      EXPECT_EQ(PreviewNames(), names);
      EXPECT_TRUE(ui.Texts(Message::kWarning).empty());
    }
  }

  std::unique_ptr<RegexService> regex = NewPcre2RegexService(codec.get());
};

TEST_F(ControlRuleTest, VariablesReadTheTargetsFiles) {
  MakeFile("a.txt");
  testing::JpegContents photo;
  photo.date_time_original = "2012:01:02 03:04:05";
  photo.model = "X100";
  MakeJpeg("p.jpg", photo);
  MakeMp3("s.mp3", "Intro", "3/12");
  for (const char* file : {"a.txt", "p.jpg", "s.mp3"}) SetLocalMtime(file, 2013, 5, 4, 13, 2, 9, 250000000);

  ExpectPreviews({
      {"<TW-YEAR>-<TW-DOWJ>-<tw_dowf>",
       {"a.txt -> 2013-土-Saturday.txt", "p.jpg -> 2013-土-Saturday.jpg", "s.mp3 -> 2013-土-Saturday.mp3"}},
      // The Exif date when there is one, else the last-write time with its milliseconds.
      {"<TEW>", {"a.txt -> 20130504130209250.txt", "p.jpg -> 20120102030405.jpg", "s.mp3 -> 20130504130209250.mp3"}},
      {"x<TE-YY>", {"a.txt -> x.txt", "p.jpg -> x12.jpg", "s.mp3 -> x.mp3"}},
      {"x<JDO><JMD>", {"a.txt -> x.txt", "p.jpg -> x20120102030405X100.jpg", "s.mp3 -> x.mp3"}},
      // The track of an ID3v2 tag without the count of tracks; nothing for a file without a tag.
      {"x<MTT>_<MTRCK>", {"a.txt -> x_.txt", "p.jpg -> x_.jpg", "s.mp3 -> xIntro_3.mp3"}},
      // A time variable in lower case alone still has the listing read the times.
      {"<tw-year>", {"a.txt -> 2013.txt", "p.jpg -> 2013.jpg", "s.mp3 -> 2013.mp3"}},
  });
}

TEST_F(ControlRuleTest, VariablesReadMoviesAndOtherTagFormats) {
  MakeFile("f.flac", testing::BuildFlac({"TITLE=Intro", "TRACKNUMBER=3/12"}));
  testing::MovieContents movie;
  movie.creation_date = "2023-06-01T23:30:00+0200";
  MakeFile("v.mov", testing::BuildMovie(movie));
  ExpectPreviews({
      {"x<MTT>_<MTRCK>", {"f.flac -> xIntro_3.flac", "v.mov -> x_.mov"}},
      {"x<JDO>", {"f.flac -> x.flac", "v.mov -> x20230601233000.mov"}},
  });
}

TEST_F(ControlRuleTest, SerialsCountOverTheTargets) {
  for (const char* file : {"photo.jpg", "photo.png", "scan.jpg"}) MakeFile(file);
  ExpectPreviews({
      {"<C-3,10+5>", {"photo.jpg -> 010.jpg", "photo.png -> 015.png", "scan.jpg -> 020.jpg"}},
      {"<F>_<CN-2>", {"photo.jpg -> photo_01.jpg", "photo.png -> photo_02.png", "scan.jpg -> scan_01.jpg"}},
      // In descending order of the names, numbered in that order.
      {"<F><CSDF-1>", {"scan.jpg -> scan1.jpg", "photo.png -> photo2.png", "photo.jpg -> photo3.jpg"}},
  });
}

TEST_F(ControlRuleTest, NamesThatCannotBeBuilt) {
  testing::JpegContents contents;
  contents.image_description = std::string(300, 'd');
  MakeJpeg("long.jpg", contents);
  contents.image_description = std::string(40000, 'h');
  MakeJpeg("huge.jpg", contents);
  contents.image_description = "ok";
  MakeJpeg("short.jpg", contents);
  const std::string too_long = "変換後パス最大長超えにより失敗";
  ExpectPreviews({
      // A name past 260 bytes fails as with every rule; a text past the interpreter's bound fails even
      // where a function would cut it down again.
      {"<JTT>", {"huge.jpg -> " + too_long, "long.jpg -> " + too_long, "short.jpg -> ok.jpg"}},
      {"\\LEFT<<JTT><JTT>:2>", {"huge.jpg -> " + too_long, "long.jpg -> dd.jpg", "short.jpg -> ok.jpg"}},
      // A replacement too long for a name leaves the name as it was (nothing to replace: the name is
      // too long).
      {"\\CHGSTR<<JTT>:\"d\",\"dd\">", {"huge.jpg -> " + too_long, "long.jpg -> long.jpg", "short.jpg -> ok.jpg"}},
  });
}

TEST_F(ControlRuleTest, TagTextThatNoNameCanHoldFailsTheTarget) {
  // A separator coming from a tag never leads into another directory.
  MakeMp3("a.mp3", "AC/DC");
  MakeMp3("b.mp3", "Who?");
  MakeDir("AC");
  Statement("<MTT>");
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  EXPECT_EQ(session.run.counters.full_failure, 2);
  EXPECT_TRUE(testing::Exists(dir.Sub("a.mp3")));
  EXPECT_TRUE(testing::Exists(dir.Sub("b.mp3")));
  EXPECT_FALSE(testing::Exists(dir.Sub("AC/DC.mp3")));

  Statement("\\FILFIX<<MTT>:m>");
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  EXPECT_TRUE(testing::Exists(dir.Sub("AC／DC.mp3")));
  EXPECT_TRUE(testing::Exists(dir.Sub("Who？.mp3")));
}

TEST_F(ControlRuleTest, ValidationShowsTheNameTheCheckStoppedAt) {
  MakeFile("a.txt");
  const std::string plain = "通常文字として指定できない以下の文字が指定されています。\n\\ / : * ? \" < > | \\n \\r \\t";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "変換制御文が指定されていません。"},
      {"<F>", ""},
      {"\\FOO<x>", "関数　\\FOO<...>　は不正です。"},
      {"<ソ>", "変数　<ソ>　は不正です。"},
      {"a/b", plain},
      {"<C><c>", "連番変数を指定した後に再度連番変数の指定がされています。"},
      {"\\UPPER<", "\\UPPER<...>　関数内の指定がありません。"},
      {"<TW-X>", "変数の指定　<TW-X>　に誤りがあります。"},
      {"\\LEFT<x:0>", "関数の指定　\\LEFT<...>　に誤りがあります。"},
      {"<F", "'<' に対応する '>' がありません。または、指定できない文字が指定されています。"},
      {"\\CHGMSTR<x:\"(\",\"y\">", "文字列置換の正規表現に誤りがあります。"},
  };
  // The statement decides for itself whether it reads the extension.
  session.job.settings.fnm_01 = false;
  for (const auto& [statement, message] : cases) {
    SCOPED_TRACE(statement);
    Statement(statement);
    const ValidationVerdict verdict = ValidateJob(session, false);
    EXPECT_EQ(verdict.accepted(), message.empty());
    if (message.empty()) {
      EXPECT_TRUE(verdict.message.empty());
      continue;
    }
    EXPECT_EQ(verdict.kind, ValidationVerdict::Kind::kRefused);
    EXPECT_EQ(verdict.message, S(message));  // byte for byte, the token as the statement writes it
    EXPECT_EQ(verdict.page, kPageNameRuleBase + 7);
    EXPECT_EQ(verdict.key, "FNM_USR1");
  }

  // The order a serial variable asks for reaches the enumeration.
  Statement("<CSDW>");
  ASSERT_TRUE(ValidateJob(session, false).accepted());
  EXPECT_TRUE(session.run.sort.on);
  EXPECT_FALSE(session.run.sort.ascending);
  EXPECT_EQ(session.run.sort.key, 1);
}

}  // namespace
}  // namespace morva
