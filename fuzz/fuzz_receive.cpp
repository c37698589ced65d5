// SPDX-License-Identifier: LGPL-2.1-or-later
// Machine -> host bytes through a full model device: cutting, the model's
// first pass, dispatch, job reports and QR replies. The device is connected
// as far as the send gate is concerned, so replies that trigger sends run
// their whole path; with no transport the frames end there.
//
// One device serves the whole run: building a model device (catalogue,
// translator) per input cost more than the receive path itself. Between
// inputs DeviceReset puts it back as built.
#include "DeviceReset.h"
#include "plugin/VXKTR450PROCam.h"
#include "property/VXFrame.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {
VXCommonInterface *g_device = nullptr;
DeviceReset *g_reset = nullptr;
size_t g_messages = 0;
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // A fixed zone: each job stamp would otherwise re-read the zone file.
    qputenv("TZ", "UTC0");
    static QCoreApplication app(*argc, *argv);
    static VXKTR450PROCam root;
    static std::unique_ptr<VXDeviceInterface> device(root.initInstance());
    g_device = static_cast<VXCommonInterface *>(device.get());
    if (VXDeviceProperty *status = g_device->property_ptr("STATUS"))
        status->setValue(int(VXDeviceInterface::Working));
    if (VXDeviceProperty *mode = g_device->property_ptr("CONNECT_MODE"))
        mode->setValue(QStringLiteral("TCP"));
    QObject::connect(g_device, &VXDeviceInterface::message, [] { ++g_messages; });
    // The records a job creates on first use ("TASK", the start stamp) exist
    // before the snapshot, so inputs reset their values instead of
    // creating and deleting them every time.
    g_device->startTask();
    g_device->slot_usb_read(VXFrame::build("CCMD", "66,0,,0,0,0,0,0,0;"));
    g_device->stopTask();
    static DeviceReset reset(g_device);
    g_reset = &reset;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // Byte 0 picks the chunk size (1..64, or all at once), so splits of a
    // frame across arrivals are explored along with its content.
    const size_t chunk = (data[0] & 0x80) ? size : size_t(data[0] & 0x3f) + 1;
    ++data;
    --size;

    for (size_t at = 0; at < size; at += chunk) {
        const size_t n = std::min(chunk, size - at);
        g_device->slot_usb_read(QByteArray(reinterpret_cast<const char *>(data + at), int(n)));
        if (g_device->receivePending() > 2 * FrameCutter::DefaultLimit)
            __builtin_trap();   // the tail must stay bounded
    }
    g_reset->flush();
    // Whatever the machine set, the next heartbeat and job must still build.
    g_device->slot_device_timer();
    g_device->startTask();
    g_device->stopTask();
    g_reset->restore();
    return 0;
}
