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
        <source>む～せ う～ゆ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>い ち ひ き</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>は や よ か</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>み た こ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>お わ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>な</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>あ</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>MainWindow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Home</source>
        <translation type="unfinished"></translation>
    </message>
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
        <source>Ctrl+Q</source>
        <translation type="unfinished"></translation>
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
        <source>Music</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>rindou_000_2.ogg</source>
        <translation type="unfinished"></translation>
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
        <source>Music2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>asagao_000_2.ogg</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;h2&gt;%1 %2&lt;/h2&gt;&lt;p&gt;use Qt%3 (%4bit)&lt;p&gt;use SDL audio library</source>
        <translation>&lt;h2&gt;%1 %2&lt;/h2&gt;&lt;p&gt;Uses Qt %3 (%4-bit)&lt;p&gt;Uses the SDL audio library</translation>
    </message>
    <message>
        <source>音声出力を開けません</source>
        <translation>Cannot open the audio output</translation>
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
        <translation>Voice 1 (female)</translation>
    </message>
    <message>
        <source>音声2&#x3000;（男性）</source>
        <translation>Voice 2 (male)</translation>
    </message>
</context>
<context>
    <name>PlaySequenceThread</name>
    <message>
        <source>Music</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Music2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
