<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>AboutText</name>
    <message>
        <source>ライセンス:</source>
        <translation>Licence:</translation>
    </message>
    <message>
        <source>使用しているライブラリとライセンス:</source>
        <translation>Libraries used and their licences:</translation>
    </message>
    <message>
        <source>音声 &quot;Mei&quot; と &quot;Takumi&quot;:</source>
        <translation>The voices &quot;Mei&quot; and &quot;Takumi&quot;:</translation>
    </message>
</context>
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
    <name>BroadcastController</name>
    <message>
        <source>配信サーバー %1:%2 に接続できないので再生できません</source>
        <translation>Cannot reach the broadcast server %1:%2, so nothing is read</translation>
    </message>
    <message>
        <source>配信サーバーとの接続が切れました</source>
        <translation>The broadcast server is gone</translation>
    </message>
    <message>
        <source>配信サーバーとの接続が切れたので一時停止しました。サーバーが戻ったら再生ボタンで再開します</source>
        <translation>Paused: the broadcast server is gone. Once it is back, Start resumes the reading</translation>
    </message>
    <message>
        <source>配信サーバーに再接続しました。再生ボタンで再開します</source>
        <translation>The broadcast server is back. Start resumes the reading</translation>
    </message>
    <message>
        <source>配信サーバーに再接続しました</source>
        <translation>The broadcast server is back</translation>
    </message>
    <message>
        <source>配信サーバーとの接続が切れているので再開できません</source>
        <translation>Cannot resume: the broadcast server is still gone</translation>
    </message>
    <message>
        <source>サーバーを待っています</source>
        <translation>waiting for the server</translation>
    </message>
    <message numerus="yes">
        <source>%n 台接続中</source>
        <translation>
            <numerusform>%n client connected</numerusform>
            <numerusform>%n clients connected</numerusform>
        </translation>
    </message>
    <message>
        <source>配信: %1 — %2</source>
        <translation>Broadcast: %1 — %2</translation>
    </message>
</context>
<context>
    <name>BroadcastOptions</name>
    <message>
        <source>配信 (Snapcast)</source>
        <translation>Broadcast (Snapcast)</translation>
    </message>
    <message>
        <source>読み上げを Snapcast で配信する</source>
        <translation>Broadcast the reading through Snapcast</translation>
    </message>
    <message>
        <source>サーバー...</source>
        <translation>Server...</translation>
    </message>
    <message>
        <source>配信サーバー</source>
        <translation>Broadcast server</translation>
    </message>
    <message>
        <source>このコンピューターで snapserver を起動する</source>
        <translation>Start snapserver on this computer</translation>
    </message>
    <message>
        <source>起動済みのサーバーを使う</source>
        <translation>Use a server already running</translation>
    </message>
    <message>
        <source>このコンピューターでも snapclient で聞く</source>
        <translation>Listen on this computer too, through snapclient</translation>
    </message>
    <message>
        <source>サーバーのホスト:</source>
        <translation>Server host:</translation>
    </message>
    <message>
        <source>クライアントのポート:</source>
        <translation>Port for clients:</translation>
    </message>
    <message>
        <source>制御ポート (JSON-RPC):</source>
        <translation>Control port (JSON-RPC):</translation>
    </message>
    <message>
        <source>音声を送るポート:</source>
        <translation>Port the sound is sent to:</translation>
    </message>
    <message>
        <source>バッファ:</source>
        <translation>Buffer:</translation>
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
    <name>DataFoldersDialog</name>
    <message>
        <source>データの保存場所</source>
        <translation>Data Folders</translation>
    </message>
    <message>
        <source>フォルダを開く</source>
        <translation>Open Folder</translation>
    </message>
    <message>
        <source>ポータブル: 設定と記録はプログラムのフォルダに保存されます。</source>
        <translation>Portable: the settings and records are kept in the program&apos;s folder.</translation>
    </message>
    <message>
        <source>ユーザーごと: 設定と記録はこのユーザーのフォルダに保存されます。</source>
        <translation>Per user: the settings and records are kept in this user&apos;s folders.</translation>
    </message>
    <message>
        <source>設定ファイル</source>
        <translation>Settings file</translation>
    </message>
    <message>
        <source>履歴・練習記録・読手</source>
        <translation>History, training records, readers</translation>
    </message>
    <message>
        <source>音声と合図 (検索順 %1)</source>
        <translation>Voices and cues (search order %1)</translation>
    </message>
    <message>
        <source>フォルダを作成できないため設定と履歴は保存されません: %1</source>
        <translation>Settings and history are not kept: cannot create the folder %1</translation>
    </message>
    <message>
        <source>フォルダを開けるファイルマネージャーがありません: %1</source>
        <translation>No file manager could open the folder: %1</translation>
    </message>
