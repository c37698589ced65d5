<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>DxfReader</name>
    <message>
        <source>the drawing expands beyond %1 points; not a drawing to cut</source>
        <translation>図形を展開すると %1 点を超えます。カット用の図面ではありません</translation>
    </message>
    <message>
        <source>SPLINE at line %1: knots do not match their count</source>
        <translation>%1 行目の SPLINE：ノットの数が宣言された個数と一致しません</translation>
    </message>
    <message>
        <source>SPLINE at line %1: control points do not match their count</source>
        <translation>%1 行目の SPLINE：制御点の数が宣言された個数と一致しません</translation>
    </message>
    <message>
        <source>SPLINE at line %1: fit points do not match their count</source>
        <translation>%1 行目の SPLINE：フィット点の数が宣言された個数と一致しません</translation>
    </message>
    <message>
        <source>line %1: group code &quot;%2&quot; is not a number</source>
        <translation>%1 行目：グループコード「%2」が数値ではありません</translation>
    </message>
    <message>
        <source>binary DXF is not supported; save the drawing as text DXF</source>
        <translation>バイナリ DXF には対応していません。図面をテキスト DXF で保存してください</translation>
    </message>
    <message>
        <source>empty DXF file</source>
        <translation>DXF ファイルが空です</translation>
    </message>
    <message>
        <source>not a readable DXF file (libdime stopped near line %1)</source>
        <translation>読み込めない DXF ファイルです（libdime が %1 行目付近で停止しました）</translation>
    </message>
    <message>
        <source>vertex count %1 but no vertex given</source>
        <translation>頂点数は %1 ですが、頂点がありません</translation>
    </message>
    <message>
        <source>its control points do not match its knots and degree</source>
        <translation>制御点がノットと次数に合いません</translation>
    </message>
    <message>
        <source>its fit points give no curve</source>
        <translation>フィット点から曲線を作れません</translation>
    </message>
    <message>
        <source>entity %1</source>
        <translation>エンティティ %1</translation>
    </message>
    <message>
        <source>entity %1 (handle %2)</source>
        <translation>エンティティ %1（ハンドル %2）</translation>
    </message>
    <message>
        <source>%1 lies in a plane tilted out of the drawing (extrusion %2, %3, %4)</source>
        <translation>%1 は図面から傾いた平面上にあります（押し出し方向 %2, %3, %4）</translation>
    </message>
    <message>
        <source>%1 draws geometry this reader does not support</source>
        <translation>%1 には、読み込みに対応していない図形が含まれています</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>キャンセルしました</translation>
    </message>
    <message>
        <source>the drawing takes more than %1 steps of work; not a drawing to cut</source>
        <translation>図形の処理が %1 ステップを超えます。カット用の図面ではありません</translation>
    </message>
    <message numerus="yes">
        <source>%n on frozen layer %1</source>
        <translation>
            <numerusform>凍結レイヤー %1 上のエンティティ %n 個</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n on switched-off layer %1</source>
        <translation>
            <numerusform>非表示レイヤー %1 上のエンティティ %n 個</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n in paper space</source>
        <translation>
            <numerusform>ペーパー空間のエンティティ %n 個</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n inserting undefined block %1</source>
        <translation>
            <numerusform>未定義のブロック %1 を挿入するエンティティ %n 個</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n degenerate, nothing to cut</source>
        <translation>
            <numerusform>退化していてカットするもののないエンティティ %n 個</numerusform>
        </translation>
    </message>
    <message>
        <source>block %1 inserts itself</source>
        <translation>ブロック %1 が自分自身を挿入しています</translation>
    </message>
    <message>
        <source>block %1 inserts itself through %2</source>
        <translation>ブロック %1 が %2 を介して自分自身を挿入しています</translation>
    </message>
    <message>
        <source>blocks nest more than %1 deep (block %2)</source>
        <translation>ブロックの入れ子が %1 階層を超えています（ブロック %2）</translation>
    </message>
    <message>
        <source>entity INSERT (handle %1) lies in a plane tilted out of the drawing (extrusion %2, %3, %4)</source>
        <translation>エンティティ INSERT（ハンドル %1）は図面から傾いた平面上にあります（押し出し方向 %2, %3, %4）</translation>
    </message>
    <message>
        <source>line %1: group code 0 without the name of what follows</source>
        <translation>%1 行目：グループコード 0 の後に、続く要素の名前がありません</translation>
    </message>
    <message>
        <source>a NUL byte at byte %1: not a text DXF file</source>
        <translation>%1 バイト目に NUL バイトがあります：テキスト DXF ファイルではありません</translation>
    </message>
    <message>
        <source>LWPOLYLINE at line %1: vertices do not match their count</source>
        <translation>%1 行目の LWPOLYLINE：頂点が個数と合いません</translation>
    </message>
    <message>
        <source>line %1: LWPOLYLINE count &quot;%2&quot; is not a whole number</source>
        <translation>%1 行目：LWPOLYLINE の個数「%2」は整数ではありません</translation>
    </message>
    <message>
        <source>line %1: SPLINE count &quot;%2&quot; is not a whole number</source>
        <translation>%1 行目：SPLINE の個数「%2」は整数ではありません</translation>
    </message>
