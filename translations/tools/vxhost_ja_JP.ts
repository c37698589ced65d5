<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>Counted</name>
    <message>
        <source>1 copy</source>
        <translation>1 部</translation>
    </message>
    <message>
        <source>%1 copies</source>
        <translation>%1 部</translation>
    </message>
    <message>
        <source>1 sheet</source>
        <translation>1 枚</translation>
    </message>
    <message>
        <source>%1 sheets</source>
        <translation>%1 枚</translation>
    </message>
</context>
<context>
    <name>DesignCache</name>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 は通常のファイルではありません</translation>
    </message>
    <message>
        <source>%1 has gone</source>
        <translation>%1 がなくなりました</translation>
    </message>
</context>
<context>
    <name>DesignSource</name>
    <message>
        <source>empty code</source>
        <translation>コードが空です</translation>
    </message>
    <message>
        <source>a code may not start with &apos;.&apos;</source>
        <translation>コードは「.」で始められません</translation>
    </message>
    <message>
        <source>a code may not hold &apos;%1&apos;</source>
        <translation>コードに「%1」は使えません</translation>
    </message>
    <message>
        <source>a code may not hold control characters</source>
        <translation>コードに制御文字は使えません</translation>
    </message>
    <message>
        <source>a code is at most 200 characters</source>
        <translation>コードは 200 文字までです</translation>
    </message>
    <message>
        <source>%1: no such folder or map file</source>
        <translation>%1：そのようなフォルダーもマップファイルもありません</translation>
    </message>
    <message>
        <source>%1 is neither a folder nor a regular file</source>
        <translation>%1 はフォルダーでも通常のファイルでもありません</translation>
    </message>
    <message>
        <source>%1 is larger than %2 MiB; no map</source>
        <translation>%1 は %2 MiB を超えています。マップとして扱いません</translation>
    </message>
    <message>
        <source>%1: more than %2 lines; no map</source>
        <translation>%1：%2 行を超えています。マップとして扱いません</translation>
    </message>
    <message>
        <source>expected CODE = path, got &quot;%1&quot;</source>
        <translation>CODE = パス の形式が必要ですが、「%1」でした</translation>
    </message>
    <message>
        <source>no code before &apos;=&apos;</source>
        <translation>「=」の前にコードがありません</translation>
    </message>
    <message>
        <source>no path after &apos;=&apos;</source>
        <translation>「=」の後にパスがありません</translation>
    </message>
    <message>
        <source>code &quot;%1&quot;: %2</source>
        <translation>コード「%1」：%2</translation>
    </message>
    <message>
        <source>code %1 again (first on line %2)</source>
        <translation>コード %1 が重複しています（最初は %2 行目）</translation>
    </message>
    <message>
        <source>code %1: no file %2</source>
        <translation>コード %1：ファイル %2 がありません</translation>
    </message>
    <message>
        <source>code %1: %2 is not a regular file</source>
        <translation>コード %1：%2 は通常のファイルではありません</translation>
    </message>
    <message>
        <source>%1 maps no code</source>
        <translation>%1 にはコードの対応がひとつもありません</translation>
    </message>
    <message>
        <source>folder %1</source>
        <translation>フォルダー %1</translation>
    </message>
    <message numerus="yes">
        <source>map %1 (%n codes)</source>
        <translation>
            <numerusform>マップ %1（コード %n 件）</numerusform>
        </translation>
    </message>
    <message>
        <source>code &quot;%1&quot; names no design: %2</source>
        <translation>コード「%1」はどの図形も指しません：%2</translation>
    </message>
    <message>
        <source>no design for code %1 in the map</source>
        <translation>マップにコード %1 の図形がありません</translation>
    </message>
    <message numerus="yes">
        <source>code %1 has %n designs (%2); remove all but one</source>
        <translation>
            <numerusform>コード %1 に図形が %n 個あります（%2）。1 つだけ残してください</numerusform>
        </translation>
    </message>
    <message>
        <source>no design for code %1 (%1.svg, .plt or .dxf) in %2</source>
        <translation>%2 にコード %1 の図形（%1.svg、.plt、.dxf）がありません</translation>
    </message>
