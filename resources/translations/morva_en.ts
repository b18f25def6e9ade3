<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>AboutDialog</name>
    <message>
        <source>MORVA - バージョン情報</source>
        <translation>MORVA - About</translation>
    </message>
    <message>
        <source>MORVA - ファイル変換</source>
        <translation>MORVA - Batch file converter</translation>
    </message>
    <message>
        <source>Linux 版（Qt 6 Widgets）</source>
        <translation>Linux edition (Qt 6 Widgets)</translation>
    </message>
</context>
<context>
    <name>AttributePage</name>
    <message>
        <source>ファイル属性変換</source>
        <translation>Change file attributes</translation>
    </message>
    <message>
        <source>読み取り専用</source>
        <translation>Read-only</translation>
    </message>
    <message>
        <source>隠しファイル</source>
        <translation>Hidden</translation>
    </message>
    <message>
        <source>アーカイブ</source>
        <translation>Archive</translation>
    </message>
    <message>
        <source>システム</source>
        <translation>System</translation>
    </message>
</context>
<context>
    <name>BracketDialog</name>
    <message>
        <source>MORVA - 変換対象括弧</source>
        <translation>MORVA - Brackets to process</translation>
    </message>
    <message>
        <source>半角括弧</source>
        <translation>Half-width brackets</translation>
    </message>
    <message>
        <source>｢ ｣</source>
        <translation>｢ ｣</translation>
    </message>
    <message>
        <source>全角括弧</source>
        <translation>Full-width brackets</translation>
    </message>
    <message>
        <source>［ ］</source>
        <translation>［ ］</translation>
    </message>
    <message>
        <source>（ ）</source>
        <translation>（ ）</translation>
    </message>
    <message>
        <source>｛ ｝</source>
        <translation>｛ ｝</translation>
    </message>
    <message>
        <source>「 」</source>
        <translation>「 」</translation>
    </message>
    <message>
        <source>【 】</source>
        <translation>【 】</translation>
    </message>
    <message>
        <source>〔 〕</source>
        <translation>〔 〕</translation>
    </message>
    <message>
        <source>《 》</source>
        <translation>《 》</translation>
    </message>
    <message>
        <source>『 』</source>
        <translation>『 』</translation>
    </message>
    <message>
        <source>＜ ＞</source>
        <translation>＜ ＞</translation>
    </message>
    <message>
        <source>≪ ≫</source>
        <translation>≪ ≫</translation>
    </message>
    <message>
        <source>“ ”</source>
        <translation>“ ”</translation>
    </message>
    <message>
        <source>‘ ’</source>
        <translation>‘ ’</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>全ての括弧を対象としない設定にすることはできません。</source>
        <translation>At least one kind of bracket must be selected.</translation>
    </message>
</context>
<context>
    <name>CancellableDialog</name>
    <message>
        <source>キャンセルしてもよろしいですか？</source>
        <translation>Do you want to cancel?</translation>
    </message>
</context>
<context>
    <name>CsvRulePage</name>
    <message>
        <source>置換パターンCSVファイルパス</source>
        <translation>Replacement pattern CSV file</translation>
    </message>
    <message>
        <source>ファイル参照</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>大文字／小文字を区別</source>
        <translation>Match case</translation>
    </message>
    <message>
        <source>正規表現を使用</source>
        <translation>Use regular expressions</translation>
    </message>
    <message>
        <source>CSVファイルは以下のフォーマットで作成してください。
&#x3000;&quot;対象文字列1&quot;,&quot;置換文字列1&quot;
&#x3000;&quot;対象文字列2&quot;,&quot;置換文字列2&quot;
&#x3000;&#x3000;&#x3000;：
要素の区切り文字は「,」かタブ文字です。
タブ文字を区切り文字にする場合は、文字列前後の
「&quot;」を省略することができます。</source>
        <translation>Write the CSV file in this format:
   &quot;search text 1&quot;,&quot;replacement 1&quot;
   &quot;search text 2&quot;,&quot;replacement 2&quot;
      :
Fields are separated by &quot;,&quot; or a tab.
With tabs as separators, the quotes (&quot;)
around the texts may be left out.</translation>
    </message>
