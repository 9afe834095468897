// Composes an e-mail message with a 20 MB attachment and takes its text block
// by block, as the SMTP client does while the connection drains. Prints the
// growth of the process's peak memory over the file's size and the longest
// single step, which is how long the window's thread is held at most.
#include "export/MMailMessage.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
qint64 statusKilobytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field)) + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Lets the peak figure start again from the present memory.
void resetPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    constexpr qint64 fileSize = 20 * 1024 * 1024;

    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("skan.pdf")));
    if (!folder.isValid() || !file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write the attachment\n");
        return 1;
    }
    QRandomGenerator random(39);
    QByteArray chunk(1024 * 1024, Qt::Uninitialized);
    for (qint64 written = 0; written < fileSize; written += chunk.size()) {
        random.fillRange(reinterpret_cast<quint32*>(chunk.data()), chunk.size() / 4);
        file.write(chunk);
    }
    file.close();
    chunk = QByteArray();

    resetPeak();
    const qint64 before = statusKilobytes("VmRSS");
    QElapsedTimer total;
    total.start();
    QElapsedTimer step;
    step.start();

    MMailMessage message(QStringLiteral("Firma Alfa"), QStringLiteral("biuro@alfa.pl"), QStringLiteral("jan@beta.pl"),
                         QString(), QStringLiteral("Faktura 1/2024"), QStringLiteral("W załączeniu faktura."));
    message.addAttachment(file.fileName(), QStringLiteral("skan.pdf"));
    if (!message.compose(QDateTime::currentDateTime(), MMailMessage::uniquifier())) {
        std::fprintf(stderr, "cannot compose the message\n");
        return 1;
    }
    qint64 longestStep = step.nsecsElapsed();
    qint64 textSize = 0;
    int largestBlock = 0;
    while (!message.atEnd()) {
        step.restart();
        const QByteArray block = message.nextBlock();
        longestStep = std::max(longestStep, step.nsecsElapsed());
        textSize += block.size();
        largestBlock = std::max(largestBlock, block.size());
    }
    const qint64 elapsed = total.elapsed();
    const qint64 peak = statusKilobytes("VmHWM");

    std::printf("attachment                 %8lld kB\n", fileSize / 1024);
    std::printf("message text               %8lld kB\n", textSize / 1024);
    std::printf("largest block              %8d kB\n", largestBlock / 1024);
    std::printf("peak memory growth         %8lld kB (%.2f x the file)\n", peak - before,
                double(peak - before) * 1024 / double(fileSize));
    std::printf("longest single step        %8.2f ms\n", double(longestStep) / 1e6);
    std::printf("whole text taken in        %8lld ms\n", elapsed);
    return message.readFailed() ? 1 : 0;
}
