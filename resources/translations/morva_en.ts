<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../about_dialog.ui" line="9"/>
        <source>MORVA - バージョン情報</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../about_dialog.ui" line="26"/>
        <source>MORVA - ファイル変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../about_dialog.ui" line="36"/>
        <source>Linux 版（Qt 6 Widgets）</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AttributePage</name>
    <message>
        <location filename="../attribute_page.ui" line="8"/>
        <source>ファイル属性変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../attribute_page.ui" line="15"/>
        <source>読み取り専用</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../attribute_page.ui" line="44"/>
        <source>隠しファイル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../attribute_page.ui" line="72"/>
        <source>アーカイブ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../attribute_page.ui" line="100"/>
        <source>システム</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BracketDialog</name>
    <message>
        <location filename="../bracket_dialog.ui" line="5"/>
        <source>MORVA - 変換対象括弧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../bracket_dialog.ui" line="11"/>
        <source>半角括弧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../bracket_dialog.ui" line="30"/>
        <source>｢ ｣</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../bracket_dialog.ui" line="38"/>
        <source>全角括弧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../bracket_dialog.ui" line="44"/>
        <source>［ ］</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../bracket_dialog.ui" line="49"/>
        <source>（ ）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../bracket_dialog.ui" line="54"/>
        <source>｛ ｝</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../bracket_dialog.ui" line="59"/>
        <source>「 」</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../bracket_dialog.ui" line="64"/>
        <source>【 】</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../bracket_dialog.ui" line="69"/>
        <source>〔 〕</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../bracket_dialog.ui" line="74"/>
        <source>《 》</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../bracket_dialog.ui" line="79"/>
        <source>『 』</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../bracket_dialog.ui" line="84"/>
        <source>＜ ＞</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../bracket_dialog.ui" line="89"/>
        <source>≪ ≫</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../bracket_dialog.ui" line="94"/>
        <source>“ ”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../bracket_dialog.ui" line="99"/>
        <source>‘ ’</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../bracket_dialog.ui" line="124"/>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/bracket_dialog.cc" line="31"/>
        <source>全ての括弧を対象としない設定にすることはできません。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CancellableDialog</name>
    <message>
        <location filename="../../src/ui/cancellable_dialog.cc" line="29"/>
        <source>キャンセルしてもよろしいですか？</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CsvRulePage</name>
    <message>
        <location filename="../csv_rule_page.ui" line="8"/>
        <source>置換パターンCSVファイルパス</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../csv_rule_page.ui" line="21"/>
        <source>ファイル参照</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../csv_rule_page.ui" line="36"/>
        <source>大文字／小文字を区別</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../csv_rule_page.ui" line="42"/>
        <source>正規表現を使用</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../csv_rule_page.ui" line="55"/>
        <source>CSVファイルは以下のフォーマットで作成してください。
&#x3000;&quot;対象文字列1&quot;,&quot;置換文字列1&quot;
&#x3000;&quot;対象文字列2&quot;,&quot;置換文字列2&quot;
&#x3000;&#x3000;&#x3000;：
要素の区切り文字は「,」かタブ文字です。
タブ文字を区切り文字にする場合は、文字列前後の
「&quot;」を省略することができます。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DateRulePage</name>
    <message>
        <location filename="../date_rule_page.ui" line="8"/>
        <source>接頭文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="14"/>
        <source>親ディレクトリ名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="21"/>
        <source>文字列指定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="43"/>
        <source>使用日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="49"/>
        <source>更新日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="56"/>
        <source>作成日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="62"/>
        <source>Exif情報があればその日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="80"/>
        <source>日付形式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="103"/>
        <source>時間も付加</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="116"/>
        <source>曜日も付加</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="122"/>
        <source>英1（“Sun”～）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="123"/>
        <source>英2（“Sunday”～）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="124"/>
        <source>和1（“日”～）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="125"/>
        <source>和2（“日曜日”～）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="140"/>
        <source>日付・時間・曜日の区切り文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="161"/>
        <source>同一日時毎に連番付加</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="167"/>
        <source>日時と連番の区切り文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="178"/>
        <source>0埋め桁数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="206"/>
        <source>ディレクトリ毎に１からの連番</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="211"/>
        <source>連番順序指定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="227"/>
        <source>ファイル名順</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="228"/>
        <source>更新日時順</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="229"/>
        <source>作成日時順</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="230"/>
        <source>Exif情報日時順</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="231"/>
        <source>ファイル名中の数値順</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="236"/>
        <source>昇順</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="242"/>
        <source>降順</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../date_rule_page.ui" line="248"/>
        <source>末尾側の数値を対象</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DeletionPage</name>
    <message>
        <location filename="../deletion_page.ui" line="8"/>
        <location filename="../deletion_page.ui" line="13"/>
        <source>ファイル削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../deletion_page.ui" line="19"/>
        <source>ごみ箱に移動せずに削除する</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../deletion_page.ui" line="25"/>
        <source>復元不可状態にした上で削除する</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../deletion_page.ui" line="31"/>
        <source>復元不可状態レベル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../deletion_page.ui" line="38"/>
        <source>レベル１（低）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../deletion_page.ui" line="39"/>
        <source>レベル２（中）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../deletion_page.ui" line="40"/>
        <source>レベル３（高）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../deletion_page.ui" line="56"/>
        <source>注意！</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../deletion_page.ui" line="60"/>
        <source>・ファイル削除は「元に戻す」ことができません。
