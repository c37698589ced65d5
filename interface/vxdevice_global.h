// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QtCore/qglobal.h>

#if defined(VXDEVICE_LIBRARY)
#  define VXDEVICE_EXPORT Q_DECL_EXPORT
#else
#  define VXDEVICE_EXPORT Q_DECL_IMPORT
#endif
