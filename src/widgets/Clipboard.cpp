#include "widgets/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "core/Exception.h"

namespace tsb {

namespace {
QClipboard* System() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) throw Exception("Cannot open clipboard");
    return clipboard;
}
} // namespace

TClipboard& TClipboard::Instance() {
    static TClipboard clipboard;
    return clipboard;
}

std::string TClipboard::RegisterFormat(const std::string& name) {
    // The format's name is its key: the window system names the clipboard
    // target after it, so other processes find it by the same name.
    return name;
}

void TClipboard::SetEntries(const std::string& text, const QImage& bitmap,
                            const std::string& format, const QByteArray& data) {
    auto* mime = new QMimeData;
    if (!text.empty()) mime->setText(QString::fromStdString(text));
    if (!bitmap.isNull()) mime->setImageData(bitmap);
    if (!format.empty()) mime->setData(QString::fromStdString(format), data);
    System()->setMimeData(mime);
}

bool TClipboard::HasFormat(const std::string& format) const {
    const QMimeData* mime = System()->mimeData();
    return mime && mime->hasFormat(QString::fromStdString(format));
}

std::optional<QByteArray> TClipboard::Data(const std::string& format) const {
    const QMimeData* mime = System()->mimeData();
    QString key = QString::fromStdString(format);
    if (!mime || !mime->hasFormat(key)) return std::nullopt;
    return mime->data(key);
}

std::string TClipboard::Text() const {
    const QMimeData* mime = System()->mimeData();
    return mime && mime->hasText() ? mime->text().toStdString() : std::string();
}

QImage TClipboard::Bitmap() const {
    const QMimeData* mime = System()->mimeData();
    return mime && mime->hasImage() ? qvariant_cast<QImage>(mime->imageData()) : QImage();
}

} // namespace tsb
