<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>VxCloud</name>
    <message>
        <source>Local stand-in for the cloud service on 127.0.0.1: the resources device, device_model and device_work_records, and the remote channel &lt;code&gt;/Device/. Prints what it receives and runs until killed.

Exit codes: 0 stopped normally, 1 cannot listen, 2 bad command line.</source>
        <translation>127.0.0.1 で動くクラウドサービスのローカル代替：リソース device、device_model、device_work_records とリモートチャネル &lt;code&gt;/Device/ を提供します。受信した内容を表示し、終了させられるまで動作します。

終了コード：0 正常終了、1 待ち受け不可、2 コマンドラインの誤り。</translation>
    </message>
    <message>
        <source>HTTP port on 127.0.0.1 (default 0: a free one).</source>
        <translation>127.0.0.1 の HTTP ポート（既定 0：空きポートを自動選択）。</translation>
    </message>
    <message>
        <source>WebSocket port of the remote channel (default 0: a free one).</source>
        <translation>リモートチャネルの WebSocket ポート（既定 0：空きポートを自動選択）。</translation>
    </message>
    <message>
        <source>A device the service already knows, as CODE=ID (repeatable).</source>
        <translation>サービスに登録済みの装置を CODE=ID の形式で指定（複数指定可）。</translation>
    </message>
    <message>
        <source>Open remote channels at most; more are refused with 503 (default 64).</source>
        <translation>同時に開けるリモートチャネルの上限。超えた分は 503 で拒否します（既定 64）。</translation>
    </message>
    <message>
        <source>Try &apos;vxcloud --help&apos;.</source>
        <translation>&apos;vxcloud --help&apos; を参照してください。</translation>
    </message>
    <message>
        <source>bad value for %1: %2</source>
        <translation>%1 の値が不正です：%2</translation>
    </message>
    <message>
        <source>bad value for %1: %2 (1 to 1000)</source>
        <translation>%1 の値が不正です：%2（1～1000）</translation>
    </message>
    <message>
        <source>bad value for %1: %2 (CODE=ID)</source>
        <translation>%1 の値が不正です：%2（CODE=ID の形式）</translation>
    </message>
    <message>
        <source>cannot listen on 127.0.0.1:%1</source>
        <translation>127.0.0.1:%1 で待ち受けできません</translation>
    </message>
</context>
</TS>
