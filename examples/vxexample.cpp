// SPDX-License-Identifier: LGPL-2.1-or-later
// A minimal host: load the device plugin, list the settings it offers,
// connect to a machine over TCP, cut one plot and print the job reports.
//   vxexample [--plugin FILE] --tcp HOST:PORT [PLOT]
#include <interface/VXDeviceInterface.h>
#include <property/VXDeviceProperty.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QJsonObject>
#include <QPluginLoader>
#include <QTimer>
#include <cstdio>

static void show(VXDeviceProperty *p, const QString &key, int depth)
{
    std::printf("%*s%s  %s = %s %s\n", depth * 2, "", qPrintable(key), qPrintable(p->label()),
                qPrintable(p->value().toString()), qPrintable(p->uint()));
    for (const QByteArray &name : p->dynamicPropertyNames())
        if (VXDeviceProperty *m = p->property_ptr(name.constData()))
            show(m, QString::fromLatin1(name), depth + 1);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser cli;
    cli.addOptions({{"plugin", "Plugin module.", "FILE", VXEXAMPLE_PLUGIN},
                    {"tcp", "Machine address.", "HOST:PORT", "127.0.0.1:9100"}});
    cli.addPositionalArgument("plot", "Plot file (default: the sample).");
    cli.process(app);
    const QString plot = cli.positionalArguments().value(0, VXEXAMPLE_PLOT);
    QFile plt(plot);
    if (!plt.open(QIODevice::ReadOnly))
        return std::printf("cannot read %s\n", qPrintable(plot)), 2;

    QPluginLoader loader(cli.value("plugin"));
    auto *root = qobject_cast<VXDeviceInterface *>(loader.instance());
    if (!root)
        return std::printf("no device plugin: %s\n", qPrintable(loader.errorString())), 2;
    VXDeviceInterface *device = root->initInstance();
    for (const QString &key : device->userProperty())
        if (VXDeviceProperty *p = device->property_ptr(key.toLatin1().constData()))
            show(p, key, 0);

    QObject::connect(device, &VXDeviceInterface::message, [&](VXDeviceInterface::VXDeviceMessage kind, QString text) {
        std::printf("message %d: %s\n", int(kind), qPrintable(text));
        if (text == "TCP CONNECTED.") {
            device->property_ptr("TASK_COPIES")->setValue(1);
            device->setPlt(QString::fromLatin1(plt.readAll()));
            device->startTask();
        } else if (text.endsWith("DISCONNECTED.")) {
            app.exit(3);
        } else if (kind == VXDeviceInterface::DevTasK) {
            const QJsonObject task = device->property_ptr("TASK")->value().toJsonObject();
            const int copies = task["TaskCopies"].toInt(), done = task["Finished"].toInt();
            std::printf("progress: %d%%, %d of %d copies\n", task["Percent"].toInt(), done, copies);
            if (copies > 0 && done >= copies) {
                device->stopTask();
                app.exit(0);
            }
        }
        std::fflush(stdout);
    });
    const QString target = cli.value("tcp");
    device->setIPAddress(target.section(':', 0, 0));
    device->property_ptr("TCP_PORT")->setValue(target.section(':', 1).toInt());
    if (!device->connectDevice())
        return std::printf("connect failed\n"), 1;
    QTimer::singleShot(60000, [&] { std::printf("timed out\n"), app.exit(4); });
    const int rc = app.exec();
    delete device;
    return rc;
}
