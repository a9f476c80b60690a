#include "model/DiagramDump.h"

#include "core/ClassInfo.h"
#include "model/CustomShape.h"

namespace tsb {

namespace {

std::string Quoted(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out + "\"";
}

std::string OrdinalText(const TPropInfo& prop, std::int64_t value) {
    switch (prop.Kind) {
    case TPropKind::Boolean:
        return value ? "True" : "False";
    case TPropKind::Set: {
        std::string out = "[";
        for (const TIdentEntry& m : prop.Idents)
            if (m.Value >= 0 && m.Value < 63 && (value >> m.Value) & 1)
                out.append(out.size() > 1 ? "," : "").append(m.Name);
        return out + "]";
    }
    case TPropKind::Integer:
        return std::to_string(value);
    default:
        if (const char* ident = IdentOfValue(prop.Idents, value)) return ident;
        return std::to_string(value);
    }
}

void DumpProperties(std::string& line, const TPersistent& instance, const TClassInfo& info,
                    const std::string& prefix, const TComponent* root) {
    auto& object = const_cast<TPersistent&>(instance);
    for (const TPropInfo* prop : info.Properties()) {
        if (!prop->Readable() || !prop->Writable() || !prop->IsStored(instance)) continue;
        std::string name = prefix + prop->Name;
        if (prefix.empty() && (name == "Left" || name == "Top" || name == "Width" ||
                               name == "Height" || name == "Selected"))
            continue;
        std::string value;
        switch (prop->Kind) {
        case TPropKind::String:
            value = prop->GetStr(instance);
            if (value.empty()) continue;
            value = Quoted(value);
            break;
        case TPropKind::Component: {
            const TComponent* target = prop->GetRef(instance);
            if (!target) continue;
            value = target->Name().empty() ? std::string("-") : target->Name();
            if (target->Owner() && target->Owner() != root)
                value = target->Owner()->Name() + "." + value;
            break;
        }
        case TPropKind::Method:
            value = prop->GetMethodName(instance);
            if (value.empty()) continue;
            break;
        case TPropKind::Object:
            if (TPersistent* sub = prop->GetObject(object); sub && prop->ObjectClass)
                DumpProperties(line, *sub, *prop->ObjectClass, name + ".", root);
            continue;
        case TPropKind::Binary: {
            if (prop->HasData && !prop->HasData(instance)) continue;
            TBytes data;
            prop->WriteData(instance, data);
            value = std::to_string(data.size());
            value.insert(value.begin(), '<');
            value.append(" bytes>");
            break;
        }
        default: {
            std::int64_t v = prop->GetOrd(instance);
            if (prop->Default && v == *prop->Default) continue;
            value = OrdinalText(*prop, v);
            break;
        }
        }
        line += " " + name + "=" + value;
    }
}

} // namespace

std::string DumpElement(const TComponent* element, const TComponent* root) {
    std::string line = element->ClassName();
    line.append(" ").append(element->Name().empty() ? std::string("-") : element->Name());
    if (auto* c = dynamic_cast<const TControl*>(element))
        line.append(" ")
            .append(std::to_string(c->Left()))
            .append(",")
            .append(std::to_string(c->Top()))
            .append(" ")
            .append(std::to_string(c->Width()))
            .append("x")
            .append(std::to_string(c->Height()));
    if (const TClassInfo* info = ClassInfoOf(element))
        DumpProperties(line, *element, *info, std::string(), root);
    return line;
}

std::string DumpDiagram(const TWinControl* container) {
    std::string out;
    for (const TControl* c : container->ControlList())
        if (dynamic_cast<const TCustomShape*>(c)) out += DumpElement(c, container->Owner()) + "\n";
    return out;
}

} // namespace tsb
