#include "graphics/Font.h"

#include <QFontInfo>
#include <cmath>
#include <mutex>
#include <unordered_map>

namespace tsb {

TFont::TFont(const TFont& other)
    : TPersistent(other), FName(other.FName), FHeight(other.FHeight), FColor(other.FColor),
      FStyle(other.FStyle), FCharset(other.FCharset), FPitch(other.FPitch) {}

TFont& TFont::operator=(const TFont& other) {
    Assign(other);
    return *this;
}

void TFont::Assign(const TFont& other) {
    if (this == &other) return;
    FName = other.FName;
    FHeight = other.FHeight;
    FColor = other.FColor;
    FStyle = other.FStyle;
    FCharset = other.FCharset;
    FPitch = other.FPitch;
    Changed();
}

void TFont::Assign(const TPersistent& source) {
    if (auto* font = dynamic_cast<const TFont*>(&source))
        Assign(*font);
    else
        AssignError(&source);
}

void TFont::Changed() {
    if (OnChange) OnChange();
}

void TFont::SetName(const std::string& name) {
    if (name.empty() || name == FName) return;
    FName = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == FHeight) return;
    FHeight = height;
    Changed();
}

int TFont::Size() const {
    return -MulDiv(FHeight, 72, PixelsPerInch);
}

void TFont::SetSize(int points) {
    SetHeight(-MulDiv(points, PixelsPerInch, 72));
}

void TFont::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

void TFont::SetCharset(std::uint8_t charset) {
    if (charset == FCharset) return;
    FCharset = charset;
    Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
    if (pitch == FPitch) return;
    FPitch = pitch;
    Changed();
}

bool TFont::operator==(const TFont& o) const {
    return FName == o.FName && FHeight == o.FHeight && FColor == o.FColor && FStyle == o.FStyle &&
           FCharset == o.FCharset && FPitch == o.FPitch;
}

QString TFont::MapFaceName(const std::string& name) {
    QString n = QString::fromStdString(name).trimmed();
    QString lower = n.toLower();
    if (lower == "ms sans serif" || lower == "arial" || lower == "small fonts" ||
        lower == "system" || lower == "ms shell dlg" || lower == "ms shell dlg 2" ||
        lower == "tahoma" || lower == "verdana" || lower == "helvetica")
        return QStringLiteral("Liberation Sans");
    if (lower == "times new roman" || lower == "ms serif" || lower == "times")
        return QStringLiteral("Liberation Serif");
    if (lower == "courier new" || lower == "courier" || lower == "fixedsys" || lower == "terminal")
        return QStringLiteral("Liberation Mono");
    return n;
}

QFont TFont::ToQFont() const {
    // Fonts made once for each set of attributes: a painter draws with a
    // font it has drawn with before without looking up its face again. The
    // same few fonts serve a whole diagram; bounded all the same. Never
    // destroyed, so that no font outlives the application's font database
    // at exit.
    struct TKey {
        std::string Name;
        int Height;
        TFontStyles Style;
        TFontPitch Pitch;
        bool operator==(const TKey&) const = default;
    };
    struct THash {
        std::size_t operator()(const TKey& k) const {
            return std::hash<std::string>()(k.Name) ^
                   (std::size_t(k.Height) * 31 + k.Style * 7 + std::size_t(k.Pitch));
        }
    };
    static auto& made = *new std::unordered_map<TKey, QFont, THash>;
    static std::mutex lock;
    TKey key{FName, FHeight, FStyle, FPitch};
    {
        const std::lock_guard<std::mutex> hold(lock);
        if (auto it = made.find(key); it != made.end()) return it->second;
    }
    QFont f(MapFaceName(FName));
    if (FHeight < 0) {
        f.setPixelSize(std::max(1, -FHeight));
    } else if (FHeight > 0) {
        // A positive height is the cell height including internal leading;
        // the face's em is about 87% of its cell.
        f.setPixelSize(std::max(1, static_cast<int>(std::lround(FHeight * 0.87))));
    } else {
        f.setPixelSize(11);
    }
    f.setBold(FStyle & fsBold);
    f.setItalic(FStyle & fsItalic);
    f.setUnderline(FStyle & fsUnderline);
    f.setStrikeOut(FStyle & fsStrikeOut);
    if (FPitch == fpFixed) f.setFixedPitch(true);
    f.setStyleStrategy(QFont::NoAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setKerning(false);
    const std::lock_guard<std::mutex> hold(lock);
    if (made.size() >= 256) made.clear();
    made.emplace(std::move(key), f);
    return f;
}

void TFont::AssignQFont(const QFont& font) {
    std::string family = font.family().toStdString();
    // Keep the classic name when the chosen face is the one it maps to.
    if (MapFaceName(FName) != font.family()) FName = family;
    if (font.pixelSize() > 0)
        FHeight = -font.pixelSize();
    else
        FHeight = -static_cast<int>(std::lround(font.pointSizeF() * PixelsPerInch / 72.0));
    FStyle = (font.bold() ? unsigned(fsBold) : 0u) | (font.italic() ? unsigned(fsItalic) : 0u) |
             (font.underline() ? unsigned(fsUnderline) : 0u) |
             (font.strikeOut() ? unsigned(fsStrikeOut) : 0u);
    Changed();
}

} // namespace tsb
