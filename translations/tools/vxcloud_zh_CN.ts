<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>VxCloud</name>
    <message>
        <source>Local stand-in for the cloud service on 127.0.0.1: the resources device, device_model and device_work_records, and the remote channel &lt;code&gt;/Device/. Prints what it receives and runs until killed.

Exit codes: 0 stopped normally, 1 cannot listen, 2 bad command line.</source>
        <translation>在 127.0.0.1 上运行的云服务本地替身：提供资源 device、device_model 和 device_work_records，以及远程通道 &lt;code&gt;/Device/。打印收到的内容，一直运行直到被终止。

退出码：0 正常停止，1 无法监听，2 命令行有误。</translation>
    </message>
    <message>
        <source>HTTP port on 127.0.0.1 (default 0: a free one).</source>
        <translation>127.0.0.1 上的 HTTP 端口（默认 0：自动选择空闲端口）。</translation>
    </message>
    <message>
        <source>WebSocket port of the remote channel (default 0: a free one).</source>
        <translation>远程通道的 WebSocket 端口（默认 0：自动选择空闲端口）。</translation>
    </message>
    <message>
        <source>A device the service already knows, as CODE=ID (repeatable).</source>
        <translation>服务已登记的设备，格式为 CODE=ID（可重复）。</translation>
    </message>
    <message>
        <source>Open remote channels at most; more are refused with 503 (default 64).</source>
        <translation>同时打开的远程通道上限；超出的以 503 拒绝（默认 64）。</translation>
    </message>
    <message>
        <source>Try &apos;vxcloud --help&apos;.</source>
        <translation>请尝试 &apos;vxcloud --help&apos;。</translation>
    </message>
    <message>
        <source>bad value for %1: %2</source>
        <translation>%1 的值有误：%2</translation>
    </message>
    <message>
        <source>bad value for %1: %2 (1 to 1000)</source>
        <translation>%1 的值有误：%2（应为 1 到 1000）</translation>
    </message>
    <message>
        <source>bad value for %1: %2 (CODE=ID)</source>
        <translation>%1 的值有误：%2（应为 CODE=ID）</translation>
    </message>
    <message>
        <source>cannot listen on 127.0.0.1:%1</source>
        <translation>无法在 127.0.0.1:%1 上监听</translation>
    </message>
</context>
</TS>
