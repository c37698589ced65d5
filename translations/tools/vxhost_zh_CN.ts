<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Counted</name>
    <message>
        <source>1 copy</source>
        <translation>1 份</translation>
    </message>
    <message>
        <source>%1 copies</source>
        <translation>%1 份</translation>
    </message>
    <message>
        <source>1 sheet</source>
        <translation>1 张</translation>
    </message>
    <message>
        <source>%1 sheets</source>
        <translation>%1 张</translation>
    </message>
</context>
<context>
    <name>DesignCache</name>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 不是普通文件</translation>
    </message>
    <message>
        <source>%1 has gone</source>
        <translation>%1 已不存在</translation>
    </message>
</context>
<context>
    <name>DesignSource</name>
    <message>
        <source>empty code</source>
        <translation>代码为空</translation>
    </message>
    <message>
        <source>a code may not start with &apos;.&apos;</source>
        <translation>代码不能以“.”开头</translation>
    </message>
    <message>
        <source>a code may not hold &apos;%1&apos;</source>
        <translation>代码中不能含有“%1”</translation>
    </message>
    <message>
        <source>a code may not hold control characters</source>
        <translation>代码中不能含有控制字符</translation>
    </message>
    <message>
        <source>a code is at most 200 characters</source>
        <translation>代码最多 200 个字符</translation>
    </message>
    <message>
        <source>%1: no such folder or map file</source>
        <translation>%1：没有这个文件夹或映射文件</translation>
    </message>
    <message>
        <source>%1 is neither a folder nor a regular file</source>
        <translation>%1 既不是文件夹也不是普通文件</translation>
    </message>
    <message>
        <source>%1 is larger than %2 MiB; no map</source>
        <translation>%1 大于 %2 MiB，不作为映射文件</translation>
    </message>
    <message>
        <source>%1: more than %2 lines; no map</source>
        <translation>%1：超过 %2 行，不作为映射文件</translation>
    </message>
    <message>
        <source>expected CODE = path, got &quot;%1&quot;</source>
        <translation>应为 CODE = 路径，实际为“%1”</translation>
    </message>
    <message>
        <source>no code before &apos;=&apos;</source>
        <translation>“=”前没有代码</translation>
    </message>
    <message>
        <source>no path after &apos;=&apos;</source>
        <translation>“=”后没有路径</translation>
    </message>
    <message>
        <source>code &quot;%1&quot;: %2</source>
        <translation>代码“%1”：%2</translation>
    </message>
    <message>
        <source>code %1 again (first on line %2)</source>
        <translation>代码 %1 重复（首次出现在第 %2 行）</translation>
    </message>
    <message>
        <source>code %1: no file %2</source>
        <translation>代码 %1：文件 %2 不存在</translation>
    </message>
    <message>
        <source>code %1: %2 is not a regular file</source>
        <translation>代码 %1：%2 不是普通文件</translation>
    </message>
    <message>
        <source>%1 maps no code</source>
        <translation>%1 中没有任何代码映射</translation>
    </message>
    <message>
        <source>folder %1</source>
        <translation>文件夹 %1</translation>
    </message>
    <message numerus="yes">
        <source>map %1 (%n codes)</source>
        <translation>
            <numerusform>映射文件 %1（%n 个代码）</numerusform>
        </translation>
    </message>
    <message>
        <source>code &quot;%1&quot; names no design: %2</source>
        <translation>代码“%1”不对应任何图形：%2</translation>
    </message>
    <message>
        <source>no design for code %1 in the map</source>
        <translation>映射文件中没有代码 %1 的图形</translation>
    </message>
    <message numerus="yes">
        <source>code %1 has %n designs (%2); remove all but one</source>
        <translation>
            <numerusform>代码 %1 有 %n 个图形（%2）；请只保留一个</numerusform>
        </translation>
    </message>
    <message>
        <source>no design for code %1 (%1.svg, .plt or .dxf) in %2</source>
        <translation>%2 中没有代码 %1 的图形（%1.svg、.plt 或 .dxf）</translation>
    </message>