</context>
<context>
    <name>DrillChartLoader</name>
    <message>
        <source>グラフを読み込めませんでした</source>
        <translation>The chart could not be loaded</translation>
    </message>
</context>
<context>
    <name>DrillLauncher</name>
    <message>
        <source>ドリル</source>
        <translation>Drill</translation>
    </message>
    <message>
        <source>ドリルは配信できません: 反応時間はこのコンピューターの音声出力の時計で計ります。オプションで配信をやめてからドリルを開いてください。</source>
        <translation>The drill cannot be broadcast: reaction times are timed on this computer&apos;s own sound output. Switch broadcast off in Options, then open the drill.</translation>
    </message>
</context>
<context>
    <name>DrillResultsView</name>
    <message>
        <source>反応の中央値 (ミリ秒)</source>
        <translation>Median reaction (ms)</translation>
    </message>
    <message>
        <source>お手つきと取れなかった回数</source>
        <translation>Faults and misses</translation>
    </message>
    <message>
        <source>最近の練習 (苦手な札から)</source>
        <translation>Recent drills (weakest cards first)</translation>
    </message>
    <message>
        <source>—</source>
        <translation>—</translation>
    </message>
    <message>
        <source>取り %1 / お手つき %2 / 取れず %3 / 反応の中央値 %4 ミリ秒 / 最速 %5 ミリ秒</source>
        <translation>Taken %1 / faults %2 / missed %3 / median reaction %4 ms / best %5 ms</translation>
    </message>
    <message>
        <source>前回から: 取り %1 / お手つき %2 / 取れず %3 / 中央値 %4 ミリ秒</source>
        <translation>Since the last drill: taken %1 / faults %2 / missed %3 / median %4 ms</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>反応の中央値</source>
        <translation>Median reaction</translation>
    </message>
    <message>
        <source>上段</source>
        <translation>Front row</translation>
    </message>
    <message>
        <source>中段</source>
        <translation>Middle row</translation>
    </message>
    <message>
        <source>下段</source>
        <translation>Back row</translation>
    </message>
    <message>
        <source>自陣</source>
        <translation>Own side</translation>
    </message>
    <message>
        <source>敵陣</source>
        <translation>Opponent&apos;s side</translation>
    </message>
    <message numerus="yes">
        <source>%1 ミリ秒 (%n回)</source>
        <translation>
            <numerusform>%1 ms (%n take)</numerusform>
            <numerusform>%1 ms (%n takes)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DrillSetupPanel</name>
    <message>
        <source>選択中の札</source>
        <translation>Selected cards</translation>
    </message>
    <message>
        <source>札セット</source>
        <translation>Card set</translation>
    </message>
    <message>
        <source>苦手札</source>
        <translation>Weak cards</translation>
    </message>
    <message>
        <source>場の札</source>
        <translation>Cards on the field</translation>
    </message>
    <message>
        <source>枚数</source>
        <translation>Number of cards</translation>
    </message>
    <message>
        <source>空札</source>
        <translation>Dead cards</translation>
    </message>
    <message>
        <source>読手</source>
        <translation>Reader</translation>
    </message>
    <message>
        <source> 秒</source>
        <translation> s</translation>
    </message>
    <message>
        <source>取りか取れなかった後、下の句までの間</source>
        <translation>Pause after a take or a miss, before the lower verse</translation>
    </message>
    <message>
        <source>下の句の後、次の札までの間</source>
        <translation>Pause after the lower verse, before the next card</translation>
    </message>
    <message>
        <source>聞き分け (決まり字で止める)</source>
        <translation>Listening (stop at the deciding syllables)</translation>
    </message>
    <message>
        <source>次の札まで</source>
        <translation>Before the next card</translation>
    </message>
    <message>
        <source>下の句まで</source>
        <translation>Before the lower verse</translation>
    </message>
    <message>
        <source>上の句を決まり字のすぐ後で止め、場から取ります</source>
        <translation>Each upper verse stops right after its deciding syllables; take from the field</translation>
    </message>
