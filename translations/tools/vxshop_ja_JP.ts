<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>MachineStation</name>
    <message>
        <source>job %1 %2</source>
        <translation>ジョブ %1 %2</translation>
    </message>
    <message>
        <source>%1; still trying</source>
        <translation>%1。引き続き試みています</translation>
    </message>
    <message>
        <source>connecting to %1</source>
        <translation>%1 に接続しています</translation>
    </message>
    <message>
        <source>cannot connect (%1); still trying</source>
        <translation>接続できません（%1）。引き続き試みています</translation>
    </message>
    <message>
        <source>cannot connect (%1); trying again</source>
        <translation>接続できません（%1）。再試行します</translation>
    </message>
    <message>
        <source>%1, reconnecting to follow %2</source>
        <translation>%1。%2 を追跡するため再接続しています</translation>
    </message>
    <message>
        <source>%1, reconnecting</source>
        <translation>%1。再接続しています</translation>
    </message>
    <message>
        <source>connected to %1</source>
        <translation>%1 に接続しました</translation>
    </message>
    <message>
        <source>connected</source>
        <translation>接続しました</translation>
    </message>
    <message>
        <source>no job is cutting on %1</source>
        <translation>%1 でカット中のジョブはありません</translation>
    </message>
    <message>
        <source>%1 paused</source>
        <translation>%1 を一時停止しました</translation>
    </message>
    <message>
        <source>%1 continued</source>
        <translation>%1 を再開しました</translation>
    </message>
    <message>
        <source>queue held</source>
        <translation>キューを保留しました</translation>
    </message>
    <message>
        <source>queue released</source>
        <translation>キューの保留を解除しました</translation>
    </message>
    <message>
        <source>no job %1 on %2</source>
        <translation>%2 にジョブ %1 はありません</translation>
    </message>
    <message>
        <source>job %1 has ended</source>
        <translation>ジョブ %1 は終了しています</translation>
    </message>
    <message>
        <source>job %1 is being stopped</source>
        <translation>ジョブ %1 は停止中です</translation>
    </message>
    <message>
        <source>stopping %1</source>
        <translation>%1 を停止しています</translation>
    </message>
    <message>
        <source>cancelled while the machine was not reached; it may still be cutting</source>
        <translation>装置に届かないまま取り消しました。装置はまだカットを続けている可能性があります</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no way to settle a job: continue, recut or skip</source>
        <translation>&apos;%1&apos; はジョブの処置方法ではありません：continue、recut、skip のいずれかです</translation>
    </message>
    <message>
        <source>job %1 is not held on %2</source>
        <translation>ジョブ %1 は %2 で保留されていません</translation>
    </message>
    <message>
        <source>%1 is busy with %2</source>
        <translation>%1 は %2 を処理中です</translation>
    </message>
    <message>
        <source>%1 is not connected</source>
        <translation>%1 は接続されていません</translation>
    </message>
    <message>
        <source>nothing is known of what the machine cut of job %1: cancel it, or queue it again</source>
        <translation>装置がジョブ %1 のどこまでをカットしたか分かりません：取り消すか、キューに入れ直してください</translation>
    </message>
    <message>
        <source>%1 settled by hand (%2)</source>
        <translation>%1 を手動で処置しました（%2）</translation>
    </message>
    <message>
        <source>the job&apos;s design options cannot be read: %1</source>
        <translation>ジョブの図形オプションを読み取れません：%1</translation>
    </message>
    <message>
        <source>reconnected; following %1</source>
        <translation>再接続しました。%1 を追跡しています</translation>
    </message>
    <message>
        <source>%1 started</source>
        <translation>%1 を開始しました</translation>
    </message>
    <message>
        <source>the job journal was not written: %1</source>
        <translation>ジョブ記録を書き込めませんでした：%1</translation>
    </message>
    <message>
        <source>the queue was not written: %1</source>
        <translation>キューを書き込めませんでした：%1</translation>
    </message>
    <message>
        <source>%1 done</source>
        <translation>%1 完了</translation>
    </message>
    <message>
        <source>%1 done: %2</source>
        <translation>%1 完了：%2</translation>
    </message>
    <message>
        <source>%1 cancelled</source>
        <translation>%1 を取り消しました</translation>
    </message>
    <message>
        <source>%1 cancelled: %2</source>
        <translation>%1 を取り消しました：%2</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 失敗：%2</translation>
    </message>
    <message>
        <source>the machine cannot tell what became of the job</source>
        <translation>装置はジョブがどうなったかを報告できません</translation>
    </message>
    <message>
        <source>asking the machine what became of %1</source>
        <translation>%1 がどうなったかを装置に問い合わせています</translation>
    </message>
    <message>
        <source>the job ran on %1, this is %2</source>
        <translation>ジョブは %1 で実行されましたが、この装置は %2 です</translation>
    </message>
    <message>
        <source>the machine cannot tell what became of the job (it is cutting %1)</source>
        <translation>装置はジョブがどうなったかを報告できません（%1 をカット中）</translation>
    </message>
    <message>
        <source>%1 is still cutting; following it</source>
        <translation>%1 はまだカット中です。追跡します</translation>
    </message>
    <message>
        <source>the machine went on to another job (%1)</source>
        <translation>装置は別のジョブ（%1）に移りました</translation>
    </message>
    <message>
        <source>the machine could not cut the plot</source>
        <translation>装置はこの図形をカットできませんでした</translation>
    </message>
    <message>
        <source>interrupted %1 times in a row: settle it by hand</source>
        <translation>%1 回続けて中断しました：手動で処置してください</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>中断しました</translation>
    </message>
    <message>
        <source>the last interrupted job in the journal is not this one</source>
        <translation>ジョブ記録にある最後の中断ジョブはこのジョブではありません</translation>
    </message>
    <message>
        <source>the machine reports %1 of %2 copies finished</source>
        <translation>装置は %2 部中 %1 部完了と報告しています</translation>
    </message>
    <message>
        <source>the link is down</source>
        <translation>接続が切れています</translation>
    </message>
    <message>
        <source>%1: resuming, %2</source>
        <translation>%1：再開、%2</translation>
    </message>
    <message>
        <source>the machine had finished the job</source>
        <translation>装置はジョブを完了していました</translation>
    </message>
    <message>
        <source>%1: %2; waiting for the machine</source>
        <translation>%1：%2。装置を待っています</translation>
    </message>
    <message>
        <source>job %1 %2 held: %3</source>
        <translation>ジョブ %1 %2 を保留しました：%3</translation>
    </message>
    <message>
        <source>the machine did not tell its work area: the windows of the nest cannot be sized</source>
        <translation>装置が作業範囲を返しませんでした：ネスティングのウィンドウの大きさを決められません</translation>
    </message>
    <message>
        <source>%1: nesting</source>
        <translation>%1：ネスティング中</translation>
    </message>
    <message numerus="yes">
        <source>%n piece(s) found no place on the strip</source>
        <translation>
            <numerusform>%n 個のパーツをロール材に配置できませんでした</numerusform>
        </translation>
    </message>
    <message>
        <source>the machine has no automatic feed (FEED_LENGTH)</source>
        <translation>装置に自動送りがありません（FEED_LENGTH）</translation>
    </message>
    <message>
        <source>%1: window %2 of %3</source>
        <translation>%1：ウィンドウ %2（全 %3）</translation>
    </message>
    <message>
        <source>the machine still feeds as the nest&apos;s last window did: put its feed settings back by hand</source>
        <translation>装置の送りはネスティングの最後のウィンドウのままです：送りの設定を手動で元に戻してください</translation>
    </message>
    <message>
        <source>the job journal was not written: the rest of the nest cannot be resumed</source>
        <translation>ジョブ記録を書き込めませんでした：ネスティングの残りは再開できません</translation>
    </message>
