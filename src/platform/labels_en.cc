// The English of the console's own words and of the settings keys' places: the page, label and values
// each key of `morva-cli keys` and the manual page describe. Each source is the Japanese text whole, as
// the tables write it; the pages use the English window's names for its tabs and rule pages.
#include "platform/message_catalogue.h"

namespace morva {
namespace {

constexpr CatalogueEntry kEnglish[] = {
    // The console's listings: the states of a logged run, the kinds of presets, the preview's columns,
    // the preview's counts.
    {"不可", "no"},
    {"済み", "done"},
    {"未", "yes"},
    {"変換設定", "job"},
    {"変換制御文", "statement"},
    {"文字列置換設定", "replacement"},
    {"属性", "Attributes"},
    {"変換後属性", "New attributes"},
    {"日時変換", "Timestamps"},
    {"ファイル削除", "Deletion"},
    {"ID3情報変換", "ID3 tags"},
    {"抽出総数：%d　　　変換対象：%d　　　成功/不要：%d　　　変換失敗：%d",
     "Found: %d   To convert: %d   Succeeded/unchanged: %d   Failed: %d"},

    // The pages of the settings keys.
    {"（ウィンドウの配置）", "(window layout)"},
    {"（旧版）", "(earlier versions)"},
    {"対象指定", "Targets"},
    {"対象指定 > 指定ディレクトリ下の変換", "Targets > Files under a directory"},
    {"メインウィンドウ", "Main window"},
    {"設定", "Options"},
    {"コピー変換用出力先ディレクトリの指定", "Output directory for copy and convert"},
    {"変換プレビュー", "Preview"},
    {"名称変換", "Rename"},
    {"名称変換 > 名称一般変換", "Rename > Case and characters"},
    {"名称変換 > 名称全角／半角変換", "Rename > Full-width / half-width"},
    {"名称変換 > 名称文字列置換", "Rename > Replace text"},
    {"名称変換 > 連番による名称変換", "Rename > Serial numbers"},
    {"名称変換 > 日時による名称変換", "Rename > Date and time"},
    {"名称変換 > ID3情報による名称変換", "Rename > ID3 tags"},
    {"名称変換 > 変換制御文による名称変換", "Rename > Rename statement"},
    {"名称変換 > 置換パターンCSVによる名称変換", "Rename > Replacement patterns from CSV"},
    {"属性変換", "Attributes"},

    // Values that several keys share.
    {"0 オフ、1 オン", "0 off, 1 on"},
    {"ピクセル", "pixels"},
    {"1 親ディレクトリ名、2 文字列指定", "1 parent directory name, 2 given text"},
    {"文字列（8バイト以内）", "text (up to 8 bytes)"},
    {"文字列（80バイト以内）", "text (up to 80 bytes)"},
    {"文字列（100バイト以内）", "text (up to 100 bytes)"},
    {"文字列（200バイト以内）", "text (up to 200 bytes)"},
    {"数字（3桁以内）", "number (up to 3 digits)"},
    {"0-3: 1 大文字／小文字を区別、2 正規表現を使用 の和", "0-3: sum of 1 match case, 2 regular expression"},
    {"0 ファイル名順、1 更新日時順、2 作成日時順、3 Exif情報日時順、4 ファイル名中の数値順; +64 末尾側の数値を対象",
     "0 by name, 1 by modified date, 2 by creation date, 3 by Exif date, 4 by the number in the name; +64 the "
     "last number in the name"},
    {"YYYY/MM/DD（日時直接指定のときのみ書かれる）", "YYYY/MM/DD (written only for a timestamp given directly)"},
    {"hh:mm:ss または hh:mm:ss.SSS", "hh:mm:ss or hh:mm:ss.SSS"},

    // The target and the windows.
    {"対象パス（DIRFIL が現在のパス、DIRFIL1～DIRFILF がその履歴）",
     "Target path (DIRFIL the current path, DIRFIL1 to DIRFILF its history)"},
    {"パス（259バイト以内）; 先に読んだ行が優先", "path (up to 259 bytes); the first line read wins"},
    {"メインウィンドウの位置（左）", "Main window position (left)"},
    {"メインウィンドウの位置（上）", "Main window position (top)"},
    {"プレビュー", "Preview"},
    {"コピー変換", "Copy and convert"},
    {"変換プレビューの幅", "Preview window width"},
    {"変換プレビューの高さ", "Preview window height"},
    {"600-9999（ピクセル）", "600-9999 (pixels)"},
    {"240-9999（ピクセル）", "240-9999 (pixels)"},
    {"480-9999（ピクセル）", "480-9999 (pixels)"},
    {"360-9999（ピクセル）", "360-9999 (pixels)"},
    {"変換プレビューの位置（左）", "Preview window position (left)"},
    {"変換プレビューの位置（上）", "Preview window position (top)"},
    {"変換プレビューの最大化", "Preview window maximized"},
    {"変換プレビューの列幅（PREC0 ＃ ～ PREC7 ID3情報変換）",
     "Preview column widths (PREC0 # to PREC7 ID3 tags)"},
    {"「ログから元に戻す」ログ内変換実行日時選択の幅", "\"Undo from log\" run list width"},
    {"「ログから元に戻す」ログ内変換実行日時選択の高さ", "\"Undo from log\" run list height"},
    {"「ログから元に戻す」ログ内変換実行日時選択の位置（左）", "\"Undo from log\" run list position (left)"},
    {"「ログから元に戻す」ログ内変換実行日時選択の位置（上）", "\"Undo from log\" run list position (top)"},
    {"「ログから元に戻す」ログ内変換実行日時選択の最大化", "\"Undo from log\" run list maximized"},
    {"「ログから元に戻す」ログ内変換実行日時選択の列幅", "\"Undo from log\" run list column widths"},
    {"対象一覧の幅", "Target list width"},
    {"対象一覧の高さ", "Target list height"},
    {"対象一覧の位置（左）", "Target list position (left)"},
    {"対象一覧の位置（上）", "Target list position (top)"},
    {"対象一覧の列幅（TREC0 名称 ～ TREC5 Exif情報日時）", "Target list column widths (TREC0 name to TREC5 Exif date)"},

    // Options.
    {"（各チェックボックス）", "(each check box)"},
    {"16桁、各桁 0 オフ、1 オン: 1 正常変換・変換不要もログに出力、2 ログを出力しない、3 "
     "変換実行時の変換設定・入力情報を保持し、次回起動時にも表示する、4-6 "
     "リストに表示する日時情報（更新日時、作成日時、Exif情報日時）、7 "
     "Exif、ID3情報が取得可能か判定する際、拡張子では判定しない、8 "
     "リスト表示時にはネットワークパスワード入力画面を出さない、9 「元に戻す」時にも出力、10 "
     "ID3情報読み取りの優先順位 ID3v1 → ID3v2、11 リスト操作で対象を変更する場合、確認メッセージを出す、12 "
     "変換時にパディング領域を使用しない、13 "
     "ID3v2情報読み取り時、コメントフレームが複数存在した場合は最初のものを有効にする、14-16 予約",
     "16 digits, each 0 off, 1 on: 1 log successes and unchanged targets too, 2 write no log, 3 keep the job "
     "and show it at the next start, 4-6 dates shown in the list (modified, created, Exif date), 7 tell Exif "
     "and ID3 data by content, not by extension, 8 no network password prompt for the list, 9 log undos "
     "too, 10 read ID3v1 before ID3v2, 11 ask before the list changes the target, 12 do not use the padding "
     "when changing tags, 13 of several ID3v2 comment frames, read the first, 14-16 reserved"},
    {"ログに保持する変換履歴数", "Runs kept in the log"},
    {"Exif情報日時として取得する項目", "Exif date to use"},
    {"1 ファイル変更日時、2 オリジナル画像生成日時、3 デジタルデータ生成日時",
     "1 file changed (DateTime), 2 original taken (DateTimeOriginal), 3 digitized (DateTimeDigitized)"},
    {"新規付加時パディングサイズ", "Padding of new tags"},
    {"0-2048（バイト）", "0-2048 (bytes)"},

    // Targets.
    {"対象ファイル一覧の表示、指定ディレクトリ下の変換の各チェックボックス",
     "Show the target list, and each check box of files under a directory"},
    {"12桁、各桁 0 オフ、1 オン: 1 対象ファイル一覧の表示、2 ショートカット指定ではリンク先を対象にする、3 "
     "サブディレクトリ内も対象にする、4 ディレクトリも対象、5 指定ディレクトリ自身も対象、6 "
     "対象ファイルワイルドカード指定、7 ディレクトリのみを対象、8 Exif情報があるファイルのみを対象、9 "
     "ID3情報があるファイルのみを対象、10-12 予約",
     "12 digits, each 0 off, 1 on: 1 show the target list, 2 a link given as target means what it points to, "
     "3 include subdirectories, 4 include directories, 5 include the directory itself, 6 file name pattern, "
     "7 directories only, 8 only files with Exif data, 9 only files with ID3 tags, 10-12 reserved"},
    {"対象指定方式", "Targets"},
    {"1 指定ディレクトリ下の変換、2 指定ファイルの変換", "1 files under a directory, 2 listed files"},
    {"対象ファイルワイルドカード指定（ワイルドカード）", "File name pattern (pattern)"},
    {"ワイルドカード（80バイト以内）", "wildcard (up to 80 bytes)"},
    {"対象ファイルワイルドカード指定（履歴）", "File name pattern (history)"},
    {"タブ区切りのワイルドカード（8個まで）", "wildcards separated by tabs (up to 8)"},
    {"対象ファイル更新日時（下限）", "Modified between (from)"},
    {"対象ファイル更新日時（上限、～の後）", "Modified between (to: the second date)"},
    {"対象ファイル更新日時のチェックボックス", "Modified between: check boxes"},
    {"0-3: 1 下限、2 上限 の和", "0-3: sum of 1 from, 2 to"},
    {"出力先ディレクトリ", "Output directory"},
    {"同一名称のファイルが存在しても上書きコピーする", "Overwrite files of the same name"},
    {"対象外は非表示、以下を対象外にする: エラー、変換不要", "Hide excluded; exclude: errors, unchanged"},
    {"4桁、各桁 0 オフ、1 オン: 1 対象外は非表示、2 エラー、3 変換不要、4 予約",
     "4 digits, each 0 off, 1 on: 1 hide excluded, 2 errors, 3 unchanged, 4 reserved"},

    // The job: the tab and the rule.
    {"表示中のタブ", "Tab shown"},
    {"0 名称変換、1 属性変換、2 日時変換、3 ファイル削除、4 ID3情報変換",
     "0 rename, 1 attributes, 2 timestamps, 3 delete files, 4 ID3 tags"},
    {"名称変換機能選択", "Rename method"},
    {"0 名称変換しない、1 名称一般変換、2 名称全角／半角変換、3 名称文字列置換、4 連番による名称変換、5 "
     "日時による名称変換、6 ID3情報による名称変換、7 変換制御文による名称変換、8 置換パターンCSVによる名称変換",
     "0 do not rename, 1 case and characters, 2 full-width / half-width, 3 replace text, 4 serial numbers, 5 "
     "date and time, 6 ID3 tags, 7 rename statement, 8 replacement patterns from CSV"},
    {"拡張子処理", "Extension"},
    {"拡張子は変換しない／拡張子のみ変換", "Keep the extension / Only the extension"},
    {"1 拡張子は変換しない、2 拡張子のみ変換", "1 keep the extension, 2 only the extension"},

    // Case and characters.
    {"大文字／小文字変換（☆）、特定文字の削除（☆）、括弧の処理、半角数字の0埋め桁揃え",
     "Change case (☆), delete characters (☆), brackets, zero-pad half-width numbers"},
    {"0-15: 1 大文字／小文字変換、2 特定文字の削除、4 括弧の処理、8 0埋め桁揃え の和",
     "0-15: sum of 1 change case, 2 delete characters, 4 brackets, 8 zero padding"},
    {"大文字／小文字変換の方式", "Change case: how"},
    {"1 大文字変換(abc→ABC)、2 小文字変換(ABC→abc)、3 先頭大文字、以下小文字(ABC→Abc)",
     "1 upper case (abc→ABC), 2 lower case (ABC→abc), 3 capitalize (ABC→Abc)"},
    {"次の文字直後の英字も大文字: スペース、数字、他の英字以外", "Also capitalize letters right after: space, digit, other than a letter"},
    {"0-7 (4 を除く): 1 スペース、2 数字、4 他の英字以外 の和", "0-7 (not 4): sum of 1 space, 2 digit, 4 other than a letter"},
    {"特定文字の削除: スペース、数字、英字、その他", "Delete characters: spaces, digits, letters, others"},
    {"0-255 (128 を除く): 1 スペース、2 数字、4 英字、128 その他 の和",
     "0-255 (not 128): sum of 1 spaces, 2 digits, 4 letters, 128 others"},
    {"括弧の処理の方式", "Brackets: how"},
    {"1 括弧で括られた部分ごと削除、2 括弧のみ全て削除", "1 delete the brackets with what they hold, 2 delete the brackets only"},
    {"対象括弧（変換対象括弧）", "Brackets handled"},
    {"1-65535: 括弧 k 番目がビット k-1", "1-65535: bracket k is bit k-1"},
    {"半角数字の0埋め桁揃え: 桁", "Zero-pad half-width numbers: digits"},
    {"末尾の数字のみ対象", "Only the last number"},
    {"全角文字、半角文字", "Full-width characters, half-width characters"},
    {"1 全角文字、2 半角文字、3 両方", "1 full-width, 2 half-width, 3 both"},

    // Full-width / half-width.
    {"全角変換(ｱ→ア)／半角変換(ア→ｱ)", "To full-width (ｱ→ア) / To half-width (ア→ｱ)"},
    {"1 全角変換、2 半角変換", "1 to full-width, 2 to half-width"},
    {"英字、数字、記号、括弧、スペース、カタカナ、ひらがな", "Letters, digits, symbols, brackets, spaces, katakana, hiragana"},
    {"0-127: 1 英字、2 数字、4 記号、8 括弧、16 スペース、32 カタカナ、64 ひらがな の和",
     "0-127: sum of 1 letters, 2 digits, 4 symbols, 8 brackets, 16 spaces, 32 katakana, 64 hiragana"},
    {"ひらがな・カタカナの共通記号（。 、 ゜ ゛ ー）も変換、全角変換時、濁点（゛）と半濁点（゜）を単独変換",
     "Also the marks kana share (。 、 ゜ ゛ ー); to full-width, convert voiced marks (゛ ゜) on their own"},
    {"0-3: 1 共通記号も変換、2 濁点・半濁点を単独変換 の和", "0-3: sum of 1 shared marks too, 2 voiced marks on their own"},

    // Replace text.
    {"置換対象を文字列で指定／置換対象を位置で指定", "Replace a text / Replace at a position"},
    {"1 文字列、2 位置", "1 text, 2 position"},
    {"対象文字列", "Search text"},
    {"大文字／小文字を区別、正規表現を使用", "Match case, regular expression"},
    {"先頭／最後尾", "From the start / From the end"},
    {"0 先頭、1 最後尾", "0 from the start, 1 from the end"},
    {"指定バイト目", "At byte"},
    {"指定バイト目の値", "At byte: value"},
    {"以前／以後", "Before / After"},
    {"0 以前、1 以後", "0 before, 1 after"},
    {"全て／指定バイト分", "All / A number of bytes"},
    {"1 全て、2 指定バイト分", "1 all, 2 a number of bytes"},
    {"指定バイト分の値", "Number of bytes"},
    {"指定位置が全角文字の２バイト目の場合、その全角文字も置換対象に: する／しない",
     "A position on the second byte of a full-width character takes that character too: yes / no"},
    {"1 する、2 しない", "1 yes, 2 no"},
    {"置換文字列", "Replacement"},

    // Serial numbers.
    {"前に付加: 親ディレクトリ名／文字列指定", "Before: parent directory name / given text"},
    {"前に付加: 文字列指定", "Before: given text"},
    {"後に付加: 親ディレクトリ名／文字列指定", "After: parent directory name / given text"},
    {"後に付加: 文字列指定", "After: given text"},
    {"初回番号", "Start at"},
    {"数字（5桁以内）", "number (up to 5 digits)"},
    {"増分値", "Step"},
    {"-99～99（0 を除く）", "-99 to 99 (not 0)"},
    {"0埋め桁数", "Zero-padded digits"},
    {"ディレクトリ毎に初回番号からの連番、連番順序指定、昇順／降順", "Restart in each directory, order, ascending / descending"},
    {"0-7: 1 ディレクトリ毎、2 連番順序指定、4 昇順 の和", "0-7: sum of 1 each directory, 2 order, 4 ascending"},
    {"連番順序、末尾側の数値を対象", "Order, the last number in the name"},

    // Date and time.
    {"更新日時／作成日時、Exif情報があればその日時", "Modified / Created, Exif date when present"},
    {"1 作成日時、2 更新日時; +64 Exif情報があればその日時", "1 created, 2 modified; +64 Exif date when present"},
    {"日付形式", "Date format"},
    {"1 YYYYMMDD、2 YYMMDD、3 MMDD", "1 YYYYMMDD, 2 YYMMDD, 3 MMDD"},
    {"時間も付加、曜日も付加", "Add the time, add the weekday"},
    {"0-3: 1 時間も付加、2 曜日も付加 の和", "0-3: sum of 1 add the time, 2 add the weekday"},
    {"時間の形式", "Time format"},
    {"1 hhmmss、2 hhmm", "1 hhmmss, 2 hhmm"},
    {"曜日の形式", "Weekday format"},
    {"1 英1（“Sun”～）、2 英2（“Sunday”～）、3 和1（“日”～）、4 和2（“日曜日”～）",
     "1 English 1 (\"Sun\"...), 2 English 2 (\"Sunday\"...), 3 Japanese 1 (one kanji), 4 Japanese 2 (three kanji)"},
    {"日付・時間・曜日の区切り文字", "Separator between date, time and weekday"},
    {"同一日時毎に連番付加、ディレクトリ毎に１からの連番、連番順序指定、昇順／降順",
     "Number equal dates, restart at 1 in each directory, order, ascending / descending"},
    {"0-15: 1 同一日時毎に連番付加、2 ディレクトリ毎、4 連番順序指定、8 昇順 の和",
     "0-15: sum of 1 number equal dates, 2 each directory, 4 order, 8 ascending"},
    {"日時と連番の区切り文字", "Separator between date and number"},

    // ID3 tags in names.
    {"要素１～要素４", "Parts 1 to 4"},
    {"4桁、各桁 0 なし、1 タイトル、2 アーティスト、3 アルバム、4 リリース年、5 コメント、6 トラック番号、7 指定文字列",
     "4 digits, each 0 none, 1 title, 2 artist, 3 album, 4 year, 5 comment, 6 track number, 7 given text"},
    {"指定文字列", "Given text"},
    {"各要素の区切り文字", "Separator between parts"},
    {"要素内文字列前後のスペース文字を削除、ID3v1情報の文字列はUnicodeで記述されているものとして変換する",
     "Trim spaces around each part, read ID3v1 texts as Unicode"},
    {"0-3: 1 スペース文字を削除、2 ID3v1はUnicode の和", "0-3: sum of 1 trim spaces, 2 ID3v1 as Unicode"},

    // Rename statement and CSV patterns.
    {"変換制御文 (200バイト以内で指定)", "Rename statement (up to 200 bytes)"},
    {"置換パターンCSVファイルパス", "Replacement pattern CSV file"},
    {"パス（260バイト以内）", "path (up to 260 bytes)"},

    // Attributes.
    {"読み取り専用、隠しファイル、アーカイブ、システム", "Read-only, hidden, archive, system"},
    {"4桁、各桁 0 変換しない、1 変換する", "4 digits, each 0 leave, 1 change"},
    {"ON／OFF", "On / Off"},
    {"0-15: 1 読み取り専用、2 隠しファイル、4 アーカイブ、8 システム を ON にする和",
     "0-15: sum of 1 read-only, 2 hidden, 4 archive, 8 system to turn on"},

    // Timestamps.
    {"作成日時、更新日時、アクセス日時、ファイル名形式の日付：、時間：",
     "Created, modified, accessed, date and time format in file names"},
    {"5桁: 1-3桁目 0 変換なし、1 日時直接指定、2-3 他の日時から、4 Exif情報日時、5 ファイル名; 4桁目 0 YYYYMMDD、1 "
     "YYMMDD; 5桁目 0 なし、1 hhmmssSSS、2 hhmmss、3 hhmm",
     "5 digits: digits 1-3 0 leave, 1 given directly, 2-3 from another timestamp, 4 Exif date, 5 file name; "
     "digit 4 0 YYYYMMDD, 1 YYMMDD; digit 5 0 none, 1 hhmmssSSS, 2 hhmmss, 3 hhmm"},
    {"作成日時: 直接指定 日付", "Created: given date"},
    {"作成日時: 直接指定 時間", "Created: given time"},
    {"更新日時: 直接指定 日付", "Modified: given date"},
    {"更新日時: 直接指定 時間", "Modified: given time"},
    {"アクセス日時: 直接指定 日付", "Accessed: given date"},
    {"アクセス日時: 直接指定 時間", "Accessed: given time"},

    // Delete files.
    {"ファイル削除、ごみ箱に移動せずに削除する、復元不可状態にした上で削除する",
     "Delete files, delete without moving to the trash, wipe before deleting"},
    {"3桁、各桁 0 オフ、1 オン", "3 digits, each 0 off, 1 on"},
    {"復元不可状態レベル", "Wipe level"},
    {"1 レベル１（低）、2 レベル２（中）、3 レベル３（高）", "1 level 1 (low), 2 level 2 (medium), 3 level 3 (high)"},

    // ID3 tags.
    {"タイトル、アーティスト、アルバム、トラック番号、リリース年、コメント、ジャンル",
     "Title, artist, album, track number, year, comment, genre"},
    {"7桁、各桁 0 変換しない、1 ファイル名、2-5 ファイル名要素１～４、6 親フォルダ名、7 ２階層上フォルダ名、8 "
     "３階層上フォルダ名、9 ボリューム名、a 文字列直接指定",
     "7 digits, each 0 leave, 1 file name, 2-5 file name parts 1 to 4, 6 parent folder name, 7 folder two "
     "levels up, 8 folder three levels up, 9 volume name, a given text"},
    {"タイトル: 直接指定", "Title: given text"},
    {"アーティスト: 直接指定", "Artist: given text"},
    {"アルバム: 直接指定", "Album: given text"},
    {"トラック番号: 直接指定", "Track number: given text"},
    {"リリース年: 直接指定", "Year: given text"},
    {"コメント: 直接指定", "Comment: given text"},
    {"ジャンル: 直接指定", "Genre: given text"},
    {"ファイル名要素の区切り文字", "Separator between file name parts"},
    {"変換対象ID3: ID3v1、ID3v2; 新規付加ID3: ID3v1、ID3v2", "Tags to change: ID3v1, ID3v2; tags to add: ID3v1, ID3v2"},
    {"0-15: 1 変換対象ID3v1、2 変換対象ID3v2、4 新規付加ID3v1、8 新規付加ID3v2 の和",
     "0-15: sum of 1 change ID3v1, 2 change ID3v2, 4 add ID3v1, 8 add ID3v2"},
    {"タグをShift_JISで書き込む（旧機器向け）", "Write tags in Shift_JIS (for old players)"},
    {"0 オフ（ID3v2の文字列はUnicode: v2.2・v2.3 UTF-16、v2.4 UTF-8）、1 オン（Shift_JIS）",
     "0 off (ID3v2 texts in Unicode: v2.2 and v2.3 UTF-16, v2.4 UTF-8), 1 on (Shift_JIS)"},

    // Keys of earlier versions, read and never written.
    // "FNM_IPN_SEL の 1 に当たる旧版のキー": a source cannot start with its argument.
    {" の %d に当たる旧版のキー", " value %d, as earlier versions wrote it"},
    {"FNM_HDK_UDT の 1 または 2 を加える旧版のキー", "earlier versions' key adding 1 or 2 to FNM_HDK_UDT"},
    {"1 オン、2 オフ", "1 on, 2 off"},
    {"1 オン、0 オフ", "1 on, 0 off"},
    {"1 作成日時、0 更新日時", "1 created, 0 modified"},
};

}  // namespace

std::span<const CatalogueEntry> EnglishLabels() { return kEnglish; }

}  // namespace morva
