<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
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
        <translation>用法：vxcut demo [--copies N] [--json]

在空闲的本机回环端口上启动模拟机器和本地云服务替身，连接并读取机器、
登记机器、打开远程通道，切割附带的示例图形，停止任务，并打印云端收到的
工作记录。无需硬件或网络。
  --copies N    切割份数（默认 2）
  --quality Q   切割质量，取 `vxcut settings` 显示的序号或文字
  --speedup F   模拟器比实际时间快多少倍（默认 50）
</translation>
    </message>
    <message>
        <source>Usage: vxcut get KEY... --tcp ... | --usb ...

Reads settings by key (as `vxcut settings --json` lists them).
</source>
        <translation>用法：vxcut get KEY... --tcp ... | --usb ...

按键名读取设置（键名见 `vxcut settings --json`）。
</translation>
    </message>
    <message>
        <source>Usage: vxcut history [--last N] [--json]

Lists the last N jobs of the journal (20 by default), oldest first:
when, outcome, copies finished of those asked, the file, the machine,
reconnects and link-down time. A torn or foreign line is skipped.
</source>
        <translation>用法：vxcut history [--last N] [--json]

按时间从早到晚列出任务日志中最近的 N 个任务（默认 20）：时间、结果、
已完成份数/要求份数、文件、机器、重连次数和断线时长。残缺或无法识别的
行会被跳过。
</translation>
    </message>
    <message>
        <source>Usage: vxcut info --tcp HOST[:PORT] | --usb PATH

Reads the machine&apos;s identity (model, numbers, firmware, unique id).
</source>
        <translation>用法：vxcut info --tcp HOST[:PORT] | --usb PATH

读取机器的身份信息（型号、编号、固件、唯一 ID）。
</translation>
    </message>
    <message>
        <source>Usage: vxcut jog X+|X-|Y+|Y-|origin|home [--time MS] --tcp ... | --usb ...

Moves the carriage for MS milliseconds (default 500) then stops it;
origin sets the origin here, home returns to it.
</source>
        <translation>用法：vxcut jog X+|X-|Y+|Y-|origin|home [--time MS] --tcp ... | --usb ...

移动刀架 MS 毫秒（默认 500）后停止；origin 将当前位置设为原点，
home 返回原点。
</translation>
    </message>
    <message>
        <source>Usage: vxcut ports [--json]

Lists the serial devices present.
</source>
        <translation>用法：vxcut ports [--json]

列出现有的串口设备。
</translation>
    </message>
    <message>
        <source>Usage: vxcut set KEY=VALUE... --tcp ... | --usb ...

Writes settings, values in the units the settings list shows (combo
settings take the index or the option text), reads each one back and
reports the machine&apos;s write status. Every value is checked before any
is written.
</source>
        <translation>用法：vxcut set KEY=VALUE... --tcp ... | --usb ...

写入设置，数值采用设置列表所示的单位（选项类设置取序号或选项文字），
逐个读回并报告机器的写入状态。写入任何值之前先检查所有值。
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
        <translation>用法：vxcut qr SOURCE --tcp HOST[:PORT] | --usb PATH [--count N]
                [图形选项] [--json]

运行二维码生产：机器送入印好的材料，摄像头读取每张材料的二维码，按 `cut`
的方式放置、排序和整形后切割该二维码对应的图形（每个图形每次运行只读取一次）。
SOURCE 是以二维码命名图形的文件夹（ABC123.svg、ABC123.plt、ABC123.dxf），
或由 `CODE = 路径` 行组成的映射文件（路径相对于映射文件；发送前整体检查）。
没有对应图形或摄像头无法识别的二维码，材料不切割直接通过并报告。运行到
机器的材料叠用完、切完 N 张或按下 Ctrl-C（先停止机器上的任务）为止。连接中断
时与 cut 一样重新连接（--no-reconnect、--reconnect-budget）。显示已完成张数、
当前二维码及其百分比；--json 每张材料输出一个 &quot;sheet&quot; 事件（index、code、
design、outcome finished|skipped|failed、reason、ms）。
每张材料都记入任务日志（--journal，与 cut 相同）。
  --count N           切完 N 张后停止
图形选项（见下）适用于本次运行的每个图形。
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
        <translation>用法：vxcut nest FILE[=QTY]... [--parts LIST] (--strip-width MM | --sheet WxL)
                 [排料选项] [图形选项] [--json]

把零件（按 `plan` 的方式读取的图形文件）互不重叠地排放在卷材或板材上，
每个零件按允许的角度旋转，并不断搜索更短的排料方案，直到时间用完或不再
有改进。孔和内部切割线随其零件一起排放；小零件可以放在大零件的孔中。
  FILE=QTY            FILE 的 QTY 份（只写 FILE：一份）
  --parts LIST        由 FILE,QTY[,ROTATIONS] 行组成的列表
  --split             文件中的每个外轮廓各自作为一个零件
  --strip-width MM    此宽度的卷材，长度尽量短
  --sheet WxL         W x L mm 的板材，张数尽量少，最后一张尽量短
  --gap MM            零件之间至少留此间距（默认 2；可为 0）
  --rotations LIST    允许的旋转：0,90,180,270（默认），或 any:STEP
                      表示每 STEP 度一档（只写 any：15）
  --mirror-allowed    零件也可以镜像（材料可从任一面切割）
  --time SEC          搜索时间（默认 10）
  --seed N            搜索的随机种子（默认 1）：同一种子在同一台计算机上
                      得出同一个排料方案
  --output OUT.plt    排料结果的绘图文本（每张板材一个文件：
                      OUT-1.plt, ...）
  --svg OUT.svg       排料结果的图片，附带利用率
--scale 作用于每个零件；--width、--height、--rotate 和 --mirror
与排料相矛盾，会被拒绝。
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
        <translation>用法：vxcut plan FILE [图形选项] [--json] [--output OUT.plt]

读取图形（HP-GL、SVG 或 DXF，按内容区分），不连接机器，按 `cut` 的方式
放置、排序和整形。显示尺寸、切割长度、按文件顺序和排序后的抬刀空程、
发送的路径数、重叠线只切一次的长度，以及按切割 100 mm/s、空程 300 mm/s
计算的时间。
  --output FILE       同时写出 `cut` 将发送的绘图文本
  --work-area WxH     拒绝放不进 W x H mm 工作区域的图形，
                      与 `cut` 按机器自身的工作区域所做的一样
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
        <translation>用法：vxcut resume --tcp HOST[:PORT] | --usb PATH [--yes]
                    [--recut-interrupted | --skip-interrupted] [图形选项]

