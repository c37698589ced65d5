<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>VxSim</name>
    <message>
        <source>Simulated conveyor-belt cutting plotter: answers the machine&apos;s wire protocol over TCP and/or a pseudo-terminal and cuts plot jobs in simulated time.

Exit codes: 0 stopped normally, 1 cannot listen or open the pseudo-terminal, 2 bad command line.</source>
        <translation>模拟的传送带切割绘图仪：通过 TCP 和/或伪终端应答机器的通信协议，并在模拟时间内切割绘图任务。

退出码：0 正常停止，1 无法监听或无法打开伪终端，2 命令行有误。</translation>
    </message>
    <message>
        <source>TCP port on 127.0.0.1 (default 9100; 0 picks a free one).</source>
        <translation>127.0.0.1 上的 TCP 端口（默认 9100；0 表示自动选择空闲端口）。</translation>
    </message>
    <message>
        <source>Address to listen on (default 127.0.0.1).</source>
        <translation>监听地址（默认 127.0.0.1）。</translation>
    </message>
    <message>
        <source>Also open a pseudo-terminal and print its path (for the USB transport).</source>
        <translation>同时打开一个伪终端并打印其路径（用于 USB 连接）。</translation>
    </message>
    <message>
        <source>Keep a symbolic link PATH to the pseudo-terminal; it follows a pseudo-terminal that comes back after --down-for.</source>
        <translation>保持一个指向伪终端的符号链接 PATH；--down-for 之后伪终端重新出现时，链接随之更新。</translation>
    </message>
    <message>
        <source>Do not listen on TCP.</source>
        <translation>不在 TCP 上监听。</translation>
    </message>
    <message>
        <source>Simulated seconds per real second (default 1).</source>
        <translation>每个真实秒对应的模拟秒数（默认 1）。</translation>
    </message>
    <message>
        <source>Print every frame received and every job report.</source>
        <translation>打印收到的每一帧和每一条任务报告。</translation>
    </message>
    <message>
        <source>Fault: send replies one byte per write.</source>
        <translation>故障：每次写入只发送应答的一个字节。</translation>
    </message>
    <message>
        <source>Fault: stray bytes before every frame sent.</source>
        <translation>故障：每个发送的帧之前加入多余字节。</translation>
    </message>
    <message>
        <source>Fault: never answer heartbeat queries.</source>
        <translation>故障：从不应答心跳查询。</translation>
    </message>
    <message>
        <source>Fault: close a link after receiving N bytes.</source>
        <translation>故障：接收 N 个字节后关闭连接。</translation>
    </message>
    <message>
        <source>Fault: close every link when a job reaches P percent.</source>
        <translation>故障：任务达到 P% 时关闭所有连接。</translation>
    </message>
    <message>
        <source>Fault: the first reply is a frame that never ends.</source>
        <translation>故障：第一个应答是一个永不结束的帧。</translation>
    </message>
    <message>
        <source>The machine abandons its job when its last link drops.</source>
        <translation>最后一个连接断开时，机器放弃当前任务。</translation>
    </message>
    <message>
        <source>After a fault drops the links, refuse connections for MS milliseconds.</source>
        <translation>故障断开连接后，在 MS 毫秒内拒绝新的连接。</translation>
    </message>
    <message>
        <source>Machine number (&quot;DEVICE_ID&quot;, default VXS-000001).</source>
        <translation>机器编号（&quot;DEVICE_ID&quot;，默认 VXS-000001）。</translation>
    </message>
    <message>
        <source>Unique ID (&quot;DEVICE_UNIQUE_ID&quot;, default 5658534D00000001).</source>
        <translation>唯一标识（&quot;DEVICE_UNIQUE_ID&quot;，默认 5658534D00000001）。</translation>
    </message>
    <message>
        <source>Stack of sheets for QR-code jobs, their codes separated by &apos;,&apos;; ? is an unreadable code.</source>
        <translation>二维码任务的纸张堆叠，各张的码以 &apos;,&apos; 分隔；? 表示无法识别的码。</translation>
    </message>
    <message>
        <source>Stack of sheets, one code per line (blank lines skipped).</source>
        <translation>纸张堆叠，每行一个码（跳过空行）。</translation>
    </message>
    <message>
        <source>Skip a sheet whose plot has not come within MS milliseconds (default: wait).</source>
        <translation>若某张纸的绘图在 MS 毫秒内未到达则跳过该张（默认：等待）。</translation>
    </message>
    <message>
        <source>bad port %1</source>
        <translation>端口无效：%1</translation>
    </message>
    <message>
        <source>bad speed-up %1</source>
        <translation>加速倍数无效：%1</translation>
    </message>
    <message>
        <source>bad address %1</source>
        <translation>地址无效：%1</translation>
    </message>
    <message>
        <source>bad value for %1: %2</source>
        <translation>%1 的值无效：%2</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <source>cannot listen on %1:%2: %3</source>
        <translation>无法在 %1:%2 上监听：%3</translation>
    </message>
    <message>
        <source>nothing to serve (--no-tcp without --pty)</source>
        <translation>没有可提供的服务（使用了 --no-tcp 却没有 --pty）</translation>
    </message>
    <message>
        <source>link opened</source>
        <translation>连接已建立</translation>
    </message>
    <message>
        <source>link closed</source>
        <translation>连接已关闭</translation>
    </message>
    <message>
        <source>job %1 refused: %2</source>
        <translation>任务 %1 被拒绝：%2</translation>
    </message>
    <message>
        <source>job %1 finished</source>
        <translation>任务 %1 已完成</translation>
    </message>
    <message>
        <source>job %1 stopped</source>
        <translation>任务 %1 已停止</translation>
    </message>
    <message>
        <source>accepting connections again</source>
        <translation>重新接受连接</translation>
    </message>
    <message>
        <source>sheet %1 code %2: cut plot %3 bytes %4 x %5 mm sha256 %6</source>
        <translation>第 %1 张，码 %2：已切割绘图 %3 字节 %4 x %5 mm sha256 %6</translation>
    </message>
    <message>
        <source>sheet %1 code %2: skipped, %3</source>
        <translation>第 %1 张，码 %2：已跳过，%3</translation>
    </message>
    <message>
        <source>QR plot ignored: %1</source>
        <translation>已忽略二维码绘图：%1</translation>
    </message>
    <message>
        <source>Try &apos;vxsim --help&apos;.</source>
        <translation>请尝试 &apos;vxsim --help&apos;。</translation>
    </message>
    <message>
        <source>job %1: tool %2 cuts %3 mm</source>
        <translation>任务 %1：刀具 %2 切割 %3 mm</translation>
    </message>
</context>
</TS>