</context>
<context>
    <name>Shop</name>
    <message>
        <source>cannot make the data folder %1</source>
        <translation>データフォルダー %1 を作成できません</translation>
    </message>
    <message>
        <source>cannot make the folder %1</source>
        <translation>フォルダー %1 を作成できません</translation>
    </message>
    <message>
        <source>the design options: %1</source>
        <translation>図形オプション：%1</translation>
    </message>
    <message>
        <source>no machine named %1</source>
        <translation>%1 という名前の装置はありません</translation>
    </message>
    <message>
        <source>the job queue is not open</source>
        <translation>ジョブキューが開かれていません</translation>
    </message>
    <message>
        <source>no job %1</source>
        <translation>ジョブ %1 はありません</translation>
    </message>
    <message>
        <source>no preview of job %1: %2</source>
        <translation>ジョブ %1 のプレビューはありません：%2</translation>
    </message>
    <message>
        <source>copies must be from 1 to %1</source>
        <translation>部数は 1～%1 にしてください</translation>
    </message>
    <message>
        <source>the design is not in the files folder of %1</source>
        <translation>図形が %1 の files フォルダーにありません</translation>
    </message>
    <message>
        <source>no free file name in %1</source>
        <translation>%1 に使えるファイル名がありません</translation>
    </message>
    <message>
        <source>job %1 is not waiting in the queue</source>
        <translation>ジョブ %1 はキューで待機していません</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no way to settle a job: continue, recut or skip</source>
        <translation>&apos;%1&apos; はジョブの処置方法ではありません：continue、recut、skip のいずれかです</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no action: pause, continue, stop, hold or release</source>
        <translation>&apos;%1&apos; は操作ではありません：pause、continue、stop、hold、release のいずれかです</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no job outcome</source>
        <translation>&apos;%1&apos; はジョブの結果ではありません</translation>
    </message>
    <message>
        <source>job %1 is a nest: it is laid out when it is cut</source>
        <translation>ジョブ %1 はネスティングです：配置はカットするときに行います</translation>
    </message>
    <message>
        <source>a nest takes 1 to %1 part files</source>
        <translation>ネスティングに使えるパーツのファイルは 1 から %1 個です</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no nest option: gap, turns, time_s or strip_width</source>
        <translation>「%1」はネスティングのオプションではありません：gap、turns、time_s、strip_width のいずれかです</translation>
    </message>
    <message>
        <source>a part of the nest is not in the files folder of %1</source>
        <translation>ネスティングのパーツが %1 の files フォルダーにありません</translation>
    </message>