・ごみ箱に移動せずに削除したものは、ごみ箱から戻すこともできません。
・復元不可状態にした上で削除したものは、どのような手段でも復元できません。
・レベルが高いほど、削除に時間がかかります。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DroppedPaths</name>
    <message>
        <location filename="../../src/ui/dropped_paths.cc" line="38"/>
        <source>変換対象パスが不正です。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ExtractionDialog</name>
    <message>
        <location filename="../extraction_dialog.ui" line="9"/>
        <source>MORVA - 変換対象抽出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../extraction_dialog.ui" line="14"/>
        <source>変換対象ファイルを抽出中です。
しばらくお待ちください・・・</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../extraction_dialog.ui" line="29"/>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileChoosers</name>
    <message>
        <location filename="../../src/ui/file_choosers.cc" line="34"/>
        <source>ファイルを選択してください</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/file_choosers.cc" line="43"/>
        <source>変換対象フォルダの選択</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GeneralRulePage</name>
    <message>
        <location filename="../general_rule_page.ui" line="10"/>
        <source>大文字／小文字変換（☆）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="17"/>
        <source>大文字変換(abc→ABC)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="18"/>
        <source>小文字変換(ABC→abc)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="19"/>
        <source>先頭大文字、以下小文字(ABC→Abc)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="32"/>
        <source>次の文字直後の英字も大文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="38"/>
        <location filename="../general_rule_page.ui" line="86"/>
        <source>スペース</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="44"/>
        <location filename="../general_rule_page.ui" line="92"/>
        <source>数字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="49"/>
        <source>他の英字以外</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="67"/>
        <source>特定文字の削除（☆）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="80"/>
        <source>削除対象文字種別</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="97"/>
        <source>英字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="102"/>
        <source>その他</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="120"/>
        <source>括弧の処理</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="126"/>
        <source>括弧で括られた部分ごと削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="127"/>
        <source>括弧のみ全て削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="132"/>
        <source>対象括弧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="148"/>
        <source>半角数字の0埋め桁揃え</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="166"/>
        <source>桁</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="171"/>
        <source>末尾の数字のみ対象</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="185"/>
        <source>対象文字指定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="191"/>
        <source>全角文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../general_rule_page.ui" line="197"/>
        <source>半角文字</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Id3NameRulePage</name>
    <message>
        <location filename="../id3_name_rule_page.ui" line="10"/>
        <source>要素１</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_name_rule_page.ui" line="17"/>
        <location filename="../id3_name_rule_page.ui" line="35"/>
        <location filename="../id3_name_rule_page.ui" line="53"/>
        <location filename="../id3_name_rule_page.ui" line="71"/>
        <source>タイトル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_name_rule_page.ui" line="18"/>
        <location filename="../id3_name_rule_page.ui" line="36"/>
        <location filename="../id3_name_rule_page.ui" line="54"/>
        <location filename="../id3_name_rule_page.ui" line="72"/>
        <source>アーティスト</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_name_rule_page.ui" line="19"/>
        <location filename="../id3_name_rule_page.ui" line="37"/>
        <location filename="../id3_name_rule_page.ui" line="55"/>
        <location filename="../id3_name_rule_page.ui" line="73"/>
        <source>アルバム</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_name_rule_page.ui" line="20"/>
        <location filename="../id3_name_rule_page.ui" line="38"/>
        <location filename="../id3_name_rule_page.ui" line="56"/>
        <location filename="../id3_name_rule_page.ui" line="74"/>
        <source>リリース年</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_name_rule_page.ui" line="21"/>
        <location filename="../id3_name_rule_page.ui" line="39"/>
        <location filename="../id3_name_rule_page.ui" line="57"/>
        <location filename="../id3_name_rule_page.ui" line="75"/>
        <source>コメント</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_name_rule_page.ui" line="22"/>
        <location filename="../id3_name_rule_page.ui" line="40"/>
        <location filename="../id3_name_rule_page.ui" line="58"/>
        <location filename="../id3_name_rule_page.ui" line="76"/>
        <source>トラック番号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_name_rule_page.ui" line="23"/>
        <location filename="../id3_name_rule_page.ui" line="41"/>
        <location filename="../id3_name_rule_page.ui" line="59"/>
        <location filename="../id3_name_rule_page.ui" line="77"/>
        <location filename="../id3_name_rule_page.ui" line="86"/>
        <source>指定文字列</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_name_rule_page.ui" line="28"/>
        <source>要素２</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_name_rule_page.ui" line="46"/>
        <source>要素３</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_name_rule_page.ui" line="64"/>
        <source>要素４</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_name_rule_page.ui" line="107"/>
        <source>各要素の区切り文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_name_rule_page.ui" line="128"/>
        <source>要素内文字列前後のスペース文字を削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_name_rule_page.ui" line="144"/>
        <source>ID3v1情報の文字列はUnicodeで記述されて