切割任务日志中最后一个中断任务的剩余部分：未完成的份数，以及切到一半的
那一份从中断的笔画处继续。文件按该任务切割时的选项重新规划；在此给出的
图形选项必须与之相同。先显示计划并确认；文件及其规划结果必须未改动
（SHA-256），要继续切某一份时机器也必须相同。先询问机器该任务的结果：
连接中断期间机器已完成的份数不会再次切割。
  --yes                 不询问（供脚本使用）
  --recut-interrupted   把中断的那一份整份重新切割（在新材料上）
  --skip-interrupted    跳过中断的那一份
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
        <translation>用法：vxcut settings            --tcp ... | --usb ...
      vxcut settings dump FILE  --tcp ... | --usb ...
      vxcut settings apply FILE --tcp ... | --usb ...

不带子命令：以用户的语言列出所有用户设置和系统设置的名称、值和单位。
dump：把用户设置写入一个可读的配置文件。
apply：检查文件，显示将要改变的内容，写入改动并读回每个写入的值。连接中断
时会重新连接（--reconnect-budget SEC、--no-reconnect）；重新读回各值，只写入
尚缺的值。结果会列出已应用的设置，若连接始终未恢复，还会列出未应用的设置。
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
        <translation>用法：vxcut cut FILE --tcp HOST[:PORT] | --usb PATH [--copies N] [--quality Q]
                [图形选项] [--cloud URL --ws URL --code CODE [--token-file FILE]]
                [--reconnect-budget SEC | --no-reconnect]

切割一个图形（HP-GL、SVG 或 DXF），其放置、排序和整形与使用相同选项的
`vxcut plan` 所示一致。先显示图形的尺寸、切割长度和预计时间，然后显示
带有已完成份数和剩余时间的进度条。Ctrl-C 会在机器上停止任务。使用 --cloud
时会登记机器，并在任务结束时上报工作记录。
连接中断时，vxcut 会重新连接（等待 0.5 秒，逐次加倍至 8 秒，共 120 秒），
确认是同一台机器，并跟随任务直至结束；若机器放弃了任务，会报告已切割的
部分，供 `vxcut resume` 使用。每个任务都记入任务日志（`vxcut history`）。
  --reconnect-budget SEC  持续尝试重连的时间（0：立即放弃）
  --no-reconnect          连接中断即结束运行（退出码 6）
  --token-file FILE   云令牌，取自只有其所有者可读的文件
                      （也可用环境变量 VX_CLOUD_TOKEN；
                      --token T 亦可，但其他用户能看到）

vxcut cut --nest PART[=QTY]... [--parts LIST] [--strip-width MM] [排料选项]
按 `vxcut nest` 的方式排放零件（未用 --strip-width 指定时，卷材宽度取工作
区域的宽度），然后把排料结果分成不长于工作区域的窗口依次切割，窗口边界
不穿过任何零件；两个窗口之间由传送带把材料向前送料（打开自动送料，送料
长度按各窗口设定；完成后恢复原来的送料设置）。`vxcut resume` 从第一个
未切割的窗口继续切割该排料。
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
        <translation>用法：vxcut serve [--listen ADDR:PORT] [--machine NAME@TARGET]...
                  [--config FILE] [--data DIR] [--token-file FILE]
                  [--max-upload-mb N]

车间服务：每台机器一个任务队列、监视文件夹，以及一个显示各台机器、其队列
和任务日志的网页。运行到按下 Ctrl-C 或收到 SIGTERM 为止；进行中的任务留给
其机器继续完成，下次启动时再次跟随。
  --listen ADDR:PORT   网页及其 API 的监听地址（默认 127.0.0.1:8600；
                       端口 0 表示取一个空闲端口）
  --machine NAME@HOST[:PORT]  网络上的机器（默认端口 9100），或串口
                       设备上的 NAME@/dev/PATH；每台机器重复一次
  --config FILE        以 JSON 给出机器、监视文件夹及其他设置（见
                       README）；--machine 给出的机器添加到其中
  --data DIR           队列、任务日志和保存的图形所在位置
                       （默认：用户的数据文件夹）
  --token-file FILE    每个请求都需要 FILE 中的令牌（只有其所有者可读的
                       文件）；在非回环地址上监听时必需
  --max-upload-mb N    网页可发送的最大图形（默认 64）
  --reconnect-budget SEC  任务等待中断的连接恢复的时长
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
        <translation>用法：vxcut COMMAND [选项]

通过设备插件驱动传送带平台式切割机。

命令：
  demo       在模拟机器上切割示例（无需硬件）
  cut FILE   切割图形文件（HP-GL、SVG、DXF）
  plan FILE  不连接机器，查看切割的尺寸、长度、空程和绘图文本
  nest FILE...  把零件排放在卷材或板材上；输出排料的绘图文本
  resume     切割最后一个中断任务的剩余部分
  history    任务日志
  info       机器身份信息
  settings   列出设置；settings dump|apply FILE
  get KEY... 读取设置
  set K=V... 写入设置并读回确认
  jog DIR    移动刀架
  qr SOURCE  二维码生产：每张材料切割其二维码对应的图形
  ports      现有的串口设备
  serve      车间服务：任务队列、监视文件夹、网页

`vxcut COMMAND --help` 说明单个命令。
</translation>
    </message>
</context>
<context>
    <name>Cut</name>
    <message numerus="yes">
        <source>plot %1: %2 x %3 mm, cut length %4 mm (+%5 mm travel), %n copies, estimated %6</source>
        <translation>
            <numerusform>图形 %1：%2 x %3 mm，切割长度 %4 mm（另有空程 %5 mm），%n 份，预计 %6</numerusform>
        </translation>
    </message>
    <message>
        <source>unknown (machine speeds not read)</source>
        <translation>未知（未读取机器速度）</translation>
    </message>
    <message>
        <source>plot %1: %2 x %3 mm, cut length %4 mm (+%5 mm travel), 1 copy, estimated %6</source>
        <translation>图形 %1：%2 x %3 mm，切割长度 %4 mm（另有空程 %5 mm），1 份，预计 %6</translation>
    </message>
    <message>
        <source>; `vxcut resume` cuts what is left</source>
        <translation>；`vxcut resume` 可切割剩余部分</translation>
    </message>
    <message>
        <source>cut wants exactly one plot file</source>
        <translation>cut 需要正好一个图形文件</translation>
    </message>
    <message>
        <source>starting the job</source>
        <translation>启动任务</translation>
    </message>
    <message>
        <source>done: %1 of %2 in %3%4</source>
        <translation>完成：%2中完成 %1 份，用时 %3%4</translation>
    </message>
</context>
<context>
    <name>Demo</name>
    <message>
        <source>simulated machine on 127.0.0.1:%1, cloud stand-in on %2</source>
        <translation>模拟机器位于 127.0.0.1:%1，云服务替身位于 %2</translation>
    </message>
    <message>
        <source>work record as the cloud received it (after %1 Runtime snapshots):