</context>
<context>
    <name>DeviceSession</name>
    <message>
        <source>no connection to %1 within %2 s</source>
        <translation>%2 秒以内に %1 へ接続できませんでした</translation>
    </message>
    <message>
        <source>the plugin created no device object</source>
        <translation>プラグインが装置オブジェクトを作成しませんでした</translation>
    </message>
    <message>
        <source>the device object did not start a connection</source>
        <translation>装置オブジェクトが接続を開始しませんでした</translation>
    </message>
    <message>
        <source>bad port in &apos;%1&apos;</source>
        <translation>「%1」のポートが正しくありません</translation>
    </message>
    <message>
        <source>no host given</source>
        <translation>ホストが指定されていません</translation>
    </message>
    <message>
        <source>no serial device given</source>
        <translation>シリアル装置が指定されていません</translation>
    </message>
    <message>
        <source>cannot open %1</source>
        <translation>%1 を開けません</translation>
    </message>
    <message>
        <source>cannot connect to %1 (refused)</source>
        <translation>%1 に接続できません（拒否されました）</translation>
    </message>
    <message>
        <source>link lost (%1)</source>
        <translation>接続が切れました（%1）</translation>
    </message>
    <message>
        <source>the machine stopped answering (nothing for %1 s)</source>
        <translation>装置が応答しなくなりました（%1 秒間応答なし）</translation>
    </message>
    <message>
        <source>the machine does not answer the heartbeat</source>
        <translation>装置がハートビートに応答しません</translation>
    </message>
    <message>
        <source>no earlier connection to repeat</source>
        <translation>繰り返すべき以前の接続がありません</translation>
    </message>
</context>
<context>
    <name>DeviceWrite</name>
    <message>
        <source>the machine refused %1 = %2 (status %3)</source>
        <translation>装置が %1 = %2 を拒否しました（ステータス %3）</translation>
    </message>
    <message>
        <source>%1: wrote %2 but the machine reports %3</source>
        <translation>%1：%2 を書き込みましたが、装置の値は %3 です</translation>
    </message>
    <message>
        <source>%1: the machine did not confirm the write</source>
        <translation>%1：装置が書き込みを確認しませんでした</translation>
    </message>
</context>
<context>
    <name>JobJournal</name>
    <message>
        <source>cannot create %1</source>
        <translation>%1 を作成できません</translation>
    </message>
    <message>
        <source>short write</source>
        <translation>書き込みが途中で終わりました</translation>
    </message>
</context>
<context>
    <name>JobRecord</name>
    <message>
        <source>finished</source>
        <translation>完了</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>拒否</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>中断</translation>
    </message>
    <message>
        <source>skipped</source>
        <translation>スキップ</translation>
    </message>
