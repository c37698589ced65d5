// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "Interrupt.h"
#include "Options.h"
#include "Output.h"
#include "Run.h"
#include "Shop.h"
#include "ShopConfig.h"
#include "serve/ShopHttp.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace Serve {

const char usage[] =
    QT_TRANSLATE_NOOP("Command", "Usage: vxcut serve [--listen ADDR:PORT] [--machine NAME@TARGET]...\n"
    "                  [--config FILE] [--data DIR] [--token-file FILE]\n"
    "                  [--max-upload-mb N]\n\n"
    "The shop floor service: a job queue for each machine, watch folders, and\n"
    "a web page with the machines, their queues and the journal. Runs until\n"
    "Ctrl-C or SIGTERM; a job under way is left to its machine and followed\n"
    "again on the next start.\n"
    "  --listen ADDR:PORT   where the page and its API listen (default\n"
    "                       127.0.0.1:8600; port 0 takes a free one)\n"
    "  --machine NAME@HOST[:PORT]  a machine on the network (port 9100 by\n"
    "                       default), or NAME@/dev/PATH on a serial device;\n"
    "                       repeat for each machine\n"
    "  --config FILE        machines, watch folders and the rest as JSON (see\n"
    "                       the README); --machine adds to its machines\n"
    "  --data DIR           the queue, the journals and the stored designs\n"
    "                       (default: the user's data folder)\n"
    "  --token-file FILE    every request needs the token in FILE (a file only\n"
    "                       its owner may read); needed off loopback\n"
    "  --max-upload-mb N    largest design a page may send (default 64)\n"
    "  --reconnect-budget SEC  how long a job waits for a dropped link\n");

namespace {

Failure config(const Options &o, ShopConfig &c)
{
    QString error;
    if (!o.shopConfig.isEmpty() && !c.readFile(o.shopConfig, &error))
        return {Failure::Usage, error};
    if (!o.listen.isEmpty())
        c.listen = o.listen;
    if (!o.dataDir.isEmpty())
        c.dataDir = o.dataDir;
    if (!o.tokenFile.isEmpty())
        c.tokenFile = o.tokenFile;
    if (o.maxUploadMb > 0)
        c.maxUploadBytes = qint64(o.maxUploadMb) << 20;
    c.reconnectBudgetMs = o.reconnectBudgetMs;
    for (const QString &text : o.machines) {
        MachineConfig machine;
        if (!ShopConfig::parseMachine(text, &machine, &error) || !c.addMachine(machine, &error))
            return {Failure::Usage, QStringLiteral("--machine %1: %2").arg(text, error)};
    }
    if (!c.check(&error))
        return {Failure::Usage, error};
    return Failure();
}

}

Outcome run(Run &r)
{
    ShopConfig c;
    if (Failure f = config(r.options, c))
        return f;
    ShopHttp::Settings settings;
    settings.listen = c.listen;
    settings.maxUploadBytes = c.maxUploadBytes;
    QString error;
    if (!c.tokenFile.isEmpty() && !Options::readTokenFile(c.tokenFile, settings.token, error))
        return Failure(Failure::Usage, error);
    if (!r.plugin.load(r.options.plugin))
        return Failure(Failure::Plugin, r.plugin.error());
    r.out.event(QStringLiteral("plugin"), {{QStringLiteral("file"), r.plugin.fileName()}}, QString());

    Shop shop(c, r.plugin.root());
    if (!shop.start(&error))
        return Failure(Failure::Other, error);
    ShopHttp http(shop, settings);
    if (!http.start(&error))
        return Failure(Failure::Other, error);
    // Scripts and tests read this line: the same in every language.
    r.out.event(QStringLiteral("serving"), {{QStringLiteral("url"), http.url()}},
                QStringLiteral("serving on ") + http.url());

    QEventLoop loop;
    if (r.interrupt) {
        QObject::connect(r.interrupt, &Interrupt::interrupted, &loop, &QEventLoop::quit);
        if (!r.interrupt->pending())
            loop.exec();
    } else {
        loop.exec();
    }
    // The pages go first; then the shop, whose stations leave a job under
    // way to its machine.
    http.stop();
    return QJsonObject{{QStringLiteral("url"), http.url()},
                       {QStringLiteral("signal"), r.interrupt ? r.interrupt->signalNumber() : 0}};
}

}