%2</source>
        <translation>云端收到的工作记录（经过 %1 次 Runtime 快照）：
%2</translation>
    </message>
    <message>
        <source>this build has no simulator or cloud stand-in</source>
        <translation>此构建不含模拟器或云服务替身</translation>
    </message>
    <message>
        <source>cannot start the cloud stand-in on 127.0.0.1</source>
        <translation>无法在 127.0.0.1 上启动云服务替身</translation>
    </message>
    <message>
        <source>cannot start the simulated machine on 127.0.0.1</source>
        <translation>无法在 127.0.0.1 上启动模拟机器</translation>
    </message>
    <message>
        <source>the cloud stand-in received no work record</source>
        <translation>云服务替身没有收到工作记录</translation>
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
        <translation>其他失败（包括：机器自行停止或拒绝了任务）</translation>
    </message>
    <message>
        <source>bad command line</source>
        <translation>命令行有误</translation>
    </message>
    <message>
        <source>device plugin not found or not loadable</source>
        <translation>找不到设备插件或无法载入</translation>
    </message>
    <message>
        <source>connection refused / device could not be opened</source>
        <translation>连接被拒绝 / 无法打开设备</translation>
    </message>
    <message>
        <source>no connection or no answer in time</source>
        <translation>未能及时连接或未及时应答</translation>
    </message>
    <message>
        <source>device lost (link closed or machine silent); during a job the error says what was cut so far</source>
        <translation>设备丢失（连接关闭或机器无响应）；任务进行中时，错误信息会说明已切割的部分</translation>
    </message>
    <message>
        <source>unknown key</source>
        <translation>未知的键名</translation>
    </message>
    <message>
        <source>bad value</source>
        <translation>值有误</translation>
    </message>
    <message>
        <source>unreadable or invalid plot file</source>
        <translation>图形文件无法读取或无效</translation>
    </message>
    <message>
        <source>the machine refused a write or kept another value</source>
        <translation>机器拒绝写入或保留了其他值</translation>
    </message>
    <message>
        <source>cloud registration or remote channel failed</source>
        <translation>云端登记或远程通道失败</translation>
    </message>
    <message>
        <source>interrupted (Ctrl-C); a running job is stopped on the machine first</source>
        <translation>被中断（Ctrl-C）；正在进行的任务会先在机器上停止</translation>
    </message>
    <message>
        <source>Exit codes:</source>
        <translation>退出码：</translation>
    </message>
    <message>
        <source>terminated (SIGTERM); a running job is stopped on the machine first</source>
        <translation>被终止（SIGTERM）；正在进行的任务会先在机器上停止</translation>
    </message>
</context>
<context>
    <name>Get</name>
    <message>
        <source>get wants at least one KEY</source>
        <translation>get 需要至少一个 KEY</translation>
    </message>
    <message>
        <source>unknown key %1</source>
        <translation>未知的键名 %1</translation>
    </message>
    <message>
        <source>(held locally; not read from the machine)</source>
        <translation>（本地保存的值；未从机器读取）</translation>
    </message>
    <message>
        <source>the machine did not answer for %1</source>
        <translation>机器未应答：%1</translation>
    </message>
</context>
<context>
    <name>History</name>
    <message>
        <source>1 reconnect, link down %1 s</source>
        <translation>重连 1 次，断线 %1 秒</translation>
    </message>
    <message numerus="yes">
        <source>%n reconnects, link down %1 s</source>
        <translation>
            <numerusform>重连 %n 次，断线 %1 秒</numerusform>
        </translation>
    </message>
    <message>
        <source>no jobs in %1</source>
        <translation>%1 中没有任务</translation>
    </message>
    <message>
        <source>1 line of %1 holds no job record (torn or foreign): skipped</source>
        <translation>%1 中有 1 行不是任务记录（残缺或无法识别）：已跳过</translation>
    </message>
    <message numerus="yes">
        <source>%n lines of %1 hold no job record (torn or foreign): skipped</source>
        <translation>
            <numerusform>%1 中有 %n 行不是任务记录（残缺或无法识别）：已跳过</numerusform>
        </translation>
    </message>
    <message>
        <source>history takes no arguments</source>
        <translation>history 不接受参数</translation>
    </message>
    <message>
        <source>, copy %1 at %2%</source>
        <translation>，第 %1 份切到 %2%</translation>
    </message>
    <message>
        <source>resumes %1</source>
        <translation>续切自 %1</translation>
    </message>
</context>
<context>
    <name>Info</name>
    <message>
        <source>reading the machine information</source>
        <translation>读取机器信息</translation>
    </message>
</context>
<context>
    <name>JobLoop</name>
    <message>
        <source>reconnected to %1 after %2 s; reading the job state</source>
        <translation>%2 秒后已重新连接到 %1，正在读取任务状态</translation>
    </message>
    <message>
        <source>interrupted: no longer reconnecting</source>
        <translation>已中断：不再重新连接</translation>
    </message>
    <message>
        <source>stopping the job on the machine...</source>
        <translation>正在机器上停止任务…</translation>
    </message>
    <message>
        <source>job journal not written: %1</source>
        <translation>未能写入任务日志：%1</translation>
    </message>
    <message>
        <source>; 1 reconnect, link down %1 s</source>
        <translation>；重连 1 次，断线 %1 秒</translation>
    </message>
    <message numerus="yes">
        <source>; %n reconnects, link down %1 s</source>
        <translation>
            <numerusform>；重连 %n 次，断线 %1 秒</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Jog</name>
    <message>
        <source>jog wants one of X+ X- Y+ Y- origin home</source>
        <translation>jog 需要 X+ X- Y+ Y- origin home 之一</translation>
    </message>
    <message>
        <source>this device has no %1 command</source>
        <translation>此设备没有 %1 命令</translation>
    </message>
    <message>
        <source>jogging</source>
        <translation>点动</translation>
    </message>
    <message>
        <source>stopping the axis</source>
        <translation>停止轴的移动</translation>
    </message>
    <message>
        <source>%1 during the jog; reconnected and stopped the axis; the move was not repeated</source>
        <translation>点动过程中%1；已重新连接并停止轴的移动；该移动未重复执行</translation>
    </message>
