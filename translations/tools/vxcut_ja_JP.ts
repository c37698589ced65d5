<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>Command</name>
    <message>
        <source>Usage: vxcut demo [--copies N] [--json]

Starts a simulated machine and a local cloud stand-in on free loopback
ports, connects, reads the machine, registers it, opens the remote
channel, cuts the bundled sample plot, stops the job and prints the
work record as the cloud received it. Needs no hardware or network.
  --copies N    copies to cut (default 2)
  --quality Q   cutting quality, index or text as `vxcut settings` shows it
  --speedup F   how much faster than real time the simulator cuts (default 50)
</source>
        <translation>使い方：vxcut demo [--copies N] [--json]

空いているループバックポートで模擬装置とローカルのクラウド代替を起動し、
接続して装置を読み取り、登録し、リモートチャネルを開き、同梱のサンプル
図形をカットし、ジョブを停止して、クラウドが受け取った作業記録を表示します。
ハードウェアもネットワークも不要です。
  --copies N    カットする部数（既定 2）
  --quality Q   カット品質。`vxcut settings` が示す番号または文字列
  --speedup F   模擬装置が実時間の何倍速でカットするか（既定 50）
</translation>
    </message>
    <message>
        <source>Usage: vxcut get KEY... --tcp ... | --usb ...

Reads settings by key (as `vxcut settings --json` lists them).
</source>
        <translation>使い方：vxcut get KEY... --tcp ... | --usb ...

キー名で設定を読み取ります（キー名は `vxcut settings --json` の一覧のとおり）。
</translation>
    </message>
    <message>
        <source>Usage: vxcut history [--last N] [--json]

Lists the last N jobs of the journal (20 by default), oldest first:
when, outcome, copies finished of those asked, the file, the machine,
reconnects and link-down time. A torn or foreign line is skipped.
</source>
        <translation>使い方：vxcut history [--last N] [--json]

ジョブ記録の最近 N 件（既定 20）を古い順に表示します：日時、結果、
指定部数のうち完了した部数、ファイル、装置、再接続回数と切断時間。
壊れた行や無関係な行は読み飛ばします。
</translation>
    </message>
    <message>
        <source>Usage: vxcut info --tcp HOST[:PORT] | --usb PATH

Reads the machine&apos;s identity (model, numbers, firmware, unique id).
</source>
        <translation>使い方：vxcut info --tcp HOST[:PORT] | --usb PATH

装置の識別情報（機種、番号、ファームウェア、固有 ID）を読み取ります。
</translation>
    </message>
    <message>
        <source>Usage: vxcut jog X+|X-|Y+|Y-|origin|home [--time MS] --tcp ... | --usb ...

Moves the carriage for MS milliseconds (default 500) then stops it;
origin sets the origin here, home returns to it.
</source>
        <translation>使い方：vxcut jog X+|X-|Y+|Y-|origin|home [--time MS] --tcp ... | --usb ...

キャリッジを MS ミリ秒（既定 500）動かして止めます。origin は現在位置を
原点に設定し、home は原点に戻ります。
</translation>
    </message>
    <message>
        <source>Usage: vxcut ports [--json]

Lists the serial devices present.
</source>
        <translation>使い方：vxcut ports [--json]

接続されているシリアルデバイスを一覧表示します。
</translation>
    </message>
    <message>
        <source>Usage: vxcut set KEY=VALUE... --tcp ... | --usb ...

Writes settings, values in the units the settings list shows (combo
settings take the index or the option text), reads each one back and
reports the machine&apos;s write status. Every value is checked before any
is written.
</source>
        <translation>使い方：vxcut set KEY=VALUE... --tcp ... | --usb ...

設定を書き込みます。値は設定一覧に示す単位で指定します（選択式の設定は
番号または選択肢の文字列）。書き込んだ値をそれぞれ読み返し、装置の書き込み
状態を報告します。書き込む前にすべての値を検査します。
</translation>
    </message>
    <message>
        <source>Usage: vxcut qr SOURCE --tcp HOST[:PORT] | --usb PATH [--count N]
                [design options] [--json]

Runs a QR-code production: the machine feeds printed sheets, its camera
reads each sheet&apos;s code and the sheet gets that code&apos;s design, placed,
ordered and shaped as `cut` does it (each design is read once per run).
SOURCE is a folder of designs named by their codes (ABC123.svg,
ABC123.plt, ABC123.dxf) or a map file of `CODE = path` lines (paths
relative to the map; checked whole before anything is sent).
A code without a design, or one the camera cannot read, passes the knife
uncut and is reported. Runs until the machine&apos;s stack ends, N sheets are
cut, or Ctrl-C, which stops the machine&apos;s job first. A dropped link is
reconnected as for cut (--no-reconnect, --reconnect-budget). Shows sheets done,
the current code and its percent; --json writes one &quot;sheet&quot; event per
sheet (index, code, design, outcome finished|skipped|failed, reason, ms).
Every sheet goes into the job journal (--journal, as for cut).
  --count N           stop once N sheets are cut
The design options (below) apply to every design of the run.
</source>
        <translation>使い方：vxcut qr SOURCE --tcp HOST[:PORT] | --usb PATH [--count N]
                [図形オプション] [--json]

QR コード生産を行います：装置が印刷済みシートを送り、カメラが各シートのコードを
読み取り、そのコードの図形を `cut` と同じように配置・順序付け・整形してカット
します（各図形は 1 回の実行で 1 度だけ読み込みます）。
SOURCE はコード名の図形フォルダー（ABC123.svg、ABC123.plt、ABC123.dxf）か、
`CODE = パス` の行からなるマップファイルです（パスはマップからの相対パス。送信前に
全体を検査します）。図形のないコードやカメラが読めないコードのシートは、カット
せずに通過させて報告します。装置のシートの束が尽きるか、N 枚カットするか、Ctrl-C
（先に装置のジョブを停止）まで動作します。接続が切れると cut と同様に再接続します
（--no-reconnect、--reconnect-budget）。完了シート数、現在のコードとその進捗率を表示し、
--json ではシートごとに &quot;sheet&quot; イベントを 1 つ書きます（index、code、design、
outcome finished|skipped|failed、reason、ms）。
すべてのシートはジョブ記録に残ります（--journal、cut と同じ）。
  --count N           N 枚カットしたら停止
図形オプション（下記）は実行中のすべての図形に適用されます。
</translation>
    </message>
    <message>
        <source>Usage: vxcut nest FILE[=QTY]... [--parts LIST] (--strip-width MM | --sheet WxL)
                 [nest options] [design options] [--json]

Places parts (design files read as `plan` reads them) on a strip or on
sheets without overlapping, each part turned as allowed, and searches for
a shorter layout until the time is up or no gain comes. Holes and inner
cuts stay with their part; small parts may lie in the holes of large ones.
  FILE=QTY            QTY copies of FILE (FILE alone: one)
  --parts LIST        a list of lines FILE,QTY[,ROTATIONS]
  --split             each outer contour of a file is a part of its own
  --strip-width MM    a strip this wide, as short as possible
  --sheet WxL         sheets of W x L mm, as few as possible, the last as
                      short as possible
  --gap MM            at least this between parts (default 2; 0 allowed)
  --rotations LIST    allowed turns: 0,90,180,270 (default), or any:STEP
                      for every STEP degrees (any: 15)
  --mirror-allowed    parts may also be mirrored (material cut from
                      either face)
  --time SEC          search time (default 10)
  --seed N            the search&apos;s seed (default 1): a seed and a machine
                      give one layout
  --output OUT.plt    the plot text of the nest (one file per sheet:
                      OUT-1.plt, ...)
  --svg OUT.svg       a picture of the nest with its utilisation
--scale applies to each part; --width, --height, --rotate and --mirror
contradict the nest and are refused.
</source>
        <translation>使い方：vxcut nest FILE[=QTY]... [--parts LIST] (--strip-width MM | --sheet WxL)
                 [ネスティングオプション] [図形オプション] [--json]