</context>
<context>
    <name>HpglInterpreter</name>
    <message>
        <source>draws geometry this reader does not support</source>
        <translation>読み込みに対応していない図形を描きます</translation>
    </message>
    <message>
        <source>labels are not supported; convert text to paths</source>
        <translation>ラベルには対応していません。文字をパスに変換してください</translation>
    </message>
    <message>
        <source>odd number of coordinates</source>
        <translation>座標の数が奇数です</translation>
    </message>
    <message>
        <source>expects 0, 2 or 4 parameters</source>
        <translation>パラメーターは 0、2、4 個のいずれかです</translation>
    </message>
    <message>
        <source>relative scaling points depend on the machine</source>
        <translation>相対スケーリング点は機械によって異なります</translation>
    </message>
    <message>
        <source>expects 0, 4, 5 or 7 parameters</source>
        <translation>パラメーターは 0、4、5、7 個のいずれかです</translation>
    </message>
    <message>
        <source>scaling type must be 0, 1 or 2</source>
        <translation>スケーリングの種類は 0、1、2 のいずれかです</translation>
    </message>
    <message>
        <source>left and bottom shares belong to isotropic scaling</source>
        <translation>左と下の余白の割合は等方スケーリングでのみ使えます</translation>
    </message>
    <message>
        <source>rotation other than 0, 90, 180 or 270 degrees</source>
        <translation>回転角が 0・90・180・270 度以外です</translation>
    </message>
    <message>
        <source>expects 0 or 4 parameters</source>
        <translation>パラメーターは 0 個か 4 個です</translation>
    </message>
    <message>
        <source>expects a radius and an optional chord angle</source>
        <translation>半径と、省略可能な弦角を指定します</translation>
    </message>
    <message>
        <source>expects a center, a sweep angle and an optional chord angle</source>
        <translation>中心、円弧の角度と、省略可能な弦角を指定します</translation>
    </message>
    <message>
        <source>expects two points and an optional chord angle</source>
        <translation>2 点と、省略可能な弦角を指定します</translation>
    </message>
    <message>
        <source>expects one corner</source>
        <translation>角の 1 点を指定します</translation>
    </message>
    <message>
        <source>expects 0, 1 or 2</source>
        <translation>0、1、2 のいずれかを指定します</translation>
    </message>
    <message>
        <source>%1, command %2: %3</source>
        <extracomment>%1 is where in the file (&quot;byte 120 (line 4, column 7)&quot;), %2 the HP-GL command, %3 what is wrong</extracomment>
        <translation>%1、コマンド %2：%3</translation>
    </message>
    <message>
        <source>unknown command</source>
        <translation>不明なコマンドです</translation>
    </message>
    <message>
        <source>draws beyond %1 mm from the origin</source>
        <translation>原点から %1 mm を超える位置に描画しています</translation>
    </message>
    <message>
        <source>the drawing expands beyond %1 points; not a plot</source>
        <translation>図形を展開すると %1 点を超えます。プロットではありません</translation>
    </message>
    <message>
        <source>scaling needs explicit IP points; the default ones depend on the machine</source>
        <translation>スケーリングには IP 点の明示が必要です（既定値は機械によって異なります）</translation>
    </message>
    <message>
        <source>scaling range is empty</source>
        <translation>スケーリング範囲が空です</translation>
    </message>
    <message>
        <source>flag between the two coordinates of a pair</source>
        <translation>座標ペアの 2 つの値の間にフラグがあります</translation>
    </message>
    <message>
        <source>encoded number out of range</source>
        <translation>エンコードされた数値が範囲外です</translation>
    </message>
    <message>
        <source>fraction bits out of range</source>
        <translation>小数部のビット数が範囲外です</translation>
    </message>
    <message>
        <source>encoded coordinates end mid-pair</source>
        <translation>エンコードされた座標がペアの途中で終わっています</translation>
    </message>
    <message>
        <source>expects one pen number</source>
        <translation>ペン番号を 1 つ指定します</translation>
    </message>
    <message>
        <source>pen %1 is out of range</source>
        <translation>ペン %1 は範囲外です</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>キャンセルしました</translation>
    </message>
    <message>
        <source>the drawing takes more than %1 steps of work; not a plot</source>
        <translation>図形の処理が %1 ステップを超えます。プロットではありません</translation>
    </message>
    <message>
        <source>sweep %1° is out of range</source>
        <extracomment>%1 is the sweep angle as the file gives it</extracomment>
        <translation>円弧の角度 %1° は範囲外です</translation>
    </message>
    <message>
        <source>draws across more than %1 mm</source>
        <translation>%1 mm を超える範囲にわたって描画しています</translation>
    </message>
