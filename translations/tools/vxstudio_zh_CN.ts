<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ConnectionBar</name>
    <message>
        <source>USB</source>
        <translation>USB</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>网络</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>IP address</source>
        <translation>IP 地址</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>断开</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>未连接</translation>
    </message>
</context>
<context>
    <name>DesignView</name>
    <message>
        <source>No plot loaded</source>
        <translation>未载入图形</translation>
    </message>
    <message>
        <source>The design is larger than the work area.</source>
        <translation>图形超出了工作区域。</translation>
    </message>
    <message>
        <source>Tool 1</source>
        <translation>刀具 1</translation>
    </message>
    <message>
        <source>Tool 2</source>
        <translation>刀具 2</translation>
    </message>
    <message>
        <source>Travel</source>
        <translation>空程</translation>
    </message>
    <message>
        <source>Tool 1&apos;s paths run from blue (cut first) to red (cut last). Wheel or +/- zooms, dragging pans, a double-click fits.</source>
        <translation>刀具 1 的路径从蓝色（最先切割）到红色（最后切割）。滚轮或 +/- 缩放，拖动平移，双击适应窗口。</translation>
    </message>
    <message>
        <source>Drawing…</source>
        <translation>正在绘制…</translation>
    </message>
    <message>
        <source>X %1 mm, Y %2 mm · zoom %3%</source>
        <translation>X %1 mm，Y %2 mm · 缩放 %3%</translation>
    </message>
</context>
<context>
    <name>JobPanel</name>
    <message>
        <source>No plot loaded</source>
        <translation>未载入图形</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>尺寸</translation>
    </message>
    <message>
        <source>Cut length</source>
        <translation>切割长度</translation>
    </message>
    <message>
        <source>Open plot…</source>
        <translation>打开图形…</translation>
    </message>
    <message>
        <source>Copies: </source>
        <translation>份数：</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>继续</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Resume interrupted…</source>
        <translation>续切中断任务…</translation>
    </message>
    <message>
        <source>Cut what is left of the last job whose link dropped</source>
        <translation>切割上次因连接中断而未完成任务的剩余部分</translation>
    </message>
    <message>
        <source>Cannot plan the plot: %1</source>
        <translation>无法规划图形：%1</translation>
    </message>
    <message>
        <source>Reconnecting (attempt %1)…</source>
        <translation>正在重新连接（第 %1 次尝试）…</translation>
    </message>
    <message>
        <source>Link lost during the job; reconnecting.</source>
        <translation>任务进行中连接中断，正在重新连接。</translation>
    </message>
    <message>
        <source>Reconnected to %1 after %2 s; reading the job state.</source>
        <translation>%2 秒后已重新连接到 %1，正在读取任务状态。</translation>
    </message>
    <message>
        <source>A job is under way.</source>
        <translation>有任务正在进行。</translation>
    </message>
    <message>
        <source>%1 × %2 mm</source>
        <translation>%1 × %2 mm</translation>
    </message>
    <message>
        <source>%1 mm</source>
        <translation>%1 mm</translation>
    </message>
    <message>
        <source>Plot %1 loaded: %2, cut length %3.</source>
        <translation>已载入图形 %1：%2，切割长度 %3。</translation>
    </message>
    <message>
        <source>Open plot</source>
        <translation>打开图形</translation>
    </message>
    <message>
        <source>Designs (*.plt *.hpgl *.hpg *.hgl *.svg *.svgz *.dxf);;HP-GL (*.plt *.hpgl *.hpg *.hgl);;SVG (*.svg *.svgz);;DXF (*.dxf);;All files (*)</source>
        <translation>图形文件 (*.plt *.hpgl *.hpg *.hgl *.svg *.svgz *.dxf);;HP-GL (*.plt *.hpgl *.hpg *.hgl);;SVG (*.svg *.svgz);;DXF (*.dxf);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Cannot open the plot: %1</source>
        <translation>无法打开图形：%1</translation>
    </message>
    <message>
        <source>Not connected: the job was not started.</source>
        <translation>未连接：任务未开始。</translation>
    </message>
    <message>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>Job started: %1, %2.</source>
        <translation>任务已开始：%1，%2。</translation>
    </message>
    <message>
        <source>Job paused.</source>
        <translation>任务已暂停。</translation>
    </message>
    <message>
        <source>Job resumed.</source>
        <translation>任务已继续。</translation>
    </message>
    <message>
        <source>Stopping the job…</source>
        <translation>正在停止任务…</translation>
    </message>
    <message>
        <source>Job stopped.</source>
        <translation>任务已停止。</translation>
    </message>
    <message>
        <source>Job journal not written: %1</source>
        <translation>未能写入任务日志：%1</translation>
    </message>
    <message>
        <source>Interrupted job of %1: %2 on %3.
