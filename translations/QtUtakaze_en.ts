<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>AnkiJikan_Dialog</name>
    <message>
        <source>暗記時間</source>
        <translation>Memorization</translation>
    </message>
    <message>
        <source>終了時刻 : </source>
        <translation>Ends at: </translation>
    </message>
    <message>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>残り時間 : %1 分</source>
        <translation>Time left: %1 min</translation>
    </message>
    <message>
        <source>終了時刻 : %1</source>
        <translation>Ends at: %1</translation>
    </message>
    <message>
        <source>残り時間 : %1分</source>
        <translation>Time left: %1 min</translation>
    </message>
    <message>
        <source>暗記時間終了</source>
        <translation>Memorization over</translation>
    </message>
</context>
<context>
    <name>CheckReaderCommand</name>
    <message>
        <source>使い方: %1 --check-reader フォルダ</source>
        <translation>Usage: %1 --check-reader FOLDER</translation>
    </message>
    <message>
        <source>フォルダがありません: %1</source>
        <translation>No such folder: %1</translation>
    </message>
</context>
<context>
    <name>FinalMsgBox</name>
    <message>
        <source>暗記時間終了</source>
        <translation>Memorization over</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>暗記時間終了しました</source>
        <translation>The memorization time is over.</translation>
    </message>
</context>
<context>
    <name>FudaSelectDlg</name>
    <message>
        <source>Fuda</source>
        <translation>Cards</translation>
    </message>
    <message>
        <source>札セット</source>
        <translation>Card sets</translation>
    </message>
    <message>
        <source>今の選択を保存...</source>
        <translation>Save current selection...</translation>
    </message>
    <message>
        <source>保存した札セット</source>
        <translation>Saved sets</translation>
    </message>
    <message>
        <source>札セットを削除</source>
        <translation>Delete a set</translation>
    </message>
    <message>
        <source>五色</source>
        <translation>Five colours</translation>
    </message>
    <message>
        <source>頭の字</source>
        <translation>First syllable</translation>
    </message>
    <message>
        <source>青</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>桃</source>
        <translation>Pink</translation>
    </message>
    <message>
        <source>黄</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>緑</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>橙</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>札が選択されていません</source>
        <translation>No cards are selected.</translation>
    </message>
    <message>
        <source>名前:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>この名前は使えません: %1</source>
        <translation>This name cannot be used: %1</translation>
    </message>
    <message>
        <source>札セットを保存できませんでした: %1</source>
        <translation>Could not save the card sets: %1</translation>
    </message>
    <message numerus="yes">
        <source>%1 (%n枚)</source>
        <translation>
            <numerusform>%1 (%n card)</numerusform>
            <numerusform>%1 (%n cards)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>一字決まり (%n枚)</source>
        <translation>
            <numerusform>One-syllable card (%n)</numerusform>
            <numerusform>One-syllable cards (%n)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>読み上げ履歴</source>
        <translation>Reading history</translation>
    </message>
    <message>
        <source>順</source>
        <translation>#</translation>
    </message>
    <message>
        <source>札</source>
        <translation>Card</translation>
    </message>
    <message>
        <source>初句</source>
        <translation>First phrase</translation>
    </message>
    <message>
        <source>決まり字</source>
        <translation>Kimariji</translation>
    </message>
    <message>
        <source>開始(秒)</source>
        <translation>Start (s)</translation>
    </message>
    <message>
        <source>同じ順番でもう一度読む</source>
        <translation>Read again in the same order</translation>
    </message>
    <message>
        <source>%1 (空札)</source>
        <translation>%1 (dead)</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>音量</source>
        <translation>Vol.</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>AboutQt</source>
        <translation>About Qt</translation>
    </message>
    <message>
        <source>Fuda</source>
        <translation>Cards</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>再生ボタンを押してください</source>
        <translation>Press the play button</translation>
    </message>
    <message>
        <source>音声ファイルが見つからないので再生できません(!_!)</source>
        <translation>Cannot play: the voice files were not found (!_!)</translation>
    </message>
    <message>
        <source>札が選択されていないので再生できません</source>
        <translation>Cannot play: no cards are selected</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>終了しますか?</source>
        <translation>Stop the reading?</translation>
    </message>
    <message>
        <source>%1 / %2 再生中 : 第%3首 %4</source>
        <translation>%1 / %2 playing: card %3 %4</translation>
    </message>
    <message>
        <source>View</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Poem panel</source>
        <translation>Poem panel</translation>
    </message>
    <message>
        <source>History</source>
        <translation>History</translation>
    </message>
    <message>
        <source>履歴を保存できませんでした: %1</source>
        <translation>Could not save the history: %1</translation>
    </message>
    <message>
        <source>音声出力を開けません</source>
        <translation>Cannot open the audio output</translation>
    </message>
    <message>
        <source>&lt;h2&gt;%1 %2&lt;/h2&gt;&lt;p&gt;use Qt%3 (%4bit)&lt;p&gt;use SDL audio library</source>
        <translation>&lt;h2&gt;%1 %2&lt;/h2&gt;&lt;p&gt;Uses Qt %3 (%4-bit)&lt;p&gt;Uses the SDL audio library</translation>
    </message>
    <message>
        <source>Reading</source>
        <translation>Reading</translation>
    </message>
    <message>
        <source>Practice...</source>
        <translation>Practice...</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>Repeat</translation>
    </message>