パーツ（`plan` と同じように読み込む図形ファイル）を、ロール材またはシート材の上に
重ならないように配置します。各パーツは許された角度に回転させ、時間切れになるか
改善がなくなるまで、より短い配置を探します。穴や内側のカット線はそのパーツと一緒に
配置し、小さなパーツは大きなパーツの穴の中に置くことがあります。
  FILE=QTY            FILE を QTY 個（FILE だけなら 1 個）
  --parts LIST        FILE,QTY[,ROTATIONS] の行からなるリスト
  --split             ファイルの外側の輪郭ごとに別のパーツとする
  --strip-width MM    この幅のロール材。長さはできるだけ短く
  --sheet WxL         W x L mm のシート材。枚数はできるだけ少なく、最後の 1 枚は
                      できるだけ短く
  --gap MM            パーツ間の最小間隔（既定 2。0 も可）
  --rotations LIST    許す回転：0,90,180,270（既定）、または STEP 度ごとの
                      any:STEP（any だけなら 15）
  --mirror-allowed    パーツの反転も許す（素材をどちらの面からもカットできる場合）
  --time SEC          探索時間（既定 10）
  --seed N            探索のシード（既定 1）。シードとコンピューターが同じなら
                      同じ配置になる
  --output OUT.plt    ネスティング結果のプロットテキスト（シートごとに 1 ファイル：
                      OUT-1.plt, ...）
  --svg OUT.svg       ネスティング結果と利用率の画像
--scale は各パーツに適用されます。--width、--height、--rotate、--mirror は
ネスティングと矛盾するため指定できません。
</translation>
    </message>
    <message>
        <source>Usage: vxcut plan FILE [design options] [--json] [--output OUT.plt]

Reads a design (HP-GL, SVG or DXF, told apart by content), places,
orders and shapes it as `cut` would, without a machine. Shows the size,
the cut length, the pen-up travel in the file&apos;s order and as ordered,
the paths sent, the length of overlapping lines cut once, and the time
at 100 mm/s cutting and 300 mm/s travel.
  --output FILE       also write the plot text `cut` would send
  --work-area WxH     refuse a design that does not fit a work area of
                      W x H mm, as `cut` does with the machine&apos;s own
</source>
        <translation>使い方：vxcut plan FILE [図形オプション] [--json] [--output OUT.plt]

図形（HP-GL、SVG、DXF。内容で判別）を読み込み、装置なしで `cut` と同じ
ように配置・順序付け・整形します。サイズ、カット長、ファイル順と並べ替え後の
ペンアップ移動量、送るパス数、一度だけカットする重なり線の長さ、カット
100 mm/s・移動 300 mm/s での時間を表示します。
  --output FILE       `cut` が送るプロットテキストも書き出す
  --work-area WxH     W x H mm の作業範囲に収まらない図形を拒否する
                      （`cut` が装置自身の作業範囲で行うのと同じ）
</translation>
    </message>
    <message>
        <source>Usage: vxcut resume --tcp HOST[:PORT] | --usb PATH [--yes]
                    [--recut-interrupted | --skip-interrupted] [design options]

Cuts what is left of the last interrupted job in the journal: the
copies that were not finished, the one cut part way continued from the
stroke it was at. The file is planned again with the options the job
was cut with; design options given here must equal those. The plan is
shown and confirmed first; the file and its plan must be unchanged
(SHA-256) and, to continue a copy, the machine the same. The machine is
asked first what became of the job: copies it finished while the link
was down are not cut again.
  --yes                 no question (for scripts)
  --recut-interrupted   cut the interrupted copy whole again (on fresh
                        material)
  --skip-interrupted    leave the interrupted copy out
</source>
        <translation>使い方：vxcut resume --tcp HOST[:PORT] | --usb PATH [--yes]
                    [--recut-interrupted | --skip-interrupted] [図形オプション]

ジョブ記録にある最後の中断ジョブの残りをカットします：完了していない部数と、
途中までカットした部をそのストロークから続けます。ファイルはジョブをカットした
ときのオプションで計画し直します。ここで指定する図形オプションはそれと同じで
なければなりません。先に計画を表示して確認を求めます。ファイルとその計画が
変更されていないこと（SHA-256）、部の続きをカットする場合は装置が同じである
ことが条件です。最初に装置へジョブがどうなったかを問い合わせます。接続が
切れている間に装置が完了した部は、再びカットしません。
  --yes                 確認しない（スクリプト用）
  --recut-interrupted   中断した部を最初から丸ごとカットし直す（新しい素材で）
  --skip-interrupted    中断した部を飛ばす
</translation>
    </message>
    <message>
        <source>Usage: vxcut settings            --tcp ... | --usb ...
       vxcut settings dump FILE  --tcp ... | --usb ...
       vxcut settings apply FILE --tcp ... | --usb ...

Without a subcommand: every user and system setting with its label,
value and unit, in the user&apos;s language.
dump: writes the user settings to a readable profile file.
apply: checks the file, shows what would change, writes the changes
and reads every written value back. A dropped link is reconnected
(--reconnect-budget SEC, --no-reconnect); the values are read back and
only the missing ones written. The result names the settings applied
and, if the link stays down, those not applied.
</source>
        <translation>使い方：vxcut settings            --tcp ... | --usb ...
        vxcut settings dump FILE  --tcp ... | --usb ...
        vxcut settings apply FILE --tcp ... | --usb ...

サブコマンドなし：ユーザー設定とシステム設定をすべて、名前・値・単位付きで
ユーザーの言語で表示します。
dump：ユーザー設定を読める形式のプロファイルファイルに書き出します。
apply：ファイルを検査し、変わる内容を表示してから変更を書き込み、書き込んだ
値をすべて読み返します。接続が切れると再接続し（--reconnect-budget SEC、
--no-reconnect）、値を読み返して、まだ書き込まれていないものだけを書き込みます。
結果には適用した設定と、接続が戻らなかった場合は適用していない設定を示します。
</translation>
    </message>
    <message>
        <source>Usage: vxcut cut FILE --tcp HOST[:PORT] | --usb PATH [--copies N] [--quality Q]
                [design options] [--cloud URL --ws URL --code CODE [--token-file FILE]]
                [--reconnect-budget SEC | --no-reconnect]

Cuts a design (HP-GL, SVG or DXF), placed, ordered and shaped as
`vxcut plan` shows with the same options. Shows the plot&apos;s size, cut
length and estimated time, then a progress bar with copies done and
the remaining time. Ctrl-C stops the job on the machine. With --cloud
the machine is registered and the work record is posted when the job
ends.
If the link drops, vxcut reconnects (waits of 0.5 s doubling to 8 s,
120 s in all), checks it is the same machine, and follows the job to
its end; a machine that gave the job up is reported with what was
cut, for `vxcut resume`. Every job goes to the journal (`vxcut history`).
  --reconnect-budget SEC  how long to keep trying (0: give up at once)
  --no-reconnect          a dropped link ends the run (exit 6)
  --token-file FILE   cloud token, from a file only its owner can read
                      (VX_CLOUD_TOKEN in the environment works too;
                      --token T also, but other users can read it)

vxcut cut --nest PART[=QTY]... [--parts LIST] [--strip-width MM] [nest options]
Nests the parts as `vxcut nest` does (the strip as wide as the work area
unless --strip-width says), then cuts the nest in windows no longer than
the work area, never through a part, the belt feeding the material on
between windows (automatic feed on, the feed length per window; the feed
settings are put back afterwards). `vxcut resume` continues a nest at the
first window not cut.
</source>
        <translation>使い方：vxcut cut FILE --tcp HOST[:PORT] | --usb PATH [--copies N] [--quality Q]
                [図形オプション] [--cloud URL --ws URL --code CODE [--token-file FILE]]
                [--reconnect-budget SEC | --no-reconnect]

図形（HP-GL、SVG、DXF）をカットします。配置・順序・整形は同じオプションの
`vxcut plan` の表示どおりです。図形のサイズ、カット長、予想時間を表示し、
続いて完了部数と残り時間の進行バーを表示します。Ctrl-C で装置上のジョブを
停止します。--cloud を付けると装置を登録し、ジョブ終了時に作業記録を送信します。
接続が切れると vxcut は再接続し（待ち時間 0.5 秒から倍々に 8 秒まで、合計
120 秒）、同じ装置であることを確かめてジョブを最後まで追跡します。装置が
ジョブを放棄した場合は、カット済みの範囲を `vxcut resume` 用に報告します。
すべてのジョブはジョブ記録に残ります（`vxcut history`）。
  --reconnect-budget SEC  再接続を試み続ける時間（0：すぐにあきらめる）
  --no-reconnect          接続が切れたら実行を終了（終了コード 6）
  --token-file FILE   クラウドトークン。所有者だけが読めるファイルから
                      （環境変数 VX_CLOUD_TOKEN も可。--token T も
                      使えますが、他のユーザーから見えます）