</context>
<context>
    <name>Nest</name>
    <message>
        <source>--strip-width wants millimetres from 1 to 100000</source>
        <translation>--strip-width 需要 1 到 100000 之间的毫米数</translation>
    </message>
    <message>
        <source>--sheet wants W x L in millimetres, such as 1200x2400</source>
        <translation>--sheet 需要以毫米为单位的 W x L，例如 1200x2400</translation>
    </message>
    <message>
        <source>--gap wants millimetres from 0 to 1000</source>
        <translation>--gap 需要 0 到 1000 之间的毫米数</translation>
    </message>
    <message>
        <source>--time wants seconds from 0 to 86400</source>
        <translation>--time 需要 0 到 86400 之间的秒数</translation>
    </message>
    <message>
        <source>--seed wants a whole number of 0 or more</source>
        <translation>--seed 需要一个不小于 0 的整数</translation>
    </message>
    <message>
        <source>nest wants either --strip-width or --sheet</source>
        <translation>nest 需要 --strip-width 或 --sheet 之一</translation>
    </message>
    <message>
        <source>--width, --height, --rotate and --mirror do not go with nest: it places and turns each part itself</source>
        <translation>--width、--height、--rotate 和 --mirror 不能用于 nest：它自行放置和旋转每个零件</translation>
    </message>
    <message>
        <source>nest wants part files (FILE or FILE=QTY) or --parts LIST</source>
        <translation>nest 需要零件文件（FILE 或 FILE=QTY）或 --parts LIST</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>plot text written to %1 (%2 bytes)</source>
        <translation>绘图文本已写入 %1（%2 字节）</translation>
    </message>
    <message>
        <source>picture written to %1</source>
        <translation>图片已写入 %1</translation>
    </message>
    <message>
        <source>best %1 sheet(s), the last to %2 mm</source>
        <translation>最佳 %1 张，最后一张用到 %2 mm</translation>
    </message>
    <message>
        <source>best %1 mm</source>
        <translation>最佳 %1 mm</translation>
    </message>
    <message>
        <source>searching %1 / %2 s: %3 layouts, %4, %5% used</source>
        <translation>搜索中 %1 / %2 秒：%3 个方案，%4，利用率 %5%</translation>
    </message>
    <message>
        <source>%1 sheet(s) of %2 x %3 mm, the last used to %4 mm</source>
        <translation>%1 张 %2 x %3 mm 的板材，最后一张用到 %4 mm</translation>
    </message>
    <message>
        <source>nest: %1 of %2 pieces on %3; utilisation %4% (%5 layouts in %6 s)</source>
        <translation>排料：%2 件中已排放 %1 件，%3；利用率 %4%（%6 秒内尝试了 %5 个方案）</translation>
    </message>
    <message>
        <source>interrupted while nesting</source>
        <translation>排料时被中断</translation>
    </message>
    <message>
        <source>%1: %2 of %3 not placed</source>
        <translation>%1：%3 件中有 %2 件未能排放</translation>
    </message>
    <message>
        <source>%1 mm along a %2 mm wide strip</source>
        <translation>%2 mm 宽的卷材上长 %1 mm</translation>
    </message>
    <message>
        <source>cut --nest cuts a strip on the belt: --sheet does not go with it</source>
        <translation>cut --nest 切割的是传送带上的卷材：不能使用 --sheet</translation>
    </message>
    <message>
        <source>--copies, --cloud and --svg do not go with cut --nest: give the quantities with the parts</source>
        <translation>--copies、--cloud 和 --svg 不能用于 cut --nest：请随零件给出数量</translation>
    </message>
    <message>
        <source>--nest goes with cut, not %1</source>
        <translation>--nest 只用于 cut，不用于 %1</translation>
    </message>
    <message>
        <source>--%1 goes with nest or cut --nest, not %2</source>
        <translation>--%1 只用于 nest 或 cut --nest，不用于 %2</translation>
    </message>
    <message>
        <source>window %1 of %2: %3 pieces from %4 mm along the strip, cut length %5 mm; then the belt feeds %6 mm</source>
        <translation>第 %1 个窗口（共 %2 个）：%3 件，从卷材的 %4 mm 处开始，切割长度 %5 mm；随后传送带送料 %6 mm</translation>
    </message>
    <message>
        <source>the machine has no automatic feed (FEED_LENGTH)</source>
        <translation>机器没有自动送料功能（FEED_LENGTH）</translation>
    </message>
    <message>
        <source>starting the nest</source>
        <translation>启动排料切割</translation>
    </message>
    <message>
        <source>job journal not written: %1</source>
        <translation>未能写入任务日志：%1</translation>
    </message>
    <message>
        <source>; `vxcut resume` continues at window %1</source>
        <translation>；`vxcut resume` 可从第 %1 个窗口继续</translation>
    </message>
    <message>
        <source>done: %1 windows of %2 cut in %3</source>
        <translation>完成：已切割 %2 的 %1 个窗口，用时 %3</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>Try &apos;vxcut --help&apos;.</source>
        <translation>请尝试 &apos;vxcut --help&apos;。</translation>
    </message>
    <message>
        <source>--token shows the cloud token to every user of this computer (process list); use --token-file FILE or VX_CLOUD_TOKEN</source>
        <translation>--token 会让本机所有用户（通过进程列表）看到云令牌；请使用 --token-file FILE 或 VX_CLOUD_TOKEN</translation>
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
        <translation>通用选项：
  --tcp HOST[:PORT]   网络上的机器（默认端口 9100）
  --usb PATH          串口/USB 设备上的机器（见 `vxcut ports`）
  --plugin PATH       设备插件文件（默认：&lt;appdir&gt;/plugins、
                      &lt;appdir&gt;/../lib/vxdevice/plugins，然后是构建目录）
  --timeout SEC       连接和应答超时（默认 5）
  --heartbeat SEC     心跳周期；连续三次未应答且无其他消息即视为机器已断开
                      （默认 2）
  --journal PATH      任务日志（默认：VX_JOURNAL，否则为
                      ~/.local/share/vxdevice/jobs.jsonl）
  --json              每行一个 JSON 事件（link、progress、result 等）
  --verbose           显示设备对象的调试日志
  --lang CODE         消息语言：zh_CN、ja_JP、en（默认：系统语言；
                      --json 输出在各语言下相同）
  --help              本说明