</context>
<context>
    <name>DateRulePage</name>
    <message>
        <source>接頭文字</source>
        <translation>Prefix</translation>
    </message>
    <message>
        <source>親ディレクトリ名</source>
        <translation>Parent directory name</translation>
    </message>
    <message>
        <source>文字列指定</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>使用日時</source>
        <translation>Date to use</translation>
    </message>
    <message>
        <source>更新日時</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>作成日時</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>Exif情報があればその日時</source>
        <translation>Exif date when present</translation>
    </message>
    <message>
        <source>日付形式</source>
        <translation>Date format</translation>
    </message>
    <message>
        <source>時間も付加</source>
        <translation>Add the time</translation>
    </message>
    <message>
        <source>曜日も付加</source>
        <translation>Add the weekday</translation>
    </message>
    <message>
        <source>英1（“Sun”～）</source>
        <translation>English 1 (&quot;Sun&quot;...)</translation>
    </message>
    <message>
        <source>英2（“Sunday”～）</source>
        <translation>English 2 (&quot;Sunday&quot;...)</translation>
    </message>
    <message>
        <source>和1（“日”～）</source>
        <translation>Japanese 1 (&quot;日&quot;...)</translation>
    </message>
    <message>
        <source>和2（“日曜日”～）</source>
        <translation>Japanese 2 (&quot;日曜日&quot;...)</translation>
    </message>
    <message>
        <source>日付・時間・曜日の区切り文字</source>
        <translation>Separator between date, time and weekday</translation>
    </message>
    <message>
        <source>同一日時毎に連番付加</source>
        <translation>Number equal dates</translation>
    </message>
    <message>
        <source>日時と連番の区切り文字</source>
        <translation>Separator</translation>
    </message>
    <message>
        <source>0埋め桁数</source>
        <translation>Digits</translation>
    </message>
    <message>
        <source>ディレクトリ毎に１からの連番</source>
        <translation>Restart from 1 in each directory</translation>
    </message>
    <message>
        <source>連番順序指定</source>
        <translation>Numbering order</translation>
    </message>
    <message>
        <source>ファイル名順</source>
        <translation>By file name</translation>
    </message>
    <message>
        <source>更新日時順</source>
        <translation>By modified date</translation>
    </message>
    <message>
        <source>作成日時順</source>
        <translation>By creation date</translation>
    </message>
    <message>
        <source>Exif情報日時順</source>
        <translation>By Exif date</translation>
    </message>
    <message>
        <source>ファイル名中の数値順</source>
        <translation>By number in the file name</translation>
    </message>
    <message>
        <source>昇順</source>
        <translation>Ascending</translation>
    </message>
    <message>
        <source>降順</source>
        <translation>Descending</translation>
    </message>
    <message>
        <source>末尾側の数値を対象</source>
        <translation>Use the last number</translation>
    </message>
</context>
<context>
    <name>DeletionPage</name>
    <message>
        <source>ファイル削除</source>
        <translation>Delete files</translation>
    </message>
    <message>
        <source>ごみ箱に移動せずに削除する</source>
        <translation>Delete without moving to the trash</translation>
    </message>
    <message>
        <source>復元不可状態にした上で削除する</source>
        <translation>Wipe before deleting (unrecoverable)</translation>
    </message>
    <message>
        <source>復元不可状態レベル</source>
        <translation>Wipe level</translation>
    </message>
    <message>
        <source>レベル１（低）</source>
        <translation>Level 1 (low)</translation>
    </message>
    <message>
        <source>レベル２（中）</source>
        <translation>Level 2 (medium)</translation>
    </message>
    <message>
        <source>レベル３（高）</source>
        <translation>Level 3 (high)</translation>
    </message>
    <message>
        <source>注意！</source>
        <translation>Caution!</translation>
    </message>
    <message>
        <source>・ファイル削除は「元に戻す」ことができません。
・ごみ箱に移動せずに削除したものは、ごみ箱から戻すこともできません。
・復元不可状態にした上で削除したものは、どのような手段でも復元できません。
・レベルが高いほど、削除に時間がかかります。</source>
        <translation>- Deleting files cannot be undone.
- Files deleted without the trash cannot be restored from the trash either.
- Wiped files cannot be recovered by any means.
- The higher the level, the longer deletion takes.</translation>
    </message>
</context>
<context>
    <name>DroppedPaths</name>
    <message>
        <source>変換対象パスが不正です。</source>
        <translation>The target path is invalid.</translation>
    </message>
</context>
<context>
    <name>ExtractionDialog</name>
    <message>
        <source>MORVA - 変換対象抽出</source>
        <translation>MORVA - Collecting targets</translation>
    </message>
    <message>
        <source>変換対象ファイルを抽出中です。
しばらくお待ちください・・・</source>
        <translation>Collecting the target files.
Please wait...</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>FileChoosers</name>
    <message>
        <source>ファイルを選択してください</source>
        <translation>Choose a file</translation>
    </message>
    <message>
        <source>変換対象フォルダの選択</source>
        <translation>Choose the target folder</translation>
    </message>
</context>
<context>
    <name>GeneralRulePage</name>
    <message>
        <source>大文字／小文字変換（☆）</source>
        <translation>Change case (☆)</translation>
    </message>
    <message>
        <source>大文字変換(abc→ABC)</source>
        <translation>Upper case (abc→ABC)</translation>
    </message>
    <message>
        <source>小文字変換(ABC→abc)</source>
        <translation>Lower case (ABC→abc)</translation>
    </message>
    <message>
        <source>先頭大文字、以下小文字(ABC→Abc)</source>
        <translation>Capitalize (ABC→Abc)</translation>
    </message>
    <message>
        <source>次の文字直後の英字も大文字</source>
        <translation>Also capitalize letters right after</translation>
    </message>
    <message>
        <source>スペース</source>
        <translation>Spaces</translation>
    </message>
    <message>
        <source>数字</source>
        <translation>Digits</translation>
    </message>
    <message>
        <source>他の英字以外</source>
        <translation>Other non-letters</translation>
    </message>
    <message>
        <source>特定文字の削除（☆）</source>
        <translation>Remove characters (☆)</translation>
    </message>
    <message>
        <source>削除対象文字種別</source>
        <translation>Characters to remove</translation>
    </message>
    <message>
        <source>英字</source>
        <translation>Letters</translation>
    </message>
    <message>
        <source>その他</source>
        <translation>Others</translation>
    </message>
    <message>
        <source>括弧の処理</source>
        <translation>Brackets</translation>
    </message>
    <message>
        <source>括弧で括られた部分ごと削除</source>
        <translation>Remove brackets with their contents</translation>
    </message>
    <message>
        <source>括弧のみ全て削除</source>
        <translation>Remove the brackets only</translation>
    </message>
    <message>
        <source>対象括弧</source>
        <translation>Brackets...</translation>
    </message>
    <message>
        <source>半角数字の0埋め桁揃え</source>
        <translation>Zero-pad half-width numbers</translation>
    </message>
    <message>
        <source>桁</source>
        <translation>digits</translation>
    </message>
    <message>
        <source>末尾の数字のみ対象</source>
        <translation>Last number only</translation>
    </message>
    <message>
        <source>対象文字指定</source>
        <translation>Characters affected</translation>
    </message>
    <message>
        <source>全角文字</source>
        <translation>Full-width</translation>
    </message>
    <message>
        <source>半角文字</source>
        <translation>Half-width</translation>
    </message>