</context>
<context>
    <name>JobRunner</name>
    <message>
        <source>the machine did not report its job after the reconnect</source>
        <translation>再接続後、装置がジョブを報告しませんでした</translation>
    </message>
    <message>
        <source>the machine reports another job (%1)</source>
        <translation>装置は別のジョブ（%1）を報告しています</translation>
    </message>
    <message>
        <source>the machine reports no job</source>
        <translation>装置はジョブなしと報告しています</translation>
    </message>
    <message>
        <source>the machine gave the job up</source>
        <translation>装置がジョブを中止しました</translation>
    </message>
    <message>
        <source>the machine could not cut the plot (job status %1)</source>
        <translation>装置はこの図形をカットできませんでした（ジョブステータス %1）</translation>
    </message>
    <message>
        <source>interrupted while reconnecting; the machine was not reached and may still be cutting (%1)</source>
        <translation>再接続中に中断しました。装置に届かなかったため、まだカットを続けている可能性があります（%1）</translation>
    </message>
    <message>
        <source>the machine reported no progress for %1 s</source>
        <translation>装置から %1 秒間進捗の報告がありません</translation>
    </message>
    <message>
        <source>link lost</source>
        <translation>接続が切れました</translation>
    </message>
    <message>
        <source>%1 after the link dropped; cut: %2</source>
        <translation>接続が切れた後、%1。カット済み：%2</translation>
    </message>
    <message>
        <source>%1; when the link dropped: %2; the machine may have gone on cutting</source>
        <translation>%1。接続が切れた時点：%2。装置はカットを続けた可能性があります</translation>
    </message>
    <message>
        <source>%1 of %2 finished</source>
        <translation>%2中 %1 部完了</translation>
    </message>
    <message>
        <source>%1 of %2 finished, copy %3 at %4%</source>
        <translation>%2中 %1 部完了、%3 部目は %4%</translation>
    </message>
    <message>
        <source>%1 of %2 finished, the job at %3%</source>
        <translation>%2中 %1 部完了、ジョブは %3%</translation>
    </message>
    <message>
        <source>the job was stopped on the machine after %1 of %2</source>
        <translation>%2中 %1 部の時点で、装置上でジョブが停止されました</translation>
    </message>
    <message>
        <source>interrupted; job stopped on the machine with %1 of %2 finished, at %3%</source>
        <translation>中断しました。装置上のジョブは %2中 %1 部完了、%3% の時点で停止しました</translation>
    </message>
    <message>
        <source>%1 during the job; cut so far: %2 of %3 finished, the machine last reported %4%</source>
        <translation>ジョブ中に%1。ここまでのカット：%3中 %2 部完了、装置の最後の報告は %4%</translation>
    </message>
</context>
<context>
    <name>NestCut</name>
    <message>
        <source>the machine cuts a nest on a strip, not on sheets: give --strip-width</source>
        <translation>装置はネスティングをシート材ではなくロール材でカットします：--strip-width を指定してください</translation>
    </message>
    <message>
        <source>--weed-border does not go with a nest cut in windows</source>
        <translation>--weed-border はウィンドウに分けてカットするネスティングには使えません</translation>
    </message>
    <message>
        <source>the machine did not tell its work area: the windows of the nest cannot be sized</source>
        <translation>装置が作業範囲を返さなかったため、ネスティングのウィンドウの大きさを決められません</translation>
    </message>
    <message>
        <source>the nest holds no piece</source>
        <translation>ネスティングにパーツが 1 個もありません</translation>
    </message>
    <message>
        <source>the work area (%1) leaves no room for a window</source>
        <translation>作業範囲（%1）にはウィンドウを置く余地がありません</translation>
    </message>
    <message>
        <source>window %1: %2</source>
        <translation>ウィンドウ %1：%2</translation>
    </message>
    <message>
        <source>window %1 needs a feed of %2 mm; the feed length goes to %3 mm</source>
        <translation>ウィンドウ %1 には %2 mm の送りが必要ですが、送り長さは最大 %3 mm です</translation>
    </message>
    <message>
        <source>cannot save the nest to %1: %2</source>
        <translation>ネスティングを %1 に保存できません：%2</translation>
    </message>
    <message>
        <source>cannot read the saved nest %1: %2</source>
        <translation>保存したネスティング %1 を読み込めません：%2</translation>
    </message>
    <message>
        <source>the saved nest %1 does not hold the nest it names (SHA-256 differs)</source>
        <translation>保存したネスティング %1 の内容が、名前の示すネスティングと一致しません（SHA-256 が一致しません）</translation>
    </message>
</context>
<context>
    <name>NestRun</name>
    <message>
        <source>the machine did not report %1: the automatic feed cannot be set</source>
        <translation>装置が %1 を返さなかったため、自動送りを設定できません</translation>
    </message>
    <message>
        <source>the feed settings were not put back (%1): %2</source>
        <translation>送りの設定を元に戻せませんでした（%1）：%2</translation>
    </message>
    <message>
        <source>the machine has no %1 setting</source>
        <translation>装置に %1 の設定がありません</translation>
    </message>
    <message>
        <source>interrupted before window %1 of %2</source>
        <translation>ウィンドウ %1（全 %2）の前に中断しました</translation>
    </message>
    <message>
        <source>the link is down; window %1 of %2 was not cut</source>
        <translation>接続が切れているため、ウィンドウ %1（全 %2）はカットしていません</translation>
    </message>
    <message>
        <source>interrupted after window %1 of %2</source>
        <translation>ウィンドウ %1（全 %2）をカットした後で中断しました</translation>
    </message>
    <message>
        <source>the link is down: the feed settings were not put back (%1); a resume puts them back</source>
        <translation>接続が切れているため、送りの設定を元に戻せませんでした（%1）。再開時に元に戻します</translation>
    </message>