</context>
<context>
    <name>DeviceSession</name>
    <message>
        <source>no connection to %1 within %2 s</source>
        <translation>%2 秒内未能连接到 %1</translation>
    </message>
    <message>
        <source>the plugin created no device object</source>
        <translation>插件没有创建设备对象</translation>
    </message>
    <message>
        <source>the device object did not start a connection</source>
        <translation>设备对象没有开始连接</translation>
    </message>
    <message>
        <source>bad port in &apos;%1&apos;</source>
        <translation>“%1”中的端口无效</translation>
    </message>
    <message>
        <source>no host given</source>
        <translation>未指定主机</translation>
    </message>
    <message>
        <source>no serial device given</source>
        <translation>未指定串口设备</translation>
    </message>
    <message>
        <source>cannot open %1</source>
        <translation>无法打开 %1</translation>
    </message>
    <message>
        <source>cannot connect to %1 (refused)</source>
        <translation>无法连接到 %1（被拒绝）</translation>
    </message>
    <message>
        <source>link lost (%1)</source>
        <translation>连接中断（%1）</translation>
    </message>
    <message>
        <source>the machine stopped answering (nothing for %1 s)</source>
        <translation>机器停止应答（%1 秒无响应）</translation>
    </message>
    <message>
        <source>the machine does not answer the heartbeat</source>
        <translation>机器不应答心跳</translation>
    </message>
    <message>
        <source>no earlier connection to repeat</source>
        <translation>之前没有可重复的连接</translation>
    </message>
</context>
<context>
    <name>DeviceWrite</name>
    <message>
        <source>the machine refused %1 = %2 (status %3)</source>
        <translation>机器拒绝了 %1 = %2（状态 %3）</translation>
    </message>
    <message>
        <source>%1: wrote %2 but the machine reports %3</source>
        <translation>%1：已写入 %2，但机器报告为 %3</translation>
    </message>
    <message>
        <source>%1: the machine did not confirm the write</source>
        <translation>%1：机器没有确认写入</translation>
    </message>
</context>
<context>
    <name>JobJournal</name>
    <message>
        <source>cannot create %1</source>
        <translation>无法创建 %1</translation>
    </message>
    <message>
        <source>short write</source>
        <translation>写入不完整</translation>
    </message>
</context>
<context>
    <name>JobRecord</name>
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
</context>
<context>
    <name>JobRunner</name>
    <message>
        <source>the machine did not report its job after the reconnect</source>
        <translation>重新连接后机器没有报告其任务</translation>
    </message>
    <message>
        <source>the machine reports another job (%1)</source>
        <translation>机器报告的是另一个任务（%1）</translation>
    </message>
    <message>
        <source>the machine reports no job</source>
        <translation>机器报告没有任务</translation>
    </message>
    <message>
        <source>the machine gave the job up</source>
        <translation>机器放弃了该任务</translation>
    </message>
    <message>
        <source>the machine could not cut the plot (job status %1)</source>
        <translation>机器无法切割该图形（任务状态 %1）</translation>
    </message>
    <message>
        <source>interrupted while reconnecting; the machine was not reached and may still be cutting (%1)</source>
        <translation>在重新连接时中断；未能联系到机器，它可能仍在切割（%1）</translation>
    </message>
    <message>
        <source>the machine reported no progress for %1 s</source>
        <translation>机器 %1 秒内没有报告任何进度</translation>
    </message>
    <message>
        <source>link lost</source>
        <translation>连接中断</translation>
    </message>
    <message>
        <source>%1 after the link dropped; cut: %2</source>
        <translation>连接中断后%1；已切割：%2</translation>
    </message>
    <message>
        <source>%1; when the link dropped: %2; the machine may have gone on cutting</source>
        <translation>%1；连接中断时：%2；机器可能仍在继续切割</translation>
    </message>
    <message>
        <source>%1 of %2 finished</source>
        <translation>%2中已完成 %1 份</translation>
    </message>
    <message>
        <source>%1 of %2 finished, copy %3 at %4%</source>
        <translation>%2中已完成 %1 份，第 %3 份进行到 %4%</translation>
    </message>
    <message>
        <source>%1 of %2 finished, the job at %3%</source>
        <translation>%2中已完成 %1 份，任务进行到 %3%</translation>
    </message>
    <message>
        <source>the job was stopped on the machine after %1 of %2</source>
        <translation>任务在机器上被停止，%2中已完成 %1 份</translation>
    </message>
    <message>
        <source>interrupted; job stopped on the machine with %1 of %2 finished, at %3%</source>
        <translation>已中断；任务已在机器上停止，%2中已完成 %1 份，进度 %3%</translation>
    </message>
    <message>
        <source>%1 during the job; cut so far: %2 of %3 finished, the machine last reported %4%</source>
        <translation>任务进行中%1；目前已切割：%3中已完成 %2 份，机器最后报告的进度为 %4%</translation>
    </message>