%4.

To cut: %5.</source>
        <translation>%1 的中断任务：%2，于 %3。
%4。

待切割：%5。</translation>
    </message>
    <message>
        <source>Resume interrupted job</source>
        <translation>续切中断任务</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>切割</translation>
    </message>
    <message>
        <source>Re-cut the interrupted copy whole</source>
        <translation>整份重新切割中断的那一份</translation>
    </message>
    <message>
        <source>Not resumed: %1</source>
        <translation>未续切：%1</translation>
    </message>
    <message>
        <source>not connected, or a job is under way</source>
        <translation>未连接，或有任务正在进行</translation>
    </message>
    <message>
        <source>Resume: cutting %1 whole.</source>
        <translation>续切：切割完整的 %1。</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>%1: loading cancelled.</source>
        <translation>%1：已取消加载。</translation>
    </message>
    <message>
        <source>Loading %1…</source>
        <translation>正在加载 %1…</translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation>正在取消…</translation>
    </message>
    <message>
        <source>The machine reports %1 of %2 copies finished; the journal is corrected.</source>
        <translation>机器报告 %2 份中已完成 %1 份；任务日志已更正。</translation>
    </message>
    <message>
        <source>Resume: cutting the rest of copy %1 from stroke %2.</source>
        <translation>续切：正在从第 %2 笔开始切割第 %1 份的剩余部分。</translation>
    </message>
    <message>
        <source>Start waits: %1.</source>
        <translation>暂不能开始：%1。</translation>
    </message>
    <message>
        <source>Nothing was cut: the machine had finished the job.</source>
        <translation>没有进行切割：机器已完成该任务。</translation>
    </message>
    <message>
        <source>Resume finished: %1.</source>
        <translation>续切完成：%1。</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>剩余 %1</translation>
    </message>
    <message>
        <source>Job %1: %2 of %3 copies finished.</source>
        <translation>任务%1：%3 份中已完成 %2 份。</translation>
    </message>
    <message>
        <source>Job %1: %2</source>
        <translation>任务%1：%2</translation>
    </message>
</context>
<context>
    <name>JogPad</name>
    <message>
        <source>Y+</source>
        <translation>Y+</translation>
    </message>
    <message>
        <source>X−</source>
        <translation>X−</translation>
    </message>
    <message>
        <source>X+</source>
        <translation>X+</translation>
    </message>
    <message>
        <source>Y−</source>
        <translation>Y−</translation>
    </message>
    <message>
        <source>Stop moving</source>
        <translation>停止移动</translation>
    </message>
    <message>
        <source>Set origin</source>
        <translation>设置原点</translation>
    </message>
    <message>
        <source>Return to origin</source>
        <translation>回原点</translation>
    </message>
    <message>
        <source>Origin set at the current position.</source>
        <translation>已将当前位置设为原点。</translation>
    </message>
    <message>
        <source>Returning to the origin.</source>
        <translation>正在返回原点。</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Reconnecting (attempt %1)…</source>
        <translation>正在重新连接（第 %1 次尝试）…</translation>
    </message>
    <message>
        <source>The link did not come back</source>
        <translation>连接未能恢复</translation>
    </message>
    <message>
        <source>QR code: %1</source>
        <translation>二维码：%1</translation>
    </message>
    <message>
        <source>The plugin made no device object.</source>
        <translation>插件未创建设备对象。</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>未连接</translation>
    </message>
    <message>
        <source>Connecting to %1.</source>
        <translation>正在连接 %1。</translation>
    </message>
    <message>
        <source>Connecting to %1…</source>
        <translation>正在连接 %1…</translation>
    </message>
    <message>
        <source>Opening %1.</source>
        <translation>正在打开 %1。</translation>
    </message>
    <message>
        <source>Opening %1…</source>
        <translation>正在打开 %1…</translation>
    </message>
    <message>
        <source>Disconnected.</source>
        <translation>已断开连接。</translation>
    </message>
    <message>
        <source>Production</source>
        <translation>生产</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>View</source>
        <translation>视图</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>放大</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>缩小</translation>
    </message>
    <message>
        <source>Fit</source>
        <translation>适应窗口</translation>
    </message>
    <message>
        <source>Machine settings</source>
        <translation>机器设置</translation>
    </message>
    <message>
        <source>Machine information</source>
        <translation>机器信息</translation>
    </message>
    <message>
        <source>Jog</source>
        <translation>点动</translation>
    </message>
    <message>
        <source>Job</source>
        <translation>任务</translation>
    </message>
    <message>
        <source>Design options</source>
        <translation>图形选项</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>日志</translation>
    </message>
    <message>
        <source>Nest</source>
        <translation>排料</translation>
    </message>