いるものとして変換する</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Id3Page</name>
    <message>
        <location filename="../id3_page.ui" line="8"/>
        <source>ID3情報変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="15"/>
        <source>タイトル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="21"/>
        <location filename="../id3_page.ui" line="53"/>
        <location filename="../id3_page.ui" line="85"/>
        <location filename="../id3_page.ui" line="117"/>
        <location filename="../id3_page.ui" line="149"/>
        <location filename="../id3_page.ui" line="181"/>
        <location filename="../id3_page.ui" line="213"/>
        <source>変換しない</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="22"/>
        <location filename="../id3_page.ui" line="54"/>
        <location filename="../id3_page.ui" line="86"/>
        <location filename="../id3_page.ui" line="118"/>
        <location filename="../id3_page.ui" line="150"/>
        <location filename="../id3_page.ui" line="182"/>
        <location filename="../id3_page.ui" line="214"/>
        <source>ファイル名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="23"/>
        <location filename="../id3_page.ui" line="55"/>
        <location filename="../id3_page.ui" line="87"/>
        <location filename="../id3_page.ui" line="119"/>
        <location filename="../id3_page.ui" line="151"/>
        <location filename="../id3_page.ui" line="183"/>
        <location filename="../id3_page.ui" line="215"/>
        <source>ファイル名要素１</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="24"/>
        <location filename="../id3_page.ui" line="56"/>
        <location filename="../id3_page.ui" line="88"/>
        <location filename="../id3_page.ui" line="120"/>
        <location filename="../id3_page.ui" line="152"/>
        <location filename="../id3_page.ui" line="184"/>
        <location filename="../id3_page.ui" line="216"/>
        <source>ファイル名要素２</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="25"/>
        <location filename="../id3_page.ui" line="57"/>
        <location filename="../id3_page.ui" line="89"/>
        <location filename="../id3_page.ui" line="121"/>
        <location filename="../id3_page.ui" line="153"/>
        <location filename="../id3_page.ui" line="185"/>
        <location filename="../id3_page.ui" line="217"/>
        <source>ファイル名要素３</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="26"/>
        <location filename="../id3_page.ui" line="58"/>
        <location filename="../id3_page.ui" line="90"/>
        <location filename="../id3_page.ui" line="122"/>
        <location filename="../id3_page.ui" line="154"/>
        <location filename="../id3_page.ui" line="186"/>
        <location filename="../id3_page.ui" line="218"/>
        <source>ファイル名要素４</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="27"/>
        <location filename="../id3_page.ui" line="59"/>
        <location filename="../id3_page.ui" line="91"/>
        <location filename="../id3_page.ui" line="123"/>
        <location filename="../id3_page.ui" line="155"/>
        <location filename="../id3_page.ui" line="187"/>
        <location filename="../id3_page.ui" line="219"/>
        <source>親フォルダ名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="28"/>
        <location filename="../id3_page.ui" line="60"/>
        <location filename="../id3_page.ui" line="92"/>
        <location filename="../id3_page.ui" line="124"/>
        <location filename="../id3_page.ui" line="156"/>
        <location filename="../id3_page.ui" line="188"/>
        <location filename="../id3_page.ui" line="220"/>
        <source>２階層上フォルダ名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="29"/>
        <location filename="../id3_page.ui" line="61"/>
        <location filename="../id3_page.ui" line="93"/>
        <location filename="../id3_page.ui" line="125"/>
        <location filename="../id3_page.ui" line="157"/>
        <location filename="../id3_page.ui" line="189"/>
        <location filename="../id3_page.ui" line="221"/>
        <source>３階層上フォルダ名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="30"/>
        <location filename="../id3_page.ui" line="62"/>
        <location filename="../id3_page.ui" line="94"/>
        <location filename="../id3_page.ui" line="126"/>
        <location filename="../id3_page.ui" line="158"/>
        <location filename="../id3_page.ui" line="190"/>
        <location filename="../id3_page.ui" line="222"/>
        <source>ボリューム名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="31"/>
        <location filename="../id3_page.ui" line="63"/>
        <location filename="../id3_page.ui" line="95"/>
        <location filename="../id3_page.ui" line="127"/>
        <location filename="../id3_page.ui" line="159"/>
        <location filename="../id3_page.ui" line="191"/>
        <location filename="../id3_page.ui" line="223"/>
        <source>文字列直接指定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="36"/>
        <location filename="../id3_page.ui" line="68"/>
        <location filename="../id3_page.ui" line="100"/>
        <location filename="../id3_page.ui" line="132"/>
        <location filename="../id3_page.ui" line="164"/>
        <location filename="../id3_page.ui" line="196"/>
        <location filename="../id3_page.ui" line="228"/>
        <source>直接指定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="47"/>
        <source>アーティスト</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="79"/>
        <source>アルバム</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="111"/>
        <source>トラック番号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="143"/>
        <source>リリース年</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="175"/>
        <source>コメント</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="207"/>
        <source>ジャンル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="243"/>
        <source>ファイル名要素の区切り文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="264"/>
        <source>変換対象ID3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="292"/>
        <source>新規付加ID3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../id3_page.ui" line="327"/>
        <source>タグをShift_JISで書き込む（旧機器向け）</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>JobPages</name>
    <message>
        <location filename="../../src/ui/job_pages.cc" line="62"/>
        <source>ファイル名称変換を実行しません。