</context>
<context>
    <name>Id3NameRulePage</name>
    <message>
        <source>要素１</source>
        <translation>Part 1</translation>
    </message>
    <message>
        <source>タイトル</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>アーティスト</source>
        <translation>Artist</translation>
    </message>
    <message>
        <source>アルバム</source>
        <translation>Album</translation>
    </message>
    <message>
        <source>リリース年</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>コメント</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>トラック番号</source>
        <translation>Track number</translation>
    </message>
    <message>
        <source>指定文字列</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>要素２</source>
        <translation>Part 2</translation>
    </message>
    <message>
        <source>要素３</source>
        <translation>Part 3</translation>
    </message>
    <message>
        <source>要素４</source>
        <translation>Part 4</translation>
    </message>
    <message>
        <source>各要素の区切り文字</source>
        <translation>Separator between parts</translation>
    </message>
    <message>
        <source>要素内文字列前後のスペース文字を削除</source>
        <translation>Trim spaces around each part</translation>
    </message>
    <message>
        <source>ID3v1情報の文字列はUnicodeで記述されて
いるものとして変換する</source>
        <translation>Read ID3v1 texts as if they
were written in Unicode</translation>
    </message>
</context>
<context>
    <name>Id3Page</name>
    <message>
        <source>ID3情報変換</source>
        <translation>ID3 tags</translation>
    </message>
    <message>
        <source>タイトル</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>変換しない</source>
        <translation>Keep</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>ファイル名要素１</source>
        <translation>File name part 1</translation>
    </message>
    <message>
        <source>ファイル名要素２</source>
        <translation>File name part 2</translation>
    </message>
    <message>
        <source>ファイル名要素３</source>
        <translation>File name part 3</translation>
    </message>
    <message>
        <source>ファイル名要素４</source>
        <translation>File name part 4</translation>
    </message>
    <message>
        <source>親フォルダ名</source>
        <translation>Parent folder name</translation>
    </message>
    <message>
        <source>２階層上フォルダ名</source>
        <translation>Folder name 2 levels up</translation>
    </message>
    <message>
        <source>３階層上フォルダ名</source>
        <translation>Folder name 3 levels up</translation>
    </message>
    <message>
        <source>ボリューム名</source>
        <translation>Volume name</translation>
    </message>
    <message>
        <source>文字列直接指定</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>直接指定</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>アーティスト</source>
        <translation>Artist</translation>
    </message>
    <message>
        <source>アルバム</source>
        <translation>Album</translation>
    </message>
    <message>
        <source>トラック番号</source>
        <translation>Track number</translation>
    </message>
    <message>
        <source>リリース年</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>コメント</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>ジャンル</source>
        <translation>Genre</translation>
    </message>
    <message>
        <source>ファイル名要素の区切り文字</source>
        <translation>Separator between file name parts</translation>
    </message>
    <message>
        <source>変換対象ID3</source>
        <translation>Tags to change</translation>
    </message>
    <message>
        <source>新規付加ID3</source>
        <translation>Tags to add</translation>
    </message>
    <message>
        <source>タグをShift_JISで書き込む（旧機器向け）</source>
        <translation>Write tags in Shift_JIS (for older players)</translation>
    </message>
</context>
<context>
    <name>JobPages</name>
    <message>
        <source>ファイル名称変換を実行しません。

変換する場合は、上のコンボボックスで変換機能を指定してください。</source>
        <translation>File names are not changed.

To rename, choose a rename method in the box above.</translation>
    </message>
</context>
<context>
    <name>ListEntryDialog</name>
    <message>
        <source>MORVA - 変換対象の追加・編集</source>
        <translation>MORVA - Add or edit a target</translation>
    </message>
    <message>
        <source>変換対象の指定</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>ファイル参照</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>ディレクトリ参照</source>
        <translation>Browse folders...</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>変換対象パスが不正です。</source>
        <translation>The target path is invalid.</translation>
    </message>
    <message>
        <source>変換対象としてルートディレクトリは指定できません。</source>
        <translation>The root directory cannot be a target.</translation>
    </message>
    <message>
        <source>変換対象として「..」または「.」の指定はできません。</source>
        <translation>&quot;..&quot; or &quot;.&quot; cannot be a target.</translation>
    </message>
</context>
<context>
    <name>ListPanel</name>
    <message>
        <source>対象ファイルリスト</source>
        <translation>Target files</translation>
    </message>
    <message>
        <source>追加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>編集</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Remove</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>設定とログを置くディレクトリを用意できませんでした。