</context>
<context>
    <name>DrillWindow</name>
    <message>
        <source>取りの練習</source>
        <translation>Take drill</translation>
    </message>
    <message>
        <source>苦手札</source>
        <translation>Weak cards</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>次へ</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>もう一度</source>
        <translation>Repeat</translation>
    </message>
    <message>
        <source>苦手札で練習</source>
        <translation>Drill the weak cards</translation>
    </message>
    <message>
        <source>苦手札を札セットに保存...</source>
        <translation>Save the weak cards as a card set...</translation>
    </message>
    <message>
        <source>場に置く札がありません</source>
        <translation>There are no cards to lay out on the field</translation>
    </message>
    <message>
        <source>この読手には時刻表がないので、上の句の始まりから計ります</source>
        <translation>This reader has no timing, so takes are timed from the start of the upper verse</translation>
    </message>
    <message>
        <source>%1 → %2</source>
        <translation>%1 → %2</translation>
    </message>
    <message>
        <source>%1 ミリ秒 (上の句の始まりから)</source>
        <translation>%1 ms (from the start of the upper verse)</translation>
    </message>
    <message>
        <source>%1 ミリ秒</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <source>取り: %1番 %2 決まり字 %3</source>
        <translation>Taken: card %1 in %2, deciding syllables %3</translation>
    </message>
    <message>
        <source>お手つき: 空札 %1番 (決まり字 %2) で %3番を取りました</source>
        <translation>Fault: card %3 taken while dead card %1 (deciding syllables %2) was read</translation>
    </message>
    <message>
        <source>お手つき: %1番 (決まり字 %2) に %3番を取りました</source>
        <translation>Fault: card %3 taken for card %1 (deciding syllables %2)</translation>
    </message>
    <message>
        <source>取れませんでした: %1番 決まり字 %2</source>
        <translation>Missed: card %1, deciding syllables %2</translation>
    </message>
    <message>
        <source>空札: %1番 決まり字 %2</source>
        <translation>Dead card: card %1, deciding syllables %2</translation>
    </message>
    <message>
        <source>練習の記録を保存できませんでした</source>
        <translation>The drill could not be saved</translation>
    </message>
    <message numerus="yes">
        <source>練習を終わりました (%n枚)</source>
        <translation>
            <numerusform>Drill over (%n card)</numerusform>
            <numerusform>Drill over (%n cards)</numerusform>
        </translation>
    </message>
    <message>
        <source>苦手札を札セットに保存</source>
        <translation>Save the weak cards as a card set</translation>
    </message>
    <message>
        <source>札セットの名前</source>
        <translation>Card set name</translation>
    </message>
    <message>
        <source>この名前では保存できません</source>
        <translation>The set cannot be saved under this name</translation>
    </message>
    <message>
        <source>設定ファイルに書き込めませんでした</source>
        <translation>The settings file could not be written</translation>
    </message>
    <message>
        <source>読手がないので聞き分けの練習はできません</source>
        <translation>There is no reader, so the listening drill cannot run</translation>
    </message>
    <message>
        <source>この読手では上の句を途中で止められないので、聞き分けの練習はできません</source>
        <translation>This reader cannot stop an upper verse midway, so the listening drill cannot run</translation>
    </message>
    <message>
        <source>この読手には時刻表 (timing.tsv) がないので、決まり字で止める聞き分けの練習はできません</source>
        <translation>This reader has no timing (timing.tsv), so the listening drill cannot stop at the deciding syllables</translation>
    </message>
    <message>
        <source>札セット「%1」はもうあります。苦手札で置き換えますか?</source>
        <translation>The card set “%1” exists already. Replace it with the weak cards?</translation>
    </message>
    <message>
        <source>一覧</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>競技の場 (自陣と敵陣)</source>
        <translation>Game field (own and opponent&apos;s side)</translation>
    </message>
    <message>
        <source>自陣をランダムに並べる</source>
        <translation>Place own side at random</translation>
    </message>
    <message>
        <source>並べ方</source>
        <translation>Layout</translation>
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
        <translation type="vanished">Could not save the card sets: %1</translation>
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
        <translation type="vanished">Start (s)</translation>
    </message>
    <message>
        <source>同じ順番でもう一度読む</source>
        <translation>Read again in the same order</translation>
    </message>
    <message>
        <source>%1 (空札)</source>
        <translation>%1 (dead)</translation>
    </message>
    <message>
        <source>読み上げ(&amp;L):</source>
        <translation>&amp;Readings:</translation>
    </message>
    <message>
        <source>開始(分:秒)</source>
        <translation>Started (min:s)</translation>
    </message>
    <message>
        <source>短くなった決まり字</source>
        <translation>Shortened kimariji</translation>
    </message>
    <message>
        <source>この読み上げを削除(&amp;D)...</source>
        <translation>&amp;Delete this reading...</translation>
    </message>
    <message numerus="yes">
        <source>%1（%n枚・途中で終了）</source>
        <translation>
            <numerusform>%1 (%n card, stopped early)</numerusform>
            <numerusform>%1 (%n cards, stopped early)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1（%n枚）</source>
        <translation>
            <numerusform>%1 (%n card)</numerusform>
            <numerusform>%1 (%n cards)</numerusform>
        </translation>
    </message>
    <message>
        <source>履歴の削除</source>
        <translation>Delete a reading</translation>
    </message>
    <message>
        <source>%1 の読み上げを履歴から削除しますか?</source>
        <translation>Delete the reading of %1 from the history?</translation>
    </message>
    <message>
        <source>%1 を削除できませんでした。</source>
        <translation>%1 could not be deleted.</translation>
    </message>
