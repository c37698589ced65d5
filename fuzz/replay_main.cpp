// SPDX-License-Identifier: LGPL-2.1-or-later
// Replays inputs through a fuzz target without libFuzzer, so the seeds and
// every crash input kept beside them run in the ordinary (and sanitized)
// test suite. Arguments: files or directories of inputs.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) __attribute__((weak));
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QFileInfo info(QString::fromLocal8Bit(argv[i]));
        if (info.isDir()) {
            for (const QFileInfo &f : QDir(info.filePath()).entryInfoList(QDir::Files, QDir::Name))
                files << f.filePath();
        } else {
            files << info.filePath();
        }
    }
    int passed = 0;
    for (const QString &name : files) {
        QFile f(name);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(name));
            return 1;
        }
        const QByteArray data = f.readAll();
        std::fprintf(stderr, "replay %s (%d bytes)\n", qPrintable(name), int(data.size()));
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size()));
        ++passed;
    }
    // A crash never gets here; every input that did is a pass.
    std::printf("%d passed, 0 failed\n", passed);
    return files.isEmpty() ? 1 : 0;
}
