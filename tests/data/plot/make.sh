#!/bin/sh
# SPDX-License-Identifier: LGPL-2.1-or-later
# Regenerates the sample designs from the PostScript sources with the
# programs that wrote them (Debian 12: pstoedit 3.78, plotutils 2.6,
# python3-ezdxf 0.18). Reference sizes are what hp2xx 3.4.4 and ezdxf
# report for these files; see README.
set -e
cd "$(dirname "$0")"
pstoedit -f hpgl shapes.ps shapes.pstoedit.hpgl
pstoedit -f plot-hpgl shapes.ps shapes.plotutils.hpgl
pstoedit -f plot-svg shapes.ps shapes.plotutils.svg
pstoedit -f "dxf_14:-mm" shapes.ps shapes.pstoedit.dxf
pstoedit -dt -f hpgl letters.ps letters.pstoedit.hpgl
# libplot gives each colour a pen: black SP1, red SP2.
pstoedit -f plot-hpgl twotools.ps twotools.plotutils.hpgl
/usr/bin/python3 make_dxf.py
gzip -9 -n -c shapes.plotutils.svg > shapes.plotutils.svgz
