#include "model/Reader.h"

#include "widgets/WinControl.h"

namespace tsb {

namespace {

[[noreturn]] void InvalidValue() {
    throw Exception("Invalid property value");
}

bool IsIdentTag(TValueType t) {
    return t == vaIdent || t == vaFalse || t == vaTrue || t == vaNil || t == vaNull;
}

} // namespace

TReader::TReader(std::span<const std::uint8_t> data) : TValueReader(data) {}

TReader::~TReader() = default;

void TReader::ReadPrefix() {
    std::uint8_t b = static_cast<std::uint8_t>(NextValue());
    if ((b & 0xF0) != 0xF0) return;
    ReadByte();
    if (b & 0x02) {
        std::int64_t position = 0;
        if (!ReadIntPayload(ReadValue(), position)) ReadError();
    }
}

void TReader::ReadRootComponent(TComponent* instance) {
    FRootInstance = instance;
    FRecordFixups = FFixups.size();
    const TClassInfo* info = ClassInfoOf(instance);
    if (!info) throw Exception(FormatMessage("Class %s not found", {instance->ClassName()}));
    ReadPrefix();
    ReadStr(); // the class name is not compared
    std::string name = ReadStr();
    if (OnSetName) OnSetName(*this, instance, name);
    FRootName = name;
    if (!DeferRootProperties) instance->SetName(name);
    ReadProperties(instance, *info, DeferRootProperties);
    auto* parent = dynamic_cast<TWinControl*>(instance);
    while (!EndOfList()) {
        if (!parent) ReadError();
        ReadChild(parent);
    }
    ReadListEnd();
}

void TReader::ReadChild(TWinControl* parent) {
    ReadPrefix();
    std::string className = ReadStr();
    std::string name = ReadStr();
    const TClassInfo& info = GetComponentClass(className);
    if (ChildBase && !info.InheritsFrom(ChildBase))
        throw Exception(FormatMessage("Class %s not found", {className}));
    TComponent* component = info.Create()(Root);
    FCreated.push_back(component);
    FCreatedSet.insert(component);
    FRecordFixups = FFixups.size();
    component->SetLoading(true);
    if (auto* control = dynamic_cast<TControl*>(component)) control->SetParent(parent);
    if (OnSetName) OnSetName(*this, component, name);
    AssignName(component, std::move(name));
    ReadProperties(component, info, false);
    // Only the root record has child records.
    if (!EndOfList()) ReadError();
    ReadListEnd();
}

void TReader::AssignName(TComponent* component, std::string name) {
    if (!IsReplaced) {
        component->SetName(name);
        return;
    }
    if (name.empty()) return;
    if (!TComponent::IsValidIdent(name))
        throw Exception(FormatMessage("''%s'' is not a valid component name", {name}));
    if (NameInUse(name))
        throw Exception(FormatMessage("A component named %s already exists", {name}));
    FPendingIndex.emplace(LowerCaseAscii(name), component);
    FPendingNames.emplace_back(component, std::move(name));
}

bool TReader::NameInUse(const std::string& name) const {
    if (name.empty()) return false;
    if (FPendingIndex.count(LowerCaseAscii(name))) return true;
    TComponent* existing = Root ? Root->FindComponent(name) : nullptr;
    return existing && !(IsReplaced && IsReplaced(existing));
}

std::string TReader::DisplayName(const TComponent* component) const {
    std::string name;
    if (component == FRootInstance)
        name = FRootName;
    else
        name = component->Name();
    // Held-back names are looked for only when an error is reported.
    for (const auto& [pending, pendingName] : FPendingNames)
        if (pending == component) name = pendingName;
    return name.empty() ? std::string(component->ClassName()) : name;
}

void TReader::PropertyError(const TComponent* component, const std::string& path,
                            const std::string& message) const {
    throw Exception(
        FormatMessage("Error reading %s%s%s: %s", {DisplayName(component), ".", path, message}));
}

void TReader::ReadProperties(TComponent* component, const TClassInfo& info, bool deferred) {
    while (!EndOfList())
        ReadProperty(component, info, deferred);
    ReadListEnd();
}

void TReader::ReadProperty(TComponent* component, const TClassInfo& info, bool deferred) {
    std::string path = ReadStr();
    try {
        TPersistent* instance = component;
        const TClassInfo* cls = &info;
        std::size_t start = 0;
        for (;;) {
            std::size_t dot = path.find('.', start);
            std::string_view segment = std::string_view(path).substr(
                start, dot == std::string::npos ? std::string::npos : dot - start);
            const TPropInfo* prop = cls->FindProperty(segment);
            if (!prop) throw Exception("Property does not exist");
            if (dot == std::string::npos) {
                if (prop->Ignored)
                    SkipValue();
                else
                    ReadPropValue(component, *instance, *prop, path, deferred);
                return;
            }
            if (prop->Kind != TPropKind::Object) throw Exception("Invalid property path");
            if (prop->Ignored) {
                SkipValue();
                return;
            }
            TPersistent* sub = prop->GetObject ? prop->GetObject(*instance) : nullptr;
            if (!sub || !prop->ObjectClass) throw Exception("Invalid property path");
            instance = sub;
            cls = prop->ObjectClass;
            start = dot + 1;
        }
    } catch (const EReadError&) {
        throw;
    } catch (const std::exception& e) {
        PropertyError(component, path, e.what());
    }
}

std::int64_t TReader::ReadOrdinal(const TPropInfo& prop) {
    TValueType type = ReadValue();
    std::int64_t value = 0;
    switch (prop.Kind) {
    case TPropKind::Integer:
        if (!ReadIntPayload(type, value)) InvalidValue();
        break;
    case TPropKind::Colour:
    case TPropKind::Charset:
    case TPropKind::Cursor:
        if (ReadIntPayload(type, value)) break;
        if (!IsIdentTag(type)) InvalidValue();
        if (auto v = ValueOfIdent(prop.Idents, IdentText(type)))
            value = *v;
        else
            InvalidValue();
        break;
    case TPropKind::Enumeration:
        if (!IsIdentTag(type)) InvalidValue();
        if (auto v = ValueOfIdent(prop.Idents, IdentText(type)))
            value = *v;
        else
            InvalidValue();
        break;
    case TPropKind::Boolean: {
        if (!IsIdentTag(type)) InvalidValue();
        std::string ident = IdentText(type);
        if (SameText(ident, "False"))
            value = 0;
        else if (SameText(ident, "True"))
            value = 1;
        else
            InvalidValue();
        return value;
    }
    case TPropKind::Set:
        if (type != vaSet) InvalidValue();
        for (;;) {
            std::string member = ReadStr();
            if (member.empty()) break;
            auto bit = ValueOfIdent(prop.Idents, member);
            if (!bit || *bit < 0 || *bit > 62) InvalidValue();
            value |= std::int64_t(1) << *bit;
        }
        break;
    default:
        InvalidValue();
    }
    if (value < prop.MinValue || value > prop.MaxValue) InvalidValue();
    return value;
}

void TReader::ReadPropValue(TComponent* component, TPersistent& instance, const TPropInfo& prop,
                            const std::string& path, bool deferred) {
    if (!prop.Writable()) throw Exception("Property is read-only");
    TValue value;
    switch (prop.Kind) {
    case TPropKind::Component: {
        TFixup fixup{component, &instance, &prop, path, std::string()};
        if (NextValue() == vaNil) {
            ReadValue();
            fixup.Nil = true;
        } else {
            fixup.Name = ReadIdent();
        }
        // A property given twice in a record keeps its place and takes the
        // later value.
        for (std::size_t i = FRecordFixups; i < FFixups.size(); ++i)
            if (FFixups[i].Instance == &instance && FFixups[i].Prop == &prop) {
                FFixups[i] = std::move(fixup);
                return;
            }
        FFixups.push_back(std::move(fixup));
        return;
    }
    case TPropKind::Method: {
        if (NextValue() == vaNil) {
            ReadValue();
            break;
        }
        std::string name = ReadIdent();
        TComponent* methodRoot = MethodRoot ? MethodRoot : Root;
        const TClassInfo* cls = ClassInfoOf(methodRoot);
        const TMethodInfo* method = cls ? cls->FindMethod(name) : nullptr;
        if (!method) InvalidValue();
        value.Method = TMethod{method->Name, method->Bind(methodRoot)};
        if (prop.AcceptsMethod && !prop.AcceptsMethod(value.Method)) InvalidValue();
        value.HasMethod = true;
        break;
    }
    case TPropKind::String:
        value.Str = ReadString();
        break;
    case TPropKind::Binary: {
        if (ReadValue() != vaBinary) InvalidValue();
        std::size_t n = ReadUInt32();
        const std::uint8_t* p = ReadBytes(n);
        if (!deferred) {
            prop.ReadData(instance, std::span<const std::uint8_t>(p, n));
            return;
        }
        value.Data.assign(p, p + n);
        break;
    }
    case TPropKind::Object:
        InvalidValue();
    default:
        value.Ord = ReadOrdinal(prop);
        break;
    }
    if (deferred)
        FDeferred.push_back({&instance, &prop, std::move(value)});
    else
        Apply(instance, prop, value);
}

void TReader::Apply(TPersistent& instance, const TPropInfo& prop, const TValue& value) {
    switch (prop.Kind) {
    case TPropKind::String:
        prop.SetStr(instance, value.Str);
        return;
    case TPropKind::Method:
        prop.SetMethod(instance, value.HasMethod ? &value.Method : nullptr);
        return;
    case TPropKind::Binary:
        prop.ReadData(instance, value.Data);
        return;
    default:
        prop.SetOrd(instance, value.Ord);
        return;
    }
}

TComponent* TReader::LookupOne(const std::string& name) const {
    if (name.empty()) return nullptr;
    if (auto it = FPendingIndex.find(LowerCaseAscii(name)); it != FPendingIndex.end())
        return it->second;
    TComponent* found = Root ? Root->FindComponent(name) : nullptr;
    if (found && IsReplaced && IsReplaced(found)) return nullptr;
    return found;
}

TComponent* TReader::Lookup(const std::string& name) const {
    std::size_t dot = name.find('.');
    if (dot == std::string::npos) return LookupOne(name);
    TComponent* owner = LookupOne(name.substr(0, dot));
    if (!owner) return nullptr;
    TComponent* found = owner->FindComponent(name.substr(dot + 1));
    if (found && IsReplaced && IsReplaced(found)) return nullptr;
    return found;
}

void TReader::ResolveReferences() {
    for (TFixup& fixup : FFixups) {
        fixup.Target = nullptr;
        if (fixup.Nil) continue;
        try {
            std::string name = fixup.Name;
            if (OnReferenceName) OnReferenceName(*this, name);
            fixup.Target = Lookup(name);
            if (fixup.Target && fixup.Prop->CheckRef)
                fixup.Prop->CheckRef(*fixup.Instance, fixup.Target);
        } catch (const EReadError&) {
            throw;
        } catch (const std::exception& e) {
            PropertyError(fixup.Component, fixup.Path, e.what());
        }
    }
    FResolved = true;
}

void TReader::Commit() {
    if (!FResolved) ResolveReferences();
    for (auto& [component, name] : FPendingNames)
        component->SetName(name);
    FPendingNames.clear();
    FPendingIndex.clear();
    if (RootProperties != rpIgnore)
        for (const TDeferred& d : FDeferred)
            Apply(*d.Instance, *d.Prop, d.Value);
    if (RootProperties == rpExact) ResetOmittedRootProperties();
    FDeferred.clear();
    for (const TFixup& fixup : FFixups)
        if (RootProperties != rpIgnore || fixup.Component != FRootInstance)
            fixup.Prop->SetRef(*fixup.Instance, fixup.Target);
    FFixups.clear();
    if (FRootInstance) FRootInstance->Loaded();
    for (TComponent* component : FCreated)
        component->Loaded();
}

void TReader::ResetOmittedRootProperties() {
    const TClassInfo* info = FRootInstance ? ClassInfoOf(FRootInstance) : nullptr;
    if (!info) return;
    for (const TPropInfo* prop : info->Properties()) {
        if (prop->Ignored || !prop->Readable() || !prop->Writable()) continue;
        bool given = false;
        for (const TDeferred& d : FDeferred)
            given = given || (d.Instance == FRootInstance && d.Prop == prop);
        if (given) continue;
        if (prop->IsOrdinal() && prop->Default) {
            if (prop->GetOrd(*FRootInstance) != *prop->Default)
                prop->SetOrd(*FRootInstance, *prop->Default);
        } else if (prop->Kind == TPropKind::String) {
            if (!prop->GetStr(*FRootInstance).empty()) prop->SetStr(*FRootInstance, std::string());
        }
    }
}

void TReader::ForEachExistingTarget(
    const std::function<void(TComponent*, const std::string&, TComponent*)>& f) const {
    if (!FResolved) return;
    for (const TFixup& fixup : FFixups)
        if (fixup.Target && !IsCreated(fixup.Target)) f(fixup.Component, fixup.Path, fixup.Target);
}

void TReader::Abandon() {
    FFixups.clear();
    FDeferred.clear();
    FPendingNames.clear();
    FPendingIndex.clear();
    // References are set only by Commit, so no component read holds another
    // one yet and each goes on its own, the last read first.
    while (!FCreated.empty()) {
        TComponent* component = FCreated.back();
        FCreated.pop_back();
        FCreatedSet.erase(component);
        delete component;
    }
}

void TReader::ReadComponent(TComponent* instance) {
    try {
        ReadRootComponent(instance);
        ResolveReferences();
    } catch (...) {
        Abandon();
        throw;
    }
    Commit();
}

} // namespace tsb
