#include "model/Writer.h"

#include <limits>

#include "core/TextEncoding.h"
#include "model/CustomShape.h"
#include "widgets/Control.h"
#include "widgets/WinControl.h"

namespace tsb {

void TWriter::WriteBytes(const void* data, std::size_t size) {
    auto* p = static_cast<const std::uint8_t*>(data);
    FOut.insert(FOut.end(), p, p + size);
}

void TWriter::WriteUInt32(std::uint32_t v) {
    std::uint8_t b[4] = {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16),
                         std::uint8_t(v >> 24)};
    WriteBytes(b, 4);
}

void TWriter::WriteSignature() {
    WriteBytes(StreamSignature, sizeof StreamSignature);
}

void TWriter::WriteValue(TValueType type) {
    FOut.push_back(type);
}

void TWriter::WriteInteger(std::int64_t value) {
    if (value >= -128 && value <= 127) {
        WriteValue(vaInt8);
        FOut.push_back(static_cast<std::uint8_t>(value));
    } else if (value >= -32768 && value <= 32767) {
        WriteValue(vaInt16);
        auto v = static_cast<std::uint16_t>(value);
        FOut.push_back(std::uint8_t(v));
        FOut.push_back(std::uint8_t(v >> 8));
    } else if (value >= std::numeric_limits<std::int32_t>::min() &&
               value <= std::numeric_limits<std::int32_t>::max()) {
        WriteValue(vaInt32);
        WriteUInt32(static_cast<std::uint32_t>(value));
    } else {
        WriteValue(vaInt64);
        auto v = static_cast<std::uint64_t>(value);
        WriteUInt32(static_cast<std::uint32_t>(v));
        WriteUInt32(static_cast<std::uint32_t>(v >> 32));
    }
}

void TWriter::WriteBoolean(bool value) {
    WriteValue(value ? vaTrue : vaFalse);
}

void TWriter::WriteStr(std::string_view text) {
    if (text.size() > 255) text = text.substr(0, 255);
    FOut.push_back(static_cast<std::uint8_t>(text.size()));
    WriteBytes(text.data(), text.size());
}

void TWriter::WriteString(std::string_view utf8) {
    if (std::optional<std::string> bytes = Utf8ToCp1252(utf8)) {
        if (bytes->size() <= 255) {
            WriteValue(vaString);
            WriteStr(*bytes);
        } else {
            WriteValue(vaLString);
            WriteUInt32(static_cast<std::uint32_t>(bytes->size()));
            WriteBytes(bytes->data(), bytes->size());
        }
        return;
    }
    std::u16string units = Utf8ToUtf16(utf8);
    WriteValue(vaWString);
    WriteUInt32(static_cast<std::uint32_t>(units.size()));
    for (char16_t u : units) {
        FOut.push_back(static_cast<std::uint8_t>(u));
        FOut.push_back(static_cast<std::uint8_t>(u >> 8));
    }
}

void TWriter::WriteIdent(std::string_view ident) {
    if (SameText(ident, "False"))
        WriteValue(vaFalse);
    else if (SameText(ident, "True"))
        WriteValue(vaTrue);
    else if (SameText(ident, "nil"))
        WriteValue(vaNil);
    else if (SameText(ident, "Null"))
        WriteValue(vaNull);
    else {
        WriteValue(vaIdent);
        WriteStr(ident);
    }
}

void TWriter::WriteBinary(std::span<const std::uint8_t> data) {
    WriteValue(vaBinary);
    WriteUInt32(static_cast<std::uint32_t>(data.size()));
    WriteBytes(data.data(), data.size());
}

bool TWriter::WritesRecord(const TComponent* component) {
    const TClassInfo* info = ClassInfoOf(component);
    if (!info || !info->IsComponentClass()) return false;
    if (auto* shape = dynamic_cast<const TCustomShape*>(component)) return shape->WritesState();
    return true;
}

void TWriter::WriteComponent(TComponent* component) {
    WriteComponent(component, component->Name());
}

