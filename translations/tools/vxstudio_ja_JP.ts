<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>ConnectionBar</name>
    <message>
        <source>USB</source>
        <translation>USB</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>ネットワーク</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>IP address</source>
        <translation>IP アドレス</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>接続</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>切断</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>ポート</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>未接続</translation>
    </message>
</context>
<context>
    <name>DesignView</name>
    <message>
        <source>No plot loaded</source>
        <translation>図形が読み込まれていません</translation>
    </message>
    <message>
        <source>The design is larger than the work area.</source>
        <translation>図形が作業範囲より大きいです。</translation>
    </message>
    <message>
        <source>Tool 1</source>
        <translation>ツール 1</translation>
    </message>
    <message>
        <source>Tool 2</source>
        <translation>ツール 2</translation>
    </message>
    <message>
        <source>Travel</source>
        <translation>空送り</translation>
    </message>
    <message>
        <source>Tool 1&apos;s paths run from blue (cut first) to red (cut last). Wheel or +/- zooms, dragging pans, a double-click fits.</source>
        <translation>ツール 1 のパスは青（最初に切断）から赤（最後に切断）の順です。ホイールまたは +/- でズーム、ドラッグで移動、ダブルクリックで全体表示。</translation>
    </message>
    <message>
        <source>Drawing…</source>
        <translation>描画中…</translation>
    </message>
    <message>
        <source>X %1 mm, Y %2 mm · zoom %3%</source>
        <translation>X %1 mm、Y %2 mm · ズーム %3%</translation>
    </message>
</context>
<context>
    <name>JobPanel</name>
    <message>
        <source>No plot loaded</source>
        <translation>図形が読み込まれていません</translation>
    </message>
    <message>
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>サイズ</translation>
    </message>
    <message>
        <source>Cut length</source>
        <translation>カット長</translation>
    </message>
    <message>
        <source>Open plot…</source>
        <translation>図形を開く…</translation>
    </message>
    <message>
        <source>Copies: </source>
        <translation>部数：</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>開始</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>一時停止</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>再開</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Resume interrupted…</source>
        <translation>中断したジョブを再開…</translation>
    </message>
    <message>
        <source>Cut what is left of the last job whose link dropped</source>
        <translation>接続が切れて中断した前回のジョブの残りをカットします</translation>
    </message>
    <message>
        <source>Cannot plan the plot: %1</source>
        <translation>図形の加工計画を作れません：%1</translation>
    </message>
    <message>
        <source>Reconnecting (attempt %1)…</source>
        <translation>再接続中（%1 回目）…</translation>
    </message>
    <message>
        <source>Link lost during the job; reconnecting.</source>
        <translation>ジョブ中に接続が切れました。再接続します。</translation>
    </message>
    <message>
        <source>Reconnected to %1 after %2 s; reading the job state.</source>
        <translation>%2 秒後に %1 へ再接続しました。ジョブの状態を読み取っています。</translation>
    </message>
    <message>
        <source>A job is under way.</source>
        <translation>ジョブを実行中です。</translation>
    </message>
    <message>
        <source>%1 × %2 mm</source>
        <translation>%1 × %2 mm</translation>
    </message>
    <message>
        <source>%1 mm</source>
        <translation>%1 mm</translation>
    </message>
    <message>
        <source>Plot %1 loaded: %2, cut length %3.</source>
        <translation>図形 %1 を読み込みました：%2、カット長 %3。</translation>
    </message>
    <message>
        <source>Open plot</source>
        <translation>図形を開く</translation>
    </message>
    <message>
        <source>Designs (*.plt *.hpgl *.hpg *.hgl *.svg *.svgz *.dxf);;HP-GL (*.plt *.hpgl *.hpg *.hgl);;SVG (*.svg *.svgz);;DXF (*.dxf);;All files (*)</source>
        <translation>図形ファイル (*.plt *.hpgl *.hpg *.hgl *.svg *.svgz *.dxf);;HP-GL (*.plt *.hpgl *.hpg *.hgl);;SVG (*.svg *.svgz);;DXF (*.dxf);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>Cannot open the plot: %1</source>
        <translation>図形を開けません：%1</translation>
    </message>
    <message>
        <source>Not connected: the job was not started.</source>
        <translation>未接続のため、ジョブは開始されませんでした。</translation>
    </message>
    <message>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>Job started: %1, %2.</source>
        <translation>ジョブを開始しました：%1、%2。</translation>
    </message>
    <message>
        <source>Job paused.</source>
        <translation>ジョブを一時停止しました。</translation>
    </message>
    <message>
        <source>Job resumed.</source>
        <translation>ジョブを再開しました。</translation>
    </message>
    <message>
        <source>Stopping the job…</source>
        <translation>ジョブを停止しています…</translation>
    </message>
    <message>
        <source>Job stopped.</source>
        <translation>ジョブを停止しました。</translation>
    </message>
    <message>
        <source>Job journal not written: %1</source>
        <translation>ジョブ記録を書き込めませんでした：%1</translation>
    </message>
    <message>
        <source>Interrupted job of %1: %2 on %3.
