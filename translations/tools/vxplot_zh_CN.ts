<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
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
</context>
</TS>
