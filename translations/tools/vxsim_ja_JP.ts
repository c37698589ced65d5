<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP" sourcelanguage="en">
<context>
    <name>VxSim</name>
    <message>
        <source>Simulated conveyor-belt cutting plotter: answers the machine&apos;s wire protocol over TCP and/or a pseudo-terminal and cuts plot jobs in simulated time.

Exit codes: 0 stopped normally, 1 cannot listen or open the pseudo-terminal, 2 bad command line.</source>
        <translation>ベルトコンベア式カッティングプロッターのシミュレーター: TCP と疑似端末の一方または両方で機械の通信プロトコルに応答し、プロットジョブをシミュレーション時間でカットします。

終了コード: 0 正常に停止、1 待ち受けまたは疑似端末を開けない、2 コマンドラインの誤り。</translation>
    </message>
    <message>
        <source>TCP port on 127.0.0.1 (default 9100; 0 picks a free one).</source>
        <translation>127.0.0.1 の TCP ポート（既定 9100、0 なら空いているポートを選ぶ）。</translation>
    </message>
    <message>
        <source>Address to listen on (default 127.0.0.1).</source>
        <translation>待ち受けるアドレス（既定 127.0.0.1）。</translation>
    </message>
    <message>
        <source>Also open a pseudo-terminal and print its path (for the USB transport).</source>
        <translation>疑似端末も開き、そのパスを表示する（USB 接続用）。</translation>
    </message>
    <message>
        <source>Keep a symbolic link PATH to the pseudo-terminal; it follows a pseudo-terminal that comes back after --down-for.</source>
        <translation>疑似端末へのシンボリックリンク PATH を保つ。--down-for の後に疑似端末が戻ると、リンクもそれに追従する。</translation>
    </message>
    <message>
        <source>Do not listen on TCP.</source>
        <translation>TCP で待ち受けない。</translation>
    </message>
    <message>
        <source>Simulated seconds per real second (default 1).</source>
        <translation>実時間 1 秒あたりのシミュレーション秒数（既定 1）。</translation>
    </message>
    <message>
        <source>Print every frame received and every job report.</source>
        <translation>受信したすべてのフレームとジョブ報告を表示する。</translation>
    </message>
    <message>
        <source>Fault: send replies one byte per write.</source>
        <translation>障害: 応答を 1 回の書き込みにつき 1 バイトずつ送る。</translation>
    </message>
    <message>
        <source>Fault: stray bytes before every frame sent.</source>
        <translation>障害: 送信するフレームの前に毎回余分なバイトを入れる。</translation>
    </message>
    <message>
        <source>Fault: never answer heartbeat queries.</source>
        <translation>障害: ハートビートの問い合わせに応答しない。</translation>
    </message>
    <message>
        <source>Fault: close a link after receiving N bytes.</source>
        <translation>障害: N バイト受信したら接続を閉じる。</translation>
    </message>
    <message>
        <source>Fault: close every link when a job reaches P percent.</source>
        <translation>障害: ジョブが P パーセントに達したらすべての接続を閉じる。</translation>
    </message>
    <message>
        <source>Fault: the first reply is a frame that never ends.</source>
        <translation>障害: 最初の応答を終わらないフレームにする。</translation>
    </message>
    <message>
        <source>The machine abandons its job when its last link drops.</source>
        <translation>最後の接続が切れたら、機械はジョブを中止する。</translation>
    </message>
    <message>
        <source>After a fault drops the links, refuse connections for MS milliseconds.</source>
        <translation>障害で接続が切れた後、MS ミリ秒の間は接続を拒否する。</translation>
    </message>
    <message>
        <source>Machine number (&quot;DEVICE_ID&quot;, default VXS-000001).</source>
        <translation>機械番号（&quot;DEVICE_ID&quot;、既定 VXS-000001）。</translation>
    </message>
    <message>
        <source>Unique ID (&quot;DEVICE_UNIQUE_ID&quot;, default 5658534D00000001).</source>
        <translation>固有 ID（&quot;DEVICE_UNIQUE_ID&quot;、既定 5658534D00000001）。</translation>
    </message>
    <message>
        <source>Stack of sheets for QR-code jobs, their codes separated by &apos;,&apos;; ? is an unreadable code.</source>
        <translation>QR コードジョブ用に積んだシート。コードは &apos;,&apos; で区切る。? は読み取れないコード。</translation>
    </message>
    <message>
        <source>Stack of sheets, one code per line (blank lines skipped).</source>
        <translation>積んだシート。1 行に 1 コード（空行は無視）。</translation>
    </message>
    <message>
        <source>Skip a sheet whose plot has not come within MS milliseconds (default: wait).</source>
        <translation>MS ミリ秒以内にプロットが届かないシートは飛ばす（既定: 待つ）。</translation>
    </message>
    <message>
        <source>bad port %1</source>
        <translation>ポートが不正です: %1</translation>
    </message>
    <message>
        <source>bad speed-up %1</source>
        <translation>速度倍率が不正です: %1</translation>
    </message>
    <message>
        <source>bad address %1</source>
        <translation>アドレスが不正です: %1</translation>
    </message>
    <message>
        <source>bad value for %1: %2</source>
        <translation>%1 の値が不正です: %2</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 を読めません: %2</translation>
    </message>
    <message>
        <source>cannot listen on %1:%2: %3</source>
        <translation>%1:%2 で待ち受けできません: %3</translation>
    </message>
    <message>
        <source>nothing to serve (--no-tcp without --pty)</source>
        <translation>提供するものがありません（--no-tcp に --pty がない）</translation>
    </message>
    <message>
        <source>link opened</source>
        <translation>接続しました</translation>
    </message>
    <message>
        <source>link closed</source>
        <translation>接続が閉じました</translation>
    </message>
    <message>
        <source>job %1 refused: %2</source>
        <translation>ジョブ %1 を拒否: %2</translation>
    </message>
    <message>
        <source>job %1 finished</source>
        <translation>ジョブ %1 完了</translation>
    </message>
    <message>
        <source>job %1 stopped</source>
        <translation>ジョブ %1 停止</translation>
    </message>
    <message>
        <source>accepting connections again</source>
        <translation>接続の受け付けを再開しました</translation>
    </message>
    <message>
        <source>sheet %1 code %2: cut plot %3 bytes %4 x %5 mm sha256 %6</source>
        <translation>シート %1 コード %2: プロットをカット %3 バイト %4 x %5 mm sha256 %6</translation>
    </message>
    <message>
        <source>sheet %1 code %2: skipped, %3</source>
        <translation>シート %1 コード %2: スキップ、%3</translation>
    </message>
    <message>
        <source>QR plot ignored: %1</source>
        <translation>QR プロットを無視: %1</translation>
    </message>
    <message>
        <source>Try &apos;vxsim --help&apos;.</source>
        <translation>&apos;vxsim --help&apos; を参照してください。</translation>
    </message>
    <message>
        <source>job %1: tool %2 cuts %3 mm</source>
        <translation>ジョブ %1: ツール %2 が %3 mm カット</translation>
    </message>
</context>
</TS>
