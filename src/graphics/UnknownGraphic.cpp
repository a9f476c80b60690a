#include "graphics/UnknownGraphic.h"

#include "core/Exception.h"

namespace tsb {

void TUnknownGraphic::LoadFromBytes(const std::uint8_t* data, std::size_t size) {
    FData.assign(data, data + size);
    Changed();
}

std::unique_ptr<TGraphic> TUnknownGraphic::Clone() const {
    auto copy = std::make_unique<TUnknownGraphic>(FClassName);
    copy->FTransparent = FTransparent;
    copy->FData = FData;
    return copy;
}

void TUnknownGraphic::Assign(const TGraphic& source) {
    if (&source == this) return;
    const auto* kept = dynamic_cast<const TUnknownGraphic*>(&source);
    if (!kept)
        throw Exception(
            FormatMessage("Cannot assign a %s to a %s", {source.ClassName(), FClassName}));
    FClassName = kept->FClassName;
    FTransparent = kept->FTransparent;
    FData = kept->FData;
    Changed();
}

} // namespace tsb
