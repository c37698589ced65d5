<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>DxfReader</name>
    <message>
        <source>the drawing expands beyond %1 points; not a drawing to cut</source>
        <translation>图形展开后超过 %1 个点，不是可切割的图纸</translation>
    </message>
    <message>
        <source>SPLINE at line %1: knots do not match their count</source>
        <translation>第 %1 行的 SPLINE：节点数与声明的个数不符</translation>
    </message>
    <message>
        <source>SPLINE at line %1: control points do not match their count</source>
        <translation>第 %1 行的 SPLINE：控制点数与声明的个数不符</translation>
    </message>
    <message>
        <source>SPLINE at line %1: fit points do not match their count</source>
        <translation>第 %1 行的 SPLINE：拟合点数与声明的个数不符</translation>
    </message>
    <message>
        <source>line %1: group code &quot;%2&quot; is not a number</source>
        <translation>第 %1 行：组码“%2”不是数字</translation>
    </message>
    <message>
        <source>binary DXF is not supported; save the drawing as text DXF</source>
        <translation>不支持二进制 DXF，请将图纸另存为文本 DXF</translation>
    </message>
    <message>
        <source>empty DXF file</source>
        <translation>DXF 文件为空</translation>
    </message>
    <message>
        <source>not a readable DXF file (libdime stopped near line %1)</source>
        <translation>无法读取的 DXF 文件（libdime 在第 %1 行附近停止）</translation>
    </message>
    <message>
        <source>vertex count %1 but no vertex given</source>
        <translation>顶点数为 %1，但没有给出任何顶点</translation>
    </message>
    <message>
        <source>its control points do not match its knots and degree</source>
        <translation>其控制点与节点和阶数不匹配</translation>
    </message>
    <message>
        <source>its fit points give no curve</source>
        <translation>其拟合点无法构成曲线</translation>
    </message>
    <message>
        <source>entity %1</source>
        <translation>实体 %1</translation>
    </message>
    <message>
        <source>entity %1 (handle %2)</source>
        <translation>实体 %1（句柄 %2）</translation>
    </message>
    <message>
        <source>%1 lies in a plane tilted out of the drawing (extrusion %2, %3, %4)</source>
        <translation>%1 位于与图纸平面倾斜的平面内（拉伸方向 %2, %3, %4）</translation>
    </message>
    <message>
        <source>%1 draws geometry this reader does not support</source>
        <translation>%1 包含不支持的几何图形</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>已取消</translation>
    </message>
    <message>
        <source>the drawing takes more than %1 steps of work; not a drawing to cut</source>
        <translation>处理图形需要超过 %1 步运算，不是可切割的图纸</translation>
    </message>
    <message numerus="yes">
        <source>%n on frozen layer %1</source>
        <translation>
            <numerusform>%n 个实体在冻结的图层 %1 上</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n on switched-off layer %1</source>
        <translation>
            <numerusform>%n 个实体在关闭的图层 %1 上</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n in paper space</source>
        <translation>
            <numerusform>%n 个实体在图纸空间中</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n inserting undefined block %1</source>
        <translation>
            <numerusform>%n 个实体插入了未定义的块 %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n degenerate, nothing to cut</source>
        <translation>
            <numerusform>%n 个实体已退化，没有可切割的内容</numerusform>
        </translation>
    </message>
    <message>
        <source>block %1 inserts itself</source>
        <translation>块 %1 插入了自身</translation>
    </message>
    <message>
        <source>block %1 inserts itself through %2</source>
        <translation>块 %1 经由 %2 插入了自身</translation>
    </message>
    <message>
        <source>blocks nest more than %1 deep (block %2)</source>
        <translation>块的嵌套超过 %1 层（块 %2）</translation>
    </message>
    <message>
        <source>entity INSERT (handle %1) lies in a plane tilted out of the drawing (extrusion %2, %3, %4)</source>
        <translation>实体 INSERT（句柄 %1）位于与图纸平面倾斜的平面内（拉伸方向 %2, %3, %4）</translation>
    </message>
    <message>
        <source>line %1: group code 0 without the name of what follows</source>
        <translation>第 %1 行：组码 0 后面没有给出后续内容的名称</translation>
    </message>
    <message>
        <source>a NUL byte at byte %1: not a text DXF file</source>
        <translation>第 %1 字节处有 NUL 字节：不是文本 DXF 文件</translation>
    </message>
    <message>
        <source>LWPOLYLINE at line %1: vertices do not match their count</source>
        <translation>第 %1 行的 LWPOLYLINE：顶点与其数量不符</translation>
    </message>
    <message>
        <source>line %1: LWPOLYLINE count &quot;%2&quot; is not a whole number</source>
        <translation>第 %1 行：LWPOLYLINE 的数量“%2”不是整数</translation>
    </message>
    <message>
        <source>line %1: SPLINE count &quot;%2&quot; is not a whole number</source>
        <translation>第 %1 行：SPLINE 的数量“%2”不是整数</translation>
    </message>