</context>
<context>
    <name>HpglTokenizer</name>
    <message>
        <source>byte %1 (line %2, column %3)</source>
        <translation>%1 バイト目（%2 行 %3 列）</translation>
    </message>
    <message>
        <source>incomplete command</source>
        <translation>コマンドが不完全です</translation>
    </message>
    <message>
        <source>unexpected character %1</source>
        <translation>予期しない文字 %1</translation>
    </message>
    <message>
        <source>unterminated comment</source>
        <translation>コメントが閉じていません</translation>
    </message>
    <message>
        <source>unexpected character %1 in parameters</source>
        <translation>パラメーターに予期しない文字 %1 があります</translation>
    </message>
    <message>
        <source>malformed number</source>
        <translation>数値の形式が正しくありません</translation>
    </message>
    <message>
        <source>unterminated string</source>
        <translation>文字列が閉じていません</translation>
    </message>
    <message>
        <source>number %1 is out of range</source>
        <extracomment>%1 is the number as the file writes it</extracomment>
        <translation>数値 %1 は範囲外です</translation>
    </message>
</context>
<context>
    <name>PlotFile</name>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 は通常のファイルではありません</translation>
    </message>
    <message>
        <source>%1 is larger than %2 MB</source>
        <translation>%1 は %2 MB を超えています</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation>%1 を開けません：%2</translation>
    </message>
    <message>
        <source>PNG image</source>
        <translation>PNG 画像</translation>
    </message>
    <message>
        <source>JPEG image</source>
        <translation>JPEG 画像</translation>
    </message>
    <message>
        <source>GIF image</source>
        <translation>GIF 画像</translation>
    </message>
    <message>
        <source>BMP image</source>
        <translation>BMP 画像</translation>
    </message>
    <message>
        <source>TIFF image</source>
        <translation>TIFF 画像</translation>
    </message>
    <message>
        <source>RIFF media file</source>
        <translation>RIFF メディアファイル</translation>
    </message>
    <message>
        <source>PDF document</source>
        <translation>PDF 文書</translation>
    </message>
    <message>
        <source>PostScript document</source>
        <translation>PostScript 文書</translation>
    </message>
    <message>
        <source>RTF document</source>
        <translation>RTF 文書</translation>
    </message>
    <message>
        <source>OLE compound document</source>
        <translation>OLE 複合文書</translation>
    </message>
    <message>
        <source>ZIP archive</source>
        <translation>ZIP アーカイブ</translation>
    </message>
    <message>
        <source>RAR archive</source>
        <translation>RAR アーカイブ</translation>
    </message>
    <message>
        <source>7z archive</source>
        <translation>7z アーカイブ</translation>
    </message>
    <message>
        <source>bzip2 data</source>
        <translation>bzip2 データ</translation>
    </message>
    <message>
        <source>xz data</source>
        <translation>xz データ</translation>
    </message>
    <message>
        <source>zstd data</source>
        <translation>zstd データ</translation>
    </message>
    <message>
        <source>ELF program</source>
        <translation>ELF プログラム</translation>
    </message>
    <message>
        <source>PE program</source>
        <translation>PE プログラム</translation>
    </message>
    <message>
        <source>DWG drawing; save it as DXF</source>
        <translation>DWG 図面です。DXF で保存してください</translation>
    </message>
    <message>
        <source>gzip data that is not SVG</source>
        <translation>SVG ではない gzip データ</translation>
    </message>
    <message>
        <source>not a design file: %1</source>
        <translation>図形ファイルではありません：%1</translation>
    </message>
    <message numerus="yes">
        <source>%1 element(s) that draw nothing to cut: %2</source>
        <translation>
            <numerusform>カットするものを描かない要素 %1 個：%2</numerusform>
        </translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>キャンセルしました</translation>
    </message>