%4.

To cut: %5.</source>
        <translation>%1 の中断したジョブ：%2（%3）。
%4。

カットする範囲：%5。</translation>
    </message>
    <message>
        <source>Resume interrupted job</source>
        <translation>中断したジョブを再開</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>カット</translation>
    </message>
    <message>
        <source>Re-cut the interrupted copy whole</source>
        <translation>中断した部を最初からカットし直す</translation>
    </message>
    <message>
        <source>Not resumed: %1</source>
        <translation>再開しませんでした：%1</translation>
    </message>
    <message>
        <source>not connected, or a job is under way</source>
        <translation>未接続か、ジョブを実行中です</translation>
    </message>
    <message>
        <source>Resume: cutting %1 whole.</source>
        <translation>再開：%1 をまるごと切ります。</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>%1: loading cancelled.</source>
        <translation>%1：読み込みをキャンセルしました。</translation>
    </message>
    <message>
        <source>Loading %1…</source>
        <translation>%1 を読み込み中…</translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation>キャンセル中…</translation>
    </message>
    <message>
        <source>The machine reports %1 of %2 copies finished; the journal is corrected.</source>
        <translation>装置は %2 部中 %1 部完了と報告しています。ジョブ記録を訂正しました。</translation>
    </message>
    <message>
        <source>Resume: cutting the rest of copy %1 from stroke %2.</source>
        <translation>再開：%1 部目の残りをストローク %2 からカットしています。</translation>
    </message>
    <message>
        <source>Start waits: %1.</source>
        <translation>開始できません：%1。</translation>
    </message>
    <message>
        <source>Nothing was cut: the machine had finished the job.</source>
        <translation>何もカットしていません：装置はジョブを完了していました。</translation>
    </message>
    <message>
        <source>Resume finished: %1.</source>
        <translation>再開完了：%1。</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>残り %1</translation>
    </message>
    <message>
        <source>Job %1: %2 of %3 copies finished.</source>
        <translation>ジョブ%1：%3 部中 %2 部完了。</translation>
    </message>
    <message>
        <source>Job %1: %2</source>
        <translation>ジョブ%1：%2</translation>
    </message>
