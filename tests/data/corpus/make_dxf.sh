#!/bin/sh
# SPDX-License-Identifier: LGPL-2.1-or-later
# Regenerates the DXF designs of the corpus: one written by pstoedit 3.78
# from the PostScript below (curves become SPLINEs, colours layers), the
# rest by ezdxf 0.18 in make_dxf.py, which also measures every one of them
# with ezdxf into NAME.dxf.ref (Debian 12: pstoedit, python3-ezdxf).
set -e
cd "$(dirname "$0")"
ps="$(mktemp --suffix=.ps)"
trap 'rm -f "$ps"' EXIT
cat > "$ps" <<'PS'
%!PS
% A tag with rounded corners (lines and Bezier curves) and a hole, in points.
newpath 20 10 moveto 120 10 lineto 140 10 140 30 140 40 curveto 140 80 lineto
140 100 120 100 110 100 curveto 20 100 lineto closepath
1 0 0 setrgbcolor stroke
newpath 60 55 18 0 360 arc closepath 0 0 1 setrgbcolor stroke
showpage
PS
pstoedit -q -f "dxf_14:-mm -ctl" "$ps" dxf_pstoedit.dxf
/usr/bin/python3 make_dxf.py