vxcut cut --nest PART[=QTY]... [--parts LIST] [--strip-width MM] [ネスティングオプション]
パーツを `vxcut nest` と同じようにネスティングし（--strip-width を指定しなければ
ロール材の幅は作業範囲の幅）、その結果を作業範囲より長くないウィンドウに分けて
カットします。ウィンドウの境目がパーツを横切ることはなく、ウィンドウの間では
ベルトが素材を送ります（自動送りをオンにし、送り長さはウィンドウごとに設定。
送りの設定は終了後に元に戻します）。`vxcut resume` はネスティングを、まだ
カットしていない最初のウィンドウから再開します。
</translation>
    </message>
    <message>
        <source>Usage: vxcut serve [--listen ADDR:PORT] [--machine NAME@TARGET]...
                  [--config FILE] [--data DIR] [--token-file FILE]
                  [--max-upload-mb N]

The shop floor service: a job queue for each machine, watch folders, and
a web page with the machines, their queues and the journal. Runs until
Ctrl-C or SIGTERM; a job under way is left to its machine and followed
again on the next start.
  --listen ADDR:PORT   where the page and its API listen (default
                       127.0.0.1:8600; port 0 takes a free one)
  --machine NAME@HOST[:PORT]  a machine on the network (port 9100 by
                       default), or NAME@/dev/PATH on a serial device;
                       repeat for each machine
  --config FILE        machines, watch folders and the rest as JSON (see
                       the README); --machine adds to its machines
  --data DIR           the queue, the journals and the stored designs
                       (default: the user&apos;s data folder)
  --token-file FILE    every request needs the token in FILE (a file only
                       its owner may read); needed off loopback
  --max-upload-mb N    largest design a page may send (default 64)
  --reconnect-budget SEC  how long a job waits for a dropped link
</source>
        <translation>使い方：vxcut serve [--listen ADDR:PORT] [--machine NAME@TARGET]...
                  [--config FILE] [--data DIR] [--token-file FILE]
                  [--max-upload-mb N]

生産現場サービス：装置ごとのジョブキュー、監視フォルダー、そして装置と
そのキュー、ジョブ記録を表示する Web ページ。Ctrl-C か SIGTERM まで動作
します。進行中のジョブは装置に任せ、次回の起動時に再び追跡します。
  --listen ADDR:PORT   ページとその API の待ち受けアドレス（既定
                       127.0.0.1:8600。ポート 0 で空きポートを使用）
  --machine NAME@HOST[:PORT]  ネットワーク上の装置（既定ポート 9100）、
                       またはシリアルデバイス上の NAME@/dev/PATH。
                       装置ごとに繰り返し指定
  --config FILE        装置、監視フォルダーなどの設定を JSON で指定
                       （README 参照）。--machine の装置はこれに追加
  --data DIR           キュー、ジョブ記録、保存した図形の置き場所
                       （既定：ユーザーのデータフォルダー）
  --token-file FILE    すべての要求に FILE のトークンが必要（所有者だけが
                       読めるファイル）。ループバック以外では必須
  --max-upload-mb N    ページから送れる図形の最大サイズ（既定 64）
  --reconnect-budget SEC  切れた接続をジョブが待つ時間
</translation>
    </message>
    <message>
        <source>Usage: vxcut COMMAND [options]

Drives a conveyor-belt flatbed cutter through its device plugin.

Commands:
  demo       cut the sample on a simulated machine (no hardware needed)
  cut FILE   cut a design file (HP-GL, SVG, DXF)
  plan FILE  the cut&apos;s size, length, travel and plot text, without a machine
  nest FILE...  place parts on a strip or sheets; the nest&apos;s plot text
  resume     cut what is left of the last interrupted job
  history    the job journal
  info       machine identity
  settings   list settings; settings dump|apply FILE
  get KEY... read settings
  set K=V... write settings with read-back
  jog DIR    move the carriage
  qr SOURCE  QR-code production: each sheet gets its code&apos;s design
  ports      serial devices present
  serve      the shop floor service: job queues, watch folders, a web page

`vxcut COMMAND --help` describes one command.
</source>
        <translation>使い方：vxcut COMMAND [オプション]

装置プラグインを通じてコンベア式フラットベッドカッターを操作します。

コマンド：
  demo       模擬装置でサンプルをカット（ハードウェア不要）
  cut FILE   図形ファイルをカット（HP-GL、SVG、DXF）
  plan FILE  装置なしでカットのサイズ・長さ・移動量・プロットテキストを表示
  nest FILE...  パーツをロール材やシート材に配置し、ネスティングのプロットテキストを出力
  resume     最後に中断したジョブの残りをカット
  history    ジョブ記録
  info       装置の識別情報
  settings   設定の一覧；settings dump|apply FILE
  get KEY... 設定を読み取る
  set K=V... 設定を書き込んで読み返す
  jog DIR    キャリッジを動かす
  qr SOURCE  QR コード生産：各シートにそのコードの図形をカット
  ports      接続されているシリアルデバイス
  serve      生産現場サービス：ジョブキュー、監視フォルダー、Web ページ

`vxcut COMMAND --help` で各コマンドの説明を表示します。
</translation>
    </message>
</context>
<context>
    <name>Cut</name>
    <message numerus="yes">
        <source>plot %1: %2 x %3 mm, cut length %4 mm (+%5 mm travel), %n copies, estimated %6</source>
        <translation>
            <numerusform>図形 %1：%2 x %3 mm、カット長 %4 mm（移動 %5 mm）、%n 部、予想 %6</numerusform>
        </translation>
    </message>
    <message>
        <source>unknown (machine speeds not read)</source>
        <translation>不明（装置の速度を未取得）</translation>
    </message>
    <message>
        <source>plot %1: %2 x %3 mm, cut length %4 mm (+%5 mm travel), 1 copy, estimated %6</source>
        <translation>図形 %1：%2 x %3 mm、カット長 %4 mm（移動 %5 mm）、1 部、予想 %6</translation>
    </message>
    <message>
        <source>; `vxcut resume` cuts what is left</source>
        <translation>。残りは `vxcut resume` でカットできます</translation>
    </message>
    <message>
        <source>cut wants exactly one plot file</source>
        <translation>cut には図形ファイルをちょうど 1 つ指定してください</translation>
    </message>
    <message>
        <source>starting the job</source>
        <translation>ジョブの開始</translation>
    </message>
    <message>
        <source>done: %1 of %2 in %3%4</source>
        <translation>完了：%2中 %1 部、所要 %3%4</translation>
    </message>
</context>
<context>
    <name>Demo</name>
    <message>
        <source>simulated machine on 127.0.0.1:%1, cloud stand-in on %2</source>
        <translation>模擬装置は 127.0.0.1:%1、クラウド代替は %2</translation>
    </message>
    <message>
        <source>work record as the cloud received it (after %1 Runtime snapshots):
%2</source>
        <translation>クラウドが受け取った作業記録（Runtime スナップショット %1 回の後）：
%2</translation>
    </message>
    <message>
        <source>this build has no simulator or cloud stand-in</source>
        <translation>このビルドには模擬装置もクラウド代替も含まれていません</translation>
    </message>
    <message>
        <source>cannot start the cloud stand-in on 127.0.0.1</source>
        <translation>127.0.0.1 でクラウド代替を起動できません</translation>
    </message>
    <message>
        <source>cannot start the simulated machine on 127.0.0.1</source>
        <translation>127.0.0.1 で模擬装置を起動できません</translation>
    </message>
    <message>
        <source>the cloud stand-in received no work record</source>
        <translation>クラウド代替は作業記録を受け取りませんでした</translation>
    </message>