</context>
<context>
    <name>JogPad</name>
    <message>
        <source>Y+</source>
        <translation>Y+</translation>
    </message>
    <message>
        <source>X−</source>
        <translation>X−</translation>
    </message>
    <message>
        <source>X+</source>
        <translation>X+</translation>
    </message>
    <message>
        <source>Y−</source>
        <translation>Y−</translation>
    </message>
    <message>
        <source>Stop moving</source>
        <translation>移動停止</translation>
    </message>
    <message>
        <source>Set origin</source>
        <translation>原点設定</translation>
    </message>
    <message>
        <source>Return to origin</source>
        <translation>原点復帰</translation>
    </message>
    <message>
        <source>Origin set at the current position.</source>
        <translation>現在位置を原点に設定しました。</translation>
    </message>
    <message>
        <source>Returning to the origin.</source>
        <translation>原点に戻っています。</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Reconnecting (attempt %1)…</source>
        <translation>再接続中（%1 回目）…</translation>
    </message>
    <message>
        <source>The link did not come back</source>
        <translation>接続が回復しませんでした</translation>
    </message>
    <message>
        <source>QR code: %1</source>
        <translation>QR コード：%1</translation>
    </message>
    <message>
        <source>The plugin made no device object.</source>
        <translation>プラグインが装置オブジェクトを作成しませんでした。</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>未接続</translation>
    </message>
    <message>
        <source>Connecting to %1.</source>
        <translation>%1 に接続しています。</translation>
    </message>
    <message>
        <source>Connecting to %1…</source>
        <translation>%1 に接続中…</translation>
    </message>
    <message>
        <source>Opening %1.</source>
        <translation>%1 を開いています。</translation>
    </message>
    <message>
        <source>Opening %1…</source>
        <translation>%1 を開いています…</translation>
    </message>
    <message>
        <source>Disconnected.</source>
        <translation>切断しました。</translation>
    </message>
    <message>
        <source>Production</source>
        <translation>生産</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>接続</translation>
    </message>
    <message>
        <source>View</source>
        <translation>表示</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>拡大</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>縮小</translation>
    </message>
    <message>
        <source>Fit</source>
        <translation>全体表示</translation>
    </message>
    <message>
        <source>Machine settings</source>
        <translation>装置の設定</translation>
    </message>
    <message>
        <source>Machine information</source>
        <translation>装置の情報</translation>
    </message>
    <message>
        <source>Jog</source>
        <translation>ジョグ</translation>
    </message>
    <message>
        <source>Job</source>
        <translation>ジョブ</translation>
    </message>
    <message>
        <source>Design options</source>
        <translation>図形オプション</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>ログ</translation>
    </message>
    <message>
        <source>Nest</source>
        <translation>ネスティング</translation>
    </message>
