// The base of every picture format: a decoded image that draws itself at its
// own size and streams in its own file format.
#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPainter;

namespace tsb {

class TGraphic {
public:
    virtual ~TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;

    // The class's registered name, as written into picture data.
    virtual std::string ClassName() const = 0;

    virtual int Width() const { return Image().width(); }
    virtual int Height() const { return Image().height(); }
    bool Empty() const { return Width() == 0 || Height() == 0; }
    // False for a picture kept only as data, whose size this program does not
    // know; an element showing it keeps its own size.
    virtual bool SizeKnown() const { return true; }

    // How transparency shows is the format's own; formats without it ignore
    // the flag. Setting a different value raises OnChange.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);

    // The decoded picture; a null image when the graphic is empty.
    virtual const QImage& Image() const = 0;

    // Draws the picture with its top-left corner at (x, y), at its own size,
    // as a plain copy whatever the painter's composition mode.
    void Draw(QPainter& painter, int x, int y) const;

    // The format's own file, complete. No bytes at all mean an empty graphic.
    // A failed load raises an exception and leaves the graphic as it was.
    virtual void LoadFromBytes(const std::uint8_t* data, std::size_t size) = 0;
    virtual std::vector<std::uint8_t> SaveToBytes() const = 0;

    // The graphic's part of the picture data record: by default a 32-bit
    // little-endian byte count and the file. ReadData gets everything after
    // the class name; a count beyond the data raises "Stream read error".
    virtual void ReadData(const std::uint8_t* data, std::size_t size);
    virtual std::vector<std::uint8_t> WriteData() const;

    // Files: "Cannot open file %s", "Cannot create file %s", "Stream read
    // error", "Stream write error", or the format's own error. A file is
    // written beside its target and renamed over it only when complete.
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;

    // A deep copy of the same class, Transparent included; OnChange is not copied.
    virtual std::unique_ptr<TGraphic> Clone() const = 0;

    // Takes the picture and the Transparent flag of any graphic, converting
    // between formats when they differ; raises OnChange once.
    virtual void Assign(const TGraphic& source) = 0;

    std::function<void()> OnChange;

    // The image Draw shows; the default is Image().
    virtual const QImage& DrawnImage() const { return Image(); }

protected:
    TGraphic() = default;
    void Changed();

    bool FTransparent = false;
};

} // namespace tsb