</context>
<context>
    <name>MprisBridge</name>
    <message>
        <source>第%1首 %2</source>
        <translation>Card %1 %2</translation>
    </message>
</context>
<context>
    <name>OptionDialog</name>
    <message>
        <source>Option</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>音声の選択</source>
        <translation>Voice</translation>
    </message>
    <message>
        <source>試聴</source>
        <translation>Listen</translation>
    </message>
    <message>
        <source>音声1&#x3000;（女性）</source>
        <translation>Female voice</translation>
    </message>
    <message>
        <source>音声2&#x3000;（男性）</source>
        <translation>Male voice</translation>
    </message>
    <message>
        <source>読み上げの調整</source>
        <translation>Reading adjustments</translation>
    </message>
    <message>
        <source>前後の無音を削る</source>
        <translation>Trim silence at both ends</translation>
    </message>
    <message>
        <source>音量をそろえる</source>
        <translation>Even out the loudness</translation>
    </message>
    <message>
        <source>読む速さ</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source> 倍</source>
        <translation>×</translation>
    </message>
    <message>
        <source>読手（録音のライブラリ）</source>
        <translation>Reader (library of recordings)</translation>
    </message>
    <message>
        <source>フォルダから追加...</source>
        <translation>Add from folder...</translation>
    </message>
    <message>
        <source>ZIP から追加...</source>
        <translation>Add from ZIP...</translation>
    </message>
    <message>
        <source>録音を確認</source>
        <translation>Check the recordings</translation>
    </message>
    <message>
        <source>音声1・音声2（上で選択）</source>
        <translation>Voice 1 / voice 2 (chosen above)</translation>
    </message>
    <message>
        <source>読手の ZIP ファイル</source>
        <translation>Reader&apos;s ZIP file</translation>
    </message>
    <message>
        <source>ZIP ファイル (*.zip)</source>
        <translation>ZIP files (*.zip)</translation>
    </message>
    <message>
        <source>読手の録音のフォルダ</source>
        <translation>Folder of the reader&apos;s recordings</translation>
    </message>
    <message>
        <source>読手の追加</source>
        <translation>Add a reader</translation>
    </message>
    <message>
        <source>読手の名前:</source>
        <translation>Reader&apos;s name:</translation>
    </message>
    <message>
        <source>この名前は使えません: %1</source>
        <translation>This name cannot be used: %1</translation>
    </message>
    <message>
        <source>読手 %1 はすでにあります。置き換えますか?</source>
        <translation>The reader %1 exists already. Replace it?</translation>
    </message>
    <message>
        <source>読手 %1 を追加できませんでした。</source>
        <translation>The reader %1 could not be added.</translation>
    </message>
</context>
<context>
    <name>PoemPanel</name>
    <message>
        <source>青</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>桃</source>
        <translation>Pink</translation>
    </message>
    <message>
        <source>黄</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>緑</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>橙</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>歌</source>
        <translation>Poem</translation>
    </message>
    <message>
        <source>上の句で表示</source>
        <translation>Show with the upper verse</translation>
    </message>
    <message>
        <source>下の句の後に表示</source>
        <translation>Show after the lower verse</translation>
    </message>
    <message>
        <source>読み終わってから表示</source>
        <translation>Show when the reading is over</translation>
    </message>
    <message>
        <source>読み</source>
        <translation>Reading</translation>
    </message>
    <message>
        <source>決まり字</source>
        <translation>Kimariji</translation>
    </message>
    <message>
        <source>五色</source>
        <translation>Colour group</translation>
    </message>
    <message>
        <source>読まれた札がここに表示されます</source>
        <translation>The card just read appears here</translation>
    </message>
    <message>
        <source>第%1首&#x3000;%2（%3）</source>
        <translation>Card %1: %2 (%3)</translation>
    </message>
    <message>
        <source>%1（今: %2）</source>
        <translation>%1 (now: %2)</translation>
    </message>
</context>
<context>
    <name>PracticeDialog</name>
    <message>
        <source>練習設定</source>
        <translation>Practice settings</translation>
    </message>
    <message>
        <source>読み方</source>
        <translation>Reading style</translation>
    </message>
    <message>
        <source>標準</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>上の句、間、下の句、間、次の札。これまでの読み方です。</source>
        <translation>Upper verse, pause, lower verse, pause, next card: the usual reading.</translation>
    </message>
    <message>
        <source>競技</source>
        <translation>Competitive</translation>
    </message>
    <message>
        <source>序歌を上の句から全部読み、下の句を二度読みます。</source>
        <translation>Reads the whole preamble, upper verse first, with its lower verse twice.</translation>
    </message>
    <message>
        <source>初心者</source>
        <translation>Beginner</translation>
    </message>
    <message>
        <source>上の句、1秒、下の句、取りの間、もう一度下の句。</source>
        <translation>Upper verse, 1 s, lower verse, the take, the lower verse again.</translation>
    </message>
    <message>
        <source>取りの間</source>
        <translation>The take</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>取りの間は「上句下句の間」の秒数です。</source>
        <translation>The take lasts the seconds set in “Between halves”.</translation>
    </message>
    <message>
        <source>手動</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>取りの間は「次へ」(→ / Page Down / Space)まで続きます。</source>
        <translation>The take lasts until Next (→ / Page Down / Space).</translation>
    </message>
    <message>
        <source>空札</source>
        <translation>Dead cards</translation>
    </message>
    <message numerus="yes">
        <source> 枚</source>
        <translation>
            <numerusform> card</numerusform>
            <numerusform> cards</numerusform>
        </translation>
    </message>
    <message>
        <source>選んでいない札からこの枚数を混ぜて読みます。</source>
        <translation>Mixes this many unselected cards into the reading.</translation>
    </message>