</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>未指定命令</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>未知命令 &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--output goes with plan, not %1</source>
        <translation>--output 只用于 plan，不用于 %1</translation>
    </message>
    <message>
        <source>give either --token or --token-file, not both</source>
        <translation>请只给出 --token 或 --token-file 之一</translation>
    </message>
    <message>
        <source>--timeout wants seconds between 0 and 3600</source>
        <translation>--timeout 需要 0 到 3600 之间的秒数</translation>
    </message>
    <message>
        <source>--copies wants a number from 1 to 9999</source>
        <translation>--copies 需要 1 到 9999 之间的数</translation>
    </message>
    <message>
        <source>--time wants milliseconds from 0 to 60000</source>
        <translation>--time 需要 0 到 60000 之间的毫秒数</translation>
    </message>
    <message>
        <source>--speedup wants a positive factor</source>
        <translation>--speedup 需要一个正的倍数</translation>
    </message>
    <message>
        <source>--reconnect-budget wants seconds from 0 to 86400</source>
        <translation>--reconnect-budget 需要 0 到 86400 之间的秒数</translation>
    </message>
    <message>
        <source>give either --recut-interrupted or --skip-interrupted, not both</source>
        <translation>请只给出 --recut-interrupted 或 --skip-interrupted 之一</translation>
    </message>
    <message>
        <source>--last wants a number from 1 to 100000</source>
        <translation>--last 需要 1 到 100000 之间的数</translation>
    </message>
    <message>
        <source>give either --tcp or --usb, not both</source>
        <translation>请只给出 --tcp 或 --usb 之一</translation>
    </message>
    <message>
        <source>--cloud, --ws and --code go together</source>
        <translation>--cloud、--ws 和 --code 必须一起给出</translation>
    </message>
    <message>
        <source>--token-file %1: %2</source>
        <translation>--token-file %1：%2</translation>
    </message>
    <message>
        <source>--token-file %1 is not a regular file</source>
        <translation>--token-file %1 不是普通文件</translation>
    </message>
    <message>
        <source>--token-file %1 is readable by other users (mode %2); make it private first: chmod 600 %1</source>
        <translation>--token-file %1 可被其他用户读取（权限 %2）；请先设为私有：chmod 600 %1</translation>
    </message>
    <message>
        <source>--token-file %1 holds no single-line token</source>
        <translation>--token-file %1 中没有单行令牌</translation>
    </message>
    <message>
        <source>--count wants a number of sheets from 1 to 1000000</source>
        <translation>--count 需要 1 到 1000000 之间的张数</translation>
    </message>
    <message>
        <source>--work-area goes with plan; %1 reads the machine&apos;s</source>
        <translation>--work-area 只用于 plan；%1 读取机器自身的工作区域</translation>
    </message>
    <message>
        <source>--heartbeat wants seconds from 0.2 to 60</source>
        <translation>--heartbeat 需要 0.2 到 60 之间的秒数</translation>
    </message>
    <message>
        <source>the design options go with cut, plan, qr, nest and resume, not %1</source>
        <translation>图形选项只用于 cut、plan、qr、nest 和 resume，不用于 %1</translation>
    </message>
    <message>
        <source>--%1 goes with serve, not %2</source>
        <translation>--%1 只用于 serve，不用于 %2</translation>
    </message>
    <message>
        <source>serve takes its token from --token-file only</source>
        <translation>serve 只从 --token-file 读取令牌</translation>
    </message>
    <message>
        <source>--max-upload-mb wants a number from 1 to 4096</source>
        <translation>--max-upload-mb 需要 1 到 4096 之间的数</translation>
    </message>
    <message>
        <source>serve takes no arguments; name the machines with --machine NAME@HOST:PORT</source>
        <translation>serve 不接受参数；请用 --machine NAME@HOST:PORT 指定机器</translation>
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
        <translation>%1%  份数 %2/%3  剩余 %4</translation>
    </message>
    <message>
        <source>%1 reconnecting (attempt %2)</source>
        <translation>%1 正在重新连接（第 %2 次尝试）</translation>
    </message>
    <message>
        <source>link lost:</source>
        <translation>连接中断：</translation>
    </message>
</context>
<context>
    <name>Plan</name>
    <message numerus="yes">
        <source>%1 (%2): %3 x %4 mm, %n paths
cut length %5 mm; travel %6 mm in file order, %7 mm as ordered
overlapping lines cut once: %8 mm; estimated %9</source>
        <translation>
            <numerusform>%1（%2）：%3 x %4 mm，%n 条路径
切割长度 %5 mm；空程按文件顺序 %6 mm，排序后 %7 mm
重叠线只切一次：%8 mm；预计 %9</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>plot text written to %1 (%n bytes)</source>
        <translation>
            <numerusform>绘图文本已写入 %1（%n 字节）</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (%2): %3 x %4 mm, 1 path
cut length %5 mm; travel %6 mm in file order, %7 mm as ordered
overlapping lines cut once: %8 mm; estimated %9</source>
        <translation>%1（%2）：%3 x %4 mm，1 条路径
切割长度 %5 mm；空程按文件顺序 %6 mm，排序后 %7 mm
重叠线只切一次：%8 mm；预计 %9</translation>
    </message>
    <message>
        <source>plan wants exactly one design file</source>
        <translation>plan 需要正好一个图形文件</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>not cut: %1</source>
        <translation>未切割：%1</translation>
    </message>
</context>
<context>
    <name>PlotArgs</name>
    <message>
        <source>Default: %1.</source>
        <translation>默认：%1。</translation>
    </message>
    <message>
        <source>Design options (cut, plan, qr, nest and resume take the same):</source>
        <translation>图形选项（cut、plan、qr、nest 和 resume 相同）：</translation>
    </message>
</context>
<context>
    <name>Ports</name>
    <message>
        <source>no serial devices found</source>
        <translation>未找到串口设备</translation>
    </message>
</context>
<context>
    <name>Qr</name>
    <message>
        <source>qr wants exactly one SOURCE (a folder of designs or a map file)</source>
        <translation>qr 需要正好一个 SOURCE（图形文件夹或映射文件）</translation>
    </message>
    <message>
        <source>link back: the same machine; following its QR-code job</source>
        <translation>连接已恢复：同一台机器；继续跟随其二维码任务</translation>
    </message>
    <message>
        <source>starting the QR-code job</source>
        <translation>启动二维码任务</translation>
    </message>
    <message>
        <source>stopping the machine&apos;s job...</source>
        <translation>正在停止机器上的任务…</translation>
    </message>
    <message>
        <source>done: %1 sheets cut, %2 skipped, %3 failed in %4%5</source>
        <translation>完成：已切割 %1 张，跳过 %2 张，失败 %3 张，用时 %4%5</translation>
    </message>
    <message>
        <source> (count reached)</source>
        <translation>（已达到张数）</translation>
    </message>
    <message>
        <source> (stack ended)</source>
        <translation>（材料叠已用完）</translation>
    </message>
    <message>
        <source>(unreadable)</source>
        <translation>（无法识别）</translation>
    </message>
    <message>
        <source>%1%  sheet %2 %3%4  done %5</source>
        <translation>%1%  第 %2 张 %3%4  已切割 %5</translation>
    </message>
    <message>
        <source>sheet %1  %2  %3  %4</source>
        <translation>第 %1 张  %2  %3  %4</translation>
    </message>
    <message>
        <source>designs: %1, 1 design; %2; waiting for sheets (Ctrl-C stops the machine&apos;s job)</source>
        <translation>图形：%1，共 1 个图形；%2；等待材料送入（Ctrl-C 停止机器上的任务）</translation>
    </message>
    <message numerus="yes">
        <source>designs: %1, %n designs; %2; waiting for sheets (Ctrl-C stops the machine&apos;s job)</source>
        <translation>
            <numerusform>图形：%1，共 %n 个图形；%2；等待材料送入（Ctrl-C 停止机器上的任务）</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>cutting %n sheets</source>
        <translation>
            <numerusform>切割 %n 张</numerusform>
        </translation>
    </message>
    <message>
        <source>until the stack ends</source>
        <translation>直到材料叠用完</translation>
    </message>
    <message>
        <source>sheet %1  %2  %3  %4  %5 s</source>
        <translation>第 %1 张  %2  %3  %4  %5 秒</translation>
    </message>