</context>
<context>
    <name>PlotRemainder</name>
    <message>
        <source>no part of the copy is left to cut at %1%</source>
        <translation>%1% の時点で、この部に残りのカットはありません</translation>
    </message>
    <message>
        <source>nothing of the copy is left to cut at %1%</source>
        <translation>%1% の時点で、この部にカットするものは残っていません</translation>
    </message>
</context>
<context>
    <name>PluginHost</name>
    <message>
        <source>cannot load plugin %1: %2</source>
        <translation>プラグイン %1 を読み込めません：%2</translation>
    </message>
    <message>
        <source>%1 is not a device plugin (no %2 interface)</source>
        <translation>%1 は装置プラグインではありません（%2 インターフェースがありません）</translation>
    </message>
    <message>
        <source>plugin file %1 does not exist</source>
        <translation>プラグインファイル %1 がありません</translation>
    </message>
    <message>
        <source>no device plugin found (looked in %1; use --plugin PATH)</source>
        <translation>装置プラグインが見つかりません（%1 を探しました。--plugin PATH を指定してください）</translation>
    </message>
</context>
<context>
    <name>Profile</name>
    <message>
        <source>; cannot be read back, so apply always writes it</source>
        <translation>。読み戻せないため、適用時には常に書き込みます</translation>
    </message>
    <message>
        <source>; not applied: %1</source>
        <translation>。適用しません：%1</translation>
    </message>
    <message>
        <source>argument %1</source>
        <translation>引数 %1</translation>
    </message>
    <message>
        <source>line %1</source>
        <translation>%1 行目</translation>
    </message>
    <message>
        <source>%1: expected KEY = value, got &apos;%2&apos;</source>
        <translation>%1：KEY = 値 の形式が必要ですが、「%2」でした</translation>
    </message>
    <message>
        <source>%1: unknown key %2</source>
        <translation>%1：不明なキー %2</translation>
    </message>
    <message>
        <source>%1: %2 cannot be written</source>
        <translation>%1：%2 は書き込めません</translation>
    </message>
    <message>
        <source>%1: %2 is set twice</source>
        <translation>%1：%2 が二度設定されています</translation>
    </message>
</context>
<context>
    <name>Reconnector</name>
    <message>
        <source>still connecting</source>
        <translation>まだ接続中</translation>
    </message>
    <message numerus="yes">
        <source>the link stayed down for %1 s (%n attempts to reconnect to %2; last: %3)</source>
        <translation>
            <numerusform>接続が %1 秒間切れたままでした（%2 への再接続を %n 回試行、最後：%3）</numerusform>
        </translation>
    </message>
    <message>
        <source>the machine&apos;s identity was not read at the start: a reconnect could not tell it from another machine</source>
        <translation>開始時に装置の識別情報を読み取れなかったため、再接続しても他の装置と区別できません</translation>
    </message>
    <message>
        <source>the machine did not say who it is</source>
        <translation>装置が識別情報を返しませんでした</translation>
    </message>
    <message>
        <source>another machine answers at %1: %2, not %3 the job ran on; nothing was sent to it</source>
        <translation>%1 で応答したのは別の装置 %2 で、ジョブを実行していた %3 ではありません。何も送信していません</translation>
    </message>