void TWriter::WriteRecordHead(TComponent* component, const std::string& name, bool properties) {
    FRootClass = ClassInfoOf(Root);
    WriteStr(component->ClassName());
    WriteStr(name);
    if (properties)
        if (const TClassInfo* info = ClassInfoOf(component))
            WriteProperties(*component, *info, std::string());
    WriteListEnd();
}

void TWriter::WriteComponent(TComponent* component, const std::string& name) {
    if (!ClassInfoOf(component)) return;
    WriteRecordHead(component, name);
    if (auto* container = dynamic_cast<TWinControl*>(component)) {
        TProgress* progress = Progress;
        Progress = nullptr; // the outermost container's children only
        const auto& children = container->ControlList();
        const auto total = static_cast<std::int64_t>(children.size());
        std::int64_t done = 0;
        for (TControl* child : children) {
            StepProgress(progress, done++, total);
            if (child->Owner() == Root && WritesRecord(child)) WriteComponent(child);
        }
        StepProgress(progress, total, total);
        Progress = progress;
    }
    WriteListEnd();
}

void TWriter::WriteProperties(TPersistent& instance, const TClassInfo& info,
                              const std::string& prefix) {
    for (const TPropInfo* prop : info.Properties()) {
        if (!prop->Readable() || !prop->Writable() || !prop->IsStored(instance)) continue;
        WriteProperty(instance, *prop, prefix);
    }
}

void TWriter::WritePropName(const std::string& prefix, const TPropInfo& prop) {
    if (prefix.empty()) {
        WriteStr(prop.Name);
        return;
    }
    WriteStr(prefix + prop.Name);
}

void TWriter::WriteProperty(TPersistent& instance, const TPropInfo& prop,
                            const std::string& prefix) {
    switch (prop.Kind) {
    case TPropKind::String: {
        std::string value = prop.GetStr(instance);
        if (value.empty()) return;
        WritePropName(prefix, prop);
        WriteString(value);
        return;
    }
    case TPropKind::Component: {
        TComponent* target = prop.GetRef(instance);
        if (!target) return;
        std::string name = ReferenceName(target);
        if (name.empty()) return;
        WritePropName(prefix, prop);
        WriteIdent(name);
        return;
    }
    case TPropKind::Method: {
        std::string name = prop.GetMethodName(instance);
        if (name.empty() || !FRootClass || !FRootClass->FindMethod(name)) return;
        WritePropName(prefix, prop);
        WriteIdent(name);
        return;
    }
    case TPropKind::Object: {
        TPersistent* sub = prop.GetObject(instance);
        if (sub && prop.ObjectClass)
            WriteProperties(*sub, *prop.ObjectClass, prefix + prop.Name + ".");
        return;
    }
    case TPropKind::Binary: {
        if (prop.HasData && !prop.HasData(instance)) return;
        TBytes data;
        prop.WriteData(instance, data);
        WritePropName(prefix, prop);
        WriteBinary(data);
        return;
    }
    default: {
        std::int64_t value = prop.GetOrd(instance);
        if (prop.Default && value == *prop.Default) return;
        WritePropName(prefix, prop);
        WriteOrdinal(prop, value);
        return;
    }
    }
}

void TWriter::WriteOrdinal(const TPropInfo& prop, std::int64_t value) {
    switch (prop.Kind) {
    case TPropKind::Boolean:
        WriteBoolean(value != 0);
        return;
    case TPropKind::Set:
        WriteValue(vaSet);
        for (const TIdentEntry& member : prop.Idents)
            if (member.Value >= 0 && member.Value < 63 && (value >> member.Value) & 1)
                WriteStr(member.Name);
        WriteStr("");
        return;
    case TPropKind::Enumeration:
    case TPropKind::Colour:
    case TPropKind::Charset:
    case TPropKind::Cursor:
        if (const char* ident = IdentOfValue(prop.Idents, value)) {
            WriteIdent(ident);
            return;
        }
        WriteInteger(value);
        return;
    default:
        WriteInteger(value);
        return;
    }
}

std::string TWriter::ReferenceName(const TComponent* component) const {
    if (component->Name().empty()) return {};
    TComponent* owner = component->Owner();
    if (owner == Root || !owner) return component->Name();
    if (owner->Name().empty()) return {};
    return owner->Name() + "." + component->Name();
}

} // namespace tsb