</context>
<context>
    <name>NestPanel</name>
    <message>
        <source> mm</source>
        <translation> mm</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>実行</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>カット</translation>
    </message>
    <message>
        <source>No nest yet</source>
        <translation>まだネスティング結果がありません</translation>
    </message>
    <message>
        <source>Sheet </source>
        <translation>シート材 </translation>
    </message>
    <message>
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>Quantity</source>
        <translation>数量</translation>
    </message>
    <message>
        <source>Rotations</source>
        <translation>回転</translation>
    </message>
    <message>
        <source>Allowed turns: 0,90,180,270 when empty; any:STEP for every STEP degrees</source>
        <translation>許す回転：空欄なら 0,90,180,270。any:STEP で STEP 度ごと</translation>
    </message>
    <message>
        <source>Add parts…</source>
        <translation>パーツを追加…</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Strip (the belt)</source>
        <translation>ロール材（ベルト）</translation>
    </message>
    <message>
        <source>Sheets</source>
        <translation>シート材</translation>
    </message>
    <message>
        <source>work-area width</source>
        <translation>作業範囲の幅</translation>
    </message>
    <message>
        <source> s</source>
        <translation> 秒</translation>
    </message>
    <message>
        <source>Parts may be mirrored</source>
        <translation>パーツの反転を許す</translation>
    </message>
    <message>
        <source>Material</source>
        <translation>素材</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>幅</translation>
    </message>
    <message>
        <source>Sheet length</source>
        <translation>シート材の長さ</translation>
    </message>
    <message>
        <source>Gap</source>
        <translation>間隔</translation>
    </message>
    <message>
        <source>Search time</source>
        <translation>探索時間</translation>
    </message>
    <message>
        <source>Part files</source>
        <translation>パーツのファイル</translation>
    </message>
    <message>
        <source>Designs (*.plt *.hpgl *.svg *.svgz *.dxf);;All files (*)</source>
        <translation>図形ファイル (*.plt *.hpgl *.svg *.svgz *.dxf);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>Give the sheet&apos;s width and length.</source>
        <translation>シート材の幅と長さを指定してください。</translation>
    </message>
    <message>
        <source>Give the strip width: the machine&apos;s work area is not known.</source>
        <translation>ロール材の幅を指定してください：装置の作業範囲が不明です。</translation>
    </message>
    <message>
        <source>Reading the work area…</source>
        <translation>作業範囲を読み取っています…</translation>
    </message>
    <message>
        <source>Reading the parts…</source>
        <translation>パーツを読み込んでいます…</translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation>停止しました。</translation>
    </message>
    <message>
        <source>Searching: %1 layouts, best %2 mm, %3% used</source>
        <translation>探索中：配置案 %1 件、最良 %2 mm、利用率 %3%</translation>
    </message>
    <message>
        <source>Stopped before the first layout.</source>
        <translation>最初の配置案が出る前に停止しました。</translation>
    </message>
    <message>
        <source>%1 sheet(s) of %2 x %3 mm</source>
        <translation>%2 x %3 mm のシート材 %1 枚</translation>
    </message>
    <message>
        <source>%1 mm along a %2 mm wide strip</source>
        <translation>幅 %2 mm のロール材で長さ %1 mm</translation>
    </message>
    <message>
        <source>%1 of %2 pieces placed on %3; utilisation %4%</source>
        <translation>%2 個中 %1 個を配置、%3。利用率 %4%</translation>
    </message>
    <message>
        <source>Stopped: the best layout found so far is kept.</source>
        <translation>停止しました：それまでに見つかった最良の配置案を残します。</translation>
    </message>
    <message>
        <source>%1 layouts in %2 s</source>
        <translation>%2 秒で配置案 %1 件</translation>
    </message>
    <message>
        <source> of %1</source>
        <translation>（全 %1 枚）</translation>
    </message>
    <message>
        <source>Reading the work area and the feed…</source>
        <translation>作業範囲と送りの設定を読み取っています…</translation>
    </message>
    <message>
        <source>The machine has no automatic feed (FEED_LENGTH).</source>
        <translation>装置に自動送りがありません（FEED_LENGTH）。</translation>
    </message>
    <message>
        <source>Cutting window %1 of %2</source>
        <translation>ウィンドウ %1（全 %2）をカット中</translation>
    </message>
    <message>
        <source>The nest could not start: the machine is not connected.</source>
        <translation>ネスティングのカットを開始できません：装置が接続されていません。</translation>
    </message>
    <message>
        <source>Nest %1 started: %2 windows</source>
        <translation>ネスティング %1 を開始しました：ウィンドウ %2 個</translation>
    </message>
    <message>
        <source>Job journal not written: %1</source>
        <translation>ジョブ記録を書き込めませんでした：%1</translation>
    </message>
    <message>
        <source>Done: %1 windows of %2 cut</source>
        <translation>完了：%2 のウィンドウ %1 個をカットしました</translation>
    </message>
