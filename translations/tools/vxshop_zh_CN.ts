<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>MachineStation</name>
    <message>
        <source>job %1 %2</source>
        <translation>任务 %1 %2</translation>
    </message>
    <message>
        <source>%1; still trying</source>
        <translation>%1；仍在尝试</translation>
    </message>
    <message>
        <source>connecting to %1</source>
        <translation>正在连接到 %1</translation>
    </message>
    <message>
        <source>cannot connect (%1); still trying</source>
        <translation>无法连接（%1）；仍在尝试</translation>
    </message>
    <message>
        <source>cannot connect (%1); trying again</source>
        <translation>无法连接（%1）；正在重试</translation>
    </message>
    <message>
        <source>%1, reconnecting to follow %2</source>
        <translation>%1，正在重新连接以跟随 %2</translation>
    </message>
    <message>
        <source>%1, reconnecting</source>
        <translation>%1，正在重新连接</translation>
    </message>
    <message>
        <source>connected to %1</source>
        <translation>已连接到 %1</translation>
    </message>
    <message>
        <source>connected</source>
        <translation>已连接</translation>
    </message>
    <message>
        <source>no job is cutting on %1</source>
        <translation>%1 上没有正在切割的任务</translation>
    </message>
    <message>
        <source>%1 paused</source>
        <translation>%1 已暂停</translation>
    </message>
    <message>
        <source>%1 continued</source>
        <translation>%1 已继续</translation>
    </message>
    <message>
        <source>queue held</source>
        <translation>队列已挂起</translation>
    </message>
    <message>
        <source>queue released</source>
        <translation>队列已恢复</translation>
    </message>
    <message>
        <source>no job %1 on %2</source>
        <translation>%2 上没有任务 %1</translation>
    </message>
    <message>
        <source>job %1 has ended</source>
        <translation>任务 %1 已结束</translation>
    </message>
    <message>
        <source>job %1 is being stopped</source>
        <translation>任务 %1 正在停止</translation>
    </message>
    <message>
        <source>stopping %1</source>
        <translation>正在停止 %1</translation>
    </message>
    <message>
        <source>cancelled while the machine was not reached; it may still be cutting</source>
        <translation>在未能联系到机器时取消；机器可能仍在切割</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no way to settle a job: continue, recut or skip</source>
        <translation>&apos;%1&apos; 不是处置任务的方式：应为 continue、recut 或 skip</translation>
    </message>
    <message>
        <source>job %1 is not held on %2</source>
        <translation>任务 %1 在 %2 上未被挂起</translation>
    </message>
    <message>
        <source>%1 is busy with %2</source>
        <translation>%1 正在处理 %2</translation>
    </message>
    <message>
        <source>%1 is not connected</source>
        <translation>%1 未连接</translation>
    </message>
    <message>
        <source>nothing is known of what the machine cut of job %1: cancel it, or queue it again</source>
        <translation>不知道机器切割了任务 %1 的哪些部分：请取消它，或重新加入队列</translation>
    </message>
    <message>
        <source>%1 settled by hand (%2)</source>
        <translation>%1 已手动处置（%2）</translation>
    </message>
    <message>
        <source>the job&apos;s design options cannot be read: %1</source>
        <translation>无法读取任务的图形选项：%1</translation>
    </message>
    <message>
        <source>reconnected; following %1</source>
        <translation>已重新连接；继续跟随 %1</translation>
    </message>
    <message>
        <source>%1 started</source>
        <translation>%1 已开始</translation>
    </message>
    <message>
        <source>the job journal was not written: %1</source>
        <translation>未能写入任务日志：%1</translation>
    </message>
    <message>
        <source>the queue was not written: %1</source>
        <translation>未能写入队列：%1</translation>
    </message>
    <message>
        <source>%1 done</source>
        <translation>%1 已完成</translation>
    </message>
    <message>
        <source>%1 done: %2</source>
        <translation>%1 已完成：%2</translation>
    </message>
    <message>
        <source>%1 cancelled</source>
        <translation>%1 已取消</translation>
    </message>
    <message>
        <source>%1 cancelled: %2</source>
        <translation>%1 已取消：%2</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 失败：%2</translation>
    </message>
    <message>
        <source>the machine cannot tell what became of the job</source>
        <translation>机器无法说明该任务的结果</translation>
    </message>
    <message>
        <source>asking the machine what became of %1</source>
        <translation>正在向机器查询 %1 的结果</translation>
    </message>
    <message>
        <source>the job ran on %1, this is %2</source>
        <translation>该任务是在 %1 上运行的，而这台是 %2</translation>
    </message>
    <message>
        <source>the machine cannot tell what became of the job (it is cutting %1)</source>
        <translation>机器无法说明该任务的结果（它正在切割 %1）</translation>
    </message>
    <message>
        <source>%1 is still cutting; following it</source>
        <translation>%1 仍在切割；继续跟随</translation>
    </message>
    <message>
        <source>the machine went on to another job (%1)</source>
        <translation>机器已转到另一个任务（%1）</translation>
    </message>
    <message>
        <source>the machine could not cut the plot</source>
        <translation>机器无法切割该图形</translation>
    </message>
    <message>
        <source>interrupted %1 times in a row: settle it by hand</source>
        <translation>已连续中断 %1 次：请手动处置</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>已中断</translation>
    </message>
    <message>
        <source>the last interrupted job in the journal is not this one</source>
        <translation>任务日志中最后一个中断的任务不是这一个</translation>
    </message>
    <message>
        <source>the machine reports %1 of %2 copies finished</source>
        <translation>机器报告 %2 份中已完成 %1 份</translation>
    </message>
    <message>
        <source>the link is down</source>
        <translation>连接已中断</translation>
    </message>
    <message>
        <source>%1: resuming, %2</source>
        <translation>%1：续切，%2</translation>
    </message>
    <message>
        <source>the machine had finished the job</source>
        <translation>机器已完成该任务</translation>
    </message>
    <message>
        <source>%1: %2; waiting for the machine</source>
        <translation>%1：%2；等待机器</translation>
    </message>
    <message>
        <source>job %1 %2 held: %3</source>
        <translation>任务 %1 %2 已挂起：%3</translation>
    </message>
    <message>
        <source>the machine did not tell its work area: the windows of the nest cannot be sized</source>
        <translation>机器没有报告其工作区域：无法确定排料窗口的大小</translation>
    </message>
    <message>
        <source>%1: nesting</source>
        <translation>%1：正在排料</translation>
    </message>
    <message numerus="yes">
        <source>%n piece(s) found no place on the strip</source>
        <translation>
            <numerusform>有 %n 个零件在卷材上找不到位置</numerusform>
        </translation>
    </message>
    <message>
        <source>the machine has no automatic feed (FEED_LENGTH)</source>
        <translation>机器没有自动送料功能（FEED_LENGTH）</translation>
    </message>
    <message>
        <source>%1: window %2 of %3</source>
        <translation>%1：第 %2 个窗口（共 %3 个）</translation>
    </message>
    <message>
        <source>the machine still feeds as the nest&apos;s last window did: put its feed settings back by hand</source>
        <translation>机器仍按排料最后一个窗口的方式送料：请手动恢复其送料设置</translation>
    </message>
    <message>
        <source>the job journal was not written: the rest of the nest cannot be resumed</source>
        <translation>未能写入任务日志：排料的剩余部分无法续切</translation>
    </message>