</context>
<context>
    <name>ExitCode</name>
    <message>
        <source>success</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>other failure (also: the machine stopped or refused the job itself)</source>
        <translation>その他の失敗（装置自身がジョブを停止・拒否した場合も）</translation>
    </message>
    <message>
        <source>bad command line</source>
        <translation>コマンドラインの誤り</translation>
    </message>
    <message>
        <source>device plugin not found or not loadable</source>
        <translation>装置プラグインが見つからないか読み込めない</translation>
    </message>
    <message>
        <source>connection refused / device could not be opened</source>
        <translation>接続拒否／デバイスを開けない</translation>
    </message>
    <message>
        <source>no connection or no answer in time</source>
        <translation>時間内に接続または応答がない</translation>
    </message>
    <message>
        <source>device lost (link closed or machine silent); during a job the error says what was cut so far</source>
        <translation>装置を見失った（接続が閉じたか装置が無応答）。ジョブ中ならエラーにそれまでのカット範囲を示す</translation>
    </message>
    <message>
        <source>unknown key</source>
        <translation>不明なキー</translation>
    </message>
    <message>
        <source>bad value</source>
        <translation>不正な値</translation>
    </message>
    <message>
        <source>unreadable or invalid plot file</source>
        <translation>図形ファイルが読めないか無効</translation>
    </message>
    <message>
        <source>the machine refused a write or kept another value</source>
        <translation>装置が書き込みを拒否したか別の値のまま</translation>
    </message>
    <message>
        <source>cloud registration or remote channel failed</source>
        <translation>クラウド登録またはリモートチャネルの失敗</translation>
    </message>
    <message>
        <source>interrupted (Ctrl-C); a running job is stopped on the machine first</source>
        <translation>中断（Ctrl-C）。実行中のジョブは先に装置上で停止する</translation>
    </message>
    <message>
        <source>Exit codes:</source>
        <translation>終了コード：</translation>
    </message>
    <message>
        <source>terminated (SIGTERM); a running job is stopped on the machine first</source>
        <translation>終了要求（SIGTERM）。実行中のジョブは先に装置上で停止する</translation>
    </message>
</context>
<context>
    <name>Get</name>
    <message>
        <source>get wants at least one KEY</source>
        <translation>get には KEY を 1 つ以上指定してください</translation>
    </message>
    <message>
        <source>unknown key %1</source>
        <translation>不明なキー %1</translation>
    </message>
    <message>
        <source>(held locally; not read from the machine)</source>
        <translation>（ローカルに保持している値。装置からは読み取っていません）</translation>
    </message>
    <message>
        <source>the machine did not answer for %1</source>
        <translation>%1 について装置が応答しませんでした</translation>
    </message>
</context>
<context>
    <name>History</name>
    <message>
        <source>1 reconnect, link down %1 s</source>
        <translation>再接続 1 回、切断 %1 秒</translation>
    </message>
    <message numerus="yes">
        <source>%n reconnects, link down %1 s</source>
        <translation>
            <numerusform>再接続 %n 回、切断 %1 秒</numerusform>
        </translation>
    </message>
    <message>
        <source>no jobs in %1</source>
        <translation>%1 にジョブはありません</translation>
    </message>
    <message>
        <source>1 line of %1 holds no job record (torn or foreign): skipped</source>
        <translation>%1 の 1 行はジョブ記録ではありません（壊れているか無関係）：読み飛ばしました</translation>
    </message>
    <message numerus="yes">
        <source>%n lines of %1 hold no job record (torn or foreign): skipped</source>
        <translation>
            <numerusform>%1 の %n 行はジョブ記録ではありません（壊れているか無関係）：読み飛ばしました</numerusform>
        </translation>
    </message>
    <message>
        <source>history takes no arguments</source>
        <translation>history は引数を取りません</translation>
    </message>
    <message>
        <source>, copy %1 at %2%</source>
        <translation>、%1 部目は %2% まで</translation>
    </message>
    <message>
        <source>resumes %1</source>
        <translation>%1 の再開</translation>
    </message>
</context>
<context>
    <name>Info</name>
    <message>
        <source>reading the machine information</source>
        <translation>装置情報の読み取り</translation>
    </message>
</context>
<context>
    <name>JobLoop</name>
    <message>
        <source>reconnected to %1 after %2 s; reading the job state</source>
        <translation>%2 秒後に %1 へ再接続しました。ジョブの状態を読み取っています</translation>
    </message>
    <message>
        <source>interrupted: no longer reconnecting</source>
        <translation>中断：再接続をやめます</translation>
    </message>
    <message>
        <source>stopping the job on the machine...</source>
        <translation>装置上のジョブを停止しています…</translation>
    </message>
    <message>
        <source>job journal not written: %1</source>
        <translation>ジョブ記録を書き込めませんでした：%1</translation>
    </message>
    <message>
        <source>; 1 reconnect, link down %1 s</source>
        <translation>、再接続 1 回、切断 %1 秒</translation>
    </message>
    <message numerus="yes">
        <source>; %n reconnects, link down %1 s</source>
        <translation>
            <numerusform>、再接続 %n 回、切断 %1 秒</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Jog</name>
    <message>
        <source>jog wants one of X+ X- Y+ Y- origin home</source>
        <translation>jog には X+ X- Y+ Y- origin home のいずれかを指定してください</translation>
    </message>
    <message>
        <source>this device has no %1 command</source>
        <translation>この装置には %1 コマンドがありません</translation>
    </message>
    <message>
        <source>jogging</source>
        <translation>ジョグ</translation>
    </message>
    <message>
        <source>stopping the axis</source>
        <translation>軸の停止</translation>
    </message>
    <message>
        <source>%1 during the jog; reconnected and stopped the axis; the move was not repeated</source>
        <translation>ジョグ中に%1。再接続して軸を停止しました。移動は繰り返していません</translation>
    </message>
</context>
<context>
    <name>Nest</name>
    <message>
        <source>--strip-width wants millimetres from 1 to 100000</source>
        <translation>--strip-width には 1～100000 の mm 値を指定してください</translation>
    </message>
    <message>
        <source>--sheet wants W x L in millimetres, such as 1200x2400</source>
        <translation>--sheet には W x L を mm 単位で指定してください（例：1200x2400）</translation>
    </message>
    <message>
        <source>--gap wants millimetres from 0 to 1000</source>
        <translation>--gap には 0～1000 の mm 値を指定してください</translation>
    </message>
    <message>
        <source>--time wants seconds from 0 to 86400</source>
        <translation>--time には 0～86400 の秒数を指定してください</translation>
    </message>
    <message>
        <source>--seed wants a whole number of 0 or more</source>
        <translation>--seed には 0 以上の整数を指定してください</translation>
    </message>
    <message>
        <source>nest wants either --strip-width or --sheet</source>
        <translation>nest には --strip-width か --sheet のどちらかを指定してください</translation>
    </message>
    <message>
        <source>--width, --height, --rotate and --mirror do not go with nest: it places and turns each part itself</source>
        <translation>--width、--height、--rotate、--mirror は nest には使えません：nest が各パーツを自分で配置・回転します</translation>
    </message>
    <message>
        <source>nest wants part files (FILE or FILE=QTY) or --parts LIST</source>
        <translation>nest にはパーツのファイル（FILE または FILE=QTY）か --parts LIST を指定してください</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 に書き込めません：%2</translation>
    </message>
    <message>
        <source>plot text written to %1 (%2 bytes)</source>
        <translation>プロットテキストを %1 に書き出しました（%2 バイト）</translation>
    </message>
    <message>
        <source>picture written to %1</source>
        <translation>画像を %1 に書き出しました</translation>
    </message>
    <message>
        <source>best %1 sheet(s), the last to %2 mm</source>
        <translation>最良 %1 枚、最後の 1 枚は %2 mm まで</translation>
    </message>
    <message>
        <source>best %1 mm</source>
        <translation>最良 %1 mm</translation>
    </message>
    <message>
        <source>searching %1 / %2 s: %3 layouts, %4, %5% used</source>
        <translation>探索中 %1 / %2 秒：配置案 %3 件、%4、利用率 %5%</translation>
    </message>
    <message>
        <source>%1 sheet(s) of %2 x %3 mm, the last used to %4 mm</source>
        <translation>%2 x %3 mm のシート材 %1 枚、最後の 1 枚は %4 mm まで使用</translation>
    </message>
    <message>
        <source>nest: %1 of %2 pieces on %3; utilisation %4% (%5 layouts in %6 s)</source>
        <translation>ネスティング：%2 個中 %1 個を配置、%3。利用率 %4%（%6 秒で配置案 %5 件）</translation>
    </message>
    <message>
        <source>interrupted while nesting</source>
        <translation>ネスティング中に中断しました</translation>
    </message>
    <message>
        <source>%1: %2 of %3 not placed</source>
        <translation>%1：%3 個中 %2 個を配置できませんでした</translation>
    </message>
    <message>
        <source>%1 mm along a %2 mm wide strip</source>
        <translation>幅 %2 mm のロール材で長さ %1 mm</translation>
    </message>
    <message>
        <source>cut --nest cuts a strip on the belt: --sheet does not go with it</source>
        <translation>cut --nest はベルト上のロール材をカットします：--sheet は使えません</translation>
    </message>
    <message>
        <source>--copies, --cloud and --svg do not go with cut --nest: give the quantities with the parts</source>
        <translation>--copies、--cloud、--svg は cut --nest には使えません：数量はパーツと一緒に指定してください</translation>
    </message>
    <message>
        <source>--nest goes with cut, not %1</source>
        <translation>--nest は cut 用で、%1 には使えません</translation>
    </message>
    <message>
        <source>--%1 goes with nest or cut --nest, not %2</source>
        <translation>--%1 は nest または cut --nest 用で、%2 には使えません</translation>
    </message>
    <message>
        <source>window %1 of %2: %3 pieces from %4 mm along the strip, cut length %5 mm; then the belt feeds %6 mm</source>
        <translation>ウィンドウ %1（全 %2）：%3 個、ロール材の %4 mm の位置から、カット長 %5 mm。続いてベルトが %6 mm 送ります</translation>
    </message>
    <message>
        <source>the machine has no automatic feed (FEED_LENGTH)</source>
        <translation>装置に自動送りがありません（FEED_LENGTH）</translation>
    </message>
    <message>
        <source>starting the nest</source>
        <translation>ネスティングの開始</translation>
    </message>
    <message>
        <source>job journal not written: %1</source>
        <translation>ジョブ記録を書き込めませんでした：%1</translation>
    </message>
    <message>
        <source>; `vxcut resume` continues at window %1</source>
        <translation>。`vxcut resume` でウィンドウ %1 から再開できます</translation>
    </message>
    <message>
        <source>done: %1 windows of %2 cut in %3</source>
        <translation>完了：%2 のウィンドウ %1 個をカット、所要 %3</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>Try &apos;vxcut --help&apos;.</source>
        <translation>&apos;vxcut --help&apos; を参照してください。</translation>
    </message>
    <message>
        <source>--token shows the cloud token to every user of this computer (process list); use --token-file FILE or VX_CLOUD_TOKEN</source>
        <translation>--token ではクラウドトークンがこのコンピューターの全ユーザーに見えます（プロセス一覧）。--token-file FILE か VX_CLOUD_TOKEN を使ってください</translation>
    </message>
    <message>
        <source>Common options:
  --tcp HOST[:PORT]   machine on the network (port 9100 by default)
  --usb PATH          machine on a serial/USB device (see `vxcut ports`)
  --plugin PATH       device plugin file (default: &lt;appdir&gt;/plugins,
                      &lt;appdir&gt;/../lib/vxdevice/plugins, then the build tree)
  --timeout SEC       connection and answer timeout (default 5)
  --heartbeat SEC     heartbeat period; three missed answers with nothing
                      else heard mean the machine is gone (default 2)
  --journal PATH      job journal (default: VX_JOURNAL, else
                      ~/.local/share/vxdevice/jobs.jsonl)
  --json              one JSON event per line (link, progress, result, ...)
  --verbose           show the device object&apos;s debug log
  --lang CODE         language of the messages: zh_CN, ja_JP, en (default:
                      the system&apos;s; --json output is the same in all)
  --help              this text