</context>
<context>
    <name>NestPanel</name>
    <message>
        <source> mm</source>
        <translation> mm</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>运行</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>切割</translation>
    </message>
    <message>
        <source>No nest yet</source>
        <translation>尚无排料结果</translation>
    </message>
    <message>
        <source>Sheet </source>
        <translation>第 </translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Quantity</source>
        <translation>数量</translation>
    </message>
    <message>
        <source>Rotations</source>
        <translation>旋转角度</translation>
    </message>
    <message>
        <source>Allowed turns: 0,90,180,270 when empty; any:STEP for every STEP degrees</source>
        <translation>允许的旋转：留空时为 0,90,180,270；any:STEP 表示每 STEP 度一档</translation>
    </message>
    <message>
        <source>Add parts…</source>
        <translation>添加零件…</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>移除</translation>
    </message>
    <message>
        <source>Strip (the belt)</source>
        <translation>卷材（传送带）</translation>
    </message>
    <message>
        <source>Sheets</source>
        <translation>板材</translation>
    </message>
    <message>
        <source>work-area width</source>
        <translation>工作区域宽度</translation>
    </message>
    <message>
        <source> s</source>
        <translation> 秒</translation>
    </message>
    <message>
        <source>Parts may be mirrored</source>
        <translation>允许镜像零件</translation>
    </message>
    <message>
        <source>Material</source>
        <translation>材料</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>宽度</translation>
    </message>
    <message>
        <source>Sheet length</source>
        <translation>板材长度</translation>
    </message>
    <message>
        <source>Gap</source>
        <translation>间距</translation>
    </message>
    <message>
        <source>Search time</source>
        <translation>搜索时间</translation>
    </message>
    <message>
        <source>Part files</source>
        <translation>零件文件</translation>
    </message>
    <message>
        <source>Designs (*.plt *.hpgl *.svg *.svgz *.dxf);;All files (*)</source>
        <translation>图形文件 (*.plt *.hpgl *.svg *.svgz *.dxf);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Give the sheet&apos;s width and length.</source>
        <translation>请给出板材的宽度和长度。</translation>
    </message>
    <message>
        <source>Give the strip width: the machine&apos;s work area is not known.</source>
        <translation>请给出卷材宽度：机器的工作区域未知。</translation>
    </message>
    <message>
        <source>Reading the work area…</source>
        <translation>正在读取工作区域…</translation>
    </message>
    <message>
        <source>Reading the parts…</source>
        <translation>正在读取零件…</translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation>已停止。</translation>
    </message>
    <message>
        <source>Searching: %1 layouts, best %2 mm, %3% used</source>
        <translation>搜索中：%1 个方案，最佳 %2 mm，利用率 %3%</translation>
    </message>
    <message>
        <source>Stopped before the first layout.</source>
        <translation>在得出第一个排料方案之前已停止。</translation>
    </message>
    <message>
        <source>%1 sheet(s) of %2 x %3 mm</source>
        <translation>%1 张 %2 x %3 mm 的板材</translation>
    </message>
    <message>
        <source>%1 mm along a %2 mm wide strip</source>
        <translation>%2 mm 宽的卷材上长 %1 mm</translation>
    </message>
    <message>
        <source>%1 of %2 pieces placed on %3; utilisation %4%</source>
        <translation>%2 件中已排放 %1 件，%3；利用率 %4%</translation>
    </message>
    <message>
        <source>Stopped: the best layout found so far is kept.</source>
        <translation>已停止：保留目前找到的最佳排料方案。</translation>
    </message>
    <message>
        <source>%1 layouts in %2 s</source>
        <translation>%2 秒内尝试了 %1 个方案</translation>
    </message>
    <message>
        <source> of %1</source>
        <translation> 张，共 %1 张</translation>
    </message>
    <message>
        <source>Reading the work area and the feed…</source>
        <translation>正在读取工作区域和送料设置…</translation>
    </message>
    <message>
        <source>The machine has no automatic feed (FEED_LENGTH).</source>
        <translation>机器没有自动送料功能（FEED_LENGTH）。</translation>
    </message>
    <message>
        <source>Cutting window %1 of %2</source>
        <translation>正在切割第 %1 个窗口（共 %2 个）</translation>
    </message>
    <message>
        <source>The nest could not start: the machine is not connected.</source>
        <translation>无法开始排料切割：机器未连接。</translation>
    </message>
    <message>
        <source>Nest %1 started: %2 windows</source>
        <translation>排料 %1 已开始：共 %2 个窗口</translation>
    </message>
    <message>
        <source>Job journal not written: %1</source>
        <translation>未能写入任务日志：%1</translation>
    </message>
    <message>
        <source>Done: %1 windows of %2 cut</source>
        <translation>完成：已切割 %2 的 %1 个窗口</translation>
    </message>