</context>
<context>
    <name>Shop</name>
    <message>
        <source>cannot make the data folder %1</source>
        <translation>无法创建数据文件夹 %1</translation>
    </message>
    <message>
        <source>cannot make the folder %1</source>
        <translation>无法创建文件夹 %1</translation>
    </message>
    <message>
        <source>the design options: %1</source>
        <translation>图形选项：%1</translation>
    </message>
    <message>
        <source>no machine named %1</source>
        <translation>没有名为 %1 的机器</translation>
    </message>
    <message>
        <source>the job queue is not open</source>
        <translation>任务队列未打开</translation>
    </message>
    <message>
        <source>no job %1</source>
        <translation>没有任务 %1</translation>
    </message>
    <message>
        <source>no preview of job %1: %2</source>
        <translation>无法预览任务 %1：%2</translation>
    </message>
    <message>
        <source>copies must be from 1 to %1</source>
        <translation>份数必须在 1 到 %1 之间</translation>
    </message>
    <message>
        <source>the design is not in the files folder of %1</source>
        <translation>该图形不在 %1 的 files 文件夹中</translation>
    </message>
    <message>
        <source>no free file name in %1</source>
        <translation>%1 中没有可用的文件名</translation>
    </message>
    <message>
        <source>job %1 is not waiting in the queue</source>
        <translation>任务 %1 不在队列中等待</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no way to settle a job: continue, recut or skip</source>
        <translation>&apos;%1&apos; 不是处置任务的方式：应为 continue、recut 或 skip</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no action: pause, continue, stop, hold or release</source>
        <translation>&apos;%1&apos; 不是可用的操作：应为 pause、continue、stop、hold 或 release</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no job outcome</source>
        <translation>&apos;%1&apos; 不是任务结果</translation>
    </message>
    <message>
        <source>job %1 is a nest: it is laid out when it is cut</source>
        <translation>任务 %1 是排料任务：切割时才排放零件</translation>
    </message>
    <message>
        <source>a nest takes 1 to %1 part files</source>
        <translation>一次排料需要 1 到 %1 个零件文件</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no nest option: gap, turns, time_s or strip_width</source>
        <translation>“%1”不是排料选项：可用 gap、turns、time_s 或 strip_width</translation>
    </message>
    <message>
        <source>a part of the nest is not in the files folder of %1</source>
        <translation>排料中有零件不在 %1 的 files 文件夹中</translation>
    </message>