</source>
        <translation>共通オプション：
  --tcp HOST[:PORT]   ネットワーク上の装置（既定ポート 9100）
  --usb PATH          シリアル／USB デバイス上の装置（`vxcut ports` 参照）
  --plugin PATH       装置プラグインのファイル（既定：&lt;appdir&gt;/plugins、
                      &lt;appdir&gt;/../lib/vxdevice/plugins、次にビルドツリー）
  --timeout SEC       接続と応答のタイムアウト（既定 5）
  --heartbeat SEC     ハートビート周期。ほかに何も届かず 3 回応答がなければ
                      装置がいなくなったとみなす（既定 2）
  --journal PATH      ジョブ記録（既定：VX_JOURNAL、なければ
                      ~/.local/share/vxdevice/jobs.jsonl）
  --json              1 行に 1 つの JSON イベント（link、progress、result など）
  --verbose           装置オブジェクトのデバッグログを表示
  --lang CODE         メッセージの言語：zh_CN、ja_JP、en（既定：システムの
                      言語。--json の出力はどの言語でも同じ）
  --help              この説明
</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>コマンドが指定されていません</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>不明なコマンド &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--output goes with plan, not %1</source>
        <translation>--output は plan 用で、%1 には使えません</translation>
    </message>
    <message>
        <source>give either --token or --token-file, not both</source>
        <translation>--token と --token-file はどちらか一方だけを指定してください</translation>
    </message>
    <message>
        <source>--timeout wants seconds between 0 and 3600</source>
        <translation>--timeout には 0～3600 の秒数を指定してください</translation>
    </message>
    <message>
        <source>--copies wants a number from 1 to 9999</source>
        <translation>--copies には 1～9999 の数を指定してください</translation>
    </message>
    <message>
        <source>--time wants milliseconds from 0 to 60000</source>
        <translation>--time には 0～60000 のミリ秒数を指定してください</translation>
    </message>
    <message>
        <source>--speedup wants a positive factor</source>
        <translation>--speedup には正の倍率を指定してください</translation>
    </message>
    <message>
        <source>--reconnect-budget wants seconds from 0 to 86400</source>
        <translation>--reconnect-budget には 0～86400 の秒数を指定してください</translation>
    </message>
    <message>
        <source>give either --recut-interrupted or --skip-interrupted, not both</source>
        <translation>--recut-interrupted と --skip-interrupted はどちらか一方だけを指定してください</translation>
    </message>
    <message>
        <source>--last wants a number from 1 to 100000</source>
        <translation>--last には 1～100000 の数を指定してください</translation>
    </message>
    <message>
        <source>give either --tcp or --usb, not both</source>
        <translation>--tcp と --usb はどちらか一方だけを指定してください</translation>
    </message>
    <message>
        <source>--cloud, --ws and --code go together</source>
        <translation>--cloud、--ws、--code は一緒に指定してください</translation>
    </message>
    <message>
        <source>--token-file %1: %2</source>
        <translation>--token-file %1：%2</translation>
    </message>
    <message>
        <source>--token-file %1 is not a regular file</source>
        <translation>--token-file %1 は通常のファイルではありません</translation>
    </message>
    <message>
        <source>--token-file %1 is readable by other users (mode %2); make it private first: chmod 600 %1</source>
        <translation>--token-file %1 は他のユーザーが読めます（モード %2）。先に非公開にしてください：chmod 600 %1</translation>
    </message>
    <message>
        <source>--token-file %1 holds no single-line token</source>
        <translation>--token-file %1 に 1 行のトークンがありません</translation>
    </message>
    <message>
        <source>--count wants a number of sheets from 1 to 1000000</source>
        <translation>--count には 1～1000000 のシート枚数を指定してください</translation>
    </message>
    <message>
        <source>--work-area goes with plan; %1 reads the machine&apos;s</source>
        <translation>--work-area は plan 用です。%1 は装置自身の作業範囲を読み取ります</translation>
    </message>
    <message>
        <source>--heartbeat wants seconds from 0.2 to 60</source>
        <translation>--heartbeat には 0.2～60 の秒数を指定してください</translation>
    </message>
    <message>
        <source>the design options go with cut, plan, qr, nest and resume, not %1</source>
        <translation>図形オプションは cut、plan、qr、nest、resume 用で、%1 には使えません</translation>
    </message>
    <message>
        <source>--%1 goes with serve, not %2</source>
        <translation>--%1 は serve 用で、%2 には使えません</translation>
    </message>
    <message>
        <source>serve takes its token from --token-file only</source>
        <translation>serve はトークンを --token-file からのみ受け取ります</translation>
    </message>
    <message>
        <source>--max-upload-mb wants a number from 1 to 4096</source>
        <translation>--max-upload-mb には 1～4096 の数を指定してください</translation>
    </message>
    <message>
        <source>serve takes no arguments; name the machines with --machine NAME@HOST:PORT</source>
        <translation>serve は引数を取りません。装置は --machine NAME@HOST:PORT で指定してください</translation>
    </message>
</context>
<context>
    <name>Output</name>
    <message>
        <source>warning: %1</source>
        <translation>警告：%1</translation>
    </message>
    <message>
        <source>%1%  copies %2/%3  %4 left</source>
        <translation>%1%  部数 %2/%3  残り %4</translation>
    </message>
    <message>
        <source>%1 reconnecting (attempt %2)</source>
        <translation>%1 再接続中（%2 回目）</translation>
    </message>
    <message>
        <source>link lost:</source>
        <translation>接続断：</translation>
    </message>