</source>
        <translation>The directory for the settings and the log could not be prepared.
</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>対象指定方式</source>
        <translation>Targets</translation>
    </message>
    <message>
        <source>指定ディレクトリ下の変換</source>
        <translation>Files under a directory</translation>
    </message>
    <message>
        <source>指定ファイルの変換</source>
        <translation>Listed files</translation>
    </message>
    <message>
        <source>対象ファイル一覧の表示</source>
        <translation>Show the targets</translation>
    </message>
    <message>
        <source>名称変換</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>属性変換</source>
        <translation>Attributes</translation>
    </message>
    <message>
        <source>日時変換</source>
        <translation>Timestamps</translation>
    </message>
    <message>
        <source>ファイル削除</source>
        <translation>Delete files</translation>
    </message>
    <message>
        <source>ID3情報変換</source>
        <translation>ID3 tags</translation>
    </message>
    <message>
        <source>▼変換開始(&amp;S)</source>
        <translation>▼&amp;Start conversion</translation>
    </message>
    <message>
        <source>プレビュー(&amp;P)</source>
        <translation>&amp;Preview</translation>
    </message>
    <message>
        <source>コピー変換(&amp;C)</source>
        <translation>&amp;Copy and convert</translation>
    </message>
    <message>
        <source>△元に戻す(&amp;U)</source>
        <translation>△&amp;Undo</translation>
    </message>
    <message>
        <source>△ログから
元に戻す(&amp;R)</source>
        <translation>△Undo &amp;from