</context>
<context>
    <name>NestCut</name>
    <message>
        <source>the machine cuts a nest on a strip, not on sheets: give --strip-width</source>
        <translation>机器只在卷材上切割排料，不在板材上切割：请给出 --strip-width</translation>
    </message>
    <message>
        <source>--weed-border does not go with a nest cut in windows</source>
        <translation>--weed-border 不能用于分窗口切割的排料</translation>
    </message>
    <message>
        <source>the machine did not tell its work area: the windows of the nest cannot be sized</source>
        <translation>机器没有报告其工作区域：无法确定排料窗口的大小</translation>
    </message>
    <message>
        <source>the nest holds no piece</source>
        <translation>排料中没有任何零件</translation>
    </message>
    <message>
        <source>the work area (%1) leaves no room for a window</source>
        <translation>工作区域（%1）容不下任何窗口</translation>
    </message>
    <message>
        <source>window %1: %2</source>
        <translation>窗口 %1：%2</translation>
    </message>
    <message>
        <source>window %1 needs a feed of %2 mm; the feed length goes to %3 mm</source>
        <translation>窗口 %1 需要送料 %2 mm；送料长度最大为 %3 mm</translation>
    </message>
    <message>
        <source>cannot save the nest to %1: %2</source>
        <translation>无法将排料保存到 %1：%2</translation>
    </message>
    <message>
        <source>cannot read the saved nest %1: %2</source>
        <translation>无法读取保存的排料 %1：%2</translation>
    </message>
    <message>
        <source>the saved nest %1 does not hold the nest it names (SHA-256 differs)</source>
        <translation>保存的排料 %1 与其名称所指的排料不符（SHA-256 不同）</translation>
    </message>
</context>
<context>
    <name>NestRun</name>
    <message>
        <source>the machine did not report %1: the automatic feed cannot be set</source>
        <translation>机器没有报告 %1：无法设置自动送料</translation>
    </message>
    <message>
        <source>the feed settings were not put back (%1): %2</source>
        <translation>送料设置未能恢复（%1）：%2</translation>
    </message>
    <message>
        <source>the machine has no %1 setting</source>
        <translation>机器没有 %1 设置</translation>
    </message>
    <message>
        <source>interrupted before window %1 of %2</source>
        <translation>在第 %1 个窗口（共 %2 个）之前被中断</translation>
    </message>
    <message>
        <source>the link is down; window %1 of %2 was not cut</source>
        <translation>连接已中断；第 %1 个窗口（共 %2 个）未切割</translation>
    </message>
    <message>
        <source>interrupted after window %1 of %2</source>
        <translation>切完第 %1 个窗口（共 %2 个）后被中断</translation>
    </message>
    <message>
        <source>the link is down: the feed settings were not put back (%1); a resume puts them back</source>
        <translation>连接已中断：送料设置未能恢复（%1）；续切时会恢复</translation>
    </message>
</context>
<context>
    <name>PlotRemainder</name>
    <message>
        <source>no part of the copy is left to cut at %1%</source>
        <translation>进度 %1% 时该份已没有剩余部分可切割</translation>
    </message>
    <message>
        <source>nothing of the copy is left to cut at %1%</source>
        <translation>进度 %1% 时该份已无可切割的内容</translation>
    </message>
</context>
<context>
    <name>PluginHost</name>
    <message>
        <source>cannot load plugin %1: %2</source>
        <translation>无法载入插件 %1：%2</translation>
    </message>
    <message>
        <source>%1 is not a device plugin (no %2 interface)</source>
        <translation>%1 不是设备插件（没有 %2 接口）</translation>
    </message>
    <message>
        <source>plugin file %1 does not exist</source>
        <translation>插件文件 %1 不存在</translation>
    </message>
    <message>
        <source>no device plugin found (looked in %1; use --plugin PATH)</source>
        <translation>找不到设备插件（已查找 %1；请使用 --plugin PATH）</translation>
    </message>
</context>
<context>
    <name>Profile</name>
    <message>
        <source>; cannot be read back, so apply always writes it</source>
        <translation>；无法读回，因此每次应用都会写入</translation>
    </message>
    <message>
        <source>; not applied: %1</source>
        <translation>；未应用：%1</translation>
    </message>
    <message>
        <source>argument %1</source>
        <translation>第 %1 个参数</translation>
    </message>
    <message>
        <source>line %1</source>
        <translation>第 %1 行</translation>
    </message>
    <message>
        <source>%1: expected KEY = value, got &apos;%2&apos;</source>
        <translation>%1：应为 KEY = 值，实际为“%2”</translation>
    </message>
    <message>
        <source>%1: unknown key %2</source>
        <translation>%1：未知的键 %2</translation>
    </message>
    <message>
        <source>%1: %2 cannot be written</source>
        <translation>%1：%2 不可写入</translation>
    </message>
    <message>
        <source>%1: %2 is set twice</source>
        <translation>%1：%2 被设置了两次</translation>
    </message>