</context>
<context>
    <name>HpglInterpreter</name>
    <message>
        <source>draws geometry this reader does not support</source>
        <translation>包含不支持的几何图形</translation>
    </message>
    <message>
        <source>labels are not supported; convert text to paths</source>
        <translation>不支持文字标注，请将文字转换为路径</translation>
    </message>
    <message>
        <source>odd number of coordinates</source>
        <translation>坐标个数为奇数</translation>
    </message>
    <message>
        <source>expects 0, 2 or 4 parameters</source>
        <translation>应有 0、2 或 4 个参数</translation>
    </message>
    <message>
        <source>relative scaling points depend on the machine</source>
        <translation>相对缩放点取决于机器</translation>
    </message>
    <message>
        <source>expects 0, 4, 5 or 7 parameters</source>
        <translation>应有 0、4、5 或 7 个参数</translation>
    </message>
    <message>
        <source>scaling type must be 0, 1 or 2</source>
        <translation>缩放类型必须为 0、1 或 2</translation>
    </message>
    <message>
        <source>left and bottom shares belong to isotropic scaling</source>
        <translation>左侧和底部留白比例仅用于等比缩放</translation>
    </message>
    <message>
        <source>rotation other than 0, 90, 180 or 270 degrees</source>
        <translation>旋转角度不是 0、90、180 或 270 度</translation>
    </message>
    <message>
        <source>expects 0 or 4 parameters</source>
        <translation>应有 0 或 4 个参数</translation>
    </message>
    <message>
        <source>expects a radius and an optional chord angle</source>
        <translation>应为半径及可选的弦角</translation>
    </message>
    <message>
        <source>expects a center, a sweep angle and an optional chord angle</source>
        <translation>应为圆心、扫掠角及可选的弦角</translation>
    </message>
    <message>
        <source>expects two points and an optional chord angle</source>
        <translation>应为两个点及可选的弦角</translation>
    </message>
    <message>
        <source>expects one corner</source>
        <translation>应为一个角点</translation>
    </message>
    <message>
        <source>expects 0, 1 or 2</source>
        <translation>应为 0、1 或 2</translation>
    </message>
    <message>
        <source>%1, command %2: %3</source>
        <extracomment>%1 is where in the file (&quot;byte 120 (line 4, column 7)&quot;), %2 the HP-GL command, %3 what is wrong</extracomment>
        <translation>%1，命令 %2：%3</translation>
    </message>
    <message>
        <source>unknown command</source>
        <translation>未知命令</translation>
    </message>
    <message>
        <source>draws beyond %1 mm from the origin</source>
        <translation>绘制位置距原点超过 %1 mm</translation>
    </message>
    <message>
        <source>the drawing expands beyond %1 points; not a plot</source>
        <translation>图形展开后超过 %1 个点，不是有效的绘图文件</translation>
    </message>
    <message>
        <source>scaling needs explicit IP points; the default ones depend on the machine</source>
        <translation>缩放需要明确给出 IP 点，默认值取决于机器</translation>
    </message>
    <message>
        <source>scaling range is empty</source>
        <translation>缩放范围为空</translation>
    </message>
    <message>
        <source>flag between the two coordinates of a pair</source>
        <translation>一对坐标的两个值之间出现了标志</translation>
    </message>
    <message>
        <source>encoded number out of range</source>
        <translation>编码数值超出范围</translation>
    </message>
    <message>
        <source>fraction bits out of range</source>
        <translation>小数位数超出范围</translation>
    </message>
    <message>
        <source>encoded coordinates end mid-pair</source>
        <translation>编码坐标在一对坐标中间结束</translation>
    </message>
    <message>
        <source>expects one pen number</source>
        <translation>应为一个笔号</translation>
    </message>
    <message>
        <source>pen %1 is out of range</source>
        <translation>笔号 %1 超出范围</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>已取消</translation>
    </message>
    <message>
        <source>the drawing takes more than %1 steps of work; not a plot</source>
        <translation>处理图形需要超过 %1 步运算，不是有效的绘图文件</translation>
    </message>
    <message>
        <source>sweep %1° is out of range</source>
        <extracomment>%1 is the sweep angle as the file gives it</extracomment>
        <translation>扫掠角 %1° 超出范围</translation>
    </message>
    <message>
        <source>draws across more than %1 mm</source>
        <translation>绘制跨度超过 %1 mm</translation>
    </message>
