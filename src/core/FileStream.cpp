#include "core/FileStream.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "core/Exception.h"

namespace tsb {

TBytes ReadFileBytes(const std::string& fileName) {
    QString name = QString::fromStdString(fileName);
    QFile file(name);
    if (QFileInfo(name).isDir() || !file.open(QIODevice::ReadOnly))
        throw Exception(FormatMessage("Cannot open file %s", {fileName}));
    TBytes data;
    const qint64 chunk = 1 << 16;
    for (;;) {
        std::size_t at = data.size();
        data.resize(at + static_cast<std::size_t>(chunk));
        qint64 n = file.read(reinterpret_cast<char*>(data.data() + at), chunk);
        if (n < 0) throw Exception(FormatMessage("Cannot open file %s", {fileName}));
        data.resize(at + static_cast<std::size_t>(n));
        if (n == 0) break;
    }
    return data;
}

void WriteFileBytes(const std::string& fileName, const TBytes& data) {
    QString name = QString::fromStdString(fileName);
    QSaveFile file(name);
    if (QFileInfo(name).isDir() || !file.open(QIODevice::WriteOnly))
        throw Exception(FormatMessage("Cannot create file %s", {fileName}));
    qint64 size = static_cast<qint64>(data.size());
    if (file.write(reinterpret_cast<const char*>(data.data()), size) != size) {
        file.cancelWriting();
        throw Exception("Stream write error");
    }
    if (!file.commit()) throw Exception("Stream write error");
}

void WriteFileThrough(const std::string& fileName, const std::function<void(QIODevice&)>& write) {
    QString name = QString::fromStdString(fileName);
    QSaveFile file(name);
    if (QFileInfo(name).isDir() || !file.open(QIODevice::WriteOnly))
        throw Exception(FormatMessage("Cannot create file %s", {fileName}));
    // QSaveFile discards the new file unless it is committed, and refuses
    // to commit after a failed write.
    write(file);
    if (!file.commit()) throw Exception("Stream write error");
}

void WriteFileStreamed(
    const std::string& fileName,
    const std::function<void(const std::function<void(const std::uint8_t*, std::size_t)>&)>&
        produce) {
    WriteFileThrough(fileName, [&produce](QIODevice& file) {
        produce([&file](const std::uint8_t* data, std::size_t size) {
            qint64 n = static_cast<qint64>(size);
            if (file.write(reinterpret_cast<const char*>(data), n) != n)
                throw Exception("Stream write error");
        });
    });
}

} // namespace tsb