</context>
<context>
    <name>ImportReaderCommand</name>
    <message>
        <source>使い方: %1 --import-reader フォルダか.zip 名前 [--pattern 名前の型]</source>
        <translation>Usage: %1 --import-reader FOLDER-OR-ZIP NAME [--pattern PATTERN]</translation>
    </message>
    <message>
        <source>ありません: %1</source>
        <translation>Not found: %1</translation>
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
        <translation type="vanished">Cannot play: no cards are selected</translation>
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
        <translation type="vanished">%1 / %2 playing: card %3 %4</translation>
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
        <translation type="vanished">Could not save the history: %1</translation>
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
    <message>
        <source>データの保存場所...</source>
        <translation>Data Folders...</translation>
    </message>
    <message>
        <source>%1 / %2 再生中</source>
        <translation type="vanished">%1 / %2 playing</translation>
    </message>
    <message>
        <source>取りの練習...</source>
        <translation>Take drill...</translation>
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
        <translation type="vanished">The reader %1 exists already. Replace it?</translation>
    </message>
    <message>
        <source>読手 %1 を追加できませんでした。</source>
        <translation>The reader %1 could not be added.</translation>
    </message>
    <message>
        <source>名前の変更</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>録音がない札が %1 枚あります: %2 (その句は読まれず、無音になります)</source>
        <translation>%1 cards have no recording: %2 (their verses are silent)</translation>
    </message>
    <message>
        <source>読手の名前の変更</source>
        <translation>Rename the reader</translation>
    </message>
    <message>
        <source>新しい名前:</source>
        <translation>New name:</translation>
    </message>
    <message>
        <source>読手の削除</source>
        <translation>Delete the reader</translation>
    </message>
    <message>
        <source>読手 %1 の録音をすべて削除しますか?</source>
        <translation>Delete all recordings of the reader %1?</translation>
    </message>
    <message>
        <source>ファイル名の型 (例: {card}-{half}.mp3, {card:03}_{half}.flac)