</context>
<context>
    <name>Resume</name>
    <message>
        <source>cutting 1 whole copy</source>
        <translation>正在切割 1 份完整的图形</translation>
    </message>
    <message numerus="yes">
        <source>cutting %n whole copies</source>
        <translation>
            <numerusform>正在切割 %n 份完整的图形</numerusform>
        </translation>
    </message>
    <message>
        <source>job journal not written: %1</source>
        <translation>未能写入任务日志：%1</translation>
    </message>
    <message>
        <source>no terminal to confirm on: give --yes to cut without asking</source>
        <translation>没有可用于确认的终端：请加 --yes 以不经询问直接切割</translation>
    </message>
    <message>
        <source>not confirmed; nothing was cut</source>
        <translation>未确认；没有切割任何内容</translation>
    </message>
    <message>
        <source>resume takes no arguments: it resumes the last interrupted job</source>
        <translation>resume 不接受参数：它续切最后一个中断的任务</translation>
    </message>
    <message>
        <source>interrupted job of %1: %2 on %3: %4
to cut: %5</source>
        <translation>%1 的中断任务：%2，机器 %3：%4
待切割：%5</translation>
    </message>
    <message>
        <source>done: cut %1%2</source>
        <translation>完成：已切割 %1%2</translation>
    </message>
    <message>
        <source>y|yes</source>
        <comment>the answers that confirm a resume, separated by |</comment>
        <translation>是|是的|好|确定|y|yes</translation>
    </message>
    <message>
        <source>[y/N]</source>
        <translation>[是(y)/否(N)]</translation>
    </message>
    <message>
        <source>Cut %1?</source>
        <translation>切割 %1？</translation>
    </message>
    <message>
        <source>the machine reports %1 of %2 copies finished; journal corrected</source>
        <translation>机器报告 %2 份中已完成 %1 份；已更正任务日志</translation>
    </message>
    <message>
        <source>cutting the rest of copy %1: from stroke %2</source>
        <translation>正在切割第 %1 份的剩余部分：从第 %2 笔开始</translation>
    </message>
    <message>
        <source>asking the machine for its job</source>
        <translation>向机器查询其任务</translation>
    </message>
    <message>
        <source>nothing was cut: the machine had finished the job</source>
        <translation>没有进行切割：机器已完成该任务</translation>
    </message>
</context>
<context>
    <name>Run</name>
    <message>
        <source>cutting quality: %1</source>
        <translation>切割质量：%1</translation>
    </message>
    <message>
        <source>cloud: registered as device %1 (code %2)</source>
        <translation>云端：已登记为设备 %1（代码 %2）</translation>
    </message>
    <message>
        <source>plugin %1 created no device object</source>
        <translation>插件 %1 没有创建设备对象</translation>
    </message>
    <message>
        <source>link: %1</source>
        <translation>连接：%1</translation>
    </message>
    <message>
        <source>QR code: %1</source>
        <translation>二维码：%1</translation>
    </message>
    <message>
        <source>give the machine with --tcp HOST[:PORT] or --usb PATH</source>
        <translation>请用 --tcp HOST[:PORT] 或 --usb PATH 指定机器</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>已中断</translation>
    </message>
    <message>
        <source>interrupted while %1</source>
        <translation>%1 时被中断</translation>
    </message>
    <message>
        <source>%1 while %2</source>
        <translation>%2 时%1</translation>
    </message>
    <message>
        <source>the machine did not answer while %1 (%2 s)</source>
        <translation>%1 时机器未应答（%2 秒）</translation>
    </message>
    <message>
        <source>reading</source>
        <translation>读取</translation>
    </message>
    <message>
        <source>writing %1</source>
        <translation>写入 %1</translation>
    </message>
    <message>
        <source>this device has no cutting quality setting</source>
        <translation>此设备没有切割质量设置</translation>
    </message>
    <message>
        <source>--quality: %1</source>
        <translation>--quality：%1</translation>
    </message>
    <message>
        <source>reading the machine information</source>
        <translation>读取机器信息</translation>
    </message>
    <message>
        <source>the device object has no DEVICE_INFO record</source>
        <translation>设备对象没有 DEVICE_INFO 记录</translation>
    </message>
    <message>
        <source>machine: %1, no. %2, firmware %3</source>
        <translation>机器：%1，编号 %2，固件 %3</translation>
    </message>
    <message>
        <source>the device object has no cloud record</source>
        <translation>设备对象没有云端记录</translation>
    </message>
    <message>
        <source>registering with the cloud</source>
        <translation>向云端登记</translation>
    </message>
    <message>
        <source>the cloud did not register the machine (code %1)</source>
        <translation>云端没有登记该机器（代码 %1）</translation>
    </message>
    <message>
        <source>this device object offers no remote channel</source>
        <translation>此设备对象不提供远程通道</translation>
    </message>
    <message>
        <source>opening the remote channel</source>
        <translation>打开远程通道</translation>
    </message>
    <message>
        <source>the remote channel did not open (%1)</source>
        <translation>远程通道未能打开（%1）</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>无应答</translation>
    </message>
</context>
<context>
    <name>Set</name>
    <message>
        <source>set wants at least one KEY=VALUE</source>
        <translation>set 需要至少一个 KEY=VALUE</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not KEY=VALUE</source>
        <translation>&apos;%1&apos; 不是 KEY=VALUE 格式</translation>
    </message>
    <message>
        <source>sent; the machine&apos;s answer to this setting is not decoded</source>
        <translation>已发送；机器对此设置的应答无法解码</translation>
    </message>
    <message>
        <source>read back</source>
        <translation>已回读</translation>
    </message>
    <message>
        <source>acknowledged</source>
        <translation>已确认</translation>
    </message>
    <message>
        <source>read back, status %1</source>
        <translation>已回读，状态 %1</translation>
    </message>
    <message>
        <source>acknowledged, status %1</source>
        <translation>已确认，状态 %1</translation>
    </message>
    <message>
        <source>reconnected to %1; going on</source>
        <translation>已重新连接到 %1；继续进行</translation>
    </message>
    <message>
        <source>read back after the reconnect: the machine had it</source>
        <translation>重新连接后回读：机器已是该值</translation>
    </message>
    <message>
        <source>applied after reconnecting: %1</source>
        <translation>重新连接后已应用：%1</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>%1 settings written to %2</source>
        <translation>已将 %1 项设置写入 %2</translation>
    </message>
    <message>
        <source>the machine already has every value of the profile</source>
        <translation>机器已具有配置文件中的所有值</translation>
    </message>
    <message>
        <source>%1 change(s); writing and reading back...</source>
        <translation>%1 项改动；正在写入并读回…</translation>
    </message>
    <message>
        <source>reading the settings</source>
        <translation>读取设置</translation>
    </message>
    <message>
        <source>the machine did not answer for %1</source>
        <translation>机器未应答：%1</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>use: settings [dump FILE | apply FILE]</source>
        <translation>用法：settings [dump FILE | apply FILE]</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <source>no answer for %1; showing the values held locally</source>
        <translation>%1 无应答；显示本地保存的值</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Machine information</source>
        <translation>机器信息</translation>
    </message>
