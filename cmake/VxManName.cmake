# SPDX-License-Identifier: LGPL-2.1-or-later
# Puts a translated NAME line into a page help2man made: help2man takes
# --name as bytes and encodes them again, so a UTF-8 summary given there
# comes out garbled; it is given as a marker and replaced here.
#   cmake -DPAGE=file.1 -DMARKER=text -DNAME=summary -P VxManName.cmake
file(READ "${PAGE}" text)
string(REPLACE "${MARKER}" "${NAME}" text "${text}")
file(WRITE "${PAGE}" "${text}")