空欄なら 名前_NNN_H.ogg などの名前で探します:</source>
        <translation>File name pattern (for example {card}-{half}.mp3, {card:03}_{half}.flac)
Leave empty for files named NAME_NNN_H.ogg and so on:</translation>
    </message>
    <message>
        <source>%1 個のファイルを句として取り込みます。よろしいですか?</source>
        <translation>%1 files will be imported as verses. Go ahead?</translation>
    </message>
    <message>
        <source>型に合うファイルがありません: %1</source>
        <translation>No file matches the pattern: %1</translation>
    </message>
    <message>
        <source>読手 %1 を取り込んで確認しています…</source>
        <translation>Importing and checking the reader %1…</translation>
    </message>
    <message>
        <source>読手 %1 はすでにあります。新しい録音の確認:
%2
置き換えますか?</source>
        <translation>The reader %1 exists already. The new recordings were checked:
%2
Replace it?</translation>
    </message>
    <message>
        <source>句 %1 / %2 (足りない %3)、再生できない %4、無音 %5、拍の時刻 (timing.tsv) %6</source>
        <translation>verses %1 / %2 (%3 missing), %4 undecodable, %5 silent, mora timing (timing.tsv): %6</translation>
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
        <source>合わないので使いません</source>
        <translation>left out, it does not fit</translation>
    </message>
    <message>
        <source>録音を確認しています…</source>
        <translation>Checking the recordings…</translation>
    </message>
    <message>
        <source>読手 %1 を取り込んでいます。進み具合はメインウィンドウの下に出ます。このウィンドウを閉じても取り込みは続きます。</source>
        <translation>Importing the reader %1. Its progress shows at the bottom of the main window; the import goes on if this window is closed.</translation>
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
        <translation type="vanished">Show with the upper verse</translation>
    </message>
    <message>
        <source>下の句の後に表示</source>
        <translation>Show after the lower verse</translation>
    </message>
    <message>
        <source>読み終わってから表示</source>
        <translation type="vanished">Show when the reading is over</translation>
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
    <message>
        <source>上の句が始まったら表示</source>
        <translation>Show as the upper verse starts</translation>
    </message>
    <message>
        <source>読み上げがすべて終わったら表示</source>
        <translation>Show when the whole reading is over</translation>
    </message>
    <message>
        <source>表示のタイミング(&amp;T):</source>
        <translation>&amp;Timing:</translation>
    </message>
    <message>
        <source>状況欄の札も同じときに表示する(&amp;S)</source>
        <translation>Show the card in the &amp;status line at the same time</translation>
    </message>
    <message>
        <source>短くなった決まり字</source>
        <translation>Shortened kimariji</translation>
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
    <message>
        <source>続け方・表示・暗記時間</source>
        <translation>Rounds, display, memorization</translation>
    </message>
    <message>
        <source>終わりなく読む(&amp;E)</source>
        <translation>Read &amp;endlessly</translation>
    </message>
    <message>
        <source>最後の札の後、札を切り直して止めるまで読み続けます。</source>
        <translation>After the last card, the cards are shuffled again and the reading goes on until stopped.</translation>
    </message>
    <message>
        <source>状況欄の札もパネルと同じときに表示する(&amp;S)</source>
        <translation>Show the card in the &amp;status line when the poem panel shows it</translation>
    </message>
    <message>
        <source>暗記時間(&amp;M)</source>
        <translation>&amp;Memorization time</translation>
    </message>
    <message>
        <source> 分</source>
        <translation> min</translation>
    </message>