</context>
<context>
    <name>PlotJob</name>
    <message>
        <source>plot file %1 is not a regular file</source>
        <translation>図形ファイル %1 は通常のファイルではありません</translation>
    </message>
    <message>
        <source>plot file %1 is larger than %2 MiB</source>
        <translation>図形ファイル %1 は %2 MiB を超えています</translation>
    </message>
    <message>
        <source>cannot read plot file %1: %2</source>
        <translation>図形ファイル %1 を読み込めません：%2</translation>
    </message>
    <message>
        <source>plot file %1: %2</source>
        <translation>図形ファイル %1：%2</translation>
    </message>
    <message>
        <source>plot file %1 cuts nothing (no pen-down stroke)</source>
        <translation>図形ファイル %1 にはカットするものがありません（刃を下ろす線がありません）</translation>
    </message>
    <message>
        <source>plot file %1 needs more memory than there is</source>
        <translation>図形ファイル %1 には使えるメモリーを超える量のメモリーが必要です</translation>
    </message>
    <message>
        <source>interrupted while reading %1</source>
        <translation>%1 の読み込み中に中断しました</translation>
    </message>
    <message>
        <source>plot file %1 cuts nothing; not cut: %2</source>
        <translation>図形ファイル %1 にはカットするものがありません。カットしないもの：%2</translation>
    </message>
    <message>
        <source>plot file %1: placed, the design is %2 x %3 mm, beyond the %4 mm a plot can hold</source>
        <translation>図形ファイル %1：配置後の図形は %2 x %3 mm で、プロットが扱える %4 mm を超えています</translation>
    </message>
    <message>
        <source>tool %1: %2 mm in 1 path</source>
        <translation>ツール %1：%2 mm、パス 1 本</translation>
    </message>
    <message numerus="yes">
        <source>tool %1: %2 mm in %n paths</source>
        <translation>
            <numerusform>ツール %1：%2 mm、パス %n 本</numerusform>
        </translation>
    </message>
    <message>
        <source>, then </source>
        <translation>。続いて</translation>
    </message>
</context>
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
    <message>
        <source>expects a number from %1 to %2, not &quot;%3&quot;</source>
        <translation>%1〜%2 の数値を指定してください（「%3」は指定できません）</translation>
    </message>
    <message>
        <source>expects 0, 90, 180 or 270, not &quot;%1&quot;</source>
        <translation>0・90・180・270 のいずれかを指定してください（「%1」は指定できません）</translation>
    </message>
    <message>
        <source>expects a whole number from 1 to 100, not &quot;%1&quot;</source>
        <translation>1〜100 の整数を指定してください（「%1」は指定できません）</translation>
    </message>
    <message>
        <source>Cut the paths of a pen number, #rrggbb colour or layer name with tool N (1 or 2); repeat for more. Unmatched: HP-GL pens as written, everything else tool 1.</source>
        <translation>ペン番号、#rrggbb の色、またはレイヤー名のパスをツール N（1 か 2）でカットします。繰り返して複数指定できます。該当しないもの：HP-GL は書かれたペンのまま、それ以外はツール 1。</translation>
    </message>
    <message>
        <source>The order the tools cut in: 2,1 (tool 1, which cuts through, last) or 1,2.</source>
        <translation>ツールのカット順：2,1（切り抜くツール 1 を最後に）または 1,2。</translation>
    </message>
    <message>
        <source>expects 2,1 or 1,2, not &quot;%1&quot;</source>
        <translation>2,1 か 1,2 を指定してください（「%1」は指定できません）</translation>
    </message>
</context>
<context>
    <name>PlotReader</name>
    <message>
        <source>cannot open %1: %2</source>
        <translation>%1 を開けません：%2</translation>
    </message>