</context>
<context>
    <name>Plan</name>
    <message numerus="yes">
        <source>%1 (%2): %3 x %4 mm, %n paths
cut length %5 mm; travel %6 mm in file order, %7 mm as ordered
overlapping lines cut once: %8 mm; estimated %9</source>
        <translation>
            <numerusform>%1（%2）：%3 x %4 mm、パス %n 本
カット長 %5 mm、移動量はファイル順 %6 mm、並べ替え後 %7 mm
一度だけカットする重なり線：%8 mm、予想 %9</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>plot text written to %1 (%n bytes)</source>
        <translation>
            <numerusform>プロットテキストを %1 に書き出しました（%n バイト）</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (%2): %3 x %4 mm, 1 path
cut length %5 mm; travel %6 mm in file order, %7 mm as ordered
overlapping lines cut once: %8 mm; estimated %9</source>
        <translation>%1（%2）：%3 x %4 mm、パス 1 本
カット長 %5 mm、移動量はファイル順 %6 mm、並べ替え後 %7 mm
一度だけカットする重なり線：%8 mm、予想 %9</translation>
    </message>
    <message>
        <source>plan wants exactly one design file</source>
        <translation>plan には図形ファイルをちょうど 1 つ指定してください</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 に書き込めません：%2</translation>
    </message>
    <message>
        <source>not cut: %1</source>
        <translation>カットしないもの：%1</translation>
    </message>
</context>
<context>
    <name>PlotArgs</name>
    <message>
        <source>Default: %1.</source>
        <translation>既定：%1。</translation>
    </message>
    <message>
        <source>Design options (cut, plan, qr, nest and resume take the same):</source>
        <translation>図形オプション（cut、plan、qr、nest、resume で共通）：</translation>
    </message>
</context>
<context>
    <name>Ports</name>
    <message>
        <source>no serial devices found</source>
        <translation>シリアルデバイスが見つかりません</translation>
    </message>
</context>
<context>
    <name>Qr</name>
    <message>
        <source>qr wants exactly one SOURCE (a folder of designs or a map file)</source>
        <translation>qr には SOURCE（図形フォルダーかマップファイル）をちょうど 1 つ指定してください</translation>
    </message>
    <message>
        <source>link back: the same machine; following its QR-code job</source>
        <translation>接続回復：同じ装置です。QR コードジョブの追跡を続けます</translation>
    </message>
    <message>
        <source>starting the QR-code job</source>
        <translation>QR コードジョブの開始</translation>
    </message>
    <message>
        <source>stopping the machine&apos;s job...</source>
        <translation>装置のジョブを停止しています…</translation>
    </message>
    <message>
        <source>done: %1 sheets cut, %2 skipped, %3 failed in %4%5</source>
        <translation>完了：カット %1 枚、スキップ %2 枚、失敗 %3 枚、所要 %4%5</translation>
    </message>
    <message>
        <source> (count reached)</source>
        <translation>（指定枚数に到達）</translation>
    </message>
    <message>
        <source> (stack ended)</source>
        <translation>（シートの束が終了）</translation>
    </message>
    <message>
        <source>(unreadable)</source>
        <translation>（読み取り不可）</translation>
    </message>
    <message>
        <source>%1%  sheet %2 %3%4  done %5</source>
        <translation>%1%  シート %2 %3%4  カット済み %5</translation>
    </message>
    <message>
        <source>sheet %1  %2  %3  %4</source>
        <translation>シート %1  %2  %3  %4</translation>
    </message>
    <message>
        <source>designs: %1, 1 design; %2; waiting for sheets (Ctrl-C stops the machine&apos;s job)</source>
        <translation>図形：%1、図形 1 件。%2。シートを待っています（Ctrl-C で装置のジョブを停止）</translation>
    </message>
    <message numerus="yes">
        <source>designs: %1, %n designs; %2; waiting for sheets (Ctrl-C stops the machine&apos;s job)</source>
        <translation>
            <numerusform>図形：%1、図形 %n 件。%2。シートを待っています（Ctrl-C で装置のジョブを停止）</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>cutting %n sheets</source>
        <translation>
            <numerusform>%n 枚をカット</numerusform>
        </translation>
    </message>
    <message>
        <source>until the stack ends</source>
        <translation>シートの束が終わるまで</translation>
    </message>
    <message>
        <source>sheet %1  %2  %3  %4  %5 s</source>
        <translation>シート %1  %2  %3  %4  %5 秒</translation>
    </message>
</context>
<context>
    <name>Resume</name>
    <message>
        <source>cutting 1 whole copy</source>
        <translation>1 部を丸ごとカットしています</translation>
    </message>
    <message numerus="yes">
        <source>cutting %n whole copies</source>
        <translation>
            <numerusform>%n 部を丸ごとカットしています</numerusform>
        </translation>
    </message>
    <message>
        <source>job journal not written: %1</source>
        <translation>ジョブ記録を書き込めませんでした：%1</translation>
    </message>
    <message>
        <source>no terminal to confirm on: give --yes to cut without asking</source>
        <translation>確認する端末がありません：確認なしでカットするには --yes を付けてください</translation>
    </message>
    <message>
        <source>not confirmed; nothing was cut</source>
        <translation>確認されなかったため、何もカットしていません</translation>
    </message>
    <message>
        <source>resume takes no arguments: it resumes the last interrupted job</source>
        <translation>resume は引数を取りません：最後に中断したジョブを再開します</translation>
    </message>
    <message>
        <source>interrupted job of %1: %2 on %3: %4
to cut: %5</source>
        <translation>%1 の中断ジョブ：%2（装置 %3）：%4
カットする範囲：%5</translation>
    </message>
    <message>
        <source>done: cut %1%2</source>
        <translation>完了：%1 をカットしました%2</translation>
    </message>
    <message>
        <source>y|yes</source>
        <comment>the answers that confirm a resume, separated by |</comment>
        <translation>はい|y|yes</translation>
    </message>
    <message>
        <source>[y/N]</source>
        <translation>[はい(y)/いいえ(N)]</translation>
    </message>
    <message>
        <source>Cut %1?</source>
        <translation>%1 をカットしますか？</translation>
    </message>
    <message>
        <source>the machine reports %1 of %2 copies finished; journal corrected</source>
        <translation>装置は %2 部中 %1 部完了と報告しています。ジョブ記録を訂正しました</translation>
    </message>
    <message>
        <source>cutting the rest of copy %1: from stroke %2</source>
        <translation>%1 部目の残りをカットしています：ストローク %2 から</translation>
    </message>
    <message>
        <source>asking the machine for its job</source>
        <translation>装置へのジョブの問い合わせ</translation>
    </message>
    <message>
        <source>nothing was cut: the machine had finished the job</source>
        <translation>何もカットしていません：装置はジョブを完了していました</translation>
    </message>
</context>
<context>
    <name>Run</name>
    <message>
        <source>cutting quality: %1</source>
        <translation>カット品質：%1</translation>
    </message>
    <message>
        <source>cloud: registered as device %1 (code %2)</source>
        <translation>クラウド：装置 %1 として登録しました（コード %2）</translation>
    </message>
    <message>
        <source>plugin %1 created no device object</source>
        <translation>プラグイン %1 は装置オブジェクトを作成しませんでした</translation>
    </message>
    <message>
        <source>link: %1</source>
        <translation>接続：%1</translation>
    </message>
    <message>
        <source>QR code: %1</source>
        <translation>QR コード：%1</translation>
    </message>
    <message>
        <source>give the machine with --tcp HOST[:PORT] or --usb PATH</source>
        <translation>装置を --tcp HOST[:PORT] か --usb PATH で指定してください</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>中断しました</translation>
    </message>
    <message>
        <source>interrupted while %1</source>
        <translation>%1 中に中断しました</translation>
    </message>
    <message>
        <source>%1 while %2</source>
        <translation>%2 中に %1</translation>
    </message>
    <message>
        <source>the machine did not answer while %1 (%2 s)</source>
        <translation>%1 中に装置が応答しませんでした（%2 秒）</translation>
    </message>
    <message>
        <source>reading</source>
        <translation>読み取り</translation>
    </message>
    <message>
        <source>writing %1</source>
        <translation>%1 の書き込み</translation>
    </message>
    <message>
        <source>this device has no cutting quality setting</source>
        <translation>この装置にはカット品質の設定がありません</translation>
    </message>
    <message>
        <source>--quality: %1</source>
        <translation>--quality：%1</translation>
    </message>
    <message>
        <source>reading the machine information</source>
        <translation>装置情報の読み取り</translation>
    </message>
    <message>
        <source>the device object has no DEVICE_INFO record</source>
        <translation>装置オブジェクトに DEVICE_INFO レコードがありません</translation>
    </message>
    <message>
        <source>machine: %1, no. %2, firmware %3</source>
        <translation>装置：%1、番号 %2、ファームウェア %3</translation>
    </message>
    <message>
        <source>the device object has no cloud record</source>
        <translation>装置オブジェクトにクラウドのレコードがありません</translation>
    </message>
    <message>
        <source>registering with the cloud</source>
        <translation>クラウドへの登録</translation>
    </message>
    <message>
        <source>the cloud did not register the machine (code %1)</source>
        <translation>クラウドは装置を登録しませんでした（コード %1）</translation>
    </message>
    <message>
        <source>this device object offers no remote channel</source>
        <translation>この装置オブジェクトにはリモートチャネルがありません</translation>
    </message>
    <message>
        <source>opening the remote channel</source>
        <translation>リモートチャネルを開く処理</translation>
    </message>
    <message>
        <source>the remote channel did not open (%1)</source>
        <translation>リモートチャネルが開きませんでした（%1）</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>応答なし</translation>
    </message>