</context>
<context>
    <name>ShopHttp</name>
    <message>
        <source>%1 wants a whole number from %2 to %3</source>
        <translation>%1 需要 %2 到 %3 之间的整数</translation>
    </message>
    <message>
        <source>a request body holds at most 64 KiB</source>
        <translation>请求体最多 64 KiB</translation>
    </message>
    <message>
        <source>the request body ended early</source>
        <translation>请求体提前结束</translation>
    </message>
    <message>
        <source>the body is not JSON: %1 at byte %2</source>
        <translation>请求体不是 JSON：%1（第 %2 字节）</translation>
    </message>
    <message>
        <source>the body is not a JSON object</source>
        <translation>请求体不是 JSON 对象</translation>
    </message>
    <message>
        <source>the service is stopping</source>
        <translation>服务正在停止</translation>
    </message>
    <message>
        <source>--listen wants ADDRESS:PORT with an IP address, not %1</source>
        <translation>--listen 需要以 IP 地址表示的 ADDRESS:PORT，而不是 %1</translation>
    </message>
    <message>
        <source>--listen %1: this build&apos;s web server has no IPv6; give an IPv4 address such as 127.0.0.1:8600</source>
        <translation>--listen %1：此构建的 Web 服务器不支持 IPv6；请给出 IPv4 地址，例如 127.0.0.1:8600</translation>
    </message>
    <message>
        <source>cannot listen on %1: the port is taken or the address is not this computer&apos;s</source>
        <translation>无法在 %1 上监听：端口已被占用，或该地址不属于本机</translation>
    </message>
    <message>
        <source>cannot listen on %1</source>
        <translation>无法在 %1 上监听</translation>
    </message>
    <message>
        <source>this service answers to its loopback address only</source>
        <translation>此服务只应答发往其回环地址的请求</translation>
    </message>
    <message>
        <source>requests from other sites&apos; pages are refused</source>
        <translation>来自其他网站页面的请求会被拒绝</translation>
    </message>
    <message>
        <source>this service needs its token</source>
        <translation>此服务需要其令牌</translation>
    </message>
    <message>
        <source>wrong token</source>
        <translation>令牌错误</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>无应答</translation>
    </message>
    <message>
        <source>the page is missing from this build</source>
        <translation>此构建中缺少该网页</translation>
    </message>
    <message>
        <source>/api/live is a WebSocket: open it as one</source>
        <translation>/api/live 是 WebSocket：请以 WebSocket 方式打开</translation>
    </message>
    <message>
        <source>the body wants {&quot;%1&quot;: ...}</source>
        <translation>请求体需要 {&quot;%1&quot;: ...}</translation>
    </message>
    <message>
        <source>no job %1</source>
        <translation>没有任务 %1</translation>
    </message>
    <message>
        <source>the body wants {&quot;position&quot;: N}, N a whole number from 0</source>
        <translation>请求体需要 {&quot;position&quot;: N}，N 为不小于 0 的整数</translation>
    </message>
    <message>
        <source>nothing here</source>
        <translation>此处没有内容</translation>
    </message>
    <message>
        <source>use %1 here</source>
        <translation>此处请使用 %1</translation>
    </message>
    <message>
        <source>the upload was too slow: %1 of %2 bytes in time</source>
        <translation>上传太慢：限定时间内只收到 %2 字节中的 %1 字节</translation>
    </message>
    <message>
        <source>the upload ended after %1 of %2 bytes</source>
        <translation>上传在收到 %2 字节中的 %1 字节后中断</translation>
    </message>
    <message>
        <source>the file could not be stored: %1</source>
        <translation>无法保存该文件：%1</translation>
    </message>
    <message>
        <source>an upload needs a Content-Length</source>
        <translation>上传需要 Content-Length</translation>
    </message>
    <message>
        <source>the file has %1 bytes; this service takes at most %2 MiB</source>
        <translation>文件有 %1 字节；此服务最多接受 %2 MiB</translation>
    </message>
    <message>
        <source>the upload is empty</source>
        <translation>上传内容为空</translation>
    </message>
    <message>
        <source>%1 is not a JSON object</source>
        <translation>%1 不是 JSON 对象</translation>
    </message>
    <message>
        <source>the upload was too slow</source>
        <translation>上传太慢</translation>
    </message>
    <message>
        <source>a nest takes at most %1 part files</source>
        <translation>一次排料最多接受 %1 个零件文件</translation>
    </message>
    <message>
        <source>the file could not be stored: its path is too long</source>
        <translation>无法保存该文件：其路径过长</translation>
    </message>
    <message>
        <source>a nest is sent as multipart/form-data, each part file a field named part</source>
        <translation>排料须以 multipart/form-data 发送，每个零件文件为一个名为 part 的字段</translation>
    </message>
    <message>
        <source>the nest&apos;s quantities are not a JSON object</source>
        <translation>排料的数量不是 JSON 对象</translation>
    </message>
    <message>
        <source>the form ended early or could not be read</source>
        <translation>表单提前结束或无法读取</translation>
    </message>
    <message>
        <source>no part file: send each as a file field named part</source>
        <translation>没有零件文件：请将每个零件文件作为名为 part 的文件字段发送</translation>
    </message>
    <message>
        <source>the body nests deeper than %1 levels</source>
        <translation>请求体的嵌套超过 %1 层</translation>
    </message>
