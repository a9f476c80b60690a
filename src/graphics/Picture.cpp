#include "graphics/Picture.h"

#include <QFileInfo>
#include <algorithm>
#include <cctype>

#include "core/Exception.h"
#include "graphics/Bitmap.h"
#include "graphics/Icon.h"
#include "graphics/JPEGImage.h"
#include "graphics/UnknownGraphic.h"

namespace tsb {

namespace {

constexpr std::size_t MaxClassNameLength = 63;

struct TGraphicClass {
    std::string Name;
    std::vector<std::string> Extensions;
    TGraphicFactory Factory;
};

std::vector<TGraphicClass>& GraphicClasses() {
    static std::vector<TGraphicClass> classes{
        {"TBitmap", {"bmp"}, [] { return std::make_unique<TBitmap>(); }},
        {"TJPEGImage", {"jpg", "jpeg"}, [] { return std::make_unique<TJPEGImage>(); }},
        {"TIcon", {"ico"}, [] { return std::make_unique<TIcon>(); }},
    };
    return classes;
}

[[noreturn]] void ReadError() {
    throw Exception("Stream read error");
}

} // namespace

void RegisterGraphicClass(const std::string& className, std::vector<std::string> extensions,
                          TGraphicFactory factory) {
    auto& classes = GraphicClasses();
    std::erase_if(classes, [&](const TGraphicClass& c) { return SameText(c.Name, className); });
    classes.push_back({className, std::move(extensions), std::move(factory)});
}

std::unique_ptr<TGraphic> CreateGraphic(const std::string& className) {
    for (const TGraphicClass& c : GraphicClasses())
        if (SameText(c.Name, className)) return c.Factory();
    return nullptr;
}

std::unique_ptr<TGraphic> CreateGraphicForExtension(const std::string& extension) {
    for (const TGraphicClass& c : GraphicClasses())
        for (const std::string& e : c.Extensions)
            if (SameText(e, extension)) return c.Factory();
    return nullptr;
}

void TPicture::Changed() {
    if (OnChange) OnChange();
}

void TPicture::Hold(std::unique_ptr<TGraphic> graphic) {
    FGraphic = std::move(graphic);
    if (FGraphic) FGraphic->OnChange = [this] { Changed(); };
    Changed();
}

void TPicture::SetGraphic(const TGraphic* graphic) {
    Hold(graphic ? graphic->Clone() : nullptr);
}

void TPicture::Assign(const TPicture& source) {
    if (&source == this) return;
    SetGraphic(source.Graphic());
}

void TPicture::Assign(const TPersistent& source) {
    if (auto* picture = dynamic_cast<const TPicture*>(&source))
        Assign(*picture);
    else
        AssignError(&source);
}

void TPicture::Clear() {
    Hold(nullptr);
}

void TPicture::LoadFromFile(const std::string& path) {
    const std::string extension = QFileInfo(QString::fromStdString(path)).suffix().toStdString();
    std::unique_ptr<TGraphic> graphic = CreateGraphicForExtension(extension);
    if (!graphic)
        throw Exception(FormatMessage("Unknown picture file extension (.%s)", {extension}));
    graphic->LoadFromFile(path);
    Hold(std::move(graphic));
}

std::vector<std::uint8_t> TPicture::WriteData() const {
    if (!FGraphic) return {0};
    const std::string name = FGraphic->ClassName().substr(0, 255);
    const std::vector<std::uint8_t> data = FGraphic->WriteData();
    std::vector<std::uint8_t> out;
    out.reserve(1 + name.size() + data.size());
    out.push_back(static_cast<std::uint8_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

void TPicture::ReadData(const std::uint8_t* data, std::size_t size) {
    if (size < 1) ReadError();
    const std::size_t length = data[0];
    if (length > size - 1) ReadError();
    const std::string name(reinterpret_cast<const char*>(data + 1), length);
    const std::size_t pos = 1 + length;
    std::unique_ptr<TGraphic> graphic;
    if (length > 0) {
        // A class this program cannot draw is kept as it came.
        graphic = length <= MaxClassNameLength ? CreateGraphic(name) : nullptr;
        if (!graphic) graphic = std::make_unique<TUnknownGraphic>(name);
        graphic->ReadData(data + pos, size - pos);
    }
    Hold(std::move(graphic));
}

} // namespace tsb
