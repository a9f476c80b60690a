#include "platform/Graphic.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>

#include "platform/Exception.h"

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