</context>
<context>
    <name>ReaderGaps</name>
    <message>
        <source>読手の録音がない札: %1</source>
        <translation>Cards without the reader&apos;s recording: %1</translation>
    </message>
</context>
<context>
    <name>ReaderImportJob</name>
    <message>
        <source>読手 %1 は読み上げに使われているので、読み上げが終わるまで置き換えられません。</source>
        <translation>The reader %1 is in use by the reading; it cannot be replaced until the reading ends.</translation>
    </message>
    <message>
        <source>読手 %1 を取り込んでいるところです。</source>
        <translation>The reader %1 is being imported.</translation>
    </message>
</context>
<context>
    <name>ReaderImportStatus</name>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>読手 %1 を取り込んでいます</source>
        <translation>Importing the reader %1</translation>
    </message>
    <message>
        <source>読手 %1 を置き換えるか確かめています</source>
        <translation>Asking whether to replace the reader %1</translation>
    </message>
    <message>
        <source>読手 %1 はすでにあります。新しい録音の確認:
%2
置き換えますか?</source>
        <translation>The reader %1 exists already. The new recordings were checked:
%2
Replace it?</translation>
    </message>
    <message>
        <source>読手 %1 を追加しました。
%2</source>
        <translation>The reader %1 was added.
%2</translation>
    </message>
    <message>
        <source>読手 %1 を追加できませんでした。
%2</source>
        <translation>The reader %1 could not be added.
%2</translation>
    </message>
    <message>
        <source>読手の追加</source>
        <translation>Add a reader</translation>
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
        <translation type="vanished">Cannot write: %1</translation>
    </message>
    <message>
        <source>アーカイブが壊れています: %1 (%2)</source>
        <translation>The archive is damaged: %1 (%2)</translation>
    </message>
    <message>
        <source>アーカイブが壊れています: %1</source>
        <translation>The archive is damaged: %1</translation>
    </message>
    <message>
        <source>取り消しました</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>書き込めません: %1 (%2)</source>
        <translation>Cannot write: %1 (%2)</translation>
    </message>
    <message>
        <source>名前の型に {card} と {half} が一つずつ要ります: %1</source>
        <translation>A name pattern needs {card} and {half} once each: %1</translation>
    </message>
    <message>
        <source>項目が多すぎます (上限 %1 項目)</source>
        <translation>Too many entries (limit: %1 entries)</translation>
    </message>
    <message>
        <source>展開すると大きすぎます (上限 %1 GB)</source>
        <translation>Too large when extracted (limit: %1 GB)</translation>
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
    <message>
        <source>拍の時刻 (timing.tsv): なし</source>
        <translation>Mora timing (timing.tsv): none</translation>
    </message>
    <message>
        <source>拍の時刻 (timing.tsv): あり</source>
        <translation>Mora timing (timing.tsv): kept</translation>
    </message>
    <message>
        <source>拍の時刻 (timing.tsv) は使いません: %1</source>
        <translation>Mora timing (timing.tsv) left out: %1</translation>
    </message>
    <message>
        <source>読めません</source>
        <translation>cannot be read</translation>
    </message>
</context>
<context>
    <name>ReaderShelf</name>
    <message>
        <source>%1 MB、句 %2、拍の時刻: %3、元: %4</source>
        <translation>%1 MB, %2 verses, mora timing: %3, from: %4</translation>
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
        <source>不明</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>この名前は使えません: %1</source>
        <translation>This name cannot be used: %1</translation>
    </message>
    <message>
        <source>読手 %1 がありません</source>
        <translation>There is no reader %1</translation>
    </message>
    <message>
        <source>読手 %1 はすでにあります</source>
        <translation>The reader %1 exists already</translation>
    </message>
    <message>
        <source>読手 %1 の名前を変えられません</source>
        <translation>Cannot rename the reader %1</translation>
    </message>
    <message>
        <source>読手 %1 を削除できません</source>
        <translation>Cannot delete the reader %1</translation>
    </message>