</context>
<context>
    <name>ShopConfig</name>
    <message>
        <source>&apos;%1&apos; is not an address: write IPv6 as [ADDRESS]:PORT</source>
        <translation>&apos;%1&apos; はアドレスではありません：IPv6 は [ADDRESS]:PORT と書いてください</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not an IPv6 address</source>
        <translation>&apos;%1&apos; は IPv6 アドレスではありません</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not an address</source>
        <translation>&apos;%1&apos; はアドレスではありません</translation>
    </message>
    <message>
        <source>&apos;%1&apos; names no host</source>
        <translation>&apos;%1&apos; にホストがありません</translation>
    </message>
    <message>
        <source>&apos;%1&apos; has no port from 1 to 65535</source>
        <translation>&apos;%1&apos; に 1～65535 のポートがありません</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a string</source>
        <translation>&quot;%1&quot; は文字列でなければなりません</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a whole number from %2 to %3</source>
        <translation>&quot;%1&quot; は %2～%3 の整数でなければなりません</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be an object</source>
        <translation>&quot;%1&quot; はオブジェクトでなければなりません</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a list</source>
        <translation>&quot;%1&quot; はリストでなければなりません</translation>
    </message>
    <message>
        <source>unknown member &quot;%1&quot;</source>
        <translation>不明なメンバー &quot;%1&quot;</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is missing</source>
        <translation>&quot;%1&quot; がありません</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not NAME@HOST:PORT or NAME@/dev/PATH</source>
        <translation>&apos;%1&apos; は NAME@HOST:PORT でも NAME@/dev/PATH でもありません</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a usable machine name: letters, digits, &apos;-&apos; and &apos;_&apos;, at most %2</source>
        <translation>&apos;%1&apos; は装置名に使えません：英字、数字、&apos;-&apos;、&apos;_&apos; のみ、最大 %2 文字</translation>
    </message>
    <message>
        <source>&apos;%1&apos; names no machine after &apos;@&apos;</source>
        <translation>&apos;%1&apos; の &apos;@&apos; の後に装置の指定がありません</translation>
    </message>
    <message>
        <source>%1: too large for a config file</source>
        <translation>%1：設定ファイルとしては大きすぎます</translation>
    </message>
    <message>
        <source>%1: not JSON: %2 (at byte %3)</source>
        <translation>%1：JSON ではありません：%2（%3 バイト目）</translation>
    </message>
    <message>
        <source>%1: not a JSON object</source>
        <translation>%1：JSON オブジェクトではありません</translation>
    </message>
    <message>
        <source>machine %1 has no address</source>
        <translation>装置 %1 にアドレスがありません</translation>
    </message>
    <message>
        <source>the machine name %1 is given twice</source>
        <translation>装置名 %1 が二度指定されています</translation>
    </message>
    <message>
        <source>the listen address &apos;%1&apos; is not ADDRESS:PORT</source>
        <translation>待ち受けアドレス &apos;%1&apos; は ADDRESS:PORT ではありません</translation>
    </message>
    <message>
        <source>no machine to serve: name one with --machine NAME@HOST:PORT or in the config file</source>
        <translation>対象の装置がありません：--machine NAME@HOST:PORT か設定ファイルで指定してください</translation>
    </message>
    <message>
        <source>listening on %1 lets other computers in: a token file is needed (--token-file or &quot;token_file&quot;)</source>
        <translation>%1 で待ち受けると他のコンピューターからアクセスできます：トークンファイルが必要です（--token-file または &quot;token_file&quot;）</translation>
    </message>
