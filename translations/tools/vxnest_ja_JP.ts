<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>NestLayout</name>
    <message>
        <source>a piece is %1 mm long, longer than a window of %2 mm</source>
        <translation>パーツの長さが %1 mm あり、%2 mm のウィンドウより長いです</translation>
    </message>
</context>
<context>
    <name>NestPart</name>
    <message>
        <source>%1 holds nothing to cut</source>
        <translation>%1 には切るものがありません</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n open path(s) lie outside every closed contour, so --split cannot tell their part</source>
        <translation>
            <numerusform>%1: %n 本の開いたパスがどの閉じた輪郭の中にもないため、--split ではどのパーツに属するか決められません</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>NestSearch</name>
    <message>
        <source>the material must be between 0 and 100000 mm on each side</source>
        <translation>材料の各辺は 0 から 100000 mm の間でなければなりません</translation>
    </message>
    <message>
        <source>the gap must be between 0 and 1000 mm</source>
        <translation>間隔は 0 から 1000 mm の間でなければなりません</translation>
    </message>
    <message>
        <source>%1 pieces asked; a nest takes 1 to %2</source>
        <translation>%1 個が指定されました。配置できるのは 1 から %2 個です</translation>
    </message>
    <message>
        <source>%1 (%2 x %3 mm at its narrowest) fits a %4 x %5 mm sheet in no allowed rotation</source>
        <translation>%1（最も狭い向きで %2 x %3 mm）は、許可されたどの回転でも %4 x %5 mm のシート材に収まりません</translation>
    </message>
    <message>
        <source>%1 is %2 mm wide at its narrowest, wider than the %3 mm strip in every allowed rotation</source>
        <translation>%1 は最も狭い向きでも幅 %2 mm あり、許可されたどの回転でも %3 mm のロール材より広いです</translation>
    </message>
</context>
<context>
    <name>NestSvg</name>
    <message numerus="yes">
        <source>%1 sheet(s), last %2 mm used, utilisation %3%</source>
        <translation>
            <numerusform>シート材 %1 枚、最後の 1 枚は %2 mm 使用、利用率 %3%</numerusform>
        </translation>
    </message>
    <message>
        <source>length %1 mm, utilisation %2%</source>
        <translation>長さ %1 mm、利用率 %2%</translation>
    </message>
</context>
<context>
    <name>Orientations</name>
    <message>
        <source>wants any:STEP with a step of at least %1 degrees</source>
        <translation>any:STEP の形で、刻みは %1 度以上が必要です</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no angle in degrees</source>
        <translation>「%1」は度単位の角度ではありません</translation>
    </message>
    <message>
        <source>wants 1 to %1 angles, such as 0,90,180,270, or any:STEP</source>
        <translation>0,90,180,270 のような 1 から %1 個の角度、または any:STEP が必要です</translation>
    </message>
</context>
<context>
    <name>PartList</name>
    <message>
        <source>%1: the quantity &apos;%2&apos; is no whole number from 1 to %3</source>
        <translation>%1: 数量「%2」は 1 から %3 までの整数ではありません</translation>
    </message>
    <message>
        <source>cannot read the part list %1: %2</source>
        <translation>パーツ一覧 %1 を読めません: %2</translation>
    </message>
    <message>
        <source>larger than 4 MiB</source>
        <translation>4 MiB を超えています</translation>
    </message>
    <message>
        <source>%1: wants FILE,QUANTITY[,ROTATIONS]</source>
        <translation>%1: FILE,QUANTITY[,ROTATIONS] の形が必要です</translation>
    </message>
    <message>
        <source>the part list %1 names no parts</source>
        <translation>パーツ一覧 %1 にはパーツがありません</translation>
    </message>
</context>
</TS>