</context>
<context>
    <name>ReaderImporter</name>
    <message>
        <source>名前のない項目</source>
        <translation>An entry without a name</translation>
    </message>
    <message>
        <source>絶対パスです: %1</source>
        <translation>Absolute path: %1</translation>
    </message>
    <message>
        <source>「..」を含みます: %1</source>
        <translation>Contains &quot;..&quot;: %1</translation>
    </message>
    <message>
        <source>読手の名前に使えません: %1</source>
        <translation>Not usable as a reader name: %1</translation>
    </message>
    <message>
        <source>読手 %1 はすでにあります</source>
        <translation>The reader %1 exists already</translation>
    </message>
    <message>
        <source>フォルダを作れません: %1</source>
        <translation>Cannot create the folder: %1</translation>
    </message>
    <message>
        <source>フォルダでも .zip でもありません: %1</source>
        <translation>Neither a folder nor a .zip: %1</translation>
    </message>
    <message>
        <source>句のファイル (名前_NNN_H.ogg など) が見つかりません</source>
        <translation>No verse files (NAME_NNN_H.ogg and so on) found</translation>
    </message>
    <message>
        <source>再生できる句がありません</source>
        <translation>No verse can be played</translation>
    </message>
    <message>
        <source>読手 %1 を置き換えられません</source>
        <translation>Cannot replace the reader %1</translation>
    </message>
    <message>
        <source>読手 %1 を書き込めません</source>
        <translation>Cannot write the reader %1</translation>
    </message>
    <message>
        <source>リンクか特殊なファイルです: %1</source>
        <translation>A link or special file: %1</translation>
    </message>
    <message>
        <source>50 MB を超えています: %1</source>
        <translation>Larger than 50 MB: %1</translation>
    </message>
    <message>
        <source>読めません: %1</source>
        <translation>Cannot read: %1</translation>
    </message>
    <message>
        <source>アーカイブを読めません: %1</source>
        <translation>Cannot read the archive: %1</translation>
    </message>
    <message>
        <source>リンクです: %1</source>
        <translation>A link: %1</translation>
    </message>
    <message>
        <source>特殊なファイルです: %1</source>
        <translation>A special file: %1</translation>
    </message>
    <message>
        <source>書き込めません: %1</source>
        <translation>Cannot write: %1</translation>
    </message>
    <message>
        <source>アーカイブが壊れています: %1 (%2)</source>
        <translation>The archive is damaged: %1 (%2)</translation>
    </message>
    <message>
        <source>アーカイブが壊れています: %1</source>
        <translation>The archive is damaged: %1</translation>
    </message>
</context>
<context>
    <name>ReaderReport</name>
    <message>
        <source>句: %1 / %2 (序歌の上の句: %3)</source>
        <translation>Verses: %1 / %2 (preamble&apos;s upper verse: %3)</translation>
    </message>
    <message>
        <source>あり</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>no</translation>
    </message>
    <message>
        <source>長さ: 最短 %1 秒、中央値 %2 秒、最長 %3 秒</source>
        <translation>Length: shortest %1 s, median %2 s, longest %3 s</translation>
    </message>
    <message>
        <source>冒頭の無音: 最短 %1 秒、中央値 %2 秒、最長 %3 秒</source>
        <translation>Leading silence: shortest %1 s, median %2 s, longest %3 s</translation>
    </message>
    <message>
        <source>音量の幅: %1 LU</source>
        <translation>Loudness spread: %1 LU</translation>
    </message>
    <message>
        <source>下の句の余韻: 最短 %1 秒、中央値 %2 秒、最長 %3 秒</source>
        <translation>Lower verses&apos; held tail: shortest %1 s, median %2 s, longest %3 s</translation>
    </message>
    <message>
        <source>別の名前の句 (%1_...) は使われません</source>
        <translation>Verses of another prefix (%1_...) are not used</translation>
    </message>
    <message>
        <source>句がありません: %1</source>
        <translation>Missing verse: %1</translation>
    </message>
    <message>
        <source>再生できません: %1</source>
        <translation>Cannot be decoded: %1</translation>
    </message>
    <message>
        <source>無音です: %1</source>
        <translation>Silent: %1</translation>
    </message>
</context>
</TS>