</context>
<context>
    <name>ShopNest</name>
    <message>
        <source>a nest takes 1 to %1 part files</source>
        <translation>ネスティングに使えるパーツのファイルは 1 から %1 個です</translation>
    </message>
    <message>
        <source>the design options: %1</source>
        <translation>図形オプション：%1</translation>
    </message>
    <message>
        <source>width, height, rotate, mirror and weed-border do not go with a nest: it places and turns each part itself</source>
        <translation>width、height、rotate、mirror、weed-border はネスティングには使えません：ネスティングが各パーツを自分で配置・回転します</translation>
    </message>
    <message>
        <source>a part of the nest has no file</source>
        <translation>ネスティングのパーツにファイルがありません</translation>
    </message>
    <message>
        <source>%1: the quantity is no whole number from 1 to %2</source>
        <translation>%1：数量が 1 から %2 までの整数ではありません</translation>
    </message>
    <message>
        <source>gap wants millimetres from 0 to 1000</source>
        <translation>gap には 0～1000 の mm 値を指定してください</translation>
    </message>
    <message>
        <source>time_s wants seconds from 0 to %1</source>
        <translation>time_s には 0～%1 の秒数を指定してください</translation>
    </message>
    <message>
        <source>strip_width wants millimetres from 1 to 100000</source>
        <translation>strip_width には 1～100000 の mm 値を指定してください</translation>
    </message>
    <message>
        <source>the strip (%1 mm) is wider than the work area (%2) less its margin</source>
        <translation>ロール材（%1 mm）が、作業範囲（%2）から余白を引いた幅より広いです</translation>
    </message>
    <message>
        <source>a piece is larger than the work area (%1): %2</source>
        <translation>作業範囲（%1）より大きいパーツがあります：%2</translation>
    </message>
</context>
<context>
    <name>ShopQueue</name>
    <message>
        <source>the job queue could not be written: %1</source>
        <translation>ジョブキューを書き込めませんでした：%1</translation>
    </message>
    <message>
        <source>the job queue is not open</source>
        <translation>ジョブキューが開かれていません</translation>
    </message>
    <message>
        <source>the job queue %1 could not be read: %2</source>
        <translation>ジョブキュー %1 を読み取れませんでした：%2</translation>
    </message>
    <message>
        <source>%1 is not a job queue (not an SQLite database); it was left as it is</source>
        <translation>%1 はジョブキューではありません（SQLite データベースではありません）。そのままにしてあります</translation>
    </message>
    <message>
        <source>the job queue %1 could not be created: no folder for it</source>
        <translation>ジョブキュー %1 を作成できませんでした：置き場所のフォルダーがありません</translation>
    </message>
    <message>
        <source>the job queue %1 could not be opened: %2</source>
        <translation>ジョブキュー %1 を開けませんでした：%2</translation>
    </message>
    <message>
        <source>%1 is not a job queue (it holds another program&apos;s data); it was left as it is</source>
        <translation>%1 はジョブキューではありません（別のプログラムのデータです）。そのままにしてあります</translation>
    </message>
    <message>
        <source>%1 was written by a newer version of this program (queue format %2, this one reads %3); it was left as it is</source>
        <translation>%1 はこのプログラムの新しいバージョンで書かれています（キュー形式 %2、このバージョンが読めるのは %3）。そのままにしてあります</translation>
    </message>
    <message>
        <source>there is no job %1</source>
        <translation>ジョブ %1 はありません</translation>
    </message>
    <message>
        <source>job %1 is not waiting in the queue</source>
        <translation>ジョブ %1 はキューで待機していません</translation>
    </message>
    <message>
        <source>job %1 belongs to machine %2</source>
        <translation>ジョブ %1 は装置 %2 のものです</translation>
    </message>
    <message>
        <source>job %1 has ended; it cannot change</source>
        <translation>ジョブ %1 は終了しているため変更できません</translation>
    </message>
    <message>
        <source>the job queue could not be read: %1</source>
        <translation>ジョブキューを読み込めませんでした：%1</translation>
    </message>
</context>
<context>
    <name>WatchFolder</name>
    <message>
        <source>cannot make the watch folder %1</source>
        <translation>監視フォルダー %1 を作成できません</translation>
    </message>
    <message>
        <source>cannot watch the folder %1</source>
        <translation>フォルダー %1 を監視できません</translation>
    </message>
    <message>
        <source>the file is %1 MB, more than the %2 MB a job may have</source>
        <translation>ファイルは %1 MB で、ジョブに許される %2 MB を超えています</translation>
    </message>
    <message>
        <source>cannot copy %1 to %2</source>
        <translation>%1 を %2 にコピーできません</translation>
    </message>
    <message>
        <source>file: %1
not queued: %2
</source>
        <translation>ファイル：%1
キューに入れませんでした：%2
</translation>
    </message>
    <message>
        <source>file: %1
job: %2
outcome: %3
copies: %4 of %5 finished
added: %6
started: %7
ended: %8
</source>
        <translation>ファイル：%1
ジョブ：%2
結果：%3
部数：%5 部中 %4 部完了
追加：%6
開始：%7
終了：%8
</translation>
    </message>
    <message>
        <source>message: %1
</source>
        <translation>メッセージ：%1
</translation>
    </message>
</context>
</TS>