</context>
<context>
    <name>Reconnector</name>
    <message>
        <source>still connecting</source>
        <translation>仍在连接中</translation>
    </message>
    <message numerus="yes">
        <source>the link stayed down for %1 s (%n attempts to reconnect to %2; last: %3)</source>
        <translation>
            <numerusform>连接中断持续了 %1 秒（尝试重新连接 %2 共 %n 次；最后一次：%3）</numerusform>
        </translation>
    </message>
    <message>
        <source>the machine&apos;s identity was not read at the start: a reconnect could not tell it from another machine</source>
        <translation>开始时未读取到机器的身份：重新连接时无法将其与其他机器区分</translation>
    </message>
    <message>
        <source>the machine did not say who it is</source>
        <translation>机器没有报告自己的身份</translation>
    </message>
    <message>
        <source>another machine answers at %1: %2, not %3 the job ran on; nothing was sent to it</source>
        <translation>%1 上应答的是另一台机器：%2，而不是执行该任务的 %3；没有向它发送任何内容</translation>
    </message>
</context>
<context>
    <name>RecordValue</name>
    <message numerus="yes">
        <source>&lt;%n bytes&gt;</source>
        <translation>
            <numerusform>&lt;%n 字节&gt;</numerusform>
        </translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not one of %2</source>
        <translation>“%1”不在 %2 之中</translation>
    </message>
    <message>
        <source>this record holds no value that can be typed</source>
        <translation>此项没有可输入的值</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a number</source>
        <translation>“%1”不是数字</translation>
    </message>
    <message>
        <source>%1 is outside %2..%3</source>
        <translation>%1 超出 %2..%3 的范围</translation>
    </message>
    <message>
        <source>%1 does not fit the machine&apos;s word</source>
        <translation>%1 超出了机器字长的范围</translation>
    </message>
    <message>
        <source>%1 is out of range (the machine stores 0..%2)</source>
        <translation>%1 超出范围（机器可存储 0..%2）</translation>
    </message>
</context>
<context>
    <name>RecordedOptions</name>
    <message>
        <source>option --%1 is not known here</source>
        <translation>此处不认识选项 --%1</translation>
    </message>
