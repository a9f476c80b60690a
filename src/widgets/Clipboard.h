// The system clipboard: plain text, a bitmap and named private formats,
// placed together in one transaction.
#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>
#include <string>

namespace tsb {

class TClipboard {
public:
    static TClipboard& Instance();

    // Registers a private format under its name; the returned key names it
    // in the other calls. The same name gives the same key in every process.
    std::string RegisterFormat(const std::string& name);

    // Empties the clipboard and places the entries given, all at once.
    // An empty text, a null image or an empty format key leaves that entry out.
    void SetEntries(const std::string& text, const QImage& bitmap, const std::string& format,
                    const QByteArray& data);

    bool HasFormat(const std::string& format) const;
    // The block of a private format, when the clipboard holds one.
    std::optional<QByteArray> Data(const std::string& format) const;
    std::string Text() const;
    QImage Bitmap() const;
};

inline TClipboard& Clipboard() {
    return TClipboard::Instance();
}

} // namespace tsb
