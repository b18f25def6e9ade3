#include "platform/message_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "common/test_util.h"

namespace morva {
namespace {

using testing::HasJapaneseWord;

TEST(MessageCatalogueTest, FinishedMessagesAreTranslatedWithTheirArguments) {
  const MessageCatalogue english(EnglishMessages());
  struct Case {
    std::string japanese;
    std::string english;
  };
  const Case cases[] = {
      // A whole message, and one the catalogue does not know (kept as it is).
      {"変換を開始します。よろしいですか？", "Start the conversion?"},
      {"未知のメッセージ", "未知のメッセージ"},
      {"", ""},
      // Formatted: numbers (also at the start and negative), a literal percent sign.
      {"12 / 40 完了 （30%）", "12 / 40 done (30%)"},
      {"MORVA - 変換状況（100%）", "MORVA - Progress (100%)"},
      {"置換パターンCSVファイルの内容が不正です。（-3行目）", "The replacement pattern CSV file is invalid (line -3)."},
      // A format whose number is missing is not that message: its pieces are kept.
      {"置換パターンCSVファイルの内容が不正です。（行目）", "置換パターンCSVファイルの内容が不正です。（行目）"},
      // A summary put together from pieces, the combination of two sentences winning over its pieces.
      {"変換に失敗したファイルがありました。ログを参照してください。\n\n完全成功：1 / 一部成功：2 / 変換不要：3 / "
       "完全失敗：4 / 総数：10　　\n\nプレビュー後に変更されました（2件）。",
       "Some files could not be converted. See the log for details.\n\nConverted: 1 / Partly converted: 2 / "
       "Unchanged: 3 / Failed: 4 / Total: 10\n\nChanged since the preview: 2."},
      {"キャンセル時点までの変換は全て正常に終了しました。", "All files up to the cancel were converted."},
      // Text arguments: a path is kept whole, brackets and catalogue texts in it included, and
      // untranslated.
      {"変換対象ファイルに存在しないパスが指定されています。\n（/tmp/a（1）/変換中です．．．）",
       "A target file does not exist.\n(/tmp/a（1）/変換中です．．．)"},
      {"ヘルプを表示するプログラム xdg-open が見つかりません。xdg-utils パッケージをインストールしてください。",
       "The program xdg-open that shows the help was not found. Install the package xdg-utils."},
      {"変数　<Foo>　は不正です。", "The variable <Foo> is unknown."},
      // A lead and its reason, and a question of two lines.
      {"連番による名称変換を行う場合、拡張子処理の指定が必須です。",
       "With serial numbers, choose how the extension is handled."},
      {"日時による名称変換を行う場合、「ディレクトリも対象」指定はできません。\n「ディレクトリも対象」指定を外しますか？",
       "With renaming by date, \"Include directories\" cannot be used.\nTurn \"Include directories\" off?"},
      // Text around a known message is kept: a forbidden-characters list after its sentence.
      {"置換文字列に以下の文字は指定できません。\n\\ / : * ? \" < > | \\n \\r \\t",
       "The replacement cannot contain these characters:\n\\ / : * ? \" < > | \\n \\r \\t"},
  };
  for (const Case& c : cases) EXPECT_EQ(english.Translate(c.japanese), c.english) << c.japanese;
}

// The printf conversions of a format, in order.
std::vector<std::string> Conversions(std::string_view format) {
  static const std::regex kConversion("%(zu|d|s|%)");
  std::vector<std::string> found;
  const std::string text(format);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), kConversion); it != std::sregex_iterator(); ++it) {
    found.push_back(it->str());
  }
  return found;
}

TEST(MessageCatalogueTest, TranslationsKeepTheArgumentsOfTheirSource) {
  for (const auto& catalogue : {EnglishMessages(), EnglishLabels()}) {
    for (const CatalogueEntry& entry : catalogue) {
      EXPECT_EQ(Conversions(entry.translation), Conversions(entry.source)) << entry.source;
      EXPECT_FALSE(entry.source.starts_with("%s")) << entry.source;
      EXPECT_FALSE(HasJapaneseWord(entry.translation)) << entry.source;
    }
  }
}