</context>
<context>
    <name>HpglTokenizer</name>
    <message>
        <source>byte %1 (line %2, column %3)</source>
        <translation>第 %1 字节（第 %2 行，第 %3 列）</translation>
    </message>
    <message>
        <source>incomplete command</source>
        <translation>命令不完整</translation>
    </message>
    <message>
        <source>unexpected character %1</source>
        <translation>意外的字符 %1</translation>
    </message>
    <message>
        <source>unterminated comment</source>
        <translation>注释没有结束</translation>
    </message>
    <message>
        <source>unexpected character %1 in parameters</source>
        <translation>参数中有意外的字符 %1</translation>
    </message>
    <message>
        <source>malformed number</source>
        <translation>数字格式错误</translation>
    </message>
    <message>
        <source>unterminated string</source>
        <translation>字符串没有结束</translation>
    </message>
    <message>
        <source>number %1 is out of range</source>
        <extracomment>%1 is the number as the file writes it</extracomment>
        <translation>数字 %1 超出范围</translation>
    </message>
</context>
<context>
    <name>PlotFile</name>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 不是普通文件</translation>
    </message>
    <message>
        <source>%1 is larger than %2 MB</source>
        <translation>%1 大于 %2 MB</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation>无法打开 %1：%2</translation>
    </message>
    <message>
        <source>PNG image</source>
        <translation>PNG 图像</translation>
    </message>
    <message>
        <source>JPEG image</source>
        <translation>JPEG 图像</translation>
    </message>
    <message>
        <source>GIF image</source>
        <translation>GIF 图像</translation>
    </message>
    <message>
        <source>BMP image</source>
        <translation>BMP 图像</translation>
    </message>
    <message>
        <source>TIFF image</source>
        <translation>TIFF 图像</translation>
    </message>
    <message>
        <source>RIFF media file</source>
        <translation>RIFF 媒体文件</translation>
    </message>
    <message>
        <source>PDF document</source>
        <translation>PDF 文档</translation>
    </message>
    <message>
        <source>PostScript document</source>
        <translation>PostScript 文档</translation>
    </message>
    <message>
        <source>RTF document</source>
        <translation>RTF 文档</translation>
    </message>
    <message>
        <source>OLE compound document</source>
        <translation>OLE 复合文档</translation>
    </message>
    <message>
        <source>ZIP archive</source>
        <translation>ZIP 压缩包</translation>
    </message>
    <message>
        <source>RAR archive</source>
        <translation>RAR 压缩包</translation>
    </message>
    <message>
        <source>7z archive</source>
        <translation>7z 压缩包</translation>
    </message>
    <message>
        <source>bzip2 data</source>
        <translation>bzip2 数据</translation>
    </message>
    <message>
        <source>xz data</source>
        <translation>xz 数据</translation>
    </message>
    <message>
        <source>zstd data</source>
        <translation>zstd 数据</translation>
    </message>
    <message>
        <source>ELF program</source>
        <translation>ELF 程序</translation>
    </message>
    <message>
        <source>PE program</source>
        <translation>PE 程序</translation>
    </message>
    <message>
        <source>DWG drawing; save it as DXF</source>
        <translation>DWG 图纸，请另存为 DXF</translation>
    </message>
    <message>
        <source>gzip data that is not SVG</source>
        <translation>不是 SVG 的 gzip 数据</translation>
    </message>
    <message>
        <source>not a design file: %1</source>
        <translation>不是图形文件：%1</translation>
    </message>
    <message numerus="yes">
        <source>%1 element(s) that draw nothing to cut: %2</source>
        <translation>
            <numerusform>%1 个不产生切割内容的元素：%2</numerusform>
        </translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>已取消</translation>
    </message>