変換する場合は、上のコンボボックスで変換機能を指定してください。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ListEntryDialog</name>
    <message>
        <location filename="../list_entry_dialog.ui" line="6"/>
        <source>MORVA - 変換対象の追加・編集</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../list_entry_dialog.ui" line="12"/>
        <source>変換対象の指定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../list_entry_dialog.ui" line="31"/>
        <source>ファイル参照</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../list_entry_dialog.ui" line="38"/>
        <source>ディレクトリ参照</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../list_entry_dialog.ui" line="62"/>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/list_entry_dialog.cc" line="45"/>
        <source>変換対象パスが不正です。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/list_entry_dialog.cc" line="49"/>
        <source>変換対象としてルートディレクトリは指定できません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/list_entry_dialog.cc" line="53"/>
        <source>変換対象として「..」または「.」の指定はできません。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ListPanel</name>
    <message>
        <location filename="../list_panel.ui" line="14"/>
        <source>対象ファイルリスト</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../list_panel.ui" line="49"/>
        <source>追加</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../list_panel.ui" line="56"/>
        <source>編集</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../list_panel.ui" line="63"/>
        <source>削除</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <location filename="../../src/ui/main.cc" line="98"/>
        <source>設定とログを置くディレクトリを用意できませんでした。
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../main_window.ui" line="21"/>
        <source>対象指定方式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="32"/>
        <source>指定ディレクトリ下の変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="37"/>
        <source>指定ファイルの変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="45"/>
        <source>対象ファイル一覧の表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="76"/>
        <source>名称変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="82"/>
        <source>属性変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="88"/>
        <source>日時変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="94"/>
        <source>ファイル削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="100"/>
        <source>ID3情報変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="113"/>
        <source>▼変換開始(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="125"/>
        <source>プレビュー(&amp;P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="132"/>
        <source>コピー変換(&amp;C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="141"/>
        <source>△元に戻す(&amp;U)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="151"/>
        <source>△ログから
元に戻す(&amp;R)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="162"/>
        <source>ログ表示(&amp;L)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="181"/>
        <source>変換設定保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="188"/>
        <source>変換設定読込</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="195"/>
        <source>変換指定全OFF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="202"/>
        <source>設定(&amp;O)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="209"/>
        <source>ヘルプ(&amp;H)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="216"/>
        <source>バージョン</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../main_window.ui" line="223"/>
        <source>終了(&amp;X)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/main_window.cc" line="496"/>
        <source>対象ディレクトリの指定が不正です。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/main_window.cc" line="604"/>
        <source>変換したものを元に戻します。よろしいですか？</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NamePage</name>
    <message>
        <location filename="../name_page.ui" line="9"/>
        <source>ファイル名称変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../name_page.ui" line="18"/>
        <source>名称変換機能選択</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../name_page.ui" line="27"/>
        <source>名称変換しない</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../name_page.ui" line="28"/>
        <source>名称一般変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../name_page.ui" line="29"/>
        <source>名称全角／半角変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../name_page.ui" line="30"/>
        <source>名称文字列置換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../name_page.ui" line="31"/>
        <source>連番による名称変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../name_page.ui" line="32"/>
        <source>日時による名称変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../name_page.ui" line="33"/>
        <source>ID3情報による名称変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../name_page.ui" line="34"/>
        <source>変換制御文による名称変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../name_page.ui" line="35"/>
        <source>置換パターンCSVによる名称変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../name_page.ui" line="59"/>
        <source>拡張子処理</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../name_page.ui" line="69"/>
        <source>拡張子は変換しない</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../name_page.ui" line="79"/>
        <source>拡張子のみ変換</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OutputDirectoryDialog</name>
    <message>
        <location filename="../output_directory_dialog.ui" line="6"/>
        <source>MORVA - コピー変換用出力先ディレクトリの指定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../output_directory_dialog.ui" line="14"/>
        <source>出力先ディレクトリ(&amp;D)：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../output_directory_dialog.ui" line="34"/>
        <source>ディレクトリ参照</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../output_directory_dialog.ui" line="43"/>
        <source>同一名称のファイルが存在しても上書きコピーする</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../output_directory_dialog.ui" line="50"/>
        <source>注意</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../output_directory_dialog.ui" line="56"/>
        <source>・ コピー変換の場合は「元に戻す」ことができません。
&#x3000;コピーした出力先ディレクトリのファイルを操作して対処してください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../output_directory_dialog.ui" line="64"/>
        <source>・ 「ファイル削除」でのコピー変換は、ファイルの移動イメージです。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../output_directory_dialog.ui" line="93"/>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/output_directory_dialog.cc" line="52"/>
        <location filename="../../src/ui/output_directory_dialog.cc" line="74"/>
        <source>出力先ディレクトリパスが不正です。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/output_directory_dialog.cc" line="58"/>
        <source>指定されたパスはディレクトリではありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/output_directory_dialog.cc" line="62"/>
        <source>出力先ディレクトリとして「..」または「.」の指定はできません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/output_directory_dialog.cc" line="66"/>
        <source>指定した出力先ディレクトリは存在しません。作成しますか？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/output_directory_dialog.cc" line="68"/>
        <source>出力先ディレクトリの作成に失敗しました。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PathPanel</name>
    <message>
        <location filename="../path_panel.ui" line="11"/>
        <source>対象パス</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../path_panel.ui" line="43"/>
        <source>ディレクトリ参照</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../path_panel.ui" line="50"/>
        <source>ファイル参照</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../path_panel.ui" line="59"/>
        <source>ショートカット指定ではリンク先を対象にする</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../path_panel.ui" line="69"/>
        <source>サブディレクトリ内も対象にする</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../path_panel.ui" line="81"/>
        <source>対象ファイルワイルドカード指定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../path_panel.ui" line="106"/>
        <source>ディレクトリも対象</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../path_panel.ui" line="119"/>
        <source>指定ディレクトリ自身も対象</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../path_panel.ui" line="129"/>
        <source>ディレクトリのみを対象</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../path_panel.ui" line="141"/>
        <source>Exif情報があるファイルのみを対象</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../path_panel.ui" line="151"/>
        <source>ID3情報があるファイルのみを対象</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../path_panel.ui" line="161"/>
        <source>対象ファイル更新日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../path_panel.ui" line="193"/>
        <source>～</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PresetLoadDialog</name>
    <message>
        <location filename="../preset_load_dialog.ui" line="5"/>
        <source>MORVA - 変換設定読み込み・削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preset_load_dialog.ui" line="9"/>
        <source>保存されている変換設定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preset_load_dialog.ui" line="26"/>
        <source>読み込み</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preset_load_dialog.ui" line="31"/>
        <source>削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preset_load_dialog.ui" line="36"/>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preset_load_dialog.cc" line="41"/>
        <source>MORVA - %1読み込み・削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preset_load_dialog.cc" line="42"/>
        <source>保存されている%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preset_load_dialog.cc" line="46"/>
        <location filename="../../src/ui/preset_load_dialog.cc" line="47"/>
        <location filename="../../src/ui/preset_load_dialog.cc" line="48"/>
        <source>保存名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preset_load_dialog.cc" line="47"/>
        <source>変換制御文内容</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preset_load_dialog.cc" line="48"/>
        <source>正規表現</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preset_load_dialog.cc" line="48"/>
        <source>置換文字列</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preset_load_dialog.cc" line="101"/>
        <source>削除します。よろしいですか？</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PresetSaveDialog</name>
    <message>
        <location filename="../preset_save_dialog.ui" line="5"/>
        <source>MORVA - 変換設定保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preset_save_dialog.ui" line="9"/>
        <source>変換設定保存名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preset_save_dialog.ui" line="27"/>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preset_save_dialog.cc" line="26"/>
        <source>MORVA - %1保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preset_save_dialog.cc" line="27"/>
        <source>%1保存名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preset_save_dialog.cc" line="50"/>
        <source>保存名称が指定されていません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preset_save_dialog.cc" line="55"/>
        <source>保存名称に &apos;&lt;&apos; と &apos;&gt;&apos; は使用できません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preset_save_dialog.cc" line="61"/>
        <source>既に同じ名称のものが保存されています。上書きしますか？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preset_save_dialog.cc" line="66"/>
        <source>既に保存可能最大数（%1）分保存されているため、新規に登録することができません。
新規に登録したい場合は、不要なものを削除してから再保存してください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preset_save_dialog.cc" line="77"/>
        <source>メモリ不足等により領域確保に失敗しました。終了します。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PresetText</name>
    <message>
        <location filename="../../src/ui/preset_texts.h" line="15"/>
        <source>変換制御文</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preset_texts.h" line="17"/>
        <source>文字列置換設定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preset_texts.h" line="21"/>
        <source>変換設定</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PreviewDialog</name>
    <message>
        <location filename="../preview_dialog.ui" line="12"/>
        <source>MORVA - 変換プレビュー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_dialog.ui" line="26"/>
        <source>対象外切替</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_dialog.ui" line="32"/>
        <source>全て対象外</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_dialog.ui" line="38"/>
        <source>全て対象</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_dialog.ui" line="54"/>
        <source>対象外は非表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_dialog.ui" line="59"/>
        <source>以下を対象外にする</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_dialog.ui" line="65"/>
        <source>エラー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_dialog.ui" line="70"/>
        <source>変換不要</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_dialog.ui" line="96"/>
        <source>変換開始</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_dialog.ui" line="102"/>
        <source>コピー変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_dialog.ui" line="108"/>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preview_dialog.cc" line="107"/>
        <source>抽出総数：%1&#x3000;&#x3000;&#x3000;変換対象：%2&#x3000;&#x3000;&#x3000;成功/不要：%3&#x3000;&#x3000;&#x3000;変換失敗：%4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preview_dialog.cc" line="151"/>
        <source>変換対象がありません。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PreviewTableModel</name>
    <message>
        <location filename="../../src/ui/preview_table_model.cc" line="20"/>
        <source>＃</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preview_table_model.cc" line="20"/>
        <source>対象ファイル名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preview_table_model.cc" line="21"/>
        <source>属性</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preview_table_model.cc" line="21"/>
        <source>変換後名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preview_table_model.cc" line="22"/>
        <source>変換後属性</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preview_table_model.cc" line="22"/>
        <source>日時変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preview_table_model.cc" line="23"/>
        <source>ファイル削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/preview_table_model.cc" line="23"/>
        <source>ID3情報変換</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgressDialog</name>
    <message>
        <location filename="../progress_dialog.ui" line="9"/>
        <source>MORVA - 変換状況</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../progress_dialog.ui" line="14"/>
        <source>変換中です．．．</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../progress_dialog.ui" line="33"/>
        <source>0 / 0 完了 （0%）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../progress_dialog.ui" line="47"/>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReplacementRulePage</name>
    <message>
        <location filename="../replacement_rule_page.ui" line="10"/>
        <source>置換対象を文字列で指定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="30"/>
        <source>対象文字列</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="39"/>
        <source>コピー ～ </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="40"/>
        <source> へのショートカット</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="41"/>
        <source>ｺﾋﾟｰ ～ </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="42"/>
        <source>へのｼｮｰﾄｶｯﾄ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="43"/>
        <source> - コピー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="44"/>
        <source> - ショートカット</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="59"/>
        <source>大文字／小文字を区別</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="65"/>
        <source>正規表現を使用</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="70"/>
        <source>文字列指定置換設定保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="76"/>
        <source>保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="81"/>
        <source>読み込み・削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="110"/>
        <source>置換対象を位置で指定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="130"/>
        <source>先頭</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="131"/>
        <source>最後尾</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="136"/>
        <source>指定バイト目</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="149"/>
        <source>以前</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="150"/>
        <source>以後</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="165"/>
        <source>全て</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="172"/>
        <source>指定バイト分</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="194"/>
        <source>指定位置が全角文字の２バイト目の場合、
その全角文字も置換対象に</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="200"/>
        <source>する</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="207"/>
        <source>しない</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../replacement_rule_page.ui" line="226"/>
        <source>置換文字列</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/replacement_rule_page.cc" line="91"/>
        <source>対象文字列が指定されていません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/replacement_rule_page.cc" line="96"/>
        <source>置換文字列が指定されていません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/replacement_rule_page.cc" line="103"/>
        <source>保存する場合、対象文字列と置換文字列の合計は199バイト以下で指定してください。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RunSelectionDialog</name>
    <message>
        <location filename="../run_selection_dialog.ui" line="12"/>
        <source>MORVA - 「ログから元に戻す」ログ内変換実行日時選択</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../run_selection_dialog.ui" line="26"/>
        <source>変換実行日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../run_selection_dialog.ui" line="27"/>
        <source>元に戻す</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../run_selection_dialog.ui" line="28"/>
        <source>変換対象</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../run_selection_dialog.ui" line="29"/>
        <source>変換機能</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../run_selection_dialog.ui" line="34"/>
        <source>変換ログ内容</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../run_selection_dialog.ui" line="53"/>
        <source>元に戻す実行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../run_selection_dialog.ui" line="59"/>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/run_selection_dialog.cc" line="42"/>
        <source>不可</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/run_selection_dialog.cc" line="42"/>
        <location filename="../../src/ui/run_selection_dialog.cc" line="53"/>
        <source>済み</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/run_selection_dialog.cc" line="42"/>
        <source>未</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/run_selection_dialog.cc" line="122"/>
        <source>指定のログからは元に戻すことができません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/run_selection_dialog.cc" line="128"/>
        <location filename="../../src/ui/run_selection_dialog.cc" line="176"/>
        <source>ログの読み込みに失敗しました。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/run_selection_dialog.cc" line="132"/>
        <source>ログには元に戻すものが存在しませんでした。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/run_selection_dialog.cc" line="155"/>
        <source>ログが見つかりませんでした。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/run_selection_dialog.cc" line="159"/>
        <source>ログには変換実行結果がありませんでした。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SerialRulePage</name>
    <message>
        <location filename="../serial_rule_page.ui" line="8"/>
        <source>接頭文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../serial_rule_page.ui" line="14"/>
        <location filename="../serial_rule_page.ui" line="99"/>
        <source>親ディレクトリ名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../serial_rule_page.ui" line="21"/>
        <location filename="../serial_rule_page.ui" line="106"/>
        <source>文字列指定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../serial_rule_page.ui" line="45"/>
        <source>初回番号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../serial_rule_page.ui" line="56"/>
        <source>増分値</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../serial_rule_page.ui" line="67"/>
        <source>0埋め桁数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../serial_rule_page.ui" line="93"/>
        <source>接尾文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../serial_rule_page.ui" line="130"/>
        <source>ディレクトリ毎に初回番号からの連番</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../serial_rule_page.ui" line="146"/>
        <source>連番順序指定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../serial_rule_page.ui" line="152"/>
        <source>ファイル名順</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../serial_rule_page.ui" line="153"/>
        <source>更新日時順</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../serial_rule_page.ui" line="154"/>
        <source>作成日時順</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../serial_rule_page.ui" line="155"/>
        <source>Exif情報日時順</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../serial_rule_page.ui" line="156"/>
        <source>ファイル名中の数値順</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../serial_rule_page.ui" line="161"/>
        <source>昇順</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../serial_rule_page.ui" line="167"/>
        <source>降順</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../serial_rule_page.ui" line="183"/>
        <source>末尾側の数値を対象</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <location filename="../settings_dialog.ui" line="5"/>
        <source>MORVA - 設定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="14"/>
        <source>正常変換・変換不要もログに出力</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="20"/>
        <source>「元に戻す」時にも出力</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="26"/>
        <source>ログを出力しない</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="32"/>
        <source>ログに保持する変換履歴数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="100"/>
        <source>リスト表示時にはネットワークパスワード入力画面を出さない</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="106"/>
        <source>リスト操作で対象を変更する場合、確認メッセージを出す</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="112"/>
        <source>リストに表示する日時情報</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="118"/>
        <source>更新日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="124"/>
        <source>作成日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="130"/>
        <source>Exif情報日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="158"/>
        <source>変換実行時の変換設定・入力情報を保持し、次回起動時にも表示する</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="166"/>
        <source>Exif、ID3情報が取得可能か判定する際、拡張子では判定しない</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="172"/>
        <source>※チェックすると性能が
&#x3000; 落ちる場合があります</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="188"/>
        <source>Exif情報日時として取得する項目</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="195"/>
        <source>ファイル変更日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="196"/>
        <source>オリジナル画像生成日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="197"/>
        <source>デジタルデータ生成日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="213"/>
        <source>ID3情報読み取りの優先順位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="219"/>
        <source>ID3v1 → ID3v2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="226"/>
        <source>ID3v2 → ID3v1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="243"/>
        <source>新規付加時パディングサイズ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="274"/>
        <source>変換時にパディング領域を使用しない</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="280"/>
        <source>ID3v2情報読み取り時、コメントフレームが複数存在した場合は最初のものを有効にする</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../settings_dialog.ui" line="293"/>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/settings_dialog.cc" line="74"/>
        <source>ID3v2情報付加時のパディングサイズが指定されていません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/settings_dialog.cc" line="83"/>
        <source>ID3v2情報付加時のパディングサイズは0～2048の範囲で指定してください。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatementRulePage</name>
    <message>
        <location filename="../statement_rule_page.ui" line="8"/>
        <source>変換制御文 (200バイト以内で指定)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../statement_rule_page.ui" line="21"/>
        <source>保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../statement_rule_page.ui" line="26"/>
        <source>読み込み・削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/statement_rule_page.cc" line="60"/>
        <source>変換制御文中に &apos;\n&apos; または &apos;\r&apos; を検出しました。この文字は削除されます。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/statement_rule_page.cc" line="74"/>
        <location filename="../../src/ui/statement_rule_page.cc" line="83"/>
        <source>変換制御文が指定されていません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/statement_rule_page.cc" line="78"/>
        <source>変換制御文が長すぎます。（最大%1バイト）</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TargetListModel</name>
    <message>
        <location filename="../../src/ui/target_list_model.cc" line="13"/>
        <source>名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/target_list_model.cc" line="13"/>
        <source>属性</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/target_list_model.cc" line="14"/>
        <source>Exif/ID3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/target_list_model.cc" line="14"/>
        <source>更新日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/target_list_model.cc" line="15"/>
        <source>作成日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/target_list_model.cc" line="15"/>
        <source>Exif情報日時</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TargetListWindow</name>
    <message>
        <location filename="../target_list_window.ui" line="6"/>
        <source>MORVA - 対象一覧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../target_list_window.ui" line="40"/>
        <source>表示更新</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../target_list_window.ui" line="47"/>
        <source>対象の変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../target_list_window.ui" line="53"/>
        <source>親ディレクトリ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../target_list_window.ui" line="60"/>
        <source>指定のもの</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../target_list_window.ui" line="77"/>
        <source>閉じる</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/target_list_window.cc" line="99"/>
        <source>不正なパスで操作されました。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/target_list_window.cc" line="104"/>
        <source>ルートディレクトリから親ディレクトリへの対象変更はできません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/target_list_window.cc" line="107"/>
        <source>変換対象を親ディレクトリに変更します。よろしいですか？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/target_list_window.cc" line="113"/>
        <source>親ディレクトリへの対象変更に失敗しました。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/target_list_window.cc" line="120"/>
        <source>指定のファイルは、変換対象そのものです。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/target_list_window.cc" line="129"/>
        <source>対象変更後のパス長が最大値を超えるため、変更できません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../src/ui/target_list_window.cc" line="132"/>
        <source>変換対象を指定のものに変更します。よろしいですか？</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TimestampPage</name>
    <message>
        <location filename="../timestamp_page.ui" line="8"/>
        <source>ファイル日時変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="13"/>
        <source>作成日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="20"/>
        <location filename="../timestamp_page.ui" line="75"/>
        <location filename="../timestamp_page.ui" line="130"/>
        <source>変換なし</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="21"/>
        <location filename="../timestamp_page.ui" line="76"/>
        <location filename="../timestamp_page.ui" line="131"/>
        <source>日時直接指定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="22"/>
        <location filename="../timestamp_page.ui" line="133"/>
        <source>更新日時と同じ日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="23"/>
        <location filename="../timestamp_page.ui" line="78"/>
        <source>アクセス日時と同じ日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="24"/>
        <location filename="../timestamp_page.ui" line="79"/>
        <location filename="../timestamp_page.ui" line="134"/>
        <source>Exif情報日時と同じ日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="25"/>
        <location filename="../timestamp_page.ui" line="80"/>
        <location filename="../timestamp_page.ui" line="135"/>
        <source>ファイル名を基にした日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="30"/>
        <location filename="../timestamp_page.ui" line="85"/>
        <location filename="../timestamp_page.ui" line="140"/>
        <source>直接指定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="35"/>
        <location filename="../timestamp_page.ui" line="90"/>
        <location filename="../timestamp_page.ui" line="145"/>
        <source>日付</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="46"/>
        <location filename="../timestamp_page.ui" line="101"/>
        <location filename="../timestamp_page.ui" line="156"/>
        <source>時間</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="68"/>
        <source>更新日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="77"/>
        <location filename="../timestamp_page.ui" line="132"/>
        <source>作成日時と同じ日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="123"/>
        <source>アクセス日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="178"/>
        <source>ファイル名を基にする場合のファイル名形式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="184"/>
        <source>日付：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="196"/>
        <source>時間：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="202"/>
        <source>なし</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="221"/>
        <source>※指定日時形式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../timestamp_page.ui" line="226"/>
        <source>日付：YYYY/MM/DD&#x3000; 時間：hh:mm:ss.(.SSS）</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WidthRulePage</name>
    <message>
        <location filename="../width_rule_page.ui" line="10"/>
        <source>全角変換(ｱ→ア)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../width_rule_page.ui" line="17"/>
        <source>半角変換(ア→ｱ)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../width_rule_page.ui" line="31"/>
        <source>変換対象文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../width_rule_page.ui" line="37"/>
        <source>英字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../width_rule_page.ui" line="43"/>
        <source>数字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../width_rule_page.ui" line="48"/>
        <source>記号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../width_rule_page.ui" line="53"/>
        <source>括弧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../width_rule_page.ui" line="58"/>
        <source>スペース</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../width_rule_page.ui" line="73"/>
        <source>カタカナ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../width_rule_page.ui" line="78"/>
        <source>ひらがな</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../width_rule_page.ui" line="96"/>
        <source>ひらがな・カタカナの共通記号
（。 、 ゜ ゛ ー）も変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../width_rule_page.ui" line="113"/>
        <source>全角変換時、濁点（゛）と半濁点
（゜）を単独変換</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