</context>
<context>
    <name>ResumeJob</name>
    <message>
        <source>no interrupted job to resume in %1</source>
        <translation>%1 中没有可续切的中断任务</translation>
    </message>
    <message>
        <source>the interrupted job&apos;s file: %1</source>
        <translation>中断任务的文件：%1</translation>
    </message>
    <message>
        <source>%1 changed since the job was cut (SHA-256 differs); nothing was cut</source>
        <translation>%1 在任务切割后已被修改（SHA-256 不同）；没有进行切割</translation>
    </message>
    <message>
        <source>nothing is left to cut of %1 (%2)</source>
        <translation>%1 已没有剩余可切割的部分（%2）</translation>
    </message>
    <message>
        <source>%1 (--recut-interrupted or --skip-interrupted)</source>
        <translation>%1（--recut-interrupted 或 --skip-interrupted）</translation>
    </message>
    <message>
        <source>the rest of copy %1 (from %2%)</source>
        <translation>第 %1 份的剩余部分（从 %2% 开始）</translation>
    </message>
    <message>
        <source>1 whole copy</source>
        <translation>1 份完整的图形</translation>
    </message>
    <message numerus="yes">
        <source>%n whole copies</source>
        <translation>
            <numerusform>%n 份完整的图形</numerusform>
        </translation>
    </message>
    <message>
        <source>the job was cut on %1, this machine is %2: the rest of a copy is cut only where it started; nothing was cut</source>
        <translation>该任务是在 %1 上切割的，而这台机器是 %2：一份的剩余部分只能在开始切割的机器上完成；没有进行切割</translation>
    </message>
    <message>
        <source>the job was cut on %1; cutting the rest on %2</source>
        <translation>该任务是在 %1 上切割的；将在 %2 上切割剩余部分</translation>
    </message>
    <message>
        <source>the rest of copy %1: %2</source>
        <translation>第 %1 份的剩余部分：%2</translation>
    </message>
    <message>
        <source>the rest of copy %1 (from %2%) and 1 whole copy</source>
        <translation>第 %1 份的剩余部分（从 %2% 开始），以及 1 份完整的图形</translation>
    </message>
    <message numerus="yes">
        <source>the rest of copy %1 (from %2%) and %n whole copies</source>
        <translation>
            <numerusform>第 %1 份的剩余部分（从 %2% 开始），以及 %n 份完整的图形</numerusform>
        </translation>
    </message>
    <message>
        <source>the interrupted job&apos;s options cannot be read: %1; nothing was cut</source>
        <translation>无法读取中断任务的选项：%1；没有进行切割</translation>
    </message>
    <message>
        <source>--%1 was %2 when the job was cut, not %3</source>
        <translation>任务切割时 --%1 为 %2，而不是 %3</translation>
    </message>
    <message>
        <source>%1: a resume cuts the drawing that was cut; nothing was cut</source>
        <translation>%1：续切只切割当时切割的图形；没有进行切割</translation>
    </message>
    <message>
        <source>%1 plans differently from the plot that was cut (plot SHA-256 differs); nothing was cut</source>
        <translation>%1 的规划结果与当时切割的图形不同（图形 SHA-256 不同）；没有进行切割</translation>
    </message>
    <message>
        <source>%1 of %2 finished</source>
        <translation>%2中已完成 %1 份</translation>
    </message>
    <message>
        <source>%1 of %2 finished, copy %3 at %4%</source>
        <translation>%2中已完成 %1 份，第 %3 份进行到 %4%</translation>
    </message>
    <message>
        <source>%1 of %2 finished, how far copy %3 got is not known</source>
        <translation>%2中已完成 %1 份，第 %3 份的进度未知</translation>
    </message>
    <message>
        <source>the machine is cutting a job now (%1, %2 of %3 finished): resume once it has ended; nothing was cut</source>
        <translation>机器正在切割一个任务（%1，%3中已完成 %2 份）：请在其结束后再续切；没有进行切割</translation>
    </message>
</context>
<context>
    <name>ResumePlan</name>
    <message>
        <source>the job record is not consistent (%1 asked, %2 finished, %3 %)</source>
        <translation>任务记录前后不一致（要求 %1 份，完成 %2 份，%3 %）</translation>
    </message>
    <message>
        <source>how far the interrupted copy got is not known: re-cut it whole or leave it out</source>
        <translation>中断的那一份进行到哪里未知：请整份重新切割，或将其略过</translation>
    </message>
</context>
<context>
    <name>ResumeRun</name>
    <message>
        <source>a resume is under way</source>
        <translation>续切正在进行</translation>
    </message>
    <message>
        <source>interrupted before anything was cut</source>
        <translation>在切割任何内容之前被中断</translation>
    </message>
    <message>
        <source>the link dropped before anything was cut</source>
        <translation>在切割任何内容之前连接已中断</translation>
    </message>
    <message>
        <source>the link is down; the resume stopped before %1</source>
        <translation>连接已中断；续切在切割%1之前停止</translation>
    </message>
    <message>
        <source>the whole copies</source>
        <translation>各份完整的图形</translation>
    </message>
    <message>
        <source>interrupted after the rest of copy %1</source>
        <translation>切完第 %1 份的剩余部分后被中断</translation>
    </message>
    <message>
        <source>%1; nothing was cut</source>
        <translation>%1；没有进行切割</translation>
    </message>
    <message>
        <source>the saved nest %1 is not the nest that was cut (SHA-256 differs); nothing was cut</source>
        <translation>保存的排料 %1 不是当时切割的排料（SHA-256 不同）；没有进行切割</translation>
    </message>
    <message>
        <source>the nest was cut on %1, this is %2: its material is not here; nothing was cut</source>
        <translation>该排料是在 %1 上切割的，而这台机器是 %2：其材料不在这里；没有进行切割</translation>
    </message>
    <message>
        <source>nothing is left to cut of %1</source>
        <translation>%1 已没有剩余可切割的部分</translation>
    </message>
    <message>
        <source>the link is down; the resume stopped before window %1</source>
        <translation>连接已中断；续切在第 %1 个窗口之前停止</translation>
    </message>