the log</translation>
    </message>
    <message>
        <source>ログ表示(&amp;L)</source>
        <translation>Show &amp;log</translation>
    </message>
    <message>
        <source>変換設定保存</source>
        <translation>Save settings</translation>
    </message>
    <message>
        <source>変換設定読込</source>
        <translation>Load settings</translation>
    </message>
    <message>
        <source>変換指定全OFF</source>
        <translation>All off</translation>
    </message>
    <message>
        <source>設定(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>バージョン</source>
        <translation>About</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>対象ディレクトリの指定が不正です。</source>
        <translation>The target directory is invalid.</translation>
    </message>
    <message>
        <source>変換したものを元に戻します。よろしいですか？</source>
        <translation>Undo the last conversion?</translation>
    </message>
</context>
<context>
    <name>NamePage</name>
    <message>
        <source>ファイル名称変換</source>
        <translation>Rename files</translation>
    </message>
    <message>
        <source>名称変換機能選択</source>
        <translation>Rename method</translation>
    </message>
    <message>
        <source>名称変換しない</source>
        <translation>Do not rename</translation>
    </message>
    <message>
        <source>名称一般変換</source>
        <translation>Case and characters</translation>
    </message>
    <message>
        <source>名称全角／半角変換</source>
        <translation>Full-width / half-width</translation>
    </message>
    <message>
        <source>名称文字列置換</source>
        <translation>Replace text</translation>
    </message>
    <message>
        <source>連番による名称変換</source>
        <translation>Serial numbers</translation>
    </message>
    <message>
        <source>日時による名称変換</source>
        <translation>Date and time</translation>
    </message>
    <message>
        <source>ID3情報による名称変換</source>
        <translation>ID3 tags</translation>
    </message>
    <message>
        <source>変換制御文による名称変換</source>
        <translation>Rename statement</translation>
    </message>
    <message>
        <source>置換パターンCSVによる名称変換</source>
        <translation>Replacement patterns from CSV</translation>
    </message>
    <message>
        <source>拡張子処理</source>
        <translation>Extension</translation>
    </message>
    <message>
        <source>拡張子は変換しない</source>
        <translation>Keep the extension</translation>
    </message>
    <message>
        <source>拡張子のみ変換</source>
        <translation>Extension only</translation>
    </message>
</context>
<context>
    <name>OutputDirectoryDialog</name>
    <message>
        <source>MORVA - コピー変換用出力先ディレクトリの指定</source>
        <translation>MORVA - Output directory for copy and convert</translation>
    </message>
    <message>
        <source>出力先ディレクトリ(&amp;D)：</source>
        <translation>Output &amp;directory:</translation>
    </message>
    <message>
        <source>ディレクトリ参照</source>
        <translation>Browse folders...</translation>
    </message>
    <message>
        <source>同一名称のファイルが存在しても上書きコピーする</source>
        <translation>Overwrite files of the same name</translation>
    </message>
    <message>
        <source>注意</source>
        <translation>Caution</translation>
    </message>
    <message>
        <source>・ コピー変換の場合は「元に戻す」ことができません。
&#x3000;コピーした出力先ディレクトリのファイルを操作して対処してください。</source>
        <translation>- Copy and convert cannot be undone.
  Work on the copies in the output directory instead.</translation>
    </message>
    <message>
        <source>・ 「ファイル削除」でのコピー変換は、ファイルの移動イメージです。</source>
        <translation>- With &quot;Delete files&quot;, copy and convert moves the files.</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>出力先ディレクトリパスが不正です。</source>
        <translation>The output directory path is invalid.</translation>
    </message>
    <message>
        <source>指定されたパスはディレクトリではありません。</source>
        <translation>The path is not a directory.</translation>
    </message>
    <message>
        <source>出力先ディレクトリとして「..」または「.」の指定はできません。</source>
        <translation>&quot;..&quot; or &quot;.&quot; cannot be the output directory.</translation>
    </message>
    <message>
        <source>指定した出力先ディレクトリは存在しません。作成しますか？</source>
        <translation>The output directory does not exist. Create it?</translation>
    </message>
    <message>
        <source>出力先ディレクトリの作成に失敗しました。</source>
        <translation>The output directory could not be created.</translation>
    </message>
</context>
<context>
    <name>PathPanel</name>
    <message>
        <source>対象パス</source>
        <translation>Target path</translation>
    </message>
    <message>
        <source>ディレクトリ参照</source>
        <translation>Browse folders...</translation>
    </message>
    <message>
        <source>ファイル参照</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>ショートカット指定ではリンク先を対象にする</source>
        <translation>Follow a link given as the target</translation>
    </message>
    <message>
        <source>サブディレクトリ内も対象にする</source>
        <translation>Include subdirectories</translation>
    </message>
    <message>
        <source>対象ファイルワイルドカード指定</source>
        <translation>File name pattern</translation>
    </message>
    <message>
        <source>ディレクトリも対象</source>
        <translation>Include directories</translation>
    </message>
    <message>
        <source>指定ディレクトリ自身も対象</source>
        <translation>Include the directory itself</translation>
    </message>
    <message>
        <source>ディレクトリのみを対象</source>
        <translation>Directories only</translation>
    </message>
    <message>
        <source>Exif情報があるファイルのみを対象</source>
        <translation>Only files with Exif data</translation>
    </message>
    <message>
        <source>ID3情報があるファイルのみを対象</source>
        <translation>Only files with ID3 tags</translation>
    </message>
    <message>
        <source>対象ファイル更新日時</source>
        <translation>Modified between</translation>
    </message>
    <message>
        <source>～</source>
        <translation>-</translation>
    </message>
</context>
<context>
    <name>PresetLoadDialog</name>
    <message>
        <source>MORVA - 変換設定読み込み・削除</source>
        <translation>MORVA - Load or delete settings</translation>
    </message>
    <message>
        <source>保存されている変換設定</source>
        <translation>Saved settings</translation>
    </message>
    <message>
        <source>読み込み</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>MORVA - %1読み込み・削除</source>
        <translation>MORVA - Load or delete %1</translation>
    </message>
    <message>
        <source>保存されている%1</source>
        <translation>Saved %1</translation>
    </message>
    <message>
        <source>保存名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>変換制御文内容</source>
        <translation>Statement</translation>
    </message>
    <message>
        <source>正規表現</source>
        <translation>Regular expression</translation>
    </message>
    <message>
        <source>置換文字列</source>
        <translation>Replacement</translation>
    </message>
    <message>
        <source>削除します。よろしいですか？</source>
        <translation>Delete it?</translation>
    </message>
</context>
<context>
    <name>PresetSaveDialog</name>
    <message>
        <source>MORVA - 変換設定保存</source>
        <translation>MORVA - Save settings</translation>
    </message>
    <message>
        <source>変換設定保存名称</source>
        <translation>Name of the saved settings</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>MORVA - %1保存</source>
        <translation>MORVA - Save %1</translation>
    </message>
    <message>
        <source>%1保存名称</source>
        <translation>Name of the saved %1</translation>
    </message>
    <message>
        <source>保存名称が指定されていません。</source>
        <translation>Enter a name.</translation>
    </message>
    <message>
        <source>保存名称に &apos;&lt;&apos; と &apos;&gt;&apos; は使用できません。</source>
        <translation>A name cannot contain &apos;&lt;&apos; or &apos;&gt;&apos;.</translation>
    </message>
    <message>
        <source>既に同じ名称のものが保存されています。上書きしますか？</source>
        <translation>An entry of the same name is already saved. Overwrite it?</translation>
    </message>
    <message>
        <source>既に保存可能最大数（%1）分保存されているため、新規に登録することができません。
新規に登録したい場合は、不要なものを削除してから再保存してください。</source>
        <translation>The maximum number of entries (%1) is already saved, so no new one can be added.
To add one, delete an entry you no longer need and save again.</translation>
    </message>
    <message>
        <source>メモリ不足等により領域確保に失敗しました。終了します。</source>
        <translation>Out of memory. MORVA will exit.</translation>
    </message>
</context>
<context>
    <name>PresetText</name>
    <message>
        <source>変換制御文</source>
        <translation>rename statement</translation>
    </message>
    <message>
        <source>文字列置換設定</source>
        <translation>replacement</translation>
    </message>
    <message>
        <source>変換設定</source>
        <translation>settings</translation>
    </message>
</context>
<context>
    <name>PreviewDialog</name>
    <message>
        <source>MORVA - 変換プレビュー</source>
        <translation>MORVA - Preview</translation>
    </message>
    <message>
        <source>対象外切替</source>
        <translation>Include/exclude</translation>
    </message>
    <message>
        <source>全て対象外</source>
        <translation>Exclude all</translation>
    </message>
    <message>
        <source>全て対象</source>
        <translation>Include all</translation>
    </message>
    <message>
        <source>対象外は非表示</source>
        <translation>Hide excluded</translation>
    </message>
    <message>
        <source>以下を対象外にする</source>
        <translation>Exclude these</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Errors</translation>
    </message>
    <message>
        <source>変換不要</source>
        <translation>Unchanged</translation>
    </message>
    <message>
        <source>変換開始</source>
        <translation>Start conversion</translation>
    </message>
    <message>
        <source>コピー変換</source>
        <translation>Copy and convert</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>抽出総数：%1&#x3000;&#x3000;&#x3000;変換対象：%2&#x3000;&#x3000;&#x3000;成功/不要：%3&#x3000;&#x3000;&#x3000;変換失敗：%4</source>
        <translation>Found: %1      To convert: %2      OK/unchanged: %3      Failed: %4</translation>
    </message>
    <message>
        <source>変換対象がありません。</source>
        <translation>There is nothing to convert.</translation>
    </message>
</context>
<context>
    <name>PreviewTableModel</name>
    <message>
        <source>＃</source>
        <translation>#</translation>
    </message>
    <message>
        <source>対象ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>属性</source>
        <translation>Attributes</translation>
    </message>
    <message>
        <source>変換後名称</source>
        <translation>New name</translation>
    </message>
    <message>
        <source>変換後属性</source>
        <translation>New attributes</translation>
    </message>
    <message>
        <source>日時変換</source>
        <translation>Timestamps</translation>
    </message>
    <message>
        <source>ファイル削除</source>
        <translation>Deletion</translation>
    </message>
    <message>
        <source>ID3情報変換</source>
        <translation>ID3 tags</translation>
    </message>
</context>
<context>
    <name>ProgressDialog</name>
    <message>
        <source>MORVA - 変換状況</source>
        <translation>MORVA - Progress</translation>
    </message>
    <message>
        <source>変換中です．．．</source>
        <translation>Converting...</translation>
    </message>
    <message>
        <source>0 / 0 完了 （0%）</source>
        <translation>0 / 0 done (0%)</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ReplacementRulePage</name>
    <message>
        <source>置換対象を文字列で指定</source>
        <translation>Replace text</translation>
    </message>
    <message>
        <source>対象文字列</source>
        <translation>Search for</translation>
    </message>
    <message>
        <source>大文字／小文字を区別</source>
        <translation>Match case</translation>
    </message>
    <message>
        <source>正規表現を使用</source>
        <translation>Use regular expressions</translation>
    </message>
    <message>
        <source>文字列指定置換設定保存</source>
        <translation>Saved replacements</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>読み込み・削除</source>
        <translation>Load or delete</translation>
    </message>
    <message>
        <source>置換対象を位置で指定</source>
        <translation>Replace by position</translation>
    </message>
    <message>
        <source>先頭</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>最後尾</source>
        <translation>End</translation>
    </message>
    <message>
        <source>指定バイト目</source>
        <translation>Byte</translation>
    </message>
    <message>
        <source>以前</source>
        <translation>and before</translation>
    </message>
    <message>
        <source>以後</source>
        <translation>and after</translation>
    </message>
    <message>
        <source>全て</source>
        <translation>All</translation>
    </message>
    <message>
        <source>指定バイト分</source>
        <translation>Bytes</translation>
    </message>
    <message>
        <source>指定位置が全角文字の２バイト目の場合、
その全角文字も置換対象に</source>
        <translation>When the position is the second byte of
a full-width character, replace that character</translation>
    </message>
    <message>
        <source>する</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>しない</source>
        <translation>No</translation>
    </message>
    <message>
        <source>置換文字列</source>
        <translation>Replacement</translation>
    </message>
    <message>
        <source>対象文字列が指定されていません。</source>
        <translation>Enter the text to search for.</translation>
    </message>
    <message>
        <source>置換文字列が指定されていません。</source>
        <translation>Enter the replacement.</translation>
    </message>
    <message>
        <source>保存する場合、対象文字列と置換文字列の合計は199バイト以下で指定してください。</source>
        <translation>To save it, the search text and the replacement together must be 199 bytes or less.</translation>
    </message>
</context>
<context>
    <name>RunSelectionDialog</name>
    <message>
        <source>MORVA - 「ログから元に戻す」ログ内変換実行日時選択</source>
        <translation>MORVA - Undo from the log: choose a run</translation>
    </message>
    <message>
        <source>変換実行日時</source>
        <translation>Run at</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undone</translation>
    </message>
    <message>
        <source>変換対象</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>変換機能</source>
        <translation>Conversion</translation>
    </message>
    <message>
        <source>変換ログ内容</source>
        <translation>Log of the run</translation>
    </message>
    <message>
        <source>元に戻す実行</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>不可</source>
        <translation>Cannot</translation>
    </message>
    <message>
        <source>済み</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>未</source>
        <translation>No</translation>
    </message>
    <message>
        <source>指定のログからは元に戻すことができません。</source>
        <translation>This run cannot be undone from the log.</translation>
    </message>
    <message>
        <source>ログの読み込みに失敗しました。</source>
        <translation>The log could not be read.</translation>
    </message>
    <message>
        <source>ログには元に戻すものが存在しませんでした。</source>
        <translation>The log has nothing to undo.</translation>
    </message>
    <message>
        <source>ログが見つかりませんでした。</source>
        <translation>The log was not found.</translation>
    </message>
    <message>
        <source>ログには変換実行結果がありませんでした。</source>
        <translation>The log holds no conversion runs.</translation>
    </message>
</context>
<context>
    <name>SerialRulePage</name>
    <message>
        <source>接頭文字</source>
        <translation>Prefix</translation>
    </message>
    <message>
        <source>親ディレクトリ名</source>
        <translation>Parent directory name</translation>
    </message>
    <message>
        <source>文字列指定</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>初回番号</source>
        <translation>Start at</translation>
    </message>
    <message>
        <source>増分値</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>0埋め桁数</source>
        <translation>Zero-padded digits</translation>
    </message>
    <message>
        <source>接尾文字</source>
        <translation>Suffix</translation>
    </message>
    <message>
        <source>ディレクトリ毎に初回番号からの連番</source>
        <translation>Restart in each directory</translation>
    </message>
    <message>
        <source>連番順序指定</source>
        <translation>Numbering order</translation>
    </message>
    <message>
        <source>ファイル名順</source>
        <translation>By file name</translation>
    </message>
    <message>
        <source>更新日時順</source>
        <translation>By modified date</translation>
    </message>
    <message>
        <source>作成日時順</source>
        <translation>By creation date</translation>
    </message>
    <message>
        <source>Exif情報日時順</source>
        <translation>By Exif date</translation>
    </message>
    <message>
        <source>ファイル名中の数値順</source>
        <translation>By number in the file name</translation>
    </message>
    <message>
        <source>昇順</source>
        <translation>Ascending</translation>
    </message>
    <message>
        <source>降順</source>
        <translation>Descending</translation>
    </message>
    <message>
        <source>末尾側の数値を対象</source>
        <translation>Use the last number</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>MORVA - 設定</source>
        <translation>MORVA - Options</translation>
    </message>
    <message>
        <source>正常変換・変換不要もログに出力</source>
        <translation>Also log successful and unchanged files</translation>
    </message>
    <message>
        <source>「元に戻す」時にも出力</source>
        <translation>Also when undoing</translation>
    </message>
    <message>
        <source>ログを出力しない</source>
        <translation>Do not write a log</translation>
    </message>
    <message>
        <source>ログに保持する変換履歴数</source>
        <translation>Runs kept in the log</translation>
    </message>
    <message>
        <source>リスト表示時にはネットワークパスワード入力画面を出さない</source>
        <translation>Do not ask for network passwords when listing</translation>
    </message>
    <message>
        <source>リスト操作で対象を変更する場合、確認メッセージを出す</source>
        <translation>Confirm before the list changes the target</translation>
    </message>
    <message>
        <source>リストに表示する日時情報</source>
        <translation>Dates shown in the list</translation>
    </message>
    <message>
        <source>更新日時</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>作成日時</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>Exif情報日時</source>
        <translation>Exif date</translation>
    </message>
    <message>
        <source>変換実行時の変換設定・入力情報を保持し、次回起動時にも表示する</source>
        <translation>Keep the settings and inputs of a run for the next start</translation>
    </message>
    <message>
        <source>Exif、ID3情報が取得可能か判定する際、拡張子では判定しない</source>
        <translation>Detect Exif and ID3 data by content, not by extension</translation>
    </message>
    <message>
        <source>※チェックすると性能が
&#x3000; 落ちる場合があります</source>
        <translation>* This may slow
  things down</translation>
    </message>
    <message>
        <source>Exif情報日時として取得する項目</source>
        <translation>Exif date to use</translation>
    </message>
    <message>
        <source>ファイル変更日時</source>
        <translation>Date modified</translation>
    </message>
    <message>
        <source>オリジナル画像生成日時</source>
        <translation>Date taken (original)</translation>
    </message>
    <message>
        <source>デジタルデータ生成日時</source>
        <translation>Date digitized</translation>
    </message>
    <message>
        <source>ID3情報読み取りの優先順位</source>
        <translation>ID3 reading order</translation>
    </message>
    <message>
        <source>ID3v1 → ID3v2</source>
        <translation>ID3v1 → ID3v2</translation>
    </message>
    <message>
        <source>ID3v2 → ID3v1</source>
        <translation>ID3v2 → ID3v1</translation>
    </message>
    <message>
        <source>新規付加時パディングサイズ</source>
        <translation>Padding of new tags</translation>
    </message>
    <message>
        <source>変換時にパディング領域を使用しない</source>
        <translation>Do not use the padding when changing tags</translation>
    </message>
    <message>
        <source>ID3v2情報読み取り時、コメントフレームが複数存在した場合は最初のものを有効にする</source>
        <translation>Of several ID3v2 comment frames, read the first</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ID3v2情報付加時のパディングサイズが指定されていません。</source>
        <translation>Enter the padding of new ID3v2 tags.</translation>
    </message>
    <message>
        <source>ID3v2情報付加時のパディングサイズは0～2048の範囲で指定してください。</source>
        <translation>The padding of new ID3v2 tags must be between 0 and 2048.</translation>
    </message>
</context>
<context>
    <name>StatementRulePage</name>
    <message>
        <source>変換制御文 (200バイト以内で指定)</source>
        <translation>Rename statement (up to 200 bytes)</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>読み込み・削除</source>
        <translation>Load or delete</translation>
    </message>
    <message>
        <source>変換制御文中に &apos;\n&apos; または &apos;\r&apos; を検出しました。この文字は削除されます。</source>
        <translation>The rename statement holds &apos;\n&apos; or &apos;\r&apos;. These characters are removed.</translation>
    </message>
    <message>
        <source>変換制御文が指定されていません。</source>
        <translation>Enter a rename statement.</translation>
    </message>
    <message>
        <source>変換制御文が長すぎます。（最大%1バイト）</source>
        <translation>The rename statement is too long (at most %1 bytes).</translation>
    </message>
</context>
<context>
    <name>TargetListModel</name>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>属性</source>
        <translation>Attributes</translation>
    </message>
    <message>
        <source>Exif/ID3</source>
        <translation>Exif/ID3</translation>
    </message>
    <message>
        <source>更新日時</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>作成日時</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>Exif情報日時</source>
        <translation>Exif date</translation>
    </message>
</context>
<context>
    <name>TargetListWindow</name>
    <message>
        <source>MORVA - 対象一覧</source>
        <translation>MORVA - Targets</translation>
    </message>
    <message>
        <source>表示更新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>対象の変更</source>
        <translation>Change the target</translation>
    </message>
    <message>
        <source>親ディレクトリ</source>
        <translation>Parent directory</translation>
    </message>
    <message>
        <source>指定のもの</source>
        <translation>Selected</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>不正なパスで操作されました。</source>
        <translation>The path is invalid.</translation>
    </message>
    <message>
        <source>ルートディレクトリから親ディレクトリへの対象変更はできません。</source>
        <translation>The root directory has no parent directory.</translation>
    </message>
    <message>
        <source>変換対象を親ディレクトリに変更します。よろしいですか？</source>
        <translation>Make the parent directory the target?</translation>
    </message>
    <message>
        <source>親ディレクトリへの対象変更に失敗しました。</source>
        <translation>The target could not be changed to the parent directory.</translation>
    </message>
    <message>
        <source>指定のファイルは、変換対象そのものです。</source>
        <translation>The selected file is the target itself.</translation>
    </message>
    <message>
        <source>対象変更後のパス長が最大値を超えるため、変更できません。</source>
        <translation>The new target path would be too long.</translation>
    </message>
    <message>
        <source>変換対象を指定のものに変更します。よろしいですか？</source>
        <translation>Make the selected item the target?</translation>
    </message>
</context>
<context>
    <name>TimestampPage</name>
    <message>
        <source>ファイル日時変換</source>
        <translation>Change timestamps</translation>
    </message>
    <message>
        <source>作成日時</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>変換なし</source>
        <translation>Keep</translation>
    </message>
    <message>
        <source>日時直接指定</source>
        <translation>Given date and time</translation>
    </message>
    <message>
        <source>更新日時と同じ日時</source>
        <translation>Same as modified</translation>
    </message>
    <message>
        <source>アクセス日時と同じ日時</source>
        <translation>Same as accessed</translation>
    </message>
    <message>
        <source>Exif情報日時と同じ日時</source>
        <translation>Same as the Exif date</translation>
    </message>
    <message>
        <source>ファイル名を基にした日時</source>
        <translation>From the file name</translation>
    </message>
    <message>
        <source>直接指定</source>
        <translation>Given</translation>
    </message>
    <message>
        <source>日付</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>時間</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>更新日時</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>作成日時と同じ日時</source>
        <translation>Same as created</translation>
    </message>
    <message>
        <source>アクセス日時</source>
        <translation>Accessed</translation>
    </message>
    <message>
        <source>ファイル名を基にする場合のファイル名形式</source>
        <translation>File name format for dates from the name</translation>
    </message>
    <message>
        <source>日付：</source>
        <translation>Date:</translation>
    </message>
    <message>
        <source>時間：</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>※指定日時形式</source>
        <translation>* Date and time format</translation>
    </message>
    <message>
        <source>日付：YYYY/MM/DD&#x3000; 時間：hh:mm:ss.(.SSS）</source>
        <translation>Date: YYYY/MM/DD   Time: hh:mm:ss(.SSS)</translation>
    </message>
</context>
<context>
    <name>WidthRulePage</name>
    <message>
        <source>全角変換(ｱ→ア)</source>
        <translation>To full-width (ｱ→ア)</translation>
    </message>
    <message>
        <source>半角変換(ア→ｱ)</source>
        <translation>To half-width (ア→ｱ)</translation>
    </message>
    <message>
        <source>変換対象文字</source>
        <translation>Characters to convert</translation>
    </message>
    <message>
        <source>英字</source>
        <translation>Letters</translation>
    </message>
    <message>
        <source>数字</source>
        <translation>Digits</translation>
    </message>
    <message>
        <source>記号</source>
        <translation>Symbols</translation>
    </message>
    <message>
        <source>括弧</source>
        <translation>Brackets</translation>
    </message>
    <message>
        <source>スペース</source>
        <translation>Spaces</translation>
    </message>
    <message>
        <source>カタカナ</source>
        <translation>Katakana</translation>
    </message>
    <message>
        <source>ひらがな</source>
        <translation>Hiragana</translation>
    </message>
    <message>
        <source>ひらがな・カタカナの共通記号
（。 、 ゜ ゛ ー）も変換</source>
        <translation>Also the marks shared by kana
(。 、 ゜ ゛ ー)</translation>
    </message>
    <message>
        <source>全角変換時、濁点（゛）と半濁点
（゜）を単独変換</source>
        <translation>To full-width, convert voiced
marks (゛ ゜) on their own</translation>
    </message>
</context>
</TS>
