<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>PlotOptionTable</name>
    <message>
        <source>Scale the design by this percentage.</source>
        <translation>図形をこの百分率で拡大縮小します。</translation>
    </message>
    <message>
        <source>Scale the design to this width (keeps the aspect; with --height, fits both).</source>
        <translation>図形をこの幅に拡大縮小します（縦横比を保持。--height と併用すると両方に収めます）。</translation>
    </message>
    <message>
        <source>Scale the design to this height (keeps the aspect).</source>
        <translation>図形をこの高さに拡大縮小します（縦横比を保持）。</translation>
    </message>
    <message>
        <source>Rotate counter-clockwise by 0, 90, 180 or 270 degrees.</source>
        <translation>反時計回りに 0・90・180・270 度回転します。</translation>
    </message>
    <message>
        <source>Mirror the design left to right (for cutting from the back).</source>
        <translation>図形を左右反転します（裏面からのカット用）。</translation>
    </message>
    <message>
        <source>Place the design this far from the origin.</source>
        <translation>図形を原点からこの距離だけ離して配置します。</translation>
    </message>
    <message>
        <source>Cut in the file&apos;s order (no reordering).</source>
        <translation>ファイルの順序どおりにカットします（並べ替えなし）。</translation>
    </message>
    <message>
        <source>Cut lines lying on one another within this distance once (0: off).</source>
        <translation>この距離以内で重なる線を一度だけカットします（0：無効）。</translation>
    </message>
    <message>
        <source>Cut each path this many times.</source>
        <translation>各パスをこの回数カットします。</translation>
    </message>
    <message>
        <source>Extend closed contours past their start by this length.</source>
        <translation>閉じた輪郭を始点からこの長さだけ延長してカットします。</translation>
    </message>
    <message>
        <source>Drag-knife compensation for this blade offset (0: off).</source>
        <translation>このオフセット量で刃先補正を行います（0：無効）。</translation>
    </message>
    <message>
        <source>Add a rectangle this far around the design (0: none).</source>
        <translation>図形の周囲にこの距離で矩形を追加します（0：なし）。</translation>
    </message>
    <message>
        <source>Chord tolerance for curves.</source>
        <translation>曲線の弦誤差の許容値。</translation>
    </message>
</context>
</TS>