</context>
<context>
    <name>ShopConfig</name>
    <message>
        <source>&apos;%1&apos; is not an address: write IPv6 as [ADDRESS]:PORT</source>
        <translation>&apos;%1&apos; 不是地址：IPv6 请写成 [ADDRESS]:PORT</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not an IPv6 address</source>
        <translation>&apos;%1&apos; 不是 IPv6 地址</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not an address</source>
        <translation>&apos;%1&apos; 不是地址</translation>
    </message>
    <message>
        <source>&apos;%1&apos; names no host</source>
        <translation>&apos;%1&apos; 中没有主机</translation>
    </message>
    <message>
        <source>&apos;%1&apos; has no port from 1 to 65535</source>
        <translation>&apos;%1&apos; 中没有 1 到 65535 之间的端口</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a string</source>
        <translation>&quot;%1&quot; 必须是字符串</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a whole number from %2 to %3</source>
        <translation>&quot;%1&quot; 必须是 %2 到 %3 之间的整数</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be an object</source>
        <translation>&quot;%1&quot; 必须是对象</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a list</source>
        <translation>&quot;%1&quot; 必须是列表</translation>
    </message>
    <message>
        <source>unknown member &quot;%1&quot;</source>
        <translation>未知成员 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is missing</source>
        <translation>缺少 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not NAME@HOST:PORT or NAME@/dev/PATH</source>
        <translation>&apos;%1&apos; 不是 NAME@HOST:PORT 或 NAME@/dev/PATH 格式</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a usable machine name: letters, digits, &apos;-&apos; and &apos;_&apos;, at most %2</source>
        <translation>&apos;%1&apos; 不是可用的机器名：只能用字母、数字、&apos;-&apos; 和 &apos;_&apos;，最多 %2 个</translation>
    </message>
    <message>
        <source>&apos;%1&apos; names no machine after &apos;@&apos;</source>
        <translation>&apos;%1&apos; 在 &apos;@&apos; 后没有指定机器</translation>
    </message>
    <message>
        <source>%1: too large for a config file</source>
        <translation>%1：作为配置文件太大</translation>
    </message>
    <message>
        <source>%1: not JSON: %2 (at byte %3)</source>
        <translation>%1：不是 JSON：%2（第 %3 字节）</translation>
    </message>
    <message>
        <source>%1: not a JSON object</source>
        <translation>%1：不是 JSON 对象</translation>
    </message>
    <message>
        <source>machine %1 has no address</source>
        <translation>机器 %1 没有地址</translation>
    </message>
    <message>
        <source>the machine name %1 is given twice</source>
        <translation>机器名 %1 出现了两次</translation>
    </message>
    <message>
        <source>the listen address &apos;%1&apos; is not ADDRESS:PORT</source>
        <translation>监听地址 &apos;%1&apos; 不是 ADDRESS:PORT 格式</translation>
    </message>
    <message>
        <source>no machine to serve: name one with --machine NAME@HOST:PORT or in the config file</source>
        <translation>没有要服务的机器：请用 --machine NAME@HOST:PORT 或在配置文件中指定</translation>
    </message>
    <message>
        <source>listening on %1 lets other computers in: a token file is needed (--token-file or &quot;token_file&quot;)</source>
        <translation>在 %1 上监听会让其他计算机访问：需要令牌文件（--token-file 或 &quot;token_file&quot;）</translation>
    </message>