</context>
<context>
    <name>ReaderTask</name>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ReadingStatusLine</name>
    <message>
        <source>音声出力を開けません</source>
        <translation>Cannot open the audio output</translation>
    </message>
    <message>
        <source>札が選択されていないので再生できません</source>
        <translation>Cannot play: no cards are selected</translation>
    </message>
    <message>
        <source>履歴を保存できませんでした: %1</source>
        <translation>Could not save the history: %1</translation>
    </message>
    <message>
        <source>%1 / %2 再生中</source>
        <translation>%1 / %2 playing</translation>
    </message>
    <message>
        <source>%1 / %2 再生中 : 第%3首 %4</source>
        <translation>%1 / %2 playing: card %3 %4</translation>
    </message>
    <message>
        <source>%1巡目 %2 / %3 再生中</source>
        <translation>Round %1, %2 / %3 playing</translation>
    </message>
    <message>
        <source>%1巡目 %2 / %3 再生中 : 第%4首 %5</source>
        <translation>Round %1, %2 / %3 playing: card %4 %5</translation>
    </message>
</context>
<context>
    <name>SnapcastService</name>
    <message>
        <source>配信サーバーの設定を書けません: %1</source>
        <translation>Cannot write the broadcast server&apos;s configuration: %1</translation>
    </message>
    <message>
        <source>snapserver を起動できません (インストールされていますか?)</source>
        <translation>Cannot start snapserver (is it installed?)</translation>
    </message>
    <message>
        <source>snapserver が終了しました (ポート %1 / %2 / %3 は使用中ではありませんか?)</source>
        <translation>snapserver ended (are ports %1 / %2 / %3 in use?)</translation>
    </message>
    <message>
        <source>snapclient を起動できません: このコンピューターでは聞こえません</source>
        <translation>Cannot start snapclient: this computer does not hear the broadcast</translation>
    </message>
    <message>
        <source>snapclient が終了しました: このコンピューターでは聞こえません</source>
        <translation>snapclient ended: this computer does not hear the broadcast</translation>
    </message>
    <message>
        <source>配信サーバー %1:%2 が応答しません</source>
        <translation>The broadcast server %1:%2 does not answer</translation>
    </message>
    <message>
        <source>配信サーバー %1:%2 に接続できません</source>
        <translation>Cannot reach the broadcast server %1:%2</translation>
    </message>
</context>
<context>
    <name>TimingFit</name>
    <message>
        <source>見出し (card half ends_ms) がありません</source>
        <translation>No header (card half ends_ms)</translation>
    </message>
    <message>
        <source>%1 行目が読めません</source>
        <translation>Line %1 cannot be read</translation>
    </message>
    <message>
        <source>句のファイルがない行があります: %1</source>
        <translation>A row for a verse without a file: %1</translation>
    </message>
    <message>
        <source>同じ句の行が二つあります: %1</source>
        <translation>Two rows for the same verse: %1</translation>
    </message>
    <message>
        <source>時刻が増えていません: %1</source>
        <translation>The times do not rise: %1</translation>
    </message>
    <message>
        <source>拍の数が読みと合いません: %1 (%2 拍、読みは %3 拍)</source>
        <translation>The morae do not match the reading: %1 (%2 morae, the reading has %3)</translation>
    </message>
    <message>
        <source>時刻が句の長さを超えています: %1</source>
        <translation>A time past the end of the verse: %1</translation>
    </message>
    <message>
        <source>行がない句があります: %1</source>
        <translation>A verse without a row: %1</translation>
    </message>
</context>
</TS>
