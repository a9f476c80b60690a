#include "graphics/Graphic.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>

#include "core/Exception.h"

namespace tsb {

namespace {

// Picture files larger than this are not read into memory.
constexpr qint64 MaxPictureFileSize = qint64(1) << 30;

} // namespace

void TGraphic::SetTransparent(bool value) {
    if (value == FTransparent) return;
    FTransparent = value;
    Changed();
}

void TGraphic::Changed() {
    if (OnChange) OnChange();
}

void TGraphic::Draw(QPainter& painter, int x, int y) const {
    if (Empty()) return;
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(QPoint(x, y), DrawnImage());
    painter.restore();
}

void TGraphic::ReadData(const std::uint8_t* data, std::size_t size) {
    if (size < 4) throw Exception("Stream read error");
    const std::uint32_t count = std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8 |
                                std::uint32_t(data[2]) << 16 | std::uint32_t(data[3]) << 24;
    if (count > size - 4) throw Exception("Stream read error");
    LoadFromBytes(data + 4, count);
}

std::vector<std::uint8_t> TGraphic::WriteData() const {
    const std::vector<std::uint8_t> data = SaveToBytes();
    if (data.size() > 0xFFFFFFFFu) throw Exception("Stream write error");
    std::vector<std::uint8_t> out;
    out.reserve(4 + data.size());
    const auto count = static_cast<std::uint32_t>(data.size());
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(count >> shift));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

void TGraphic::LoadFromFile(const std::string& path) {
    // Only plain files: a device or a pipe could stream without end.
    QFile file(QString::fromStdString(path));
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        throw Exception(FormatMessage("Cannot open file %s", {path}));
    if (file.size() > MaxPictureFileSize) throw Exception("Stream read error");
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw Exception("Stream read error");
    LoadFromBytes(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                  static_cast<std::size_t>(bytes.size()));
}

void TGraphic::SaveToFile(const std::string& path) const {
    const std::vector<std::uint8_t> bytes = SaveToBytes();
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        throw Exception(FormatMessage("Cannot create file %s", {path}));
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size || !file.commit())
        throw Exception("Stream write error");
}

} // namespace tsb