</context>
<context>
    <name>PlotOptionsPanel</name>
    <message>
        <source>Scale (%)</source>
        <translation>倍率（%）</translation>
    </message>
    <message>
        <source>Width (mm)</source>
        <translation>幅（mm）</translation>
    </message>
    <message>
        <source>Height (mm)</source>
        <translation>高さ（mm）</translation>
    </message>
    <message>
        <source>Rotation (°)</source>
        <translation>回転（°）</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>反転</translation>
    </message>
    <message>
        <source>Margin (mm)</source>
        <translation>余白（mm）</translation>
    </message>
    <message>
        <source>Keep file order</source>
        <translation>ファイル順を維持</translation>
    </message>
    <message>
        <source>Merge overlaps (mm)</source>
        <translation>重なり線の統合（mm）</translation>
    </message>
    <message>
        <source>Passes</source>
        <translation>カット回数</translation>
    </message>
    <message>
        <source>Overcut (mm)</source>
        <translation>オーバーカット（mm）</translation>
    </message>
    <message>
        <source>Blade offset (mm)</source>
        <translation>刃先オフセット（mm）</translation>
    </message>
    <message>
        <source>Weeding border (mm)</source>
        <translation>カス取り枠（mm）</translation>
    </message>
    <message>
        <source>Curve tolerance (mm)</source>
        <translation>曲線の許容誤差（mm）</translation>
    </message>
    <message>
        <source>Tool order</source>
        <translation>ツールの順序</translation>
    </message>
</context>
<context>
    <name>ProductionPanel</name>
    <message>
        <source>Folder of designs named by code, or a map file</source>
        <translation>コード名の図形フォルダー、またはマップファイル</translation>
    </message>
    <message>
        <source>Folder…</source>
        <translation>フォルダー…</translation>
    </message>
    <message>
        <source>Map file…</source>
        <translation>マップファイル…</translation>
    </message>
    <message>
        <source>until the stack ends</source>
        <translation>シートの束が尽きるまで</translation>
    </message>
    <message>
        <source>Sheets: </source>
        <translation>シート数：</translation>
    </message>
    <message>
        <source>Start production</source>
        <translation>生産開始</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>No sheet yet</source>
        <translation>まだシートがありません</translation>
    </message>
    <message>
        <source>Sheet</source>
        <translation>シート</translation>
    </message>
    <message>
        <source>Code</source>
        <translation>コード</translation>
    </message>
    <message>
        <source>Design</source>
        <translation>図形</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>結果</translation>
    </message>
    <message>
        <source>Production designs: %1</source>
        <translation>生産の図形：%1</translation>
    </message>
    <message>
        <source>Folder of designs named by code</source>
        <translation>コード名の図形フォルダー</translation>
    </message>
    <message>
        <source>Map file (CODE = path lines)</source>
        <translation>マップファイル（各行 CODE = パス）</translation>
    </message>
    <message>
        <source>Link lost: reconnecting (attempt %1)</source>
        <translation>接続断：再接続中（%1 回目）</translation>
    </message>
    <message>
        <source>Link back: production goes on</source>
        <translation>接続回復：生産を続けます</translation>
    </message>
    <message>
        <source>Production ended: %1 sheets cut, %2 skipped, %3 failed</source>
        <translation>生産終了：カット %1 枚、スキップ %2 枚、失敗 %3 枚</translation>
    </message>
    <message>
        <source>Waiting for the first sheet</source>
        <translation>最初のシートを待っています</translation>
    </message>
    <message>
        <source>The production could not start: the machine is not connected.</source>
        <translation>生産を開始できません：装置が接続されていません。</translation>
    </message>
    <message>
        <source>Production started: %1</source>
        <translation>生産を開始しました：%1</translation>
    </message>
    <message>
        <source>(unreadable)</source>
        <translation>（読み取り不可）</translation>
    </message>
    <message>
        <source>Sheet %1: %2</source>
        <translation>シート %1：%2</translation>
    </message>
    <message>
        <source>Sheet %1: %2 — %3</source>
        <translation>シート %1：%2 — %3</translation>
    </message>
    <message>
        <source>not cut</source>
        <translation>未カット</translation>
    </message>
    <message>
        <source>%1 cut, %2 skipped, %3 failed</source>
        <translation>カット %1、スキップ %2、失敗 %3</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