</context>
<context>
    <name>RecordValue</name>
    <message numerus="yes">
        <source>&lt;%n bytes&gt;</source>
        <translation>
            <numerusform>&lt;%n バイト&gt;</numerusform>
        </translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not one of %2</source>
        <translation>「%1」は %2 のいずれでもありません</translation>
    </message>
    <message>
        <source>this record holds no value that can be typed</source>
        <translation>この項目には入力できる値がありません</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a number</source>
        <translation>「%1」は数値ではありません</translation>
    </message>
    <message>
        <source>%1 is outside %2..%3</source>
        <translation>%1 は %2..%3 の範囲外です</translation>
    </message>
    <message>
        <source>%1 does not fit the machine&apos;s word</source>
        <translation>%1 は装置のワードに収まりません</translation>
    </message>
    <message>
        <source>%1 is out of range (the machine stores 0..%2)</source>
        <translation>%1 は範囲外です（装置が保持できるのは 0..%2）</translation>
    </message>
</context>
<context>
    <name>RecordedOptions</name>
    <message>
        <source>option --%1 is not known here</source>
        <translation>オプション --%1 はここでは使えません</translation>
    </message>
</context>
<context>
    <name>ResumeJob</name>
    <message>
        <source>no interrupted job to resume in %1</source>
        <translation>%1 に再開できる中断ジョブはありません</translation>
    </message>
    <message>
        <source>the interrupted job&apos;s file: %1</source>
        <translation>中断したジョブのファイル：%1</translation>
    </message>
    <message>
        <source>%1 changed since the job was cut (SHA-256 differs); nothing was cut</source>
        <translation>%1 はジョブのカット後に変更されています（SHA-256 が一致しません）。何もカットしていません</translation>
    </message>
    <message>
        <source>nothing is left to cut of %1 (%2)</source>
        <translation>%1 にカットする残りはありません（%2）</translation>
    </message>
    <message>
        <source>%1 (--recut-interrupted or --skip-interrupted)</source>
        <translation>%1（--recut-interrupted または --skip-interrupted）</translation>
    </message>
    <message>
        <source>the rest of copy %1 (from %2%)</source>
        <translation>%1 部目の残り（%2% から）</translation>
    </message>
    <message>
        <source>1 whole copy</source>
        <translation>1 部を最初から</translation>
    </message>
    <message numerus="yes">
        <source>%n whole copies</source>
        <translation>
            <numerusform>%n 部を最初から</numerusform>
        </translation>
    </message>
    <message>
        <source>the job was cut on %1, this machine is %2: the rest of a copy is cut only where it started; nothing was cut</source>
        <translation>ジョブは %1 でカットされましたが、この装置は %2 です。部の残りはカットを始めた装置でしかカットしません。何もカットしていません</translation>
    </message>
    <message>
        <source>the job was cut on %1; cutting the rest on %2</source>
        <translation>ジョブは %1 でカットされました。残りを %2 でカットします</translation>
    </message>
    <message>
        <source>the rest of copy %1: %2</source>
        <translation>%1 部目の残り：%2</translation>
    </message>
    <message>
        <source>the rest of copy %1 (from %2%) and 1 whole copy</source>
        <translation>%1 部目の残り（%2% から）と、1 部を最初から</translation>
    </message>
    <message numerus="yes">
        <source>the rest of copy %1 (from %2%) and %n whole copies</source>
        <translation>
            <numerusform>%1 部目の残り（%2% から）と、%n 部を最初から</numerusform>
        </translation>
    </message>
    <message>
        <source>the interrupted job&apos;s options cannot be read: %1; nothing was cut</source>
        <translation>中断したジョブのオプションを読み取れません：%1。何もカットしていません</translation>
    </message>
    <message>
        <source>--%1 was %2 when the job was cut, not %3</source>
        <translation>ジョブのカット時の --%1 は %2 で、%3 ではありません</translation>
    </message>
    <message>
        <source>%1: a resume cuts the drawing that was cut; nothing was cut</source>
        <translation>%1：再開ではカットしたときと同じ図形をカットします。何もカットしていません</translation>
    </message>
    <message>
        <source>%1 plans differently from the plot that was cut (plot SHA-256 differs); nothing was cut</source>
        <translation>%1 の計画結果がカットした図形と異なります（図形の SHA-256 が一致しません）。何もカットしていません</translation>
    </message>
    <message>
        <source>%1 of %2 finished</source>
        <translation>%2中 %1 部完了</translation>
    </message>
    <message>
        <source>%1 of %2 finished, copy %3 at %4%</source>
        <translation>%2中 %1 部完了、%3 部目は %4%</translation>
    </message>
    <message>
        <source>%1 of %2 finished, how far copy %3 got is not known</source>
        <translation>%2中 %1 部完了、%3 部目の進み具合は不明</translation>
    </message>
    <message>
        <source>the machine is cutting a job now (%1, %2 of %3 finished): resume once it has ended; nothing was cut</source>
        <translation>装置はいまジョブをカット中です（%1、%3中 %2 部完了）。終わってから再開してください。何もカットしていません</translation>
    </message>