</context>
<context>
    <name>Set</name>
    <message>
        <source>set wants at least one KEY=VALUE</source>
        <translation>set には KEY=VALUE を 1 つ以上指定してください</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not KEY=VALUE</source>
        <translation>&apos;%1&apos; は KEY=VALUE の形式ではありません</translation>
    </message>
    <message>
        <source>sent; the machine&apos;s answer to this setting is not decoded</source>
        <translation>送信済み。この設定に対する装置の応答は解読できません</translation>
    </message>
    <message>
        <source>read back</source>
        <translation>読み返し済み</translation>
    </message>
    <message>
        <source>acknowledged</source>
        <translation>受理済み</translation>
    </message>
    <message>
        <source>read back, status %1</source>
        <translation>読み返し済み、ステータス %1</translation>
    </message>
    <message>
        <source>acknowledged, status %1</source>
        <translation>受理済み、ステータス %1</translation>
    </message>
    <message>
        <source>reconnected to %1; going on</source>
        <translation>%1 に再接続しました。続行します</translation>
    </message>
    <message>
        <source>read back after the reconnect: the machine had it</source>
        <translation>再接続後に読み返し済み：装置はすでにこの値でした</translation>
    </message>
    <message>
        <source>applied after reconnecting: %1</source>
        <translation>再接続後に適用：%1</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>%1 settings written to %2</source>
        <translation>%1 件の設定を %2 に書き出しました</translation>
    </message>
    <message>
        <source>the machine already has every value of the profile</source>
        <translation>装置はすでにプロファイルのすべての値になっています</translation>
    </message>
    <message>
        <source>%1 change(s); writing and reading back...</source>
        <translation>%1 件の変更。書き込んで読み返しています…</translation>
    </message>
    <message>
        <source>reading the settings</source>
        <translation>設定の読み取り</translation>
    </message>
    <message>
        <source>the machine did not answer for %1</source>
        <translation>%1 について装置が応答しませんでした</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 に書き込めません：%2</translation>
    </message>
    <message>
        <source>use: settings [dump FILE | apply FILE]</source>
        <translation>使い方：settings [dump FILE | apply FILE]</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 を読めません: %2</translation>
    </message>
    <message>
        <source>no answer for %1; showing the values held locally</source>
        <translation>%1 の応答がありません。ローカルに保持している値を表示します</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Machine information</source>
        <translation>装置の情報</translation>
    </message>
</context>
<context>
    <name>ShopHttp</name>
    <message>
        <source>%1 wants a whole number from %2 to %3</source>
        <translation>%1 には %2～%3 の整数を指定してください</translation>
    </message>
    <message>
        <source>a request body holds at most 64 KiB</source>
        <translation>リクエスト本文は 64 KiB までです</translation>
    </message>
    <message>
        <source>the request body ended early</source>
        <translation>リクエスト本文が途中で終わりました</translation>
    </message>
    <message>
        <source>the body is not JSON: %1 at byte %2</source>
        <translation>本文が JSON ではありません：%1（%2 バイト目）</translation>
    </message>
    <message>
        <source>the body is not a JSON object</source>
        <translation>本文が JSON オブジェクトではありません</translation>
    </message>
    <message>
        <source>the service is stopping</source>
        <translation>サービスは停止中です</translation>
    </message>
    <message>
        <source>--listen wants ADDRESS:PORT with an IP address, not %1</source>
        <translation>--listen には IP アドレスによる ADDRESS:PORT を指定してください（%1 ではなく）</translation>
    </message>
    <message>
        <source>--listen %1: this build&apos;s web server has no IPv6; give an IPv4 address such as 127.0.0.1:8600</source>
        <translation>--listen %1：このビルドの Web サーバーは IPv6 に対応していません。127.0.0.1:8600 のような IPv4 アドレスを指定してください</translation>
    </message>
    <message>
        <source>cannot listen on %1: the port is taken or the address is not this computer&apos;s</source>
        <translation>%1 で待ち受けできません：ポートが使用中か、このコンピューターのアドレスではありません</translation>
    </message>
    <message>
        <source>cannot listen on %1</source>
        <translation>%1 で待ち受けできません</translation>
    </message>
    <message>
        <source>this service answers to its loopback address only</source>
        <translation>このサービスはループバックアドレス宛ての要求にのみ応答します</translation>
    </message>
    <message>
        <source>requests from other sites&apos; pages are refused</source>
        <translation>他のサイトのページからの要求は拒否されます</translation>
    </message>
    <message>
        <source>this service needs its token</source>
        <translation>このサービスにはトークンが必要です</translation>
    </message>
    <message>
        <source>wrong token</source>
        <translation>トークンが違います</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>応答なし</translation>
    </message>
    <message>
        <source>the page is missing from this build</source>
        <translation>このビルドにはページが含まれていません</translation>
    </message>
    <message>
        <source>/api/live is a WebSocket: open it as one</source>
        <translation>/api/live は WebSocket です：WebSocket として開いてください</translation>
    </message>
    <message>
        <source>the body wants {&quot;%1&quot;: ...}</source>
        <translation>本文には {&quot;%1&quot;: ...} が必要です</translation>
    </message>
    <message>
        <source>no job %1</source>
        <translation>ジョブ %1 はありません</translation>
    </message>
    <message>
        <source>the body wants {&quot;position&quot;: N}, N a whole number from 0</source>
        <translation>本文には {&quot;position&quot;: N}（N は 0 以上の整数）が必要です</translation>
    </message>
    <message>
        <source>nothing here</source>
        <translation>ここには何もありません</translation>
    </message>
    <message>
        <source>use %1 here</source>
        <translation>ここでは %1 を使ってください</translation>
    </message>
    <message>
        <source>the upload was too slow: %1 of %2 bytes in time</source>
        <translation>アップロードが遅すぎます：時間内に届いたのは %2 バイト中 %1 バイトです</translation>
    </message>
    <message>
        <source>the upload ended after %1 of %2 bytes</source>
        <translation>アップロードは %2 バイト中 %1 バイトで終わりました</translation>
    </message>
    <message>
        <source>the file could not be stored: %1</source>
        <translation>ファイルを保存できませんでした：%1</translation>
    </message>
    <message>
        <source>an upload needs a Content-Length</source>
        <translation>アップロードには Content-Length が必要です</translation>
    </message>
    <message>
        <source>the file has %1 bytes; this service takes at most %2 MiB</source>
        <translation>ファイルは %1 バイトです。このサービスが受け付けるのは %2 MiB までです</translation>
    </message>
    <message>
        <source>the upload is empty</source>
        <translation>アップロードが空です</translation>
    </message>
    <message>
        <source>%1 is not a JSON object</source>
        <translation>%1 は JSON オブジェクトではありません</translation>
    </message>
    <message>
        <source>the upload was too slow</source>
        <translation>アップロードが遅すぎます</translation>
    </message>
    <message>
        <source>a nest takes at most %1 part files</source>
        <translation>ネスティングに使えるパーツのファイルは %1 個までです</translation>
    </message>
    <message>
        <source>the file could not be stored: its path is too long</source>
        <translation>ファイルを保存できませんでした：パスが長すぎます</translation>
    </message>
    <message>
        <source>a nest is sent as multipart/form-data, each part file a field named part</source>
        <translation>ネスティングは multipart/form-data で送ってください。パーツのファイルはそれぞれ part という名前のフィールドにします</translation>
    </message>
    <message>
        <source>the nest&apos;s quantities are not a JSON object</source>
        <translation>ネスティングの数量が JSON オブジェクトではありません</translation>
    </message>
    <message>
        <source>the form ended early or could not be read</source>
        <translation>フォームが途中で終わったか、読み取れませんでした</translation>
    </message>
    <message>
        <source>no part file: send each as a file field named part</source>
        <translation>パーツのファイルがありません：それぞれ part という名前のファイルフィールドとして送ってください</translation>
    </message>
    <message>
        <source>the body nests deeper than %1 levels</source>
        <translation>本文の入れ子が %1 段を超えています</translation>
    </message>