</context>
<context>
    <name>SettingsRun</name>
    <message>
        <source>interrupted</source>
        <translation>已中断</translation>
    </message>
    <message>
        <source>the device object has no record %1</source>
        <translation>设备对象没有记录 %1</translation>
    </message>
    <message>
        <source>link lost</source>
        <translation>连接中断</translation>
    </message>
    <message numerus="yes">
        <source>the link stayed down for %1 s (%n attempts to reconnect to %2; last: %3)</source>
        <translation>
            <numerusform>连接中断持续了 %1 秒（尝试重新连接 %2 共 %n 次；最后一次：%3）</numerusform>
        </translation>
    </message>
    <message>
        <source>no setting</source>
        <translation>无设置</translation>
    </message>
    <message>
        <source>; applied: %1; not applied: %2</source>
        <translation>；已应用：%1；未应用：%2</translation>
    </message>
</context>
<context>
    <name>SheetRun</name>
    <message>
        <source>the device object was released</source>
        <translation>设备对象已被释放</translation>
    </message>
    <message>
        <source>the job was stopped</source>
        <translation>任务已被停止</translation>
    </message>
    <message>
        <source>interrupted before the QR-code job started</source>
        <translation>在二维码任务开始前已中断</translation>
    </message>
    <message>
        <source>interrupted while reconnecting; the machine was not reached and its QR-code job may go on</source>
        <translation>在重新连接时中断；未能联系到机器，其二维码任务可能仍在继续</translation>
    </message>
    <message>
        <source>link lost</source>
        <translation>连接中断</translation>
    </message>
    <message>
        <source>the machine read the next code before reporting this sheet</source>
        <translation>机器在报告这张材料之前就读取了下一个代码</translation>
    </message>
    <message>
        <source>the run is ending</source>
        <translation>生产即将结束</translation>
    </message>
    <message>
        <source>the camera could not read the code</source>
        <translation>相机无法读取代码</translation>
    </message>
    <message>
        <source>unknown code: %1</source>
        <translation>未知代码：%1</translation>
    </message>
    <message>
        <source>the machine skipped the sheet (the plot came too late or it could not read it)</source>
        <translation>机器跳过了这张材料（图形送达太晚，或机器无法读取）</translation>
    </message>
    <message>
        <source>the job ended before the sheet was cut</source>
        <translation>这张材料切割前任务已结束</translation>
    </message>
    <message>
        <source>the machine refused the job</source>
        <translation>机器拒绝了该任务</translation>
    </message>
    <message>
        <source>finished</source>
        <translation>已完成</translation>
    </message>
    <message>
        <source>skipped</source>
        <translation>已跳过</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>pending</source>
        <translation>等待中</translation>
    </message>
    <message>
        <source>the job journal cannot be written: %1</source>
        <translation>无法写入任务日志：%1</translation>
    </message>
    <message>
        <source>interrupted; the QR-code job was stopped on the machine (%1)</source>
        <translation>已中断；二维码任务已在机器上停止（%1）</translation>
    </message>
    <message>
        <source>the QR-code job was stopped on the machine (%1)</source>
        <translation>二维码任务在机器上被停止（%1）</translation>
    </message>
    <message>
        <source>the machine refused the QR-code job (%1)</source>
        <translation>机器拒绝了二维码任务（%1）</translation>
    </message>
    <message>
        <source>%1 during the run (%2)</source>
        <translation>生产过程中%1（%2）</translation>
    </message>
    <message>
        <source>passed while the link was down</source>
        <translation>在连接中断期间通过</translation>
    </message>
    <message>
        <source>passed unseen</source>
        <translation>未被察觉即通过</translation>
    </message>
    <message>
        <source>%1 cut, %2 skipped, %3 failed</source>
        <translation>已切割 %1，跳过 %2 张，失败 %3 张</translation>
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
        <translation>“%1”不是有效的工作区域：请以毫米为单位给出 WIDTHxHEIGHT，每边大于 0 且不超过 %2，例如 450x600</translation>
    </message>
    <message>
        <source>%1 mm too wide</source>
        <translation>宽出 %1 mm</translation>
    </message>
    <message>
        <source>%1 mm too long</source>
        <translation>长出 %1 mm</translation>
    </message>
    <message>
        <source>%1 x %2 mm with its %3 mm margin</source>
        <translation>%1 x %2 mm（含 %3 mm 边距）</translation>
    </message>
    <message>
        <source>the design is %1, the work area %2: %3</source>
        <translation>图形为 %1，工作区域为 %2：%3</translation>
    </message>
    <message>
        <source> and </source>
        <translation>，</translation>
    </message>
    <message>
        <source>the machine did not tell its work area; the design is not checked against it</source>
        <translation>机器没有报告其工作区域；未检查图形是否超出</translation>
    </message>
</context>
</TS>
