// Machine -> host bytes through a full model device: cutting, the model's
// first pass, dispatch, job reports and QR replies. The device is connected
// as far as the send gate is concerned, so replies that trigger sends run
// their whole path; with no transport the frames end there.
#include "plugin/VXKTR450PROCam.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {
VXKTR450PROCam *g_root = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    g_root = new VXKTR450PROCam;
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

    std::unique_ptr<VXDeviceInterface> device(g_root->initInstance());
    auto *common = static_cast<VXCommonInterface *>(device.get());
    if (VXDeviceProperty *status = common->property_ptr("STATUS"))
        status->setValue(int(VXDeviceInterface::Working));
    if (VXDeviceProperty *mode = common->property_ptr("CONNECT_MODE"))
        mode->setValue(QStringLiteral("TCP"));
    size_t messages = 0;
    QObject::connect(device.get(), &VXDeviceInterface::message, [&messages] { ++messages; });

    for (size_t at = 0; at < size; at += chunk) {
        const size_t n = std::min(chunk, size - at);
        common->slot_usb_read(QByteArray(reinterpret_cast<const char *>(data + at), int(n)));
        if (common->receivePending() > 2 * FrameCutter::DefaultLimit)
            __builtin_trap();   // the tail must stay bounded
    }
    // Whatever the machine set, the next heartbeat and job must still build.
    common->slot_device_timer();
    common->startTask();
    common->stopTask();
    return 0;
}