</context>
<context>
    <name>ShopNest</name>
    <message>
        <source>a nest takes 1 to %1 part files</source>
        <translation>一次排料需要 1 到 %1 个零件文件</translation>
    </message>
    <message>
        <source>the design options: %1</source>
        <translation>图形选项：%1</translation>
    </message>
    <message>
        <source>width, height, rotate, mirror and weed-border do not go with a nest: it places and turns each part itself</source>
        <translation>width、height、rotate、mirror 和 weed-border 不能用于排料：排料会自行放置和旋转每个零件</translation>
    </message>
    <message>
        <source>a part of the nest has no file</source>
        <translation>排料中有零件没有文件</translation>
    </message>
    <message>
        <source>%1: the quantity is no whole number from 1 to %2</source>
        <translation>%1：数量不是 1 到 %2 之间的整数</translation>
    </message>
    <message>
        <source>gap wants millimetres from 0 to 1000</source>
        <translation>gap 需要 0 到 1000 之间的毫米数</translation>
    </message>
    <message>
        <source>time_s wants seconds from 0 to %1</source>
        <translation>time_s 需要 0 到 %1 之间的秒数</translation>
    </message>
    <message>
        <source>strip_width wants millimetres from 1 to 100000</source>
        <translation>strip_width 需要 1 到 100000 之间的毫米数</translation>
    </message>
    <message>
        <source>the strip (%1 mm) is wider than the work area (%2) less its margin</source>
        <translation>卷材（%1 mm）比工作区域（%2）减去边距后的宽度还宽</translation>
    </message>
    <message>
        <source>a piece is larger than the work area (%1): %2</source>
        <translation>有零件大于工作区域（%1）：%2</translation>
    </message>
</context>
<context>
    <name>ShopQueue</name>
    <message>
        <source>the job queue could not be written: %1</source>
        <translation>无法写入任务队列：%1</translation>
    </message>
    <message>
        <source>the job queue is not open</source>
        <translation>任务队列未打开</translation>
    </message>
    <message>
        <source>the job queue %1 could not be read: %2</source>
        <translation>无法读取任务队列 %1：%2</translation>
    </message>
    <message>
        <source>%1 is not a job queue (not an SQLite database); it was left as it is</source>
        <translation>%1 不是任务队列（不是 SQLite 数据库）；已保持原样</translation>
    </message>
    <message>
        <source>the job queue %1 could not be created: no folder for it</source>
        <translation>无法创建任务队列 %1：没有存放它的文件夹</translation>
    </message>
    <message>
        <source>the job queue %1 could not be opened: %2</source>
        <translation>无法打开任务队列 %1：%2</translation>
    </message>
    <message>
        <source>%1 is not a job queue (it holds another program&apos;s data); it was left as it is</source>
        <translation>%1 不是任务队列（其中是其他程序的数据）；已保持原样</translation>
    </message>
    <message>
        <source>%1 was written by a newer version of this program (queue format %2, this one reads %3); it was left as it is</source>
        <translation>%1 由本程序的较新版本写入（队列格式 %2，本版本读取 %3）；已保持原样</translation>
    </message>
    <message>
        <source>there is no job %1</source>
        <translation>没有任务 %1</translation>
    </message>
    <message>
        <source>job %1 is not waiting in the queue</source>
        <translation>任务 %1 不在队列中等待</translation>
    </message>
    <message>
        <source>job %1 belongs to machine %2</source>
        <translation>任务 %1 属于机器 %2</translation>
    </message>
    <message>
        <source>job %1 has ended; it cannot change</source>
        <translation>任务 %1 已结束，不能再更改</translation>
    </message>
    <message>
        <source>the job queue could not be read: %1</source>
        <translation>无法读取任务队列：%1</translation>
    </message>
</context>
<context>
    <name>WatchFolder</name>
    <message>
        <source>cannot make the watch folder %1</source>
        <translation>无法创建监视文件夹 %1</translation>
    </message>
    <message>
        <source>cannot watch the folder %1</source>
        <translation>无法监视文件夹 %1</translation>
    </message>
    <message>
        <source>the file is %1 MB, more than the %2 MB a job may have</source>
        <translation>文件为 %1 MB，超过了任务允许的 %2 MB</translation>
    </message>
    <message>
        <source>cannot copy %1 to %2</source>
        <translation>无法将 %1 复制到 %2</translation>
    </message>
    <message>
        <source>file: %1
not queued: %2
</source>
        <translation>文件：%1
未加入队列：%2
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
        <translation>文件：%1
任务：%2
结果：%3
份数：%5 份中已完成 %4 份
添加：%6
开始：%7
结束：%8
</translation>
    </message>
    <message>
        <source>message: %1
</source>
        <translation>消息：%1
</translation>
    </message>
</context>
</TS>