</context>
<context>
    <name>PlotOptionsPanel</name>
    <message>
        <source>Scale (%)</source>
        <translation>缩放（%）</translation>
    </message>
    <message>
        <source>Width (mm)</source>
        <translation>宽度（mm）</translation>
    </message>
    <message>
        <source>Height (mm)</source>
        <translation>高度（mm）</translation>
    </message>
    <message>
        <source>Rotation (°)</source>
        <translation>旋转（°）</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>镜像</translation>
    </message>
    <message>
        <source>Margin (mm)</source>
        <translation>边距（mm）</translation>
    </message>
    <message>
        <source>Keep file order</source>
        <translation>保持文件顺序</translation>
    </message>
    <message>
        <source>Merge overlaps (mm)</source>
        <translation>合并重叠线（mm）</translation>
    </message>
    <message>
        <source>Passes</source>
        <translation>切割遍数</translation>
    </message>
    <message>
        <source>Overcut (mm)</source>
        <translation>过切（mm）</translation>
    </message>
    <message>
        <source>Blade offset (mm)</source>
        <translation>刀尖偏移（mm）</translation>
    </message>
    <message>
        <source>Weeding border (mm)</source>
        <translation>排废边框（mm）</translation>
    </message>
    <message>
        <source>Curve tolerance (mm)</source>
        <translation>曲线公差（mm）</translation>
    </message>
    <message>
        <source>Tool order</source>
        <translation>刀具顺序</translation>
    </message>
</context>
<context>
    <name>ProductionPanel</name>
    <message>
        <source>Folder of designs named by code, or a map file</source>
        <translation>以二维码命名的图形文件夹，或映射文件</translation>
    </message>
    <message>
        <source>Folder…</source>
        <translation>文件夹…</translation>
    </message>
    <message>
        <source>Map file…</source>
        <translation>映射文件…</translation>
    </message>
    <message>
        <source>until the stack ends</source>
        <translation>直到材料叠用完</translation>
    </message>
    <message>
        <source>Sheets: </source>
        <translation>张数：</translation>
    </message>
    <message>
        <source>Start production</source>
        <translation>开始生产</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>No sheet yet</source>
        <translation>尚无材料</translation>
    </message>
    <message>
        <source>Sheet</source>
        <translation>材料</translation>
    </message>
    <message>
        <source>Code</source>
        <translation>二维码</translation>
    </message>
    <message>
        <source>Design</source>
        <translation>图形</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Production designs: %1</source>
        <translation>生产图形：%1</translation>
    </message>
    <message>
        <source>Folder of designs named by code</source>
        <translation>以二维码命名的图形文件夹</translation>
    </message>
    <message>
        <source>Map file (CODE = path lines)</source>
        <translation>映射文件（每行 CODE = 路径）</translation>
    </message>
    <message>
        <source>Link lost: reconnecting (attempt %1)</source>
        <translation>连接中断：正在重新连接（第 %1 次尝试）</translation>
    </message>
    <message>
        <source>Link back: production goes on</source>
        <translation>连接已恢复：生产继续</translation>
    </message>
    <message>
        <source>Production ended: %1 sheets cut, %2 skipped, %3 failed</source>
        <translation>生产结束：已切割 %1 张，跳过 %2 张，失败 %3 张</translation>
    </message>
    <message>
        <source>Waiting for the first sheet</source>
        <translation>正在等待第一张材料</translation>
    </message>
    <message>
        <source>The production could not start: the machine is not connected.</source>
        <translation>无法开始生产：机器未连接。</translation>
    </message>
    <message>
        <source>Production started: %1</source>
        <translation>生产已开始：%1</translation>
    </message>
    <message>
        <source>(unreadable)</source>
        <translation>（无法识别）</translation>
    </message>
    <message>
        <source>Sheet %1: %2</source>
        <translation>第 %1 张：%2</translation>
    </message>
    <message>
        <source>Sheet %1: %2 — %3</source>
        <translation>第 %1 张：%2 — %3</translation>
    </message>
    <message>
        <source>not cut</source>
        <translation>未切割</translation>
    </message>
    <message>
        <source>%1 cut, %2 skipped, %3 failed</source>
        <translation>已切割 %1，跳过 %2，失败 %3</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