// The texts the engine writes only into the log and reads back from it: formats, never shown.
bool LogOnly(const std::filesystem::path& file, std::string_view text) {
  static const char* const kLogFiles[] = {"run_block.cc",     "undo_block.cc",  "log_scan.cc",  "log_trim.cc",
                                          "log_host_text.cc", "job_summary.cc", "log_markers.h"};
  for (const char* name : kLogFiles) {
    if (file.filename() == name) return true;
  }
  // The undo's log lines and the fields it reads back from a run's lines.
  static const char* const kLogFields[] = {"[○名称戻し] ",
                                           "[○属性戻し] ",
                                           "[○日時戻し] ",
                                           "[☆戻し不要] ",
                                           "[▲名称戻し失敗] ",
                                           "[▲属性戻し失敗] ",
                                           "[▲日時戻し失敗] ",
                                           " *対象<",
                                           "> →",
                                           " *戻し名称<",
                                           " *戻し属性<",
                                           " *戻し作成日時<",
                                           " *戻し更新日時<",
                                           " *戻しアクセス日時<",
                                           "完全成功／",
                                           "名称,",
                                           "属性,",
                                           "作成日時,",
                                           "更新日時,",
                                           "アクセス日時,",
                                           "ディレクトリ"};
  for (const char* field : kLogFields) {
    if (text == field) return true;
  }
  return false;
}

// The Japanese string literals of the calls that make the engine's texts: Cp932Text(codec, "..."),
// Cp932(host, "..."), RefuseUtf8(ctx, page, key, "...") and the statement messages' around("...", "...").
// Adjacent literals are one text.
std::vector<std::string> MessageLiterals(const std::string& source) {
  static const std::regex kCall(R"(\b(Cp932Text|Cp932|RefuseUtf8|around)\()");
  std::vector<std::string> found;
  for (auto it = std::sregex_iterator(source.begin(), source.end(), kCall); it != std::sregex_iterator(); ++it) {
    std::size_t p = static_cast<std::size_t>(it->position() + it->length());
    int depth = 1;
    std::string current;
    bool in_group = false;
    while (depth > 0 && p < source.size()) {
      const char c = source[p];
      if (c == '"') {
        std::string literal;
        for (++p; p < source.size() && source[p] != '"'; ++p) {
          if (source[p] == '\\' && p + 1 < source.size()) {
            const char e = source[++p];
            literal += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e;
          } else {
            literal += source[p];
          }
        }
        ++p;
        current = in_group ? current + literal : literal;
        in_group = true;
        continue;
      }
      if (c != ' ' && c != '\n') {
        if (in_group) found.push_back(current);
        in_group = false;
        if (c == '(') ++depth;
        if (c == ')') --depth;
      }
      ++p;
    }
    if (in_group) found.push_back(current);
  }
  std::erase_if(found, [](const std::string& text) { return !HasJapaneseWord(text); });
  return found;
}

TEST(MessageCatalogueTest, EveryMessageOfTheEngineHasAnEnglishEntry) {
  const std::filesystem::path root = std::filesystem::path(MORVA_SOURCE_DIR) / "src";
  std::vector<std::string> keys;
  for (const CatalogueEntry& entry : EnglishMessages()) keys.emplace_back(entry.source);
  int checked = 0;
  for (const char* folder : {"engine", "log", "undo", "settings", "core", "rename", "media", "fileops", "platform"}) {
    for (const auto& file : std::filesystem::directory_iterator(root / folder)) {
      std::ifstream in(file.path());
      std::stringstream source;
      source << in.rdbuf();
      for (const std::string& text : MessageLiterals(source.str())) {
        if (LogOnly(file.path(), text)) continue;
        ++checked;
        // The text is a key, or a piece of one (a message put together from pieces).
        const bool covered = std::any_of(keys.begin(), keys.end(),
                                         [&](const std::string& key) { return key.find(text) != std::string::npos; });
        EXPECT_TRUE(covered) << file.path().filename() << ": " << text;
      }
    }
  }
  EXPECT_GT(checked, 100);
}

}  // namespace
}  // namespace morva