</context>
<context>
    <name>PlotJob</name>
    <message>
        <source>plot file %1 is not a regular file</source>
        <translation>图形文件 %1 不是普通文件</translation>
    </message>
    <message>
        <source>plot file %1 is larger than %2 MiB</source>
        <translation>图形文件 %1 大于 %2 MiB</translation>
    </message>
    <message>
        <source>cannot read plot file %1: %2</source>
        <translation>无法读取图形文件 %1：%2</translation>
    </message>
    <message>
        <source>plot file %1: %2</source>
        <translation>图形文件 %1：%2</translation>
    </message>
    <message>
        <source>plot file %1 cuts nothing (no pen-down stroke)</source>
        <translation>图形文件 %1 没有可切割的内容（没有落刀路径）</translation>
    </message>
    <message>
        <source>plot file %1 needs more memory than there is</source>
        <translation>图形文件 %1 所需的内存超出了可用内存</translation>
    </message>
    <message>
        <source>interrupted while reading %1</source>
        <translation>读取 %1 时被中断</translation>
    </message>
    <message>
        <source>plot file %1 cuts nothing; not cut: %2</source>
        <translation>图形文件 %1 没有可切割的内容；未切割：%2</translation>
    </message>
    <message>
        <source>plot file %1: placed, the design is %2 x %3 mm, beyond the %4 mm a plot can hold</source>
        <translation>图形文件 %1：放置后图形为 %2 x %3 mm，超出了绘图文件可容纳的 %4 mm</translation>
    </message>
    <message>
        <source>tool %1: %2 mm in 1 path</source>
        <translation>刀具 %1：%2 mm，1 条路径</translation>
    </message>
    <message numerus="yes">
        <source>tool %1: %2 mm in %n paths</source>
        <translation>
            <numerusform>刀具 %1：%2 mm，%n 条路径</numerusform>
        </translation>
    </message>
    <message>
        <source>, then </source>
        <translation>；然后</translation>
    </message>
</context>
<context>
    <name>PlotOptionTable</name>
    <message>
        <source>Scale the design by this percentage.</source>
        <translation>按此百分比缩放图形。</translation>
    </message>
    <message>
        <source>Scale the design to this width (keeps the aspect; with --height, fits both).</source>
        <translation>将图形缩放到此宽度（保持宽高比；与 --height 同用时同时满足两者）。</translation>
    </message>
    <message>
        <source>Scale the design to this height (keeps the aspect).</source>
        <translation>将图形缩放到此高度（保持宽高比）。</translation>
    </message>
    <message>
        <source>Rotate counter-clockwise by 0, 90, 180 or 270 degrees.</source>
        <translation>逆时针旋转 0、90、180 或 270 度。</translation>
    </message>
    <message>
        <source>Mirror the design left to right (for cutting from the back).</source>
        <translation>左右镜像图形（用于从背面切割）。</translation>
    </message>
    <message>
        <source>Place the design this far from the origin.</source>
        <translation>图形与原点之间的距离。</translation>
    </message>
    <message>
        <source>Cut in the file&apos;s order (no reordering).</source>
        <translation>按文件中的顺序切割（不重新排序）。</translation>
    </message>
    <message>
        <source>Cut lines lying on one another within this distance once (0: off).</source>
        <translation>相互重叠且间距在此范围内的线条只切一次（0：关闭）。</translation>
    </message>
    <message>
        <source>Cut each path this many times.</source>
        <translation>每条路径切割的次数。</translation>
    </message>
    <message>
        <source>Extend closed contours past their start by this length.</source>
        <translation>闭合轮廓越过起点继续切割的长度。</translation>
    </message>
    <message>
        <source>Drag-knife compensation for this blade offset (0: off).</source>
        <translation>按此刀尖偏移量进行拖刀补偿（0：关闭）。</translation>
    </message>
    <message>
        <source>Add a rectangle this far around the design (0: none).</source>
        <translation>在图形外围此距离处加一个矩形（0：不加）。</translation>
    </message>
    <message>
        <source>Chord tolerance for curves.</source>
        <translation>曲线的弦高公差。</translation>
    </message>
    <message>
        <source>expects a number from %1 to %2, not &quot;%3&quot;</source>
        <translation>应为 %1 到 %2 之间的数字，而不是“%3”</translation>
    </message>
    <message>
        <source>expects 0, 90, 180 or 270, not &quot;%1&quot;</source>
        <translation>应为 0、90、180 或 270，而不是“%1”</translation>
    </message>
    <message>
        <source>expects a whole number from 1 to 100, not &quot;%1&quot;</source>
        <translation>应为 1 到 100 之间的整数，而不是“%1”</translation>
    </message>
    <message>
        <source>Cut the paths of a pen number, #rrggbb colour or layer name with tool N (1 or 2); repeat for more. Unmatched: HP-GL pens as written, everything else tool 1.</source>
        <translation>用刀具 N（1 或 2）切割某个笔号、#rrggbb 颜色或图层名的路径；可重复给出多条。未匹配的：HP-GL 按文件中写的笔，其他一律用刀具 1。</translation>
    </message>
    <message>
        <source>The order the tools cut in: 2,1 (tool 1, which cuts through, last) or 1,2.</source>
        <translation>刀具的切割顺序：2,1（切透材料的刀具 1 最后切割）或 1,2。</translation>
    </message>
    <message>
        <source>expects 2,1 or 1,2, not &quot;%1&quot;</source>
        <translation>应为 2,1 或 1,2，而不是“%1”</translation>
    </message>
