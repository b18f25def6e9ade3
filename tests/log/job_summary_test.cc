// The "変換機能：" summary of jobs of every kind.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "common/test_util.h"
#include "core/conversion_settings.h"
#include "log/job_summary.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

class JobSummaryTest : public ::testing::Test {
 protected:
  std::string S(const std::string& utf8) { return testing::Sjis(codec.get(), utf8); }
  std::string Summary() { return JobSummary(*codec, c); }

  std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
  ConversionSettings c{CalendarTime{2024, 5, 6, 7, 8, 9, 0, 0}};
};

TEST_F(JobSummaryTest, NameRules) {
  EXPECT_EQ(Summary(), "") << "a job that does nothing";

  c.sw_fnm = 1;
  c.fnm_ipn_sel = 15;
  c.fnm_ipn2 = 3;
  c.fnm_ipnf = 1;
  c.fnm_ipng = 1 | 4 | 128;
  c.fnm_ipn4 = 2;
  c.fnm_ipnd = 4;
  c.fnm_ipn_tgc = 2;
  c.fnm_01 = false;
  EXPECT_EQ(Summary(), S("【先頭大文字、以下小文字変換(特定文字直後の文字も大文字)】【特定文字の削除(スペース,英字,その他)】"
                         "【括弧全削除】【半角数字の0埋め桁揃え (末尾の数字のみ：4桁)】【変換対象文字：半角】"));

  c = ConversionSettings(CalendarTime{});
  c.sw_fnm = 2;
  c.fnm_znk0 = 1;
  c.fnm_znk_ctc = 1 | 32;
  c.fnm_znk_jcb = 3;
  c.fnm_02 = 2;
  EXPECT_EQ(Summary(), S("【全角変換 (英字,カタカナ{濁点等は単独変換,共通記号変換},)】【拡張子のみ】"));
  c.fnm_znk_ctc = 2 | 16;
  EXPECT_EQ(Summary(), S("【全角変換 (数字,スペース)】【拡張子のみ】"));

  c = ConversionSettings(CalendarTime{});
  c.sw_fnm = 3;
  c.fnm_01 = false;
  ASSERT_TRUE(c.fnm_ckn1.Assign("abc"));
  ASSERT_TRUE(c.fnm_ckn3.Assign("x"));
  c.fnm_ckn_tgb = 3;
  EXPECT_EQ(Summary(), S("【文字列置換 'abc' → 'x' (大文字／小文字区別、正規表現使用)】"));
  c.fnm_ckn0 = 2;
  c.fnm_ckn4 = 1;
  c.fnm_ckn5 = true;
  ASSERT_TRUE(c.fnm_ckn6.Assign("3"));
  c.fnm_ckn7 = 0;
  c.fnm_ckn8 = 2;
  ASSERT_TRUE(c.fnm_ckn9.Assign("2"));
  c.fnm_ckna = 2;
  EXPECT_EQ(Summary(), S("【文字列置換 '最後尾3バイト目以前2バイト分' → 'x' (全角２バイト目：無効)】"));

  c = ConversionSettings(CalendarTime{});
  c.sw_fnm = 4;
  c.fnm_01 = false;
  ASSERT_TRUE(c.fnm_rnb1.Assign("img"));
  ASSERT_TRUE(c.fnm_rnb2.Assign("7"));
  c.fnm_rnb3 = 3;
  c.fnm_rnb_opt = 2;
  c.fnm_rnb7 = 64 + 4;
  c.fnm_rnb8 = 1;
  EXPECT_EQ(Summary(), S("【連番で名称変換 'img007'～ (降順：ファイル名中の数値順[末尾側])'[親ディレクトリ名]'】"));

  c = ConversionSettings(CalendarTime{});
  c.sw_fnm = 5;
  c.fnm_01 = false;
  c.fnm_hdk_udt = 64 + 1;
  c.fnm_hdk0 = 1;
  c.fnm_hdk2 = 1;
  c.fnm_hdk_atw = 3;
  c.fnm_hdk4 = 2;
  c.fnm_hdkd = 4;
  ASSERT_TRUE(c.fnm_hdka.Assign("-"));
  c.fnm_hdk_rnb = 1 | 4 | 8;
  c.fnm_hdk6 = 3;
  c.fnm_hdkg = 1;
  EXPECT_EQ(Summary(), S("【Exif情報日時（または作成日時）で名称変換 '[親ディレクトリ名]YYYYMMDD-hhmm-曜日(和2)_001～ (昇順：更新日時順)'】"));

  c = ConversionSettings(CalendarTime{});
  c.sw_fnm = 6;
  c.fnm_01 = false;
  c.fnm_id31 = {2, 7, 6, 0};
  ASSERT_TRUE(c.fnm_id32.Assign("x"));
  ASSERT_TRUE(c.fnm_id33.Assign("--"));
  c.fnm_id3_opt = 3;
  EXPECT_EQ(Summary(), S("【ID3情報による名称変換 '[アーティスト]--x--[トラック番号]'(文字列前後のスペース削除,ID3情報はUnicodeとして変換)】"));

  c = ConversionSettings(CalendarTime{});
  c.sw_fnm = 7;
  ASSERT_TRUE(c.fnm_usr1.Assign("<N>"));
  EXPECT_EQ(Summary(), S("【変換制御文で名称変換 '<N>'】【拡張子除く】"));
  c.sw_fnm = 8;
  ASSERT_TRUE(c.fnm_csv_pth.Assign("Z:\\home\\p.csv"));
  c.fnm_csv_opt = 2;
  EXPECT_EQ(Summary(), S("【置換パターンCSVで名称変換 [p.csv] (正規表現使用)】【拡張子除く】"));
}

TEST_F(JobSummaryTest, AttributesTimesDeletionId3) {
  c.sw_atr = {true, false, true, true};
  c.atr_onb = 1 | 8;
  c.sw_dtt = {1, 3, 5, 0, 0};
  ASSERT_TRUE(c.dtt_date[0].Assign("2024/01/02"));
  ASSERT_TRUE(c.dtt_time[0].Assign("03:04:05"));
  EXPECT_EQ(Summary(), S("【読み取り専用属性ON変換】【アーカイブ属性OFF変換】【システム属性ON変換】"
                         "【作成日時変換[直接指定(2024/01/02 03:04:05)]】【更新日時変換[アクセス日時と同じ日時]】"
                         "【アクセス日時変換[ファイル名を基にした日時]】"));

  c = ConversionSettings(CalendarTime{});
  c.sw_del = {true, true, true};
  c.del_01 = 3;
  EXPECT_EQ(Summary(), S("【ファイル削除(復元不可削除[レベル3])】"));
  c.sw_del = {true, true, false};
  EXPECT_EQ(Summary(), S("【ファイル削除(ごみ箱不使用)】"));
  c.sw_del = {true, false, true};
  EXPECT_EQ(Summary(), S("【ファイル削除】"));

  c = ConversionSettings(CalendarTime{});
  c.sw_id3 = {1, 0, 0, 3, 0, 0, 10};
  c.id3_cts = 2 | 8;
  EXPECT_EQ(Summary(), S("【ID3情報変換([V2変更][V2付加]：タイトル,トラック番号,ジャンル)】"));
}

}  // namespace
}  // namespace morva
