#include "core/conversion_settings.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fileops/date_time_text.h"

namespace morva {
namespace {

constexpr CalendarTime kNow{2024, 3, 5, 7, 8, 9, 0};

// Applies one "KEY = value" line as the settings file reader does.
bool Apply(ConversionSettings* s, std::string_view line) {
  const std::size_t eq = line.find(" = ");
  EXPECT_NE(eq, std::string_view::npos) << line;
  const std::string value(line.substr(eq + 3));
  return ParseKey(s, line.substr(0, eq), value, std::atoi(value.c_str()), value.size());
}

// Applies every line of a key block; returns the lines ParseKey did not take as job keys.
std::vector<std::string> ApplyBlock(ConversionSettings* s, std::string_view block) {
  std::vector<std::string> refused;
  while (!block.empty()) {
    const std::size_t end = block.find('\n');
    const std::string_view line = block.substr(0, end);
    if (!Apply(s, line)) refused.emplace_back(line);
    block.remove_prefix(end == std::string_view::npos ? block.size() : end + 1);
  }
  return refused;
}

#define EXPECT_SAME(field) EXPECT_EQ(a.field, b.field) << #field
#define EXPECT_SAME_TEXT(field) EXPECT_EQ(a.field.view(), b.field.view()) << #field

void ExpectSameSettings(const ConversionSettings& a, const ConversionSettings& b) {
  EXPECT_SAME(sw_tab); EXPECT_SAME(sw_fnm); EXPECT_SAME(fnm_01); EXPECT_SAME(fnm_02);
  EXPECT_SAME(fnm_ipn_sel); EXPECT_SAME(fnm_ipn2); EXPECT_SAME(fnm_ipnf); EXPECT_SAME(fnm_ipng);
  EXPECT_SAME(fnm_ipn4); EXPECT_SAME(sw_kakko); EXPECT_SAME(fnm_ipnd); EXPECT_SAME(fnm_ipne);
  EXPECT_SAME(fnm_ipn_tgc); EXPECT_SAME(fnm_znk0); EXPECT_SAME(fnm_znk_ctc); EXPECT_SAME(fnm_znk_jcb);
  EXPECT_SAME(fnm_ckn0); EXPECT_SAME_TEXT(fnm_ckn1); EXPECT_SAME(fnm_ckn_tgb); EXPECT_SAME(fnm_ckn4);
  EXPECT_SAME(fnm_ckn5); EXPECT_SAME_TEXT(fnm_ckn6); EXPECT_SAME(fnm_ckn7); EXPECT_SAME(fnm_ckn8);
  EXPECT_SAME_TEXT(fnm_ckn9); EXPECT_SAME(fnm_ckna); EXPECT_SAME_TEXT(fnm_ckn3); EXPECT_SAME(fnm_rnb0);
  EXPECT_SAME_TEXT(fnm_rnb1); EXPECT_SAME_TEXT(fnm_rnb2); EXPECT_SAME_TEXT(fnm_rnba); EXPECT_SAME(fnm_rnb3);
  EXPECT_SAME(fnm_rnb8); EXPECT_SAME_TEXT(fnm_rnb9); EXPECT_SAME(fnm_rnb_opt); EXPECT_SAME(fnm_rnb7);
  EXPECT_SAME(fnm_hdk0); EXPECT_SAME_TEXT(fnm_hdk1); EXPECT_SAME(fnm_hdk_udt); EXPECT_SAME(fnm_hdk2);
  EXPECT_SAME(fnm_hdk_atw); EXPECT_SAME(fnm_hdk4); EXPECT_SAME(fnm_hdkd); EXPECT_SAME_TEXT(fnm_hdka);
  EXPECT_SAME(fnm_hdk_rnb); EXPECT_SAME_TEXT(fnm_hdkb); EXPECT_SAME(fnm_hdk6); EXPECT_SAME(fnm_hdkg);
  EXPECT_SAME(fnm_id31); EXPECT_SAME_TEXT(fnm_id32); EXPECT_SAME_TEXT(fnm_id33); EXPECT_SAME(fnm_id3_opt);
  EXPECT_SAME_TEXT(fnm_usr1); EXPECT_SAME_TEXT(fnm_csv_pth); EXPECT_SAME(fnm_csv_opt); EXPECT_SAME(sw_atr);
  EXPECT_SAME(atr_onb); EXPECT_SAME(sw_dtt);
  for (int i = 0; i < 3; ++i) {
    EXPECT_SAME_TEXT(dtt_date[i]) << i;
    EXPECT_SAME_TEXT(dtt_time[i]) << i;
  }
  EXPECT_SAME(sw_del); EXPECT_SAME(del_01); EXPECT_SAME(sw_id3); EXPECT_SAME(id3_str);
  EXPECT_SAME_TEXT(id3_spr); EXPECT_SAME(id3_cts); EXPECT_SAME(id3_enc);
}

// A record in which every field differs from its default.
ConversionSettings Unusual() {
  ConversionSettings s(kNow);
  s.sw_tab = 3; s.sw_fnm = 7; s.fnm_01 = false; s.fnm_02 = 2; s.fnm_ipn_sel = 13; s.fnm_ipn2 = 3;
  s.fnm_ipnf = 6; s.fnm_ipng = 129; s.fnm_ipn4 = 2;
  s.sw_kakko = {true, false, true, true, false, false, false, false,
                false, false, false, false, false, false, false, true};
  s.fnm_ipnd = 8; s.fnm_ipne = false; s.fnm_ipn_tgc = 2; s.fnm_znk0 = 1; s.fnm_znk_ctc = 127;
  s.fnm_znk_jcb = 2; s.fnm_ckn0 = 2; s.fnm_ckn1.Assign("\x82\xa0(.*) = \\1"); s.fnm_ckn_tgb = 3;
  s.fnm_ckn4 = 1; s.fnm_ckn5 = true; s.fnm_ckn6.Assign("12"); s.fnm_ckn7 = 0; s.fnm_ckn8 = 2;
  s.fnm_ckn9.Assign("345"); s.fnm_ckna = 2; s.fnm_ckn3.Assign(" $1 "); s.fnm_rnb0 = 1;
  s.fnm_rnb1.Assign("pre"); s.fnm_rnb2.Assign("00100"); s.fnm_rnba.Assign("-12"); s.fnm_rnb3 = 5;
  s.fnm_rnb8 = 1; s.fnm_rnb9.Assign("suf"); s.fnm_rnb_opt = 2; s.fnm_rnb7 = 66; s.fnm_hdk0 = 1;
  s.fnm_hdk1.Assign("day"); s.fnm_hdk_udt = 65; s.fnm_hdk2 = 3; s.fnm_hdk_atw = 3; s.fnm_hdk4 = 2;
  s.fnm_hdkd = 4; s.fnm_hdka.Assign("-"); s.fnm_hdk_rnb = 6; s.fnm_hdkb.Assign("#"); s.fnm_hdk6 = 7;
  s.fnm_hdkg = 3; s.fnm_id31 = {3, 7, 1, 0}; s.fnm_id32.Assign("live"); s.fnm_id33.Assign(" - ");
  s.fnm_id3_opt = 2; s.fnm_usr1.Assign("NAME()"); s.fnm_csv_pth.Assign("Z:\\tmp\\p.csv");
  s.fnm_csv_opt = 3; s.sw_atr = {true, false, true, true}; s.atr_onb = 5; s.sw_dtt = {1, 3, 1, 1, 2};
  s.dtt_date[0].Assign("2011/01/02"); s.dtt_time[0].Assign("01:02:03.456");
  s.dtt_date[1].Assign("2010/10/10"); s.dtt_time[1].Assign("10:10:10");
  s.dtt_date[2].Assign("2012/12/31"); s.dtt_time[2].Assign("23:59:59");
  s.sw_del = {true, true, false}; s.del_01 = 3; s.sw_id3 = {10, 1, 2, 3, 9, 10, 8};
  s.id3_str[0] = "Title"; s.id3_str[3] = "3"; s.id3_str[5] = "\x83\x52\x83\x81\x83\x93\x83\x67";
  s.id3_spr.Assign("+"); s.id3_cts = 6; s.id3_enc = true;
  return s;
}

TEST(ConversionSettingsTest, WrittenKeysReadBackIntoEqualRecord) {
  const ConversionSettings written = Unusual();
  std::string block;
  written.WriteKeys(&block);
  EXPECT_NE(block.find("\nSW_KAKKO = 32781\n"), std::string::npos);
  EXPECT_NE(block.find("\nFNM_ID31 = 3710\n"), std::string::npos);
  EXPECT_NE(block.find("\nSW_ID3 = a1239a8\n"), std::string::npos);

  ConversionSettings read(CalendarTime{1999, 9, 9, 9, 9, 9, 0});
  read.id3_str[1] = "stale";  // an absent string is written empty, and an empty value frees
  EXPECT_EQ(ApplyBlock(&read, block), std::vector<std::string>());

  // The last-write time is not direct, so its date and time were not written and keep the reader's own.
  ConversionSettings expected = written;
  expected.dtt_date[1].Assign("1999/09/09");
  expected.dtt_time[1].Assign("09:09:09");
  ExpectSameSettings(read, expected);
}

TEST(ConversionSettingsTest, DefaultRecordWritesExactBytes) {
  std::string block;
  ConversionSettings(kNow).WriteKeys(&block);
  EXPECT_EQ(block,
            "SW_TAB = 0\nSW_FNM = 0\nFNM_01 = 1\nFNM_02 = 1\nFNM_IPN_SEL = 0\nFNM_IPN2 = 2\nFNM_IPNF = 0\n"
            "FNM_IPNG = 1\nFNM_IPN4 = 1\nSW_KAKKO = 65535\nFNM_IPND = 3\nFNM_IPNE = 1\nFNM_IPN_TGC = 3\n"
            "FNM_ZNK0 = 2\nFNM_ZNK_CTC = 3\nFNM_ZNK_JCB = 1\nFNM_CKN0 = 1\nFNM_CKN1 = \nFNM_CKN_TGB = 0\n"
            "FNM_CKN4 = 0\nFNM_CKN5 = 0\nFNM_CKN6 = 1\nFNM_CKN7 = 1\nFNM_CKN8 = 1\nFNM_CKN9 = 0\n"
            "FNM_CKNA = 1\nFNM_CKN3 = \nFNM_RNB0 = 2\nFNM_RNB1 = \nFNM_RNB2 = 1\nFNM_RNBA = 1\nFNM_RNB3 = 3\n"
            "FNM_RNB8 = 2\nFNM_RNB9 = \nFNM_RNB_OPT = 5\nFNM_RNB7 = 0\nFNM_HDK0 = 2\nFNM_HDK1 = \n"
            "FNM_HDK_UDT = 2\nFNM_HDK2 = 2\nFNM_HDK_ATW = 0\nFNM_HDK4 = 1\nFNM_HDKD = 1\nFNM_HDKA = \n"
            "FNM_HDK_RNB = 11\nFNM_HDKB = _\nFNM_HDK6 = 2\nFNM_HDKG = 0\nFNM_ID31 = 0000\nFNM_ID32 = \n"
            "FNM_ID33 = _\nFNM_ID3_OPT = 1\nFNM_USR1 = \nFNM_CSV_PTH = \nFNM_CSV_OPT = 1\nSW_ATR = 0000\n"
            "ATR_ONB = 11\nSW_DTT = 00000\nSW_DEL = 000\nDEL_01 = 1\nSW_ID3 = 0000000\nID3_STR0 = \n"
            "ID3_STR1 = \nID3_STR2 = \nID3_STR3 = \nID3_STR4 = \nID3_STR5 = \nID3_STR6 = \nID3_SPR = _\n"
            "ID3_CTS = 11\nID3_ENC = 0\n");

  // Direct timestamps add their date and time lines, taken from the construction time, after SW_DTT.
  ConversionSettings direct(kNow);
  direct.sw_dtt = {1, 0, 1, 0, 0};
  block.clear();
  direct.WriteKeys(&block);
  EXPECT_NE(block.find("\nSW_DTT = 10100\nDTT_11 = 2024/03/05\nDTT_12 = 07:08:09\n"
                       "DTT_31 = 2024/03/05\nDTT_32 = 07:08:09\nSW_DEL = 000\n"),
            std::string::npos);
}

TEST(ConversionSettingsTest, SingleValueRules) {
  ConversionSettings s(kNow);
  EXPECT_FALSE(Apply(&s, "SW_FNM = 10"));  // two bytes: not a job line at all
  EXPECT_TRUE(Apply(&s, "SW_FNM = 9"));
  EXPECT_TRUE(Apply(&s, "SW_FNM = x"));
  EXPECT_EQ(s.sw_fnm, 0);
  EXPECT_TRUE(Apply(&s, "SW_FNM = 8"));
  EXPECT_EQ(s.sw_fnm, 8);
  EXPECT_FALSE(Apply(&s, "SW_TAB = "));
  EXPECT_TRUE(Apply(&s, "FNM_IPND = 0"));
  EXPECT_EQ(s.fnm_ipnd, 3);
  EXPECT_TRUE(Apply(&s, "FNM_IPNE = 0"));
  EXPECT_FALSE(s.fnm_ipne);

  EXPECT_TRUE(Apply(&s, "SW_KAKKO = 0"));
  EXPECT_EQ(s.sw_kakko, settings_internal::AllFlags<16>(true));
  EXPECT_TRUE(Apply(&s, "SW_KAKKO = 5"));
  EXPECT_TRUE(s.sw_kakko[0] && !s.sw_kakko[1] && s.sw_kakko[2]);
  for (int k = 3; k < 16; ++k) EXPECT_FALSE(s.sw_kakko[k]) << k;
  EXPECT_TRUE(Apply(&s, "SW_KAKKO = 65536"));
  EXPECT_FALSE(Apply(&s, "SW_KAKKO = 100000"));
  EXPECT_TRUE(s.sw_kakko[2] && !s.sw_kakko[3]);
  EXPECT_TRUE(Apply(&s, "SW_KAKKO = 65535"));
  EXPECT_EQ(s.sw_kakko, settings_internal::AllFlags<16>(true));

  EXPECT_TRUE(Apply(&s, "FNM_IPNF = 4"));
  EXPECT_TRUE(Apply(&s, "FNM_IPNG = 128"));
  EXPECT_EQ(s.fnm_ipnf, 0);
  EXPECT_EQ(s.fnm_ipng, 1);
  EXPECT_TRUE(Apply(&s, "FNM_IPNF = 6"));
  EXPECT_TRUE(Apply(&s, "FNM_IPNG = 129"));
  EXPECT_EQ(s.fnm_ipnf, 6);
  EXPECT_EQ(s.fnm_ipng, 129);

  for (const char* line : {"FNM_RNB7 = 5", "FNM_RNB7 = 69", "FNM_RNB7 = -1", "FNM_HDK_UDT = 4",
                           "FNM_HDK_UDT = 0", "FNM_HDK_UDT = 67", "FNM_CSV_OPT = 4", "ATR_ONB = 16"}) {
    EXPECT_TRUE(Apply(&s, line)) << line;
  }
  EXPECT_EQ(s.fnm_rnb7, 0);
  EXPECT_EQ(s.fnm_hdk_udt, 2);
  EXPECT_EQ(s.fnm_csv_opt, 1);
  EXPECT_EQ(s.atr_onb, 11);
  EXPECT_TRUE(Apply(&s, "FNM_RNB7 = 68"));
  EXPECT_TRUE(Apply(&s, "FNM_HDK_UDT = 66"));
  EXPECT_EQ(s.fnm_rnb7, 68);
  EXPECT_EQ(s.fnm_hdk_udt, 66);
}

TEST(ConversionSettingsTest, TextRules) {
  ConversionSettings s(kNow);
  EXPECT_TRUE(Apply(&s, "FNM_CKN1 = " + std::string(200, 'a')));
  EXPECT_FALSE(Apply(&s, "FNM_CKN1 = " + std::string(201, 'b')));
  EXPECT_EQ(s.fnm_ckn1.view(), std::string(200, 'a'));
  EXPECT_FALSE(Apply(&s, "FNM_HDKA = 123456789"));
  EXPECT_TRUE(Apply(&s, "FNM_CSV_PTH = " + std::string(260, 'p')));
  EXPECT_EQ(s.fnm_csv_pth.size(), 260u);

  EXPECT_TRUE(Apply(&s, "FNM_CKN6 = 1a"));
  EXPECT_FALSE(Apply(&s, "FNM_CKN6 = 1234"));
  EXPECT_EQ(s.fnm_ckn6.view(), "1");
  EXPECT_TRUE(Apply(&s, "FNM_CKN6 = "));
  EXPECT_EQ(s.fnm_ckn6.view(), "");
  EXPECT_TRUE(Apply(&s, "FNM_RNB2 = 12345"));
  EXPECT_FALSE(Apply(&s, "FNM_RNB2 = 123456"));
  EXPECT_EQ(s.fnm_rnb2.view(), "12345");

  EXPECT_TRUE(Apply(&s, "FNM_RNBA = -5"));
  EXPECT_EQ(s.fnm_rnba.view(), "-5");
  EXPECT_TRUE(Apply(&s, "FNM_RNBA = 0"));
  EXPECT_TRUE(Apply(&s, "FNM_RNBA = 5-"));
  EXPECT_TRUE(Apply(&s, "FNM_RNBA = -"));
  EXPECT_FALSE(Apply(&s, "FNM_RNBA = -100"));
  EXPECT_EQ(s.fnm_rnba.view(), "-5");
  EXPECT_TRUE(Apply(&s, "FNM_RNBA = 99"));
  EXPECT_EQ(s.fnm_rnba.view(), "99");

  EXPECT_TRUE(Apply(&s, "ID3_STR7 = x"));
  EXPECT_TRUE(Apply(&s, "ID3_STR22 = x"));
  EXPECT_EQ(s.id3_str, (std::array<std::optional<std::string>, 7>{}));
  EXPECT_TRUE(Apply(&s, "ID3_STR2 = " + std::string(100, 'y')));
  EXPECT_FALSE(Apply(&s, "ID3_STR2 = " + std::string(101, 'z')));
  EXPECT_EQ(s.id3_str[2], std::string(100, 'y'));
  EXPECT_TRUE(Apply(&s, "ID3_STR2 = "));
  EXPECT_FALSE(s.id3_str[2].has_value());
}

TEST(ConversionSettingsTest, MultiValueRules) {
  ConversionSettings s(kNow);
  EXPECT_TRUE(Apply(&s, "FNM_ID31 = 1020"));
  EXPECT_TRUE(Apply(&s, "FNM_ID31 = 8000"));
  EXPECT_FALSE(Apply(&s, "FNM_ID31 = 120"));
  EXPECT_EQ(s.fnm_id31, (std::array<std::int16_t, 4>{0, 0, 0, 0}));
  EXPECT_TRUE(Apply(&s, "FNM_ID31 = 1200"));
  EXPECT_EQ(s.fnm_id31, (std::array<std::int16_t, 4>{1, 2, 0, 0}));

  s.sw_id3 = {5, 5, 5, 5, 5, 5, 5};
  EXPECT_TRUE(Apply(&s, "SW_ID3 = 0a00000"));
  EXPECT_EQ(s.sw_id3[1], 10);
  EXPECT_TRUE(Apply(&s, "SW_ID3 = 0b1234A"));
  EXPECT_EQ(s.sw_id3, (std::array<std::int16_t, 7>{0, 10, 1, 2, 3, 4, 10}));
  EXPECT_FALSE(Apply(&s, "SW_ID3 = 000000"));

  EXPECT_TRUE(Apply(&s, "SW_DTT = 51013"));
  EXPECT_TRUE(Apply(&s, "SW_DTT = 6x224"));  // bytes 1, 2 and 5 out of range, 3 and 4 stored
  EXPECT_EQ(s.sw_dtt, (std::array<std::int16_t, 5>{5, 1, 2, 1, 3}));
  EXPECT_TRUE(Apply(&s, "SW_DTT = 000"));
  EXPECT_EQ(s.sw_dtt, (std::array<std::int16_t, 5>{0, 0, 0, 1, 3}));
  EXPECT_FALSE(Apply(&s, "SW_DTT = 0000"));

  EXPECT_TRUE(Apply(&s, "SW_ATR = 1x01"));
  EXPECT_EQ(s.sw_atr, (std::array<bool, 4>{true, false, false, true}));
  EXPECT_FALSE(Apply(&s, "SW_ATR = 111"));
  EXPECT_TRUE(Apply(&s, "SW_DEL = 111"));
  EXPECT_TRUE(Apply(&s, "SW_DEL = 02"));
  EXPECT_EQ(s.sw_del, (std::array<bool, 3>{false, false, true}));
  EXPECT_FALSE(Apply(&s, "SW_DEL = 1111"));

  EXPECT_TRUE(Apply(&s, "DTT_21 = 2012:02:29"));
  EXPECT_TRUE(Apply(&s, "DTT_21 = 2013/02/29"));
  EXPECT_FALSE(Apply(&s, "DTT_21 = 2013/2/28"));
  EXPECT_EQ(s.dtt_date[1].view(), "2012:02:29");
  EXPECT_TRUE(Apply(&s, "DTT_32 = 12:34:56.789"));
  EXPECT_TRUE(Apply(&s, "DTT_32 = 24:00:00"));
  EXPECT_FALSE(Apply(&s, "DTT_32 = 12:34:56.7"));
  EXPECT_EQ(s.dtt_time[2].view(), "12:34:56.789");
  EXPECT_FALSE(Apply(&s, "DTT_41 = 2012/02/29"));
  EXPECT_FALSE(Apply(&s, "DTT_13 = 2012/02/29"));
}

TEST(ConversionSettingsTest, LegacyKeysApplyInFileOrder) {
  ConversionSettings s(kNow);
  EXPECT_TRUE(Apply(&s, "FNM_IPN_SEL = 0"));
  EXPECT_TRUE(Apply(&s, "FNM_IPN3 = 1"));
  EXPECT_TRUE(Apply(&s, "FNM_IPNC = 1"));
  EXPECT_EQ(s.fnm_ipn_sel, 12);
  EXPECT_TRUE(Apply(&s, "FNM_IPN3 = 0"));
  EXPECT_TRUE(Apply(&s, "FNM_IPNC = 2"));  // neither on nor off
  EXPECT_FALSE(Apply(&s, "FNM_IPNC = 00"));
  EXPECT_EQ(s.fnm_ipn_sel, 8);
  EXPECT_TRUE(Apply(&s, "FNM_IPN_SEL = 1"));
  EXPECT_EQ(s.fnm_ipn_sel, 1);

  s.fnm_znk_ctc = s.fnm_znk_jcb = s.fnm_hdk_rnb = s.fnm_id3_opt = s.fnm_rnb_opt = 0;
  for (const char* key : {"FNM_ZNK7", "FNM_ZNK8", "FNM_HDKF", "FNM_ID35", "FNM_RNB6"}) {
    EXPECT_TRUE(Apply(&s, std::string(key) + " = 1"));
  }
  EXPECT_EQ(s.fnm_znk_ctc, 64);
  EXPECT_EQ(s.fnm_znk_jcb, 2);
  EXPECT_EQ(s.fnm_hdk_rnb, 8);
  EXPECT_EQ(s.fnm_id3_opt, 2);
  EXPECT_EQ(s.fnm_rnb_opt, 4);

  // The old date switch only ever adds a bit; the Exif switch sets and clears bit 64.
  s.fnm_hdk_udt = 64;
  EXPECT_TRUE(Apply(&s, "FNM_HDK8 = 0"));
  EXPECT_EQ(s.fnm_hdk_udt, 66);
  EXPECT_TRUE(Apply(&s, "FNM_HDK8 = 1"));
  EXPECT_TRUE(Apply(&s, "FNM_HDK9 = 0"));
  EXPECT_EQ(s.fnm_hdk_udt, 3);

  // The attribute switches clear with "2" and ignore "0".
  s.atr_onb = 0;
  EXPECT_TRUE(Apply(&s, "ATR_41 = 1"));
  EXPECT_TRUE(Apply(&s, "ATR_21 = 1"));
  EXPECT_TRUE(Apply(&s, "ATR_41 = 0"));
  EXPECT_EQ(s.atr_onb, 10);
  EXPECT_TRUE(Apply(&s, "ATR_41 = 2"));
  EXPECT_EQ(s.atr_onb, 2);
}

TEST(ConversionSettingsTest, OtherKeysAreNotJobKeys) {
  ConversionSettings s(kNow);
  for (const char* key : {"WINX", "sw_tab", "SW_TABX", "FNM_IPN", "ATR_51", "DTT_1", ""}) {
    EXPECT_FALSE(ParseKey(&s, key, "1", 1, 1)) << key;
  }
  // A length that disagrees with the text is refused rather than trusted.
  EXPECT_FALSE(ParseKey(&s, "FNM_CKN1", "abc", 0, 200));
  EXPECT_FALSE(ParseKey(&s, "SW_TAB", "", 0, 1));
  EXPECT_EQ(s.fnm_ckn1.view(), "");
}

TEST(ConversionSettingsTest, ConstructionAndClone) {
  const ConversionSettings fixed(kNow);
  EXPECT_EQ(fixed.dtt_date[2].view(), "2024/03/05");
  EXPECT_EQ(fixed.dtt_time[0].view(), "07:08:09");
  const ConversionSettings clocked;
  EXPECT_TRUE(validate_date_time(clocked.dtt_date[1].view(), clocked.dtt_time[1].view(), false));

  const ConversionSettings original = Unusual();
  std::unique_ptr<ConversionSettings> copy = original.Clone();
  ASSERT_NE(copy, nullptr);
  ExpectSameSettings(*copy, original);
  copy->id3_str[0]->append("!");
  EXPECT_EQ(*original.id3_str[0], "Title");
}

}  // namespace
}  // namespace morva