</context>
<context>
    <name>PlotReader</name>
    <message>
        <source>cannot open %1: %2</source>
        <translation>无法打开 %1：%2</translation>
    </message>
</context>
<context>
    <name>SvgReader</name>
    <message>
        <source>cannot start decompression</source>
        <translation>无法开始解压缩</translation>
    </message>
    <message>
        <source>compressed data is corrupt at byte %1</source>
        <translation>压缩数据在第 %1 字节处损坏</translation>
    </message>
    <message>
        <source>expands beyond %1 MB</source>
        <translation>解压后超过 %1 MB</translation>
    </message>
    <message>
        <source>compressed data ends early</source>
        <translation>压缩数据提前结束</translation>
    </message>
    <message>
        <source>the document has no usable size (width, height or viewBox)</source>
        <translation>文档没有可用的尺寸（width、height 或 viewBox）</translation>
    </message>
    <message>
        <source>the document has no usable size</source>
        <translation>文档没有可用的尺寸</translation>
    </message>
    <message>
        <source>the drawing expands beyond %1 points; not a drawing to cut</source>
        <translation>图形展开后超过 %1 个点，不是可切割的图纸</translation>
    </message>
    <message>
        <source>&lt;svg&gt; at line %1: preserveAspectRatio is not readable</source>
        <translation>第 %1 行的 &lt;svg&gt;：无法读取 preserveAspectRatio</translation>
    </message>
    <message>
        <source>text needs the fonts of a graphical session; convert the text to paths</source>
        <translation>文字需要图形界面会话中的字体，请将文字转换为路径</translation>
    </message>
    <message>
        <source>transform &quot;%1&quot; is not a transform list</source>
        <translation>transform“%1”不是变换列表</translation>
    </message>
    <message>
        <source>width or height is not a length</source>
        <translation>width 或 height 不是长度</translation>
    </message>
    <message>
        <source>viewBox or preserveAspectRatio is not readable</source>
        <translation>无法读取 viewBox 或 preserveAspectRatio</translation>
    </message>
    <message>
        <source>refers to itself through %1</source>
        <translation>经由 %1 引用了自身</translation>
    </message>
    <message>
        <source>&lt;use&gt; nested deeper than %1</source>
        <translation>&lt;use&gt; 嵌套超过 %1 层</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not a length</source>
        <translation>%1“%2”不是长度</translation>
    </message>
    <message>
        <source>the path data is not readable</source>
        <translation>无法读取路径数据</translation>
    </message>
    <message>
        <source>the points are not pairs of numbers</source>
        <translation>点坐标不是成对的数字</translation>
    </message>
    <message>
        <source>&lt;%1&gt; at line %2: %3</source>
        <translation>第 %2 行的 &lt;%1&gt;：%3</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>已取消</translation>
    </message>
    <message>
        <source>the drawing takes more than %1 steps of work; not a drawing to cut</source>
        <translation>处理图形需要超过 %1 步运算，不是可切割的图纸</translation>
    </message>
    <message>
        <source>its coordinates are not finite or lie beyond %1 km of the origin</source>
        <translation>其坐标不是有限值，或距原点超过 %1 km</translation>
    </message>
</context>
<context>
    <name>SvgTree</name>
    <message>
        <source>the document takes more than %1 steps to read</source>
        <translation>读取文档需要超过 %1 步</translation>
    </message>
    <message>
        <source>line %1: the root element is not &lt;svg&gt;</source>
        <translation>第 %1 行：根元素不是 &lt;svg&gt;</translation>
    </message>
    <message>
        <source>line %1, column %2: %3</source>
        <translation>第 %1 行，第 %2 列：%3</translation>
    </message>
    <message>
        <source>no &lt;svg&gt; element</source>
        <translation>没有 &lt;svg&gt; 元素</translation>
    </message>
</context>
<context>
    <name>ToolMap</name>
    <message>
        <source>expects SELECTOR=1 or SELECTOR=2 (a pen number, #rrggbb or a layer name), not &quot;%1&quot;</source>
        <translation>应为 SELECTOR=1 或 SELECTOR=2（笔号、#rrggbb 或图层名），而不是“%1”</translation>
    </message>
    <message>
        <source>expects a colour as #rrggbb, not &quot;%1&quot;</source>
        <translation>颜色应为 #rrggbb 形式，而不是“%1”</translation>
    </message>
</context>
</TS>