</context>
<context>
    <name>SettingsPanel</name>
    <message>
        <source>Read from machine</source>
        <translation>装置から読み込み</translation>
    </message>
    <message>
        <source>Write to machine</source>
        <translation>装置へ書き込み</translation>
    </message>
    <message>
        <source>%1: machine answered %2</source>
        <translation>%1：装置の応答 %2</translation>
    </message>
    <message>
        <source>Not connected: nothing read.</source>
        <translation>未接続のため、何も読み込んでいません。</translation>
    </message>
    <message numerus="yes">
        <source>Read from machine: %n queries sent.</source>
        <translation>
            <numerusform>装置から読み込み：%n 件の問い合わせを送信しました。</numerusform>
        </translation>
    </message>
    <message>
        <source>Not connected: nothing written.</source>
        <translation>未接続のため、何も書き込んでいません。</translation>
    </message>
    <message>
        <source>Nothing changed: nothing written.</source>
        <translation>変更がないため、何も書き込んでいません。</translation>
    </message>
    <message>
        <source>Writing: %1</source>
        <translation>書き込み中：%1</translation>
    </message>
    <message>
        <source>Written: %1</source>
        <translation>書き込みました：%1</translation>
    </message>
    <message>
        <source>Not written: %1</source>
        <translation>書き込めませんでした：%1</translation>
    </message>
</context>
<context>
    <name>ToolsPanel</name>
    <message>
        <source>(no layer)</source>
        <translation>（レイヤーなし）</translation>
    </message>
    <message>
        <source>(no colour)</source>
        <translation>（色なし）</translation>
    </message>
    <message>
        <source>(no pen)</source>
        <translation>（ペンなし）</translation>
    </message>
    <message>
        <source>Pen %1</source>
        <translation>ペン %1</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>ツール</translation>
    </message>
    <message numerus="yes">
        <source>%n more sources keep the reader&apos;s tool.</source>
        <translation>
            <numerusform>ほか %n 個のソースは読み込み時のツールのままです。</numerusform>
        </translation>
    </message>
    <message>
        <source>Tool 1</source>
        <translation>ツール 1</translation>
    </message>
    <message>
        <source>Tool 2</source>
        <translation>ツール 2</translation>
    </message>
    <message>
        <source>A rule cannot name this source: it keeps the reader&apos;s tool.</source>
        <translation>ルールではこのソースを指定できません。読み込み時のツールのままです。</translation>
    </message>
    <message>
        <source>No design</source>
        <translation>デザインなし</translation>
    </message>
</context>
<context>
    <name>UnreadEditors</name>
    <message>
        <source>not read</source>
        <translation>未読込</translation>
    </message>
</context>
<context>
    <name>VxStudio</name>
    <message>
        <source>Start a simulated machine on a free loopback port and connect to it.</source>
        <translation>空いているループバックポートで模擬装置を起動し、接続します。</translation>
    </message>
    <message>
        <source>Device plugin to load.</source>
        <translation>読み込む装置プラグイン。</translation>
    </message>
    <message>
        <source>path</source>
        <translation>パス</translation>
    </message>
    <message>
        <source>Plot file to open.</source>
        <translation>開く図形ファイル。</translation>
    </message>
    <message>
        <source>file</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>Desktop host for the conveyor-belt flatbed cutter: settings, jog, jobs.

Exit codes: 0 window closed, 1 bad command line, 2 plugin not loadable, 3 the simulated machine did not start.</source>
        <translation>コンベア式フラットベッドカッターのデスクトップ操作ソフト：設定、ジョグ、ジョブ。

終了コード：0 ウィンドウを閉じた、1 コマンドラインの誤り、2 プラグインを読み込めない、3 模擬装置が起動しなかった。</translation>
    </message>
    <message>
        <source>the simulated machine did not start</source>
        <translation>模擬装置が起動しませんでした</translation>
    </message>
    <message>
        <source>Simulated machine on 127.0.0.1:%1.</source>
        <translation>模擬装置は 127.0.0.1:%1 で動作中です。</translation>
    </message>
    <message>
        <source>Try &apos;vxstudio --help&apos;.</source>
        <translation>&apos;vxstudio --help&apos; を参照してください。</translation>
    </message>
</context>
</TS>
