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
    <message>
        <source>全部選ぶ</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>全部外す</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>反転</source>
        <translation>Invert</translation>
    </message>
    <message>
        <source>決まり字・番号:</source>
        <translation>Type cards:</translation>
    </message>
    <message>
        <source>適用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>かな・ローマ字・番号。- で外す</source>
        <translation>Kana, romaji, numbers; - removes</translation>
    </message>
    <message>
        <source>決まり字(かな・ローマ字)か番号を空白で区切って入れます。
「あさ」はあさで始まる札すべて、「むすめふさほせ」は一字決まりの七枚、「1-20」は1番から20番。
頭に - を付けると外します(-87、-1-20)。</source>
        <translation>Deciding syllables (kana or romaji) or card numbers, separated by blanks.
“asa” names every card starting with あさ, “むすめふさほせ” the seven one-syllable cards, “1-20” cards 1 to 20.
A leading - takes them out (-87, -1-20).</translation>
    </message>
    <message numerus="yes">
        <source>選択: %n枚</source>
        <translation>
            <numerusform>Selected: %n</numerusform>
            <numerusform>Selected: %n</numerusform>
        </translation>
    </message>
    <message>
        <source>わからない語: %1</source>
        <translation>Unknown: %1</translation>
    </message>
    <message>
        <source>加えた札 %1枚、外した札 %2枚</source>
        <translation>Added %1, removed %2</translation>
    </message>
    <message>
        <source>選んだセットを今の選択に加える</source>
        <translation>Add chosen sets to the selection</translation>
    </message>
    <message>
        <source>テキストでコピー</source>
        <translation>Copy as text</translation>
    </message>
    <message>
        <source>今の選択...</source>
        <translation>Current selection...</translation>
    </message>
    <message>
        <source>テキストから読み込む...</source>
        <translation>Paste from text...</translation>
    </message>
    <message>
        <source>札セット「%1」はもうあります。置き換えますか?</source>
        <translation>The card set “%1” exists already. Replace it?</translation>
    </message>
    <message>
        <source>札セット「%1」を削除しますか?</source>
        <translation>Delete the card set “%1”?</translation>
    </message>
    <message>
        <source>コピーした札セットの行 (名前: 番号,番号,...):</source>
        <translation>Card set line (name: number,number,...):</translation>
    </message>
    <message>
        <source>札セットとして読めません: %1</source>
        <translation>Not a card set: %1</translation>
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
        <translation type="vanished">The take lasts until Next (→ / Page Down / Space).</translation>
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
    <message>
        <source>まぎらわしさ</source>
        <translation>Temptation</translation>
    </message>
    <message>
        <source>高いほど、選んだ札と頭の音が同じ空札を混ぜます(決まり字まで待つ練習)。</source>
        <translation>The higher, the more dead cards share first sounds with selected ones: wait for the deciding syllables.</translation>
    </message>
    <message>
        <source>取りの間は %1 (%2) まで続きます。</source>
        <translation>The take lasts until %1 (%2).</translation>
    </message>
</context>
</TS>