</context>
<context>
    <name>SvgReader</name>
    <message>
        <source>cannot start decompression</source>
        <translation>展開を開始できません</translation>
    </message>
    <message>
        <source>compressed data is corrupt at byte %1</source>
        <translation>圧縮データが %1 バイト目で壊れています</translation>
    </message>
    <message>
        <source>expands beyond %1 MB</source>
        <translation>展開すると %1 MB を超えます</translation>
    </message>
    <message>
        <source>compressed data ends early</source>
        <translation>圧縮データが途中で終わっています</translation>
    </message>
    <message>
        <source>the document has no usable size (width, height or viewBox)</source>
        <translation>文書に使えるサイズ（width、height、viewBox）がありません</translation>
    </message>
    <message>
        <source>the document has no usable size</source>
        <translation>文書に使えるサイズがありません</translation>
    </message>
    <message>
        <source>the drawing expands beyond %1 points; not a drawing to cut</source>
        <translation>図形を展開すると %1 点を超えます。カット用の図面ではありません</translation>
    </message>
    <message>
        <source>&lt;svg&gt; at line %1: preserveAspectRatio is not readable</source>
        <translation>%1 行目の &lt;svg&gt;：preserveAspectRatio を読み取れません</translation>
    </message>
    <message>
        <source>text needs the fonts of a graphical session; convert the text to paths</source>
        <translation>文字にはグラフィカルセッションのフォントが必要です。文字をパスに変換してください</translation>
    </message>
    <message>
        <source>transform &quot;%1&quot; is not a transform list</source>
        <translation>transform「%1」は変換リストではありません</translation>
    </message>
    <message>
        <source>width or height is not a length</source>
        <translation>width または height が長さではありません</translation>
    </message>
    <message>
        <source>viewBox or preserveAspectRatio is not readable</source>
        <translation>viewBox または preserveAspectRatio を読み取れません</translation>
    </message>
    <message>
        <source>refers to itself through %1</source>
        <translation>%1 を介して自分自身を参照しています</translation>
    </message>
    <message>
        <source>&lt;use&gt; nested deeper than %1</source>
        <translation>&lt;use&gt; の入れ子が %1 階層を超えています</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not a length</source>
        <translation>%1「%2」は長さではありません</translation>
    </message>
    <message>
        <source>the path data is not readable</source>
        <translation>パスデータを読み取れません</translation>
    </message>
    <message>
        <source>the points are not pairs of numbers</source>
        <translation>点が数値の組になっていません</translation>
    </message>
    <message>
        <source>&lt;%1&gt; at line %2: %3</source>
        <translation>%2 行目の &lt;%1&gt;：%3</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>キャンセルしました</translation>
    </message>
    <message>
        <source>the drawing takes more than %1 steps of work; not a drawing to cut</source>
        <translation>図形の処理が %1 ステップを超えます。カット用の図面ではありません</translation>
    </message>
    <message>
        <source>its coordinates are not finite or lie beyond %1 km of the origin</source>
        <translation>座標が有限でないか、原点から %1 km を超えています</translation>
    </message>
</context>
<context>
    <name>SvgTree</name>
    <message>
        <source>the document takes more than %1 steps to read</source>
        <translation>文書の読み込みが %1 ステップを超えます</translation>
    </message>
    <message>
        <source>line %1: the root element is not &lt;svg&gt;</source>
        <translation>%1 行目：ルート要素が &lt;svg&gt; ではありません</translation>
    </message>
    <message>
        <source>line %1, column %2: %3</source>
        <translation>%1 行 %2 列：%3</translation>
    </message>
    <message>
        <source>no &lt;svg&gt; element</source>
        <translation>&lt;svg&gt; 要素がありません</translation>
    </message>
</context>
<context>
    <name>ToolMap</name>
    <message>
        <source>expects SELECTOR=1 or SELECTOR=2 (a pen number, #rrggbb or a layer name), not &quot;%1&quot;</source>
        <translation>SELECTOR=1 か SELECTOR=2（ペン番号、#rrggbb、レイヤー名）を指定してください（「%1」は指定できません）</translation>
    </message>
    <message>
        <source>expects a colour as #rrggbb, not &quot;%1&quot;</source>
        <translation>色は #rrggbb の形式で指定してください（「%1」は指定できません）</translation>
    </message>
</context>
</TS>