</context>
<context>
    <name>ResumePlan</name>
    <message>
        <source>the job record is not consistent (%1 asked, %2 finished, %3 %)</source>
        <translation>ジョブ記録に矛盾があります（指定 %1 部、完了 %2 部、%3 %）</translation>
    </message>
    <message>
        <source>how far the interrupted copy got is not known: re-cut it whole or leave it out</source>
        <translation>中断した部の進み具合が不明です。最初からカットし直すか、その部を除いてください</translation>
    </message>
</context>
<context>
    <name>ResumeRun</name>
    <message>
        <source>a resume is under way</source>
        <translation>再開を実行中です</translation>
    </message>
    <message>
        <source>interrupted before anything was cut</source>
        <translation>何もカットしないうちに中断しました</translation>
    </message>
    <message>
        <source>the link dropped before anything was cut</source>
        <translation>何もカットしないうちに接続が切れました</translation>
    </message>
    <message>
        <source>the link is down; the resume stopped before %1</source>
        <translation>接続が切れているため、%1 に入る前に再開を中止しました</translation>
    </message>
    <message>
        <source>the whole copies</source>
        <translation>最初からカットする部</translation>
    </message>
    <message>
        <source>interrupted after the rest of copy %1</source>
        <translation>%1 部目の残りをカットした後で中断しました</translation>
    </message>
    <message>
        <source>%1; nothing was cut</source>
        <translation>%1。何もカットしていません</translation>
    </message>
    <message>
        <source>the saved nest %1 is not the nest that was cut (SHA-256 differs); nothing was cut</source>
        <translation>保存したネスティング %1 はカットしたネスティングではありません（SHA-256 が一致しません）。何もカットしていません</translation>
    </message>
    <message>
        <source>the nest was cut on %1, this is %2: its material is not here; nothing was cut</source>
        <translation>ネスティングは %1 でカットされましたが、この装置は %2 です。その素材はここにありません。何もカットしていません</translation>
    </message>
    <message>
        <source>nothing is left to cut of %1</source>
        <translation>%1 にカットする残りはありません</translation>
    </message>
    <message>
        <source>the link is down; the resume stopped before window %1</source>
        <translation>接続が切れているため、ウィンドウ %1 に入る前に再開を中止しました</translation>
    </message>
</context>
<context>
    <name>SettingsRun</name>
    <message>
        <source>interrupted</source>
        <translation>中断しました</translation>
    </message>
    <message>
        <source>the device object has no record %1</source>
        <translation>装置オブジェクトにレコード %1 がありません</translation>
    </message>
    <message>
        <source>link lost</source>
        <translation>接続が切れました</translation>
    </message>
    <message numerus="yes">
        <source>the link stayed down for %1 s (%n attempts to reconnect to %2; last: %3)</source>
        <translation>
            <numerusform>接続が %1 秒間切れたままでした（%2 への再接続を %n 回試行、最後：%3）</numerusform>
        </translation>
    </message>
    <message>
        <source>no setting</source>
        <translation>設定なし</translation>
    </message>
    <message>
        <source>; applied: %1; not applied: %2</source>
        <translation>。適用済み：%1。未適用：%2</translation>
    </message>
