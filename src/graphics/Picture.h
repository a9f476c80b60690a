// The picture object: holds at most one graphic of any registered format,
// loads files by extension and reads and writes the picture data record of
// diagram files.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Component.h"
#include "graphics/Graphic.h"

namespace tsb {

class TPicture : public TPersistent {
public:
    TPicture() = default;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;
    const char* ClassName() const override { return "TPicture"; }

    // The held graphic, or nullptr. Changes made through it raise OnChange.
    TGraphic* Graphic() const { return FGraphic.get(); }
    // Holds a copy of the graphic; nullptr clears the picture.
    void SetGraphic(const TGraphic* graphic);

    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }

    // A deep copy of the source's graphic, or empty when the source is.
    void Assign(const TPicture& source);
    void Assign(const TPersistent& source) override;
    void Clear();

    // Chooses the graphic class by the file's extension, without regard to
    // case: .bmp, .jpg, .jpeg and those of classes registered later. An
    // unknown extension raises "Unknown picture file extension (.%s)". A
    // failed load leaves the picture as it was and raises no OnChange.
    void LoadFromFile(const std::string& path);

    // Picture data record: a short string naming the graphic class (empty
    // for an empty picture), then the graphic's own data: for most classes a
    // 32-bit little-endian byte count and the graphic's file (BMP, JPEG, ...).
    std::vector<std::uint8_t> WriteData() const;
    // Reads a whole record. A class that is not registered is kept as it came
    // (TUnknownGraphic) and written back byte for byte; a count beyond the
    // data raises "Stream read error"; damaged image data raises the format's
    // error. A failed read changes nothing.
    void ReadData(const std::uint8_t* data, std::size_t size);

    // Raised after every change of the content: load, read, assign, clear
    // (also of an empty picture), and any change of the graphic itself.
    std::function<void()> OnChange;

private:
    void Hold(std::unique_ptr<TGraphic> graphic);
    void Changed();

    std::unique_ptr<TGraphic> FGraphic;
};

// Graphic classes by name (compared without regard to case) with the file
// extensions they load. TBitmap, TJPEGImage and TIcon are registered from the start;
// registering a name again replaces its entry.
using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;
void RegisterGraphicClass(const std::string& className, std::vector<std::string> extensions,
                          TGraphicFactory factory);
// nullptr when no class has that name or extension (given without its dot).
std::unique_ptr<TGraphic> CreateGraphic(const std::string& className);
std::unique_ptr<TGraphic> CreateGraphicForExtension(const std::string& extension);

} // namespace tsb
