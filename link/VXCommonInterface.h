// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "../interface/VXDeviceInterface.h"
#include "../property/VXDeviceProperty.h"
#include "FrameCutter.h"
#include "FrameStream.h"
#include "../property/HeartbeatPeriod.h"

#include <QAbstractSocket>
#include <QJsonObject>
#include <QMutex>
#include <QPointer>
#include <QTimer>
#include <QTranslator>
#include <QVector>

class NimbraCloud;
class UsbOperate;
class QTcpSocket;
class QWebSocket;

/// The common device class: the link (framing, dispatch, connections, device
/// timer, jobs; link/), the catalogue builders (catalogue/) and the cloud link
/// (cloud/). Operations live in the folder of their subsystem.
class VXDEVICE_EXPORT VXCommonInterface : public VXDeviceInterface
{
    Q_OBJECT
public:
    explicit VXCommonInterface(QObject *parent = nullptr);
    ~VXCommonInterface() override;

    // --- interface (link/) ---
    VXDeviceInterface *initInstance() override;
    void setUSBPath(QString path) override;
    void setIPAddress(QString address) override;
    bool connectDevice() override;
    VXDeviceProperty *property_ptr(const char *key) override;
    QStringList userProperty() override;
    void sendCMD(QByteArray frame) override;
    void setNimbraCloud(NimbraCloud *cloud, QString code) override;   // cloud/
    void startTask() override;
    void stopTask() override;
    void move(int a, int b) override;

    // The one virtual this class adds: decodes one frame text.
    virtual void decode_cmd(QString frame);
    // Splits one "CMD" reply item such as SET82:100.
    static void decode_cmd(QString item, QString &name, int &number, QString &value);

    // --- frame stream and dispatch (link/) ---
    void decode_buffer();
    void send_cmd(QByteArray frame);
    // Sends a plot record's frame as set_cmd_bytes() would build it; over
    // TCP a piece at a time as the socket drains (see FrameStream).
    void send_plot(VXDeviceProperty *record);
    // Socket bytes the plot stream keeps queued ahead of the wire.
    static constexpr qint64 StreamAhead = qint64(1) << 20;

    // --- connections (link/) ---
    void connect_usb(QString path);
    void connect_tcp(QString address);
    void heartbeat_switch(bool on);
    void systemLanguage();
    QString languageCode() const { return m_language; }
    // The period actually used for a "HEARTBEAT" value in seconds, clamped.
    static int heartbeatIntervalMs(const QVariant &seconds);
    static constexpr int HeartbeatFloorMs = VXHeartbeatPeriod::FloorMs;
    static constexpr int HeartbeatDefaultMs = VXHeartbeatPeriod::DefaultMs;
    static constexpr int HeartbeatCeilingMs = VXHeartbeatPeriod::CeilingMs;
    qsizetype receivePending() const { return m_receive.pending(); }

    // --- jobs (link/) ---
    void decode_task(QString item);

    // --- catalogue builders (catalogue/) ---
    void init157(VXDeviceInterface *device);
    void feed_157(VXDeviceInterface *device);
    void camera_offset_157(VXDeviceInterface *device);
    void tool_space_157(VXDeviceInterface *device);
    void info_157(VXDeviceInterface *device);
    void move_157(VXDeviceInterface *device);
    void scale_157(VXDeviceInterface *device);
    void work_area_157(VXDeviceInterface *device);
    void sp1_157(VXDeviceInterface *device);
    void sp2_157(VXDeviceInterface *device);
    void init437(VXDeviceInterface *device);
    void info_437(VXDeviceInterface *device);
    void work_area_437(VXDeviceInterface *device);
    void scale_437(VXDeviceInterface *device);
    void camera_offset_437(VXDeviceInterface *device);

    // --- cloud link (cloud/) ---
    void cloud_device_get(QJsonObject body);
    void cloud_device_model_get(QJsonObject body);
    void cloud_device_new(QJsonObject body);
    void cloud_device_update(QJsonObject body);
    void cloud_device_workrecord(QJsonObject body);
    void device_info_to_cloud();
    void device_task_to_cloud();
    void device_task_record_to_cloud();
    void connect_websocket();
    // Model number from a device code: base 36 of characters 3 to 6.
    static qint32 modelNumber(const QString &code);
    QJsonObject cloudRecord() const { return m_cloudRecord; }
    // Lookup retry delay while the service is unreachable (default 10 s).
    void setLookupRetryInterval(int ms) { m_lookupRetryMs = ms; }
    int lookupRetryInterval() const { return m_lookupRetryMs; }
    static constexpr qint64 WebSocketMaxMessage = 1 << 20;

public slots:
    void slot_usb_write(QByteArray data);
    void slot_usb_read(QByteArray data);
    void slot_usb_status(int s);
    void slot_tcp_socket_read();
    void slot_tcp_socket_state(QAbstractSocket::SocketState s);
    void slot_tcp_bytes_written();
    void slot_device_timer();
    void slot_websocket_connected();
    void slot_websocket_disconnected();
    void slot_websocket_error(QAbstractSocket::SocketError error);
    void slot_websocket_text_received(QString message);

protected:
    // The device's records in key order, as the reply dispatch visits them;
    // a null entry (a key without a record) ends the list and the visit.
    // Rebuilt after any change of the device's dynamic properties.
    const QVector<VXDeviceProperty *> &dispatchRecords();
    // The "LAST_TIEM" stamp record, if any; cached like the list above.
    VXDeviceProperty *receiveStamp();
    // Common decoding of a frame already split at ';' (parts of frame).
    void decode_common(const QString &frame, const QStringList &parts);
    void decode_common(const QString &frame, const QVector<QStringRef> &parts);
    // The record a reply of this kind and number belongs to, for both the
    // model's first pass and the common decoding; null when none. cut tells
    // whether the search ended at a key without a record.
    VXDeviceProperty *replyRecord(VXDeviceCMDType kind, int number, bool *cut = nullptr);
    bool event(QEvent *e) override;

    void setStatus(int status);
    void restartDeviceTimer();
    void stopDeviceTimer();
    void mirrorCloudRecord();
    // Whether a frame may go out now: the link is up (Idle, Working, Pause).
    bool sendOpen();
    // Tops the socket up from the plot stream, then writes the frames that
    // waited behind it. m_sendMutex held.
    void pumpStream();

    UsbOperate *m_usb = nullptr;
    QTcpSocket *m_tcp = nullptr;
    FrameCutter m_receive;
    QTimer m_deviceTimer;
    QPointer<NimbraCloud> m_cloud;          // not owned; null when the host drops it
    QWebSocket *m_webSocket = nullptr;
    QString m_lastJobReport;
    QString m_lastRemoteText;
    QMutex m_sendMutex;
    QTranslator m_translator;
    QJsonObject m_cloudRecord;
    QString m_language;
    QTimer m_lookupRetry;                   // single-shot; dies with the object
    int m_lookupRetryMs = 10000;
    quint64 m_registration = 0;             // bumps on each setNimbraCloud
    QVector<VXDeviceProperty *> m_dispatchRecords;
    VXDeviceProperty *m_receiveStamp = nullptr;   // "LAST_TIEM", resolved with the list
    bool m_dispatchValid = false;
    // Added last: inline accessors compiled into hosts (languageCode(),
    // receivePending()) keep the offsets of the members before.
    FrameStream m_outStream;                // the plot frame still going out
    QList<QByteArray> m_outQueue;           // frames sent meanwhile, in order
};
