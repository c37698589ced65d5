<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>NestLayout</name>
    <message>
        <source>a piece is %1 mm long, longer than a window of %2 mm</source>
        <translation>一个零件长 %1 mm，超过了 %2 mm 的窗口</translation>
    </message>
</context>
<context>
    <name>NestPart</name>
    <message>
        <source>%1 holds nothing to cut</source>
        <translation>%1 中没有可切割的内容</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n open path(s) lie outside every closed contour, so --split cannot tell their part</source>
        <translation>
            <numerusform>%1：有 %n 条开放路径不在任何闭合轮廓内，--split 无法判断它们属于哪个零件</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>NestSearch</name>
    <message>
        <source>the material must be between 0 and 100000 mm on each side</source>
        <translation>材料每边必须在 0 到 100000 mm 之间</translation>
    </message>
    <message>
        <source>the gap must be between 0 and 1000 mm</source>
        <translation>间距必须在 0 到 1000 mm 之间</translation>
    </message>
    <message>
        <source>%1 pieces asked; a nest takes 1 to %2</source>
        <translation>要求 %1 件；一次排料可容纳 1 到 %2 件</translation>
    </message>
    <message>
        <source>%1 (%2 x %3 mm at its narrowest) fits a %4 x %5 mm sheet in no allowed rotation</source>
        <translation>%1（最窄处 %2 x %3 mm）在任何允许的旋转角度下都放不进 %4 x %5 mm 的板材</translation>
    </message>
    <message>
        <source>%1 is %2 mm wide at its narrowest, wider than the %3 mm strip in every allowed rotation</source>
        <translation>%1 最窄处宽 %2 mm，在任何允许的旋转角度下都比 %3 mm 的卷材宽</translation>
    </message>
</context>
<context>
    <name>NestSvg</name>
    <message numerus="yes">
        <source>%1 sheet(s), last %2 mm used, utilisation %3%</source>
        <translation>
            <numerusform>%1 张板材，最后一张用了 %2 mm，利用率 %3%</numerusform>
        </translation>
    </message>
    <message>
        <source>length %1 mm, utilisation %2%</source>
        <translation>长度 %1 mm，利用率 %2%</translation>
    </message>
</context>
<context>
    <name>Orientations</name>
    <message>
        <source>wants any:STEP with a step of at least %1 degrees</source>
        <translation>需要 any:STEP，步长至少 %1 度</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no angle in degrees</source>
        <translation>“%1”不是以度为单位的角度</translation>
    </message>
    <message>
        <source>wants 1 to %1 angles, such as 0,90,180,270, or any:STEP</source>
        <translation>需要 1 到 %1 个角度，例如 0,90,180,270，或 any:STEP</translation>
    </message>
</context>
<context>
    <name>PartList</name>
    <message>
        <source>%1: the quantity &apos;%2&apos; is no whole number from 1 to %3</source>
        <translation>%1：数量“%2”不是 1 到 %3 之间的整数</translation>
    </message>
    <message>
        <source>cannot read the part list %1: %2</source>
        <translation>无法读取零件清单 %1：%2</translation>
    </message>
    <message>
        <source>larger than 4 MiB</source>
        <translation>大于 4 MiB</translation>
    </message>
    <message>
        <source>%1: wants FILE,QUANTITY[,ROTATIONS]</source>
        <translation>%1：需要 FILE,QUANTITY[,ROTATIONS]</translation>
    </message>
    <message>
        <source>the part list %1 names no parts</source>
        <translation>零件清单 %1 中没有零件</translation>
    </message>
</context>
</TS>
