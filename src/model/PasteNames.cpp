#include "model/PasteNames.h"

#include "core/Exception.h"
#include "model/CustomShape.h"
#include "model/DiagramStream.h"
#include "widgets/WinControl.h"

namespace tsb {

void TPasteNames::Clear() {
    FPairs.clear();
    FIndex.clear();
}

void TPasteNames::Read(std::span<const std::uint8_t> block, TWinControl* container,
                       TProgress* progress,
                       const std::function<void(const TReader&)>& beforeCommit) {
    Clear();
    const TComponent& owner = *container->Owner();
    TDiagramStream::TReadOptions options;
    options.Signature = true;
    options.Replace = false;
    options.OnSetName = [this, &owner](TReader& reader, TComponent* component, std::string& name) {
        PasteSetName(owner, reader, component, name);
    };
    options.OnReferenceName = [this](TReader&, std::string& name) { PasteReferenceName(name); };
    options.Progress = progress;
    options.BeforeCommit = beforeCommit;
    TDiagramStream::Read(block, container, options);
}

void TPasteNames::PasteSetName(const TComponent& owner, TReader& reader, TComponent* component,
                               std::string& name) {
    if (!Is<TCustomShape>(component)) return;
    std::string base = component->ClassName() + 1;
    std::string fresh;
    for (int n = 1;; ++n) {
        fresh = base + std::to_string(n);
        if (!owner.FindComponent(fresh) && !reader.NameInUse(fresh)) break;
    }
    FPairs.emplace_back(name, fresh);
    FIndex.emplace(LowerCaseAscii(name), fresh);
    name = fresh;
}

void TPasteNames::PasteReferenceName(std::string& name) const {
    auto it = FIndex.find(LowerCaseAscii(name));
    if (it != FIndex.end()) name = it->second;
}

} // namespace tsb
