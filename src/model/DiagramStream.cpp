#include "model/DiagramStream.h"

#include <unordered_set>

#include "model/CustomShape.h"
#include "model/ModelClasses.h"
#include "model/Writer.h"

namespace tsb {

TBytes TDiagramStream::Write(TWinControl* container, bool clipboardForm, TProgress* progress) {
    RegisterModelClasses();
    TBytes out;
    out.reserve(4096);
    TWriter writer(out);
    writer.Root = container->Owner();
    writer.Progress = progress;
    if (clipboardForm) {
        writer.WriteSignature();
        writer.WriteComponent(container);
    } else {
        writer.WriteComponent(container, std::string());
    }
    return out;
}

void TDiagramStream::WriteHead(TBytes& out, TWinControl* container, bool properties) {
    RegisterModelClasses();
    TWriter writer(out);
    writer.Root = container->Owner();
    writer.WriteRecordHead(container, std::string(), properties);
}

void TDiagramStream::WriteElement(TBytes& out, TWinControl* container, TComponent* element) {
    TWriter writer(out);
    writer.Root = container->Owner();
    writer.WriteComponent(element);
}

TBytes TDiagramStream::WriteAll(TWinControl* container) {
    TBytes out;
    out.reserve(4096);
    WriteHead(out, container, true);
    TWriter writer(out);
    writer.Root = container->Owner();
    for (TControl* child : container->ControlList())
        if (child->Owner() == writer.Root && dynamic_cast<TCustomShape*>(child))
            writer.WriteComponent(child);
    WriteEnd(out);
    return out;
}

void TDiagramStream::Read(std::span<const std::uint8_t> data, TWinControl* container,
                          const TReadOptions& options) {
    RegisterModelClasses();
    TReader reader(data);
    reader.Root = container->Owner() ? container->Owner() : container;
    reader.MethodRoot = reader.Root;
    reader.ChildBase = &CustomShapeClassInfo();
    reader.DeferRootProperties = true;
    reader.OnSetName = options.OnSetName;
    reader.OnReferenceName = options.OnReferenceName;
    if (options.Progress) {
        // Every element read passes the name hook.
        reader.OnSetName = [hook = options.OnSetName, progress = options.Progress,
                            size = static_cast<std::int64_t>(data.size())](
                               TReader& r, TComponent* component, std::string& name) {
            if (hook) hook(r, component, name);
            progress->Step(static_cast<std::int64_t>(r.Position()), size);
        };
    }
    reader.RootProperties = options.RootProperties;
    // The elements replaced: their names are free for the elements read, and
    // nothing read refers to them.
    std::unordered_set<const TComponent*> chosen;
    if (options.Replacing) chosen.insert(options.Replacing->begin(), options.Replacing->end());
    auto replaced = [&reader, &chosen, &options, container](const TComponent* c) {
        if (options.Replacing) return chosen.count(c) > 0;
        auto* shape = dynamic_cast<const TCustomShape*>(c);
        return shape && shape->Parent() == container && !reader.IsCreated(shape);
    };
    // With nothing to replace, names are assigned as they are read.
    bool anyElement = false;
    if (options.Replacing)
        anyElement = !chosen.empty();
    else
        for (TControl* c : container->ControlList())
            anyElement = anyElement || dynamic_cast<TCustomShape*>(c);
    if (options.Replace && anyElement) reader.IsReplaced = replaced;
    try {
        if (options.Signature) reader.ReadSignature();
        reader.ReadRootComponent(container);
        reader.ResolveReferences();
        if (options.BeforeCommit) options.BeforeCommit(reader);
    } catch (...) {
        reader.Abandon();
        throw;
    }
    if (reader.IsReplaced) {
        if (options.Replacing) {
            TCustomShape::DeleteElements(container, *options.Replacing);
        } else {
            int i = 0;
            while (i < container->ControlCount()) {
                TControl* c = container->Controls(i);
                if (replaced(c))
                    delete c;
                else
                    ++i;
            }
        }
    }
    if (options.Created) *options.Created = reader.Created();
    reader.Commit();
}

} // namespace tsb
