#include "settings/settings_file.h"

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace morva {
namespace {

constexpr CalendarTime kNow{2024, 3, 5, 7, 8, 9, 0};
// A 1920 x 1080 desktop with a 700 x 500 main window.
constexpr DesktopGeometry kDesktop{1920, 1080, 700, 500};
constexpr std::string_view kHeader = "MORVA Settings Version 6 \n\n";

AppSettings DefaultApp() {
  AppSettings app;
  app.CentreWindows(kDesktop.right, kDesktop.bottom, kDesktop.main_width, kDesktop.main_height);
  return app;
}

// Reads `lines` after a valid header into fresh default records.
struct Loaded {
  ConversionSettings job{kNow};
  AppSettings app = DefaultApp();
  SettingsReadResult result;
};
Loaded Load(std::string_view lines) {
  Loaded loaded;
  loaded.result = ParseSettingsText(std::string(kHeader) + std::string(lines), kDesktop, &loaded.job, &loaded.app);
  return loaded;
}

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

#define EXPECT_SAME(field) EXPECT_EQ(a.field, b.field) << #field
#define EXPECT_SAME_TEXT(field) EXPECT_EQ(a.field.view(), b.field.view()) << #field

void ExpectSameApp(const AppSettings& a, const AppSettings& b) {
  EXPECT_SAME(set_0); EXPECT_SAME(dirfil); EXPECT_SAME(sw_set); EXPECT_SAME_TEXT(set_11);
  EXPECT_SAME_TEXT(set_12); EXPECT_SAME_TEXT(set_dt1); EXPECT_SAME_TEXT(set_dt2); EXPECT_SAME(set_dts);
  EXPECT_SAME(pref); EXPECT_SAME(cpyf); EXPECT_SAME_TEXT(cpdir); EXPECT_SAME(cpovw); EXPECT_SAME(sw_pre);
  EXPECT_SAME(sw_opt); EXPECT_SAME(opt_1); EXPECT_SAME(opt_2); EXPECT_SAME(opt_3);
  EXPECT_SAME(winx); EXPECT_SAME(winy);
  EXPECT_SAME(prew); EXPECT_SAME(preh); EXPECT_SAME(prex); EXPECT_SAME(prey); EXPECT_SAME(prem); EXPECT_SAME(prec);
  EXPECT_SAME(lulw); EXPECT_SAME(lulh); EXPECT_SAME(lulx); EXPECT_SAME(luly); EXPECT_SAME(lulm); EXPECT_SAME(lulc);
  EXPECT_SAME(trew); EXPECT_SAME(treh); EXPECT_SAME(trex); EXPECT_SAME(trey); EXPECT_SAME(trec);
}

// Application settings in which every field differs from its default and obeys the read rules.
AppSettings UnusualApp() {
  AppSettings app = DefaultApp();
  app.set_0 = 2;
  for (std::size_t i = 0; i < app.dirfil.size(); ++i) app.dirfil[i] = "Z:\\home\\\x83\x5c" + std::to_string(i);
  app.sw_set = {false, true, true, true, false, true, true, false, false, false, false, false};
  app.set_11.Assign("*.\x83\x5cjpg");
  app.set_12.Assign("*.mp3\t\x83\x7c?.txt\t*");
  app.set_dt1.Assign("2001/02/03 04:05:06");
  app.set_dt2.Assign("2011/12/13 14:15:16");
  app.set_dts = 3;
  app.pref = false;
  app.cpyf = true;
  app.cpdir.Assign("Z:\\tmp\\out");
  app.cpovw = true;
  app.sw_pre = {true, false, true, true};
  app.sw_opt = {false, true, true, true, true, true, true, true, true, true, true, true, true, false, false, true};
  app.opt_1 = 40;
  app.opt_2 = 3;
  app.opt_3 = 0;
  app.winx = 11;
  app.winy = 12;
  app.prew = 800, app.preh = 300, app.prex = 13, app.prey = 14, app.prem = true;
  app.prec = {1, 2, 3, 4, 5, 6, 7, 9999};
  app.lulw = 700, app.lulh = 500, app.lulx = 15, app.luly = 16, app.lulm = true;
  app.lulc = {1, 2, 3, 999};
  app.trew = 400, app.treh = 250, app.trex = 17, app.trey = 18;
  app.trec = {1, 2, 3, 4, 5, 999};
  return app;
}

ConversionSettings UnusualJob() {
  ConversionSettings job(kNow);
  job.sw_tab = 2;
  job.sw_fnm = 4;
  job.fnm_ckn1.Assign("a = b");  // a separator inside a value is part of the value
  job.fnm_rnba.Assign("-3");
  job.sw_kakko[1] = false;
  job.sw_atr = {false, true, false, false};
  job.sw_dtt = {0, 1, 4, 1, 3};
  job.dtt_date[1].Assign("2000/02/29");
  job.dtt_time[1].Assign("23:59:58.123");
  job.sw_del = {true, false, true};
  job.sw_id3 = {10, 0, 0, 0, 0, 0, 7};
  job.id3_str[0] = "\x83\x5e\x83\x43\x83\x67\x83\x8b";
  job.id3_cts = 5;
  return job;
}

TEST(SettingsFileTest, WrittenFileReadsBackIntoBothRecords) {
  const AppSettings app = UnusualApp();
  const ConversionSettings job = UnusualJob();
  const std::string text = FormatSettingsText(job, app);

  // A reader whose records were built at another time and hold other defaults.
  ConversionSettings read_job(CalendarTime{1999, 9, 9, 9, 9, 9, 0});
  read_job.id3_str[3] = "stale";
  AppSettings read_app = DefaultApp();
  const SettingsReadResult result = ParseSettingsText(text, kDesktop, &read_job, &read_app);
  EXPECT_TRUE(result.recognised);
  EXPECT_EQ(result.lines_skipped, 0);
  ExpectSameApp(read_app, app);

  // Only the direct last-write time was written; the creation and last-access dates and times keep
  // the reader's construction time, and an absent ID3 string comes back absent.
  ConversionSettings expected_job = job;
  for (std::size_t i : {0u, 2u}) {
    expected_job.dtt_date[i].Assign("1999/09/09");
    expected_job.dtt_time[i].Assign("09:09:09");
  }
  std::string expected_block, read_block;
  expected_job.WriteKeys(&expected_block);
  read_job.WriteKeys(&read_block);
  EXPECT_EQ(read_block, expected_block);
  EXPECT_EQ(read_job.dtt_date[0].view(), "1999/09/09");
  EXPECT_FALSE(read_job.id3_str[3].has_value());

  EXPECT_TRUE(result.job_kinds.name);
  EXPECT_TRUE(result.job_kinds.attributes);
  EXPECT_TRUE(result.job_kinds.times);
  EXPECT_TRUE(result.job_kinds.deletion);
  EXPECT_TRUE(result.job_kinds.id3);

  // All sixteen history slots are written under their own keys.
  EXPECT_NE(text.find("\nDIRFIL = Z:\\home\\\x83\x5c" "0\nDIRFIL1 = "), std::string::npos);
  EXPECT_NE(text.find("\nDIRFIL9 = Z:\\home\\\x83\x5c" "9\nDIRFILA = "), std::string::npos);
  EXPECT_NE(text.find("\nDIRFILF = Z:\\home\\\x83\x5c" "15\nWINX = 11\n"), std::string::npos);
}

TEST(SettingsFileTest, DefaultFileBytes) {
  const ConversionSettings job(kNow);
  std::string block;
  job.WriteKeys(&block);
  const std::string expected = std::string(kHeader) +
                               "WINX = 610\nWINY = 290\n\n"
                               "PREF = 1\nCPYF = 0\n"
                               "PREW = 600\nPREH = 400\nPREX = 660\nPREY = 340\nPREM = 0\n"
                               "PREC0 = 50\nPREC1 = 320\nPREC2 = 60\nPREC3 = 180\nPREC4 = 80\nPREC5 = 200\n"
                               "PREC6 = 200\nPREC7 = 320\n\n"
                               "LULW = 640\nLULH = 480\nLULX = 640\nLULY = 300\nLULM = 0\n"
                               "LULC0 = 120\nLULC1 = 70\nLULC2 = 120\nLULC3 = 100\n\n"
                               "TREW = 480\nTREH = 320\nTREX = 0\nTREY = 0\n"
                               "TREC0 = 160\nTREC1 = 50\nTREC2 = 60\nTREC3 = 120\nTREC4 = 120\nTREC5 = 120\n\n"
                               "SW_OPT = 1010000000000000\nOPT_1 = 10\nOPT_2 = 2\nOPT_3 = 256\n"
                               "SW_SET = 110000000000\nSET_0 = 1\nSET_11 = \nSET_12 = \n"
                               "SET_DT1 = \nSET_DT2 = \nSET_DTS = 0\nCPDIR = \nCPOVW = 0\nSW_PRE = 0000\n" +
                               block;
  EXPECT_EQ(FormatSettingsText(job, DefaultApp()), expected);
  EXPECT_EQ(block.substr(0, 11), "SW_TAB = 0\n");

  // Without "keep the job for the next start" only the program options are written.
  AppSettings app = UnusualApp();
  app.sw_opt = {true, true, false, true};
  EXPECT_EQ(FormatSettingsText(UnusualJob(), app),
            std::string(kHeader) + "SW_OPT = 1101000000000000\nOPT_1 = 40\nOPT_2 = 3\nOPT_3 = 0\n");
}

TEST(SettingsFileTest, HeaderDecidesWhetherTheFileIsRead) {
  struct Case {
    std::string_view header;
    bool recognised;
  };
  const Case cases[] = {
      {"MORVA Settings Version 6 \n", true},
      {"MORVA Settings Version 7 \n", true},  // the version number is not compared
      {"MORVA Settings Version 6.1b\r\n", true},
      {"MORVA Settings Version \n", true},
      {"MORVA settings Version 6 \n", false},
      {"MORVA Settings version 6 \n", false},
      {"MORVA Settings Version\n", false},
      {"morva.dat\n", false},
      {"\n", false},
  };
  for (const Case& c : cases) {
    ConversionSettings job(kNow);
    AppSettings app = DefaultApp();
    const std::string text = std::string(c.header) + "OPT_1 = 5\nSW_FNM = 3\n";
    const SettingsReadResult result = ParseSettingsText(text, kDesktop, &job, &app);
    EXPECT_EQ(result.recognised, c.recognised) << c.header;
    EXPECT_EQ(app.opt_1, c.recognised ? 5 : 10) << c.header;
    EXPECT_EQ(job.sw_fnm, c.recognised ? 3 : 0) << c.header;
    EXPECT_EQ(result.job_kinds.name, c.recognised) << c.header;
  }

  // An empty file, or one that begins with key lines, leaves every default standing.
  for (std::string_view text : {std::string_view(), std::string_view("OPT_1 = 5\nOPT_1 = 6\n")}) {
    ConversionSettings job(kNow);
    AppSettings app = DefaultApp();
    EXPECT_FALSE(ParseSettingsText(text, kDesktop, &job, &app).recognised);
    EXPECT_EQ(app.opt_1, 10);
  }
}

TEST(SettingsFileTest, LineForms) {
  // Keys are upper-cased; the separator must be " = "; CR LF and a last line without a break are read.
  Loaded crlf = Load("\r\nopt_1 = 7\r\nSet_11 = *.jpg\r\n\r\nOPT_2=3\nOPT_3 =5\nPREF = 0");
  EXPECT_EQ(crlf.app.opt_1, 7);
  EXPECT_EQ(crlf.app.set_11.view(), "*.jpg");
  EXPECT_EQ(crlf.app.opt_2, 2);
  EXPECT_EQ(crlf.app.opt_3, 256);
  EXPECT_FALSE(crlf.app.pref);
  EXPECT_EQ(crlf.result.lines_applied, 3);
  EXPECT_EQ(crlf.result.lines_skipped, 2);  // blank lines are not counted

  // The value is everything after the first separator, blanks included.
  Loaded value = Load("SET_11 = a = b \nCPDIR =  Z:\\x\n");
  EXPECT_EQ(value.app.set_11.view(), "a = b ");
  EXPECT_EQ(value.app.cpdir.view(), " Z:\\x");

  // The key may be 16 bytes at most: every ID3_STR... key is a job key, so only the length can refuse it.
  Loaded keys = Load("ID3_STR012345678 = x\nID3_STR0123456789 = x\n");
  EXPECT_EQ(keys.result.lines_applied, 1);
  EXPECT_EQ(keys.result.lines_skipped, 1);

  // A line is at most 1019 bytes with its break; a longer one is skipped whole, not in pieces.
  const std::string longest = "OPT_3 = " + Repeat('0', 1009) + "7\n";
  const std::string too_long = "OPT_3 = " + Repeat('0', 1010) + "8\nSET_11 = x\n";
  EXPECT_EQ(Load(longest).app.opt_3, 7);
  Loaded skipped = Load(too_long);
  EXPECT_EQ(skipped.app.opt_3, 256);
  EXPECT_EQ(skipped.app.set_11.view(), "x");

  // Unknown, malformed and NUL-holding lines change nothing.
  Loaded junk = Load("FOO = 1\n = 1\nPREF\nPREF = \nPREF = 0" + std::string(1, '\0') + "\nSW_SET = 1111\nx\n");
  ExpectSameApp(junk.app, DefaultApp());
  EXPECT_EQ(junk.result.lines_applied, 0);
  EXPECT_EQ(junk.result.lines_skipped, 7);
}

TEST(SettingsFileTest, ApplicationKeyRules) {
  struct Case {
    std::string_view line;
    std::function<int(const AppSettings&)> field;
    int expected;
  };
  auto winx = [](const AppSettings& a) { return a.winx; };
  auto prew = [](const AppSettings& a) { return a.prew; };
  auto prex = [](const AppSettings& a) { return a.prex; };
  auto opt_1 = [](const AppSettings& a) { return int{a.opt_1}; };
  auto opt_3 = [](const AppSettings& a) { return int{a.opt_3}; };
  const Case cases[] = {
      // Positions: digits only, kept on the desktop (main window 700 x 500 on 1920 x 1080).
      {"WINX = 5000", winx, 1220},
      {"WINX = 100", winx, 100},
      {"WINX = 99999999999999999999", winx, 1220},
      {"WINX = ", winx, 610},
      {"WINX = -5", winx, 610},
      {"WINX = 12a", winx, 610},
      {"WINY = 900", [](const AppSettings& a) { return a.winy; }, 580},
      {"PREX = 1500", prex, 1320},
      {"PREX = 0", prex, 0},
      {"PREY = 700", [](const AppSettings& a) { return a.prey; }, 680},
      {"LULX = 1500", [](const AppSettings& a) { return a.lulx; }, 1280},
      {"LULY = 600", [](const AppSettings& a) { return a.luly; }, 600},
      {"TREX = 1800", [](const AppSettings& a) { return a.trex; }, 1440},
      {"TREY = 1000", [](const AppSettings& a) { return a.trey; }, 760},
      // A window wider than the desktop starts at its left edge: a negative position would be written
      // and then refused at the next start.
      {"PREW = 9999\nPREX = 12", prex, 0},
      // Sizes: at least 3 bytes, within bounds.
      {"PREW = 599", prew, 600},
      {"PREW = 10000", prew, 600},
      {"PREW = 0700", prew, 700},
      {"PREW = 9999", prew, 9999},
      {"PREH = 240", [](const AppSettings& a) { return a.preh; }, 240},
      {"PREH = 239", [](const AppSettings& a) { return a.preh; }, 400},
      {"LULW = 479", [](const AppSettings& a) { return a.lulw; }, 640},
      {"LULW = 480", [](const AppSettings& a) { return a.lulw; }, 480},
      {"LULH = 360", [](const AppSettings& a) { return a.lulh; }, 360},
      {"LULH = 359", [](const AppSettings& a) { return a.lulh; }, 480},
      {"TREW = 359", [](const AppSettings& a) { return a.trew; }, 480},
      {"TREW = 360", [](const AppSettings& a) { return a.trew; }, 360},
      {"TREH = 240", [](const AppSettings& a) { return a.treh; }, 240},
      {"TREH = 99", [](const AppSettings& a) { return a.treh; }, 320},
      // Column widths: under 5 (preview) or 4 bytes, at least 1.
      {"PREC0 = 1234", [](const AppSettings& a) { return a.prec[0]; }, 1234},
      {"PREC3 = 12345", [](const AppSettings& a) { return a.prec[3]; }, 180},
      {"PREC2 = 0", [](const AppSettings& a) { return a.prec[2]; }, 60},
      {"LULC3 = 999", [](const AppSettings& a) { return a.lulc[3]; }, 999},
      {"LULC3 = 1000", [](const AppSettings& a) { return a.lulc[3]; }, 100},
      {"TREC5 = 999", [](const AppSettings& a) { return a.trec[5]; }, 999},
      {"TREC5 = 1000", [](const AppSettings& a) { return a.trec[5]; }, 120},
      // Switches.
      {"PREF = 0", [](const AppSettings& a) { return int{a.pref}; }, 0},
      {"PREF = 2", [](const AppSettings& a) { return int{a.pref}; }, 1},
      {"CPYF = 1", [](const AppSettings& a) { return int{a.cpyf}; }, 1},
      {"CPYF = 11", [](const AppSettings& a) { return int{a.cpyf}; }, 0},
      {"PREM = 1", [](const AppSettings& a) { return int{a.prem}; }, 1},
      {"PREM = 2", [](const AppSettings& a) { return int{a.prem}; }, 0},
      {"LULM = 7", [](const AppSettings& a) { return int{a.lulm}; }, 1},
      {"LULM = 10", [](const AppSettings& a) { return int{a.lulm}; }, 0},
      {"CPOVW = 1", [](const AppSettings& a) { return int{a.cpovw}; }, 1},
      // Program options and target settings numbers.
      {"OPT_1 = 40", opt_1, 40},
      {"OPT_1 = 41", opt_1, 10},
      {"OPT_1 = 0", opt_1, 10},
      {"OPT_1 = 005", opt_1, 10},
      {"OPT_2 = 3", [](const AppSettings& a) { return int{a.opt_2}; }, 3},
      {"OPT_2 = 4", [](const AppSettings& a) { return int{a.opt_2}; }, 2},
      {"OPT_2 = 03", [](const AppSettings& a) { return int{a.opt_2}; }, 2},
      {"OPT_3 = 2048", opt_3, 2048},
      {"OPT_3 = 2049", opt_3, 256},
      {"OPT_3 = 0", opt_3, 0},
      {"OPT_3 = -1", opt_3, 256},
      {"SET_0 = 2", [](const AppSettings& a) { return int{a.set_0}; }, 2},
      {"SET_0 = 3", [](const AppSettings& a) { return int{a.set_0}; }, 1},
      {"SET_0 = 02", [](const AppSettings& a) { return int{a.set_0}; }, 1},
      {"SET_DTS = 3", [](const AppSettings& a) { return int{a.set_dts}; }, 3},
      {"SET_DTS = 4", [](const AppSettings& a) { return int{a.set_dts}; }, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.field(Load(std::string(c.line) + "\n").app), c.expected) << c.line;
  }

  // Positions are placed with the sizes read before them.
  EXPECT_EQ(Load("PREW = 1000\nPREX = 1500\n").app.prex, 920);
  EXPECT_EQ(Load("TREH = 900\nTREY = 500\n").app.trey, 180);

  struct TextCase {
    std::string line;
    std::function<std::string_view(const AppSettings&)> field;
    std::string_view expected;
  };
  auto set_11 = [](const AppSettings& a) { return a.set_11.view(); };
  auto set_12 = [](const AppSettings& a) { return a.set_12.view(); };
  auto set_dt1 = [](const AppSettings& a) { return a.set_dt1.view(); };
  auto cpdir = [](const AppSettings& a) { return a.cpdir.view(); };
  const std::string w80 = Repeat('w', 80);
  const std::string w81 = Repeat('w', 81);
  std::string history648;
  for (int i = 0; i < 8; ++i) history648 += w80 + "\t";
  const std::string path259 = "Z:\\" + Repeat('p', 256);
  const TextCase text_cases[] = {
      {"SET_11 = " + w80, set_11, w80},
      {"SET_11 = " + w81, set_11, ""},
      {"SET_12 = " + history648, set_12, history648},
      {"SET_12 = " + history648 + "w", set_12, ""},
      {"SET_12 = *.a\t" + w81, set_12, ""},
      {"SET_12 = *.a\t\t?.b", set_12, "*.a\t\t?.b"},
      // The second byte of a double-byte character is no backslash or vertical bar.
      {"SET_12 = \x83\x5c*.mp3\t\x83\x7c", set_12, "\x83\x5c*.mp3\t\x83\x7c"},
      {"SET_12 = *.a\ta\\b", set_12, ""},
      {"SET_12 = a/b", set_12, ""},
      {"SET_12 = a:b", set_12, ""},
      {"SET_12 = a\"b", set_12, ""},
      {"SET_12 = a<b", set_12, ""},
      {"SET_12 = a>b", set_12, ""},
      {"SET_12 = a|b", set_12, ""},
      {"SET_12 = a\x1f" "b", set_12, ""},
      {"SET_DT1 = 2001/02/03 04:05:06", set_dt1, "2001/02/03 04:05:06"},
      {"SET_DT1 = 2001/02/03 04:05:0", set_dt1, ""},
      {"SET_DT2 = 2001/02/03 04:05:06x", [](const AppSettings& a) { return a.set_dt2.view(); }, ""},
      {"CPDIR = " + path259, cpdir, path259},
      {"CPDIR = " + path259 + "p", cpdir, ""},
      {"CPDIR = Z:", cpdir, ""},
      {"CPDIR = Z:\\", cpdir, "Z:\\"},
      // The first directory wins; an empty one is no directory and leaves room for the next.
      {"CPDIR = Z:\\a\nCPDIR = Z:\\b", cpdir, "Z:\\a"},
      {"CPDIR = \nCPDIR = Z:\\b", cpdir, "Z:\\b"},
  };
  for (const TextCase& c : text_cases) {
    EXPECT_EQ(c.field(Load(c.line + "\n").app), c.expected) << c.line;
  }

  // Flag strings.
  using Opt = std::array<bool, 16>;
  EXPECT_EQ(Load("SW_OPT = 0101010101010101\n").app.sw_opt,
            (Opt{false, true, false, true, false, true, false, true, false, true, false, true, false, true, false, true}));
  AppSettings twelve = DefaultApp();
  twelve.sw_opt.fill(true);
  ConversionSettings job(kNow);
  ParseSettingsText(std::string(kHeader) + "SW_OPT = 000000000000\n", kDesktop, &job, &twelve);
  EXPECT_EQ(twelve.sw_opt, (Opt{false, false, false, false, false, false, false, false, false, false, false, false,
                                true, true, true, true}));
  for (std::string_view refused : {"SW_OPT = 0000000000000\n", "SW_OPT = 000000000000000x\n", "SW_OPT = \n"}) {
    EXPECT_EQ(Load(refused).app.sw_opt, DefaultApp().sw_opt) << refused;
  }
  EXPECT_EQ(Load("SW_PRE = 1011\n").app.sw_pre, (std::array<bool, 4>{true, false, true, true}));
  EXPECT_EQ(Load("SW_PRE = 10110\n").app.sw_pre, DefaultApp().sw_pre);
  EXPECT_EQ(Load("SW_PRE = 1x11\n").app.sw_pre, DefaultApp().sw_pre);
  EXPECT_EQ(Load("SW_SET = 11111111111\n").app.sw_set, DefaultApp().sw_set);
  EXPECT_EQ(Load("SW_SET = 00000000000a\n").app.sw_set, DefaultApp().sw_set);
}

TEST(SettingsFileTest, TargetOptionsDependOnEachOther) {
  struct Case {
    std::string_view value;
    std::string_view stored;
  };
  const Case cases[] = {
      {"000110000000", "000110000000"},  // the directory itself needs "directories too", which is on
      {"000010100000", "000000000000"},  // ... and without it the directory itself and "only" are cleared
      {"000011000000", "000001000000"},  // the directory itself is cleared first, so the wildcard stays
      {"000111000000", "000110000000"},  // no wildcard on the directory itself
      {"000100100000", "000100100000"},
      {"000100011000", "000100000000"},  // Exif and ID3 filters are for files only
      {"000000011000", "000000010000"},  // only one of them
      {"000000001000", "000000001000"},
      {"111111111111", "111110100111"},
  };
  for (const Case& c : cases) {
    const AppSettings app = Load("SW_SET = " + std::string(c.value) + "\n").app;
    std::string stored;
    for (bool flag : app.sw_set) stored.push_back(flag ? '1' : '0');
    EXPECT_EQ(stored, c.stored) << c.value;
  }
}

TEST(SettingsFileTest, TargetPathHistory) {
  // Slots are filled by their keys, the first line for a slot wins, and the gaps close in slot order.
  const AppSettings app = Load(
                              "DIRFILB = Z:\\b\n"
                              "DIRFIL3 = Z:\\3\n"
                              "dirfil = Z:\\0\n"
                              "DIRFIL3 = Z:\\again\n"
                              "DIRFILG = Z:\\g\n"
                              "DIRFIL10 = Z:\\10\n"
                              "DIRFIL0 = Z:\\zero\n"
                              "DIRFIL5 = Z:\n"
                              "DIRFIL6 = \n"
                              "DIRFIL6 = Z:\\6\n"
                              "DIRFILF = Z:\\" + Repeat('f', 256) + "\n"
                              "DIRFILE = Z:\\" + Repeat('e', 257) + "\n")
                              .app;
  const std::vector<std::string> expected = {"Z:\\0", "Z:\\3", "Z:\\6", "Z:\\b", "Z:\\" + Repeat('f', 256)};
  for (std::size_t i = 0; i < app.dirfil.size(); ++i) {
    if (i < expected.size()) {
      ASSERT_TRUE(app.dirfil[i].has_value()) << i;
      EXPECT_EQ(*app.dirfil[i], expected[i]) << i;
    } else {
      EXPECT_FALSE(app.dirfil[i].has_value()) << i;
    }
  }
  EXPECT_EQ(*Load("DIRFIL3 = C:\\a\n").app.dirfil[0], "C:\\a");

  // The writer passes over empty slots (an empty newest path after a refused run among them): the older
  // paths are kept, under consecutive keys.
  AppSettings gaps = DefaultApp();
  gaps.dirfil[0] = "";
  gaps.dirfil[1] = "Z:\\first";
  gaps.dirfil[2] = "Z:\\second";
  gaps.dirfil[4] = "Z:\\after a gap";
  const std::string text = FormatSettingsText(ConversionSettings(kNow), gaps);
  EXPECT_NE(text.find(std::string(kHeader) +
                      "DIRFIL = Z:\\first\nDIRFIL1 = Z:\\second\nDIRFIL2 = Z:\\after a gap\nWINX = "),
            std::string::npos)
      << text;
}

TEST(SettingsFileTest, JobKeysAndLineBreaksInValues) {
  // Keys that are no application key go to the job record, upper-cased like the others.
  Loaded loaded = Load("sw_fnm = 3\nSW_ATR = 0100\nSW_FNM = 9\nID3_STR2 = Album\n");
  EXPECT_EQ(loaded.job.sw_fnm, 3);
  EXPECT_TRUE(loaded.job.sw_atr[1]);
  EXPECT_EQ(loaded.job.id3_str[2], "Album");
  EXPECT_TRUE(loaded.result.job_kinds.name);
  EXPECT_TRUE(loaded.result.job_kinds.attributes);
  EXPECT_FALSE(loaded.result.job_kinds.times);

  // A text that holds a line break cannot smuggle key lines into the file.
  AppSettings app = DefaultApp();
  app.cpdir.Assign("Z:\\x\nSW_OPT = 0000000000000000");
  app.set_11.Assign("*\r\nOPT_1 = 1");
  app.dirfil[0] = "Z:\\a\nOPT_2 = 1";
  app.dirfil[1] = "Z:\\b";
  const std::string text = FormatSettingsText(ConversionSettings(kNow), app);
  EXPECT_NE(text.find("\nCPDIR = \n"), std::string::npos);
  EXPECT_NE(text.find("\nSET_11 = \n"), std::string::npos);
  EXPECT_NE(text.find(std::string(kHeader) + "DIRFIL = Z:\\b\nWINX = "), std::string::npos);
  ConversionSettings job(kNow);
  AppSettings read = DefaultApp();
  ParseSettingsText(text, kDesktop, &job, &read);
  EXPECT_EQ(read.sw_opt, DefaultApp().sw_opt);
  EXPECT_EQ(read.opt_1, 10);
  EXPECT_EQ(read.opt_2, 2);
  EXPECT_EQ(read.dirfil[0], "Z:\\b");
  EXPECT_FALSE(read.dirfil[1].has_value());
}

}  // namespace
}  // namespace morva