</context>
<context>
    <name>ShopPage</name>
    <message>
        <source>Shop floor</source>
        <translation>生産現場</translation>
    </message>
    <message>
        <source>Machines</source>
        <translation>装置</translation>
    </message>
    <message>
        <source>Journal</source>
        <translation>ジョブ記録</translation>
    </message>
    <message>
        <source>Offline: the page is not getting news from the service. Reconnecting…</source>
        <translation>オフライン：サービスからの更新がページに届いていません。再接続しています…</translation>
    </message>
    <message>
        <source>This service needs its token: open the page as /?token=TOKEN</source>
        <translation>このサービスにはトークンが必要です：ページを /?token=TOKEN として開いてください</translation>
    </message>
    <message>
        <source>Not done: %1</source>
        <translation>実行できませんでした：%1</translation>
    </message>
    <message>
        <source>connecting</source>
        <translation>接続中</translation>
    </message>
    <message>
        <source>connected</source>
        <translation>接続済み</translation>
    </message>
    <message>
        <source>reconnecting</source>
        <translation>再接続中</translation>
    </message>
    <message>
        <source>not connected</source>
        <translation>未接続</translation>
    </message>
    <message>
        <source>at %1</source>
        <translation>接続先 %1</translation>
    </message>
    <message>
        <source>machine no. %1</source>
        <translation>装置番号 %1</translation>
    </message>
    <message>
        <source>work area %1 × %2 mm</source>
        <translation>作業範囲 %1 × %2 mm</translation>
    </message>
    <message>
        <source>held: no new job starts</source>
        <translation>保留中：新しいジョブは開始しません</translation>
    </message>
    <message>
        <source>No job on the machine.</source>
        <translation>装置にジョブはありません。</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>残り %1</translation>
    </message>
    <message>
        <source>cutting</source>
        <translation>カット中</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>一時停止中</translation>
    </message>
    <message>
        <source>waiting for the link</source>
        <translation>接続待ち</translation>
    </message>
    <message>
        <source>stopping</source>
        <translation>停止中</translation>
    </message>
    <message>
        <source>queued</source>
        <translation>待機中</translation>
    </message>
    <message>
        <source>held</source>
        <translation>保留中</translation>
    </message>
    <message>
        <source>done</source>
        <translation>完了</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>取り消し済み</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>一時停止</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>再開</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Hold the queue</source>
        <translation>キューを保留</translation>
    </message>
    <message>
        <source>Release the queue</source>
        <translation>キューの保留を解除</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>上へ</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>下へ</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取り消す</translation>
    </message>
    <message>
        <source>Cut the copy again</source>
        <translation>この部をカットし直す</translation>
    </message>
    <message>
        <source>Skip the copy</source>
        <translation>この部を飛ばす</translation>
    </message>
    <message>
        <source>Add to the queue</source>
        <translation>キューに追加</translation>
    </message>
    <message>
        <source>Stop the job on %1 now?</source>
        <translation>%1 のジョブを今すぐ停止しますか？</translation>
    </message>
    <message>
        <source>Cancel this job?</source>
        <translation>このジョブを取り消しますか？</translation>
    </message>
    <message>
        <source>Queue</source>
        <translation>キュー</translation>
    </message>
    <message>
        <source>Nothing queued.</source>
        <translation>キューは空です。</translation>
    </message>
    <message>
        <source>added by %1, %2</source>
        <translation>追加：%1、%2</translation>
    </message>
    <message>
        <source>Design file</source>
        <translation>図形ファイル</translation>
    </message>
    <message>
        <source>Copies</source>
        <translation>部数</translation>
    </message>
    <message>
        <source>Choose a design file first.</source>
        <translation>先に図形ファイルを選んでください。</translation>
    </message>
    <message>
        <source>Last events</source>
        <translation>最近のイベント</translation>
    </message>
    <message>
        <source>Machine</source>
        <translation>装置</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>結果</translation>
    </message>
    <message>
        <source>File name contains</source>
        <translation>ファイル名に含む文字</translation>
    </message>
    <message>
        <source>All</source>
        <translation>すべて</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>表示</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>開始</translation>
    </message>
    <message>
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>Took</source>
        <translation>所要時間</translation>
    </message>
    <message>
        <source>No jobs match.</source>
        <translation>該当するジョブはありません。</translation>
    </message>
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
    <message>
        <source>Copy %1 of %2</source>
        <translation>%1 部目（全 %2 部）</translation>
    </message>
    <message>
        <source>Whole job</source>
        <translation>ジョブ全体</translation>
    </message>
    <message>
        <source>No preview</source>
        <translation>プレビューなし</translation>
    </message>
    <message>
        <source>Recently ended</source>
        <translation>最近終了したジョブ</translation>
    </message>
    <message>
        <source>%1 copy</source>
        <translation>%1 部</translation>
    </message>
    <message>
        <source>%1 copies</source>
        <translation>%1 部</translation>
    </message>
    <message>
        <source>%1 of %2 copy cut</source>
        <translation>%2 部中 %1 部カット済み</translation>
    </message>
    <message>
        <source>%1 of %2 copies cut</source>
        <translation>%2 部中 %1 部カット済み</translation>
    </message>
    <message>
        <source>Choose a file…</source>
        <translation>ファイルを選択…</translation>
    </message>
    <message>
        <source>Drop the design file to add it to the queue of %1</source>
        <translation>図形ファイルをドロップすると %1 のキューに追加します</translation>
    </message>
    <message>
        <source>or drop a design file on the card</source>
        <translation>または図形ファイルをカードにドロップ</translation>
    </message>
    <message>
        <source>Window %1 of %2</source>
        <translation>ウィンドウ %1（全 %2）</translation>
    </message>
    <message>
        <source>Nesting…</source>
        <translation>ネスティング中…</translation>
    </message>
    <message>
        <source>nesting</source>
        <translation>ネスティング中</translation>
    </message>
    <message>
        <source>Nest and queue</source>
        <translation>ネスティングしてキューに追加</translation>
    </message>
    <message>
        <source>nest</source>
        <translation>ネスティング</translation>
    </message>
    <message>
        <source>%1 part</source>
        <translation>パーツ %1 個</translation>
    </message>
    <message>
        <source>%1 parts</source>
        <translation>パーツ %1 個</translation>
    </message>
    <message>
        <source>Nest parts…</source>
        <translation>パーツをネスティング…</translation>
    </message>
    <message>
        <source>Part files</source>
        <translation>パーツのファイル</translation>
    </message>
    <message>
        <source>Choose part files…</source>
        <translation>パーツのファイルを選択…</translation>
    </message>
    <message>
        <source>several part files, each with its quantity, laid out together</source>
        <translation>複数のパーツのファイルを、それぞれの数量でまとめて配置します</translation>
    </message>
    <message>
        <source>%1 part file</source>
        <translation>パーツのファイル %1 個</translation>
    </message>
    <message>
        <source>%1 part files</source>
        <translation>パーツのファイル %1 個</translation>
    </message>
    <message>
        <source>Quantity</source>
        <translation>数量</translation>
    </message>
    <message>
        <source>Quantity of %1</source>
        <translation>%1 の数量</translation>
    </message>
    <message>
        <source>Gap (mm)</source>
        <translation>間隔（mm）</translation>
    </message>
    <message>
        <source>Search (s)</source>
        <translation>探索時間（秒）</translation>
    </message>
    <message>
        <source>Choose the part files first.</source>
        <translation>先にパーツのファイルを選んでください。</translation>
    </message>
    <message>
        <source>A nest takes at most %1 part files.</source>
        <translation>ネスティングに使えるパーツのファイルは %1 個までです。</translation>
    </message>
</context>
</TS>