</context>
<context>
    <name>SheetRun</name>
    <message>
        <source>the device object was released</source>
        <translation>装置オブジェクトが解放されました</translation>
    </message>
    <message>
        <source>the job was stopped</source>
        <translation>ジョブが停止されました</translation>
    </message>
    <message>
        <source>interrupted before the QR-code job started</source>
        <translation>QR コードジョブの開始前に中断しました</translation>
    </message>
    <message>
        <source>interrupted while reconnecting; the machine was not reached and its QR-code job may go on</source>
        <translation>再接続中に中断しました。装置に届かなかったため、QR コードジョブが続いている可能性があります</translation>
    </message>
    <message>
        <source>link lost</source>
        <translation>接続が切れました</translation>
    </message>
    <message>
        <source>the machine read the next code before reporting this sheet</source>
        <translation>装置がこのシートを報告する前に次のコードを読み取りました</translation>
    </message>
    <message>
        <source>the run is ending</source>
        <translation>生産を終了しています</translation>
    </message>
    <message>
        <source>the camera could not read the code</source>
        <translation>カメラがコードを読み取れませんでした</translation>
    </message>
    <message>
        <source>unknown code: %1</source>
        <translation>不明なコード：%1</translation>
    </message>
    <message>
        <source>the machine skipped the sheet (the plot came too late or it could not read it)</source>
        <translation>装置がシートをスキップしました（図形の到着が遅すぎたか、読み取れませんでした）</translation>
    </message>
    <message>
        <source>the job ended before the sheet was cut</source>
        <translation>シートのカット前にジョブが終了しました</translation>
    </message>
    <message>
        <source>the machine refused the job</source>
        <translation>装置がジョブを拒否しました</translation>
    </message>
    <message>
        <source>finished</source>
        <translation>完了</translation>
    </message>
    <message>
        <source>skipped</source>
        <translation>スキップ</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>pending</source>
        <translation>待機中</translation>
    </message>
    <message>
        <source>the job journal cannot be written: %1</source>
        <translation>ジョブ記録を書き込めません：%1</translation>
    </message>
    <message>
        <source>interrupted; the QR-code job was stopped on the machine (%1)</source>
        <translation>中断しました。装置上の QR コードジョブを停止しました（%1）</translation>
    </message>
    <message>
        <source>the QR-code job was stopped on the machine (%1)</source>
        <translation>QR コードジョブが装置上で停止されました（%1）</translation>
    </message>
    <message>
        <source>the machine refused the QR-code job (%1)</source>
        <translation>装置が QR コードジョブを拒否しました（%1）</translation>
    </message>
    <message>
        <source>%1 during the run (%2)</source>
        <translation>生産中に%1（%2）</translation>
    </message>
    <message>
        <source>passed while the link was down</source>
        <translation>接続が切れている間に通過</translation>
    </message>
    <message>
        <source>passed unseen</source>
        <translation>確認されずに通過</translation>
    </message>
    <message>
        <source>%1 cut, %2 skipped, %3 failed</source>
        <translation>カット %1、スキップ %2 枚、失敗 %3 枚</translation>
    </message>
</context>
<context>
    <name>WorkArea</name>
    <message>
        <source>%1 x %2 mm</source>
        <translation>%1 x %2 mm</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no work area: give WIDTHxHEIGHT in millimetres, each above 0 and at most %2, e.g. 450x600</source>
        <translation>「%1」は作業範囲として正しくありません：WIDTHxHEIGHT を mm 単位で、各辺 0 より大きく %2 以下で指定してください（例：450x600）</translation>
    </message>
    <message>
        <source>%1 mm too wide</source>
        <translation>幅が %1 mm 超過</translation>
    </message>
    <message>
        <source>%1 mm too long</source>
        <translation>長さが %1 mm 超過</translation>
    </message>
    <message>
        <source>%1 x %2 mm with its %3 mm margin</source>
        <translation>%1 x %2 mm（余白 %3 mm を含む）</translation>
    </message>
    <message>
        <source>the design is %1, the work area %2: %3</source>
        <translation>図形は %1、作業範囲は %2：%3</translation>
    </message>
    <message>
        <source> and </source>
        <translation>、</translation>
    </message>
    <message>
        <source>the machine did not tell its work area; the design is not checked against it</source>
        <translation>装置が作業範囲を返さなかったため、図形が収まるかは確認していません</translation>
    </message>
</context>
</TS>
