// SPDX-License-Identifier: LGPL-2.1-or-later
// The plugin module: metadata and the two entry points, nothing else.
#include "VXKTR450PROCam.h"

#include <QtPlugin>

// "QTMETADATA !", format 0, Qt 5.15, no architecture requirements, then a
// CBOR map of indefinite length: 2 = IID, 3 = class name, 4 = MetaData.
QT_PLUGIN_METADATA_SECTION
static const unsigned char qt_pluginMetaData[] = {
    'Q', 'T', 'M', 'E', 'T', 'A', 'D', 'A', 'T', 'A', ' ', '!',
    0x00, 0x05, 0x0f, 0x00,
    0xbf,
    0x02, 0x78, 0x30,
    'o', 'r', 'g', '.', 'q', 't', '-', 'p', 'r', 'o', 'j', 'e', 'c', 't', '.', 'Q', 't', '.',
    'Q', 'G', 'e', 'n', 'e', 'r', 'i', 'c', 'P', 'l', 'u', 'g', 'i', 'n',
    'F', 'a', 'c', 't', 'o', 'r', 'y', 'I', 'n', 't', 'e', 'r', 'f', 'a', 'c', 'e',
    0x03, 0x6e,
    'V', 'X', 'K', 'T', 'R', '4', '5', '0', 'P', 'R', 'O', 'C', 'a', 'm',
    0x04, 0xa1, 0x64, 'K', 'e', 'y', 's', 0x80,
    0xff,
};

// One root object behind a guarded pointer: a host that deletes it gets a
// fresh one on the next call.
QT_MOC_EXPORT_PLUGIN(VXKTR450PROCam, VXKTR450PROCam)