</context>
<context>
    <name>ShopPage</name>
    <message>
        <source>Shop floor</source>
        <translation>车间</translation>
    </message>
    <message>
        <source>Machines</source>
        <translation>机器</translation>
    </message>
    <message>
        <source>Journal</source>
        <translation>任务日志</translation>
    </message>
    <message>
        <source>Offline: the page is not getting news from the service. Reconnecting…</source>
        <translation>离线：网页收不到服务的更新。正在重新连接…</translation>
    </message>
    <message>
        <source>This service needs its token: open the page as /?token=TOKEN</source>
        <translation>此服务需要其令牌：请以 /?token=TOKEN 打开网页</translation>
    </message>
    <message>
        <source>Not done: %1</source>
        <translation>未能执行：%1</translation>
    </message>
    <message>
        <source>connecting</source>
        <translation>正在连接</translation>
    </message>
    <message>
        <source>connected</source>
        <translation>已连接</translation>
    </message>
    <message>
        <source>reconnecting</source>
        <translation>正在重新连接</translation>
    </message>
    <message>
        <source>not connected</source>
        <translation>未连接</translation>
    </message>
    <message>
        <source>at %1</source>
        <translation>位于 %1</translation>
    </message>
    <message>
        <source>machine no. %1</source>
        <translation>机器编号 %1</translation>
    </message>
    <message>
        <source>work area %1 × %2 mm</source>
        <translation>工作区域 %1 × %2 mm</translation>
    </message>
    <message>
        <source>held: no new job starts</source>
        <translation>已挂起：不会开始新任务</translation>
    </message>
    <message>
        <source>No job on the machine.</source>
        <translation>机器上没有任务。</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>剩余 %1</translation>
    </message>
    <message>
        <source>cutting</source>
        <translation>切割中</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>已暂停</translation>
    </message>
    <message>
        <source>waiting for the link</source>
        <translation>等待连接</translation>
    </message>
    <message>
        <source>stopping</source>
        <translation>正在停止</translation>
    </message>
    <message>
        <source>queued</source>
        <translation>排队中</translation>
    </message>
    <message>
        <source>held</source>
        <translation>已挂起</translation>
    </message>
    <message>
        <source>done</source>
        <translation>已完成</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>已取消</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>继续</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Hold the queue</source>
        <translation>挂起队列</translation>
    </message>
    <message>
        <source>Release the queue</source>
        <translation>恢复队列</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>上移</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>下移</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Cut the copy again</source>
        <translation>重新切割这一份</translation>
    </message>
    <message>
        <source>Skip the copy</source>
        <translation>跳过这一份</translation>
    </message>
    <message>
        <source>Add to the queue</source>
        <translation>加入队列</translation>
    </message>
    <message>
        <source>Stop the job on %1 now?</source>
        <translation>立即停止 %1 上的任务？</translation>
    </message>
    <message>
        <source>Cancel this job?</source>
        <translation>取消此任务？</translation>
    </message>
    <message>
        <source>Queue</source>
        <translation>队列</translation>
    </message>
    <message>
        <source>Nothing queued.</source>
        <translation>队列为空。</translation>
    </message>
    <message>
        <source>added by %1, %2</source>
        <translation>由 %1 添加，%2</translation>
    </message>
    <message>
        <source>Design file</source>
        <translation>图形文件</translation>
    </message>
    <message>
        <source>Copies</source>
        <translation>份数</translation>
    </message>
    <message>
        <source>Choose a design file first.</source>
        <translation>请先选择图形文件。</translation>
    </message>
    <message>
        <source>Last events</source>
        <translation>最近事件</translation>
    </message>
    <message>
        <source>Machine</source>
        <translation>机器</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>File name contains</source>
        <translation>文件名包含</translation>
    </message>
    <message>
        <source>All</source>
        <translation>全部</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>显示</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>开始时间</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Took</source>
        <translation>用时</translation>
    </message>
    <message>
        <source>No jobs match.</source>
        <translation>没有符合条件的任务。</translation>
    </message>
    <message>
        <source>finished</source>
        <translation>已完成</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>已停止</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>被拒绝</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>已中断</translation>
    </message>
    <message>
        <source>skipped</source>
        <translation>已跳过</translation>
    </message>
    <message>
        <source>Copy %1 of %2</source>
        <translation>第 %1 份（共 %2 份）</translation>
    </message>
    <message>
        <source>Whole job</source>
        <translation>整个任务</translation>
    </message>
    <message>
        <source>No preview</source>
        <translation>无预览</translation>
    </message>
    <message>
        <source>Recently ended</source>
        <translation>最近结束</translation>
    </message>
    <message>
        <source>%1 copy</source>
        <translation>%1 份</translation>
    </message>
    <message>
        <source>%1 copies</source>
        <translation>%1 份</translation>
    </message>
    <message>
        <source>%1 of %2 copy cut</source>
        <translation>%2 份中已切割 %1 份</translation>
    </message>
    <message>
        <source>%1 of %2 copies cut</source>
        <translation>%2 份中已切割 %1 份</translation>
    </message>
    <message>
        <source>Choose a file…</source>
        <translation>选择文件…</translation>
    </message>
    <message>
        <source>Drop the design file to add it to the queue of %1</source>
        <translation>放开图形文件即可将其加入 %1 的队列</translation>
    </message>
    <message>
        <source>or drop a design file on the card</source>
        <translation>或把图形文件拖放到卡片上</translation>
    </message>
    <message>
        <source>Window %1 of %2</source>
        <translation>第 %1 个窗口（共 %2 个）</translation>
    </message>
    <message>
        <source>Nesting…</source>
        <translation>正在排料…</translation>
    </message>
    <message>
        <source>nesting</source>
        <translation>排料中</translation>
    </message>
    <message>
        <source>Nest and queue</source>
        <translation>排料并加入队列</translation>
    </message>
    <message>
        <source>nest</source>
        <translation>排料</translation>
    </message>
    <message>
        <source>%1 part</source>
        <translation>%1 个零件</translation>
    </message>
    <message>
        <source>%1 parts</source>
        <translation>%1 个零件</translation>
    </message>
    <message>
        <source>Nest parts…</source>
        <translation>零件排料…</translation>
    </message>
    <message>
        <source>Part files</source>
        <translation>零件文件</translation>
    </message>
    <message>
        <source>Choose part files…</source>
        <translation>选择零件文件…</translation>
    </message>
    <message>
        <source>several part files, each with its quantity, laid out together</source>
        <translation>多个零件文件，各自设定数量，一起排料</translation>
    </message>
    <message>
        <source>%1 part file</source>
        <translation>%1 个零件文件</translation>
    </message>
    <message>
        <source>%1 part files</source>
        <translation>%1 个零件文件</translation>
    </message>
    <message>
        <source>Quantity</source>
        <translation>数量</translation>
    </message>
    <message>
        <source>Quantity of %1</source>
        <translation>%1 的数量</translation>
    </message>
    <message>
        <source>Gap (mm)</source>
        <translation>间距（mm）</translation>
    </message>
    <message>
        <source>Search (s)</source>
        <translation>搜索时间（秒）</translation>
    </message>
    <message>
        <source>Choose the part files first.</source>
        <translation>请先选择零件文件。</translation>
    </message>
    <message>
        <source>A nest takes at most %1 part files.</source>
        <translation>一次排料最多接受 %1 个零件文件。</translation>
    </message>
</context>
</TS>
