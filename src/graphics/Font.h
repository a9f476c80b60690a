// Font object with change notification, as elements and dialogs hold it.
#pragma once

#include <QFont>
#include <cstdint>
#include <functional>
#include <string>

#include "core/Component.h"
#include "core/Types.h"

namespace tsb {

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;
enum TFontPitch : std::uint8_t { fpDefault, fpVariable, fpFixed };

constexpr std::uint8_t ANSI_CHARSET = 0;
constexpr std::uint8_t DEFAULT_CHARSET = 1;

// Screen resolution the font sizes are computed for.
constexpr int PixelsPerInch = 96;

class TFont : public TPersistent {
public:
    TFont() = default;
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);
    const char* ClassName() const override { return "TFont"; }

    // Copies every attribute and raises one change notification.
    void Assign(const TFont& other);
    void Assign(const TPersistent& source) override;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& name);
    // Negative: character height in pixels; positive: cell height.
    int Height() const { return FHeight; }
    void SetHeight(int height);
    // Point size, derived from Height.
    int Size() const;
    void SetSize(int points);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles style);
    std::uint8_t Charset() const { return FCharset; }
    void SetCharset(std::uint8_t charset);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch pitch);

    bool operator==(const TFont& o) const;

    // Called after every change of an attribute.
    std::function<void()> OnChange;

    // The Qt font that draws this font: classic face names map to
    // metric-compatible free faces at the same pixel height.
    QFont ToQFont() const;
    // The face actually used for a stored face name.
    static QString MapFaceName(const std::string& name);
    // Reads face, size and style back from a Qt font (font dialog results);
    // the face name is kept when it maps to the same free face.
    void AssignQFont(const QFont& font);

private:
    void Changed();

    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    TColor FColor = clWindowText;
    TFontStyles FStyle = 0;
    std::uint8_t FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = fpDefault;
};

} // namespace tsb