</context>
<context>
    <name>SettingsPanel</name>
    <message>
        <source>Read from machine</source>
        <translation>从机器读取</translation>
    </message>
    <message>
        <source>Write to machine</source>
        <translation>写入机器</translation>
    </message>
    <message>
        <source>%1: machine answered %2</source>
        <translation>%1：机器应答 %2</translation>
    </message>
    <message>
        <source>Not connected: nothing read.</source>
        <translation>未连接：未读取任何内容。</translation>
    </message>
    <message numerus="yes">
        <source>Read from machine: %n queries sent.</source>
        <translation>
            <numerusform>从机器读取：已发送 %n 条查询。</numerusform>
        </translation>
    </message>
    <message>
        <source>Not connected: nothing written.</source>
        <translation>未连接：未写入任何内容。</translation>
    </message>
    <message>
        <source>Nothing changed: nothing written.</source>
        <translation>没有更改：未写入任何内容。</translation>
    </message>
    <message>
        <source>Writing: %1</source>
        <translation>正在写入：%1</translation>
    </message>
    <message>
        <source>Written: %1</source>
        <translation>已写入：%1</translation>
    </message>
    <message>
        <source>Not written: %1</source>
        <translation>未写入：%1</translation>
    </message>
</context>
<context>
    <name>ToolsPanel</name>
    <message>
        <source>(no layer)</source>
        <translation>（无图层）</translation>
    </message>
    <message>
        <source>(no colour)</source>
        <translation>（无颜色）</translation>
    </message>
    <message>
        <source>(no pen)</source>
        <translation>（无笔号）</translation>
    </message>
    <message>
        <source>Pen %1</source>
        <translation>笔 %1</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>刀具</translation>
    </message>
    <message numerus="yes">
        <source>%n more sources keep the reader&apos;s tool.</source>
        <translation>
            <numerusform>另有 %n 个来源保持读取时的刀具。</numerusform>
        </translation>
    </message>
    <message>
        <source>Tool 1</source>
        <translation>刀具 1</translation>
    </message>
    <message>
        <source>Tool 2</source>
        <translation>刀具 2</translation>
    </message>
    <message>
        <source>A rule cannot name this source: it keeps the reader&apos;s tool.</source>
        <translation>规则无法指定此来源：保持读取时的刀具。</translation>
    </message>
    <message>
        <source>No design</source>
        <translation>无图形</translation>
    </message>
</context>
<context>
    <name>UnreadEditors</name>
    <message>
        <source>not read</source>
        <translation>未读取</translation>
    </message>
</context>
<context>
    <name>VxStudio</name>
    <message>
        <source>Start a simulated machine on a free loopback port and connect to it.</source>
        <translation>在空闲的本机回环端口上启动模拟机器并连接。</translation>
    </message>
    <message>
        <source>Device plugin to load.</source>
        <translation>要载入的设备插件。</translation>
    </message>
    <message>
        <source>path</source>
        <translation>路径</translation>
    </message>
    <message>
        <source>Plot file to open.</source>
        <translation>要打开的图形文件。</translation>
    </message>
    <message>
        <source>file</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Desktop host for the conveyor-belt flatbed cutter: settings, jog, jobs.

Exit codes: 0 window closed, 1 bad command line, 2 plugin not loadable, 3 the simulated machine did not start.</source>
        <translation>传送带平台式切割机的桌面控制程序：设置、点动、任务。

退出码：0 窗口已关闭，1 命令行有误，2 无法载入插件，3 模拟机器未能启动。</translation>
    </message>
    <message>
        <source>the simulated machine did not start</source>
        <translation>模拟机器未能启动</translation>
    </message>
    <message>
        <source>Simulated machine on 127.0.0.1:%1.</source>
        <translation>模拟机器位于 127.0.0.1:%1。</translation>
    </message>
    <message>
        <source>Try &apos;vxstudio --help&apos;.</source>
        <translation>请尝试 &apos;vxstudio --help&apos;。</translation>
    </message>
</context>
</TS>
