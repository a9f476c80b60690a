#include "model/Reader.h"

#include "platform/TextEncoding.h"
#include "platform/WinControl.h"

namespace tsb {

namespace {

constexpr int kMaxNesting = 32;

std::string LowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

[[noreturn]] void InvalidValue() {
    throw Exception("Invalid property value");
}

bool IsIdentTag(TValueType t) {
    return t == vaIdent || t == vaFalse || t == vaTrue || t == vaNil || t == vaNull;
}

} // namespace

TReader::TReader(std::span<const std::uint8_t> data) : FData(data) {}

TReader::~TReader() = default;

void TReader::ReadError() {
    throw EReadError("Stream read error");
}

std::uint8_t TReader::ReadByte() {
    if (FPos >= FData.size()) ReadError();
    return FData[FPos++];
}

const std::uint8_t* TReader::ReadBytes(std::size_t n) {
    if (n > Remaining()) ReadError();
    const std::uint8_t* p = FData.data() + FPos;
    FPos += n;
    return p;
}

std::uint32_t TReader::ReadUInt32() {
    const std::uint8_t* p = ReadBytes(4);
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

TValueType TReader::ReadValue() {
    return static_cast<TValueType>(ReadByte());
}

TValueType TReader::NextValue() const {
    if (FPos >= FData.size()) ReadError();
    return static_cast<TValueType>(FData[FPos]);
}

void TReader::ReadListEnd() {
    if (ReadValue() != vaNull) ReadError();
}

bool TReader::ReadIntPayload(TValueType type, std::int64_t& value) {
    switch (type) {
    case vaInt8:
        value = static_cast<std::int8_t>(ReadByte());
        return true;
    case vaInt16: {
        const std::uint8_t* p = ReadBytes(2);
        value = static_cast<std::int16_t>(std::uint16_t(p[0] | p[1] << 8));
        return true;
    }
    case vaInt32:
        value = static_cast<std::int32_t>(ReadUInt32());
        return true;
    case vaInt64: {
        std::uint64_t lo = ReadUInt32();
        std::uint64_t hi = ReadUInt32();
        value = static_cast<std::int64_t>(lo | hi << 32);
        return true;
    }
    default:
        return false;
    }
}

std::int64_t TReader::ReadInteger() {
    std::int64_t value = 0;
    if (!ReadIntPayload(ReadValue(), value)) InvalidValue();
    return value;
}

std::string TReader::ReadStr() {
    std::size_t n = ReadByte();
    const std::uint8_t* p = ReadBytes(n);
    std::string_view bytes(reinterpret_cast<const char*>(p), n);
    for (std::uint8_t b : bytes)
        if (b >= 0x80) return Cp1252ToUtf8(bytes);
    return std::string(bytes);
}

std::string TReader::IdentText(TValueType type) {
    switch (type) {
    case vaIdent:
        return ReadStr();
    case vaFalse:
        return "False";
    case vaTrue:
        return "True";
    case vaNil:
        return "nil";
    case vaNull:
        return "Null";
    default:
        InvalidValue();
    }
}

std::string TReader::ReadIdent() {
    return IdentText(ReadValue());
}

std::string TReader::ReadString() {
    switch (ReadValue()) {
    case vaString: {
        std::size_t n = ReadByte();
        const std::uint8_t* p = ReadBytes(n);
        return Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(p), n));
    }
    case vaLString: {
        std::size_t n = ReadUInt32();
        const std::uint8_t* p = ReadBytes(n);
        return Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(p), n));
    }
    case vaWString: {
        std::size_t n = ReadUInt32();
        if (n > Remaining() / 2) ReadError();
        const std::uint8_t* p = ReadBytes(n * 2);
        std::u16string units(n, u'\0');
        for (std::size_t i = 0; i < n; ++i)
            units[i] = static_cast<char16_t>(p[2 * i] | p[2 * i + 1] << 8);
        return Utf16ToUtf8(units);
    }
    default:
        InvalidValue();
    }
}

void TReader::SkipValue() {
    SkipValue(0);
}

void TReader::SkipValue(int depth) {
    if (depth > kMaxNesting) ReadError();
    TValueType type = ReadValue();
    switch (type) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
        return;
    case vaList:
        while (!EndOfList())
            SkipValue(depth + 1);
        ReadListEnd();
        return;
    case vaInt8:
        ReadBytes(1);
        return;
    case vaInt16:
        ReadBytes(2);
        return;
    case vaInt32:
    case vaSingle:
        ReadBytes(4);
        return;
    case vaInt64:
    case vaCurrency:
    case vaDate:
        ReadBytes(8);
        return;
    case vaExtended:
        ReadBytes(10);
        return;
    case vaString:
    case vaIdent:
        ReadBytes(ReadByte());
        return;
    case vaBinary:
    case vaLString:
        ReadBytes(ReadUInt32());
        return;
    case vaWString: {
        std::size_t n = ReadUInt32();
        if (n > Remaining() / 2) ReadError();
        ReadBytes(n * 2);
        return;
    }
    case vaSet:
        while (std::size_t n = ReadByte())
            ReadBytes(n);
        return;
    case vaCollection:
        while (!EndOfList()) {
            TValueType next = NextValue();
            if (next == vaInt8 || next == vaInt16 || next == vaInt32) SkipValue(depth + 1);
            if (ReadValue() != vaList) ReadError();
            SkipProperties(depth + 1);
        }
        ReadListEnd();
        return;
    default:
        InvalidValue();
    }
}

void TReader::SkipProperties(int depth) {
    if (depth > kMaxNesting) ReadError();
    while (!EndOfList()) {
        ReadBytes(ReadByte());
        SkipValue(depth + 1);
    }
    ReadListEnd();
}

void TReader::ReadSignature() {
    const std::uint8_t* p = ReadBytes(sizeof StreamSignature);
    for (std::size_t i = 0; i < sizeof StreamSignature; ++i)
        if (p[i] != StreamSignature[i]) throw EReadError("Invalid stream format");
}

void TReader::ReadPrefix() {
    std::uint8_t b = static_cast<std::uint8_t>(NextValue());
    if ((b & 0xF0) != 0xF0) return;
    ++FPos;
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
    if (IsReplaced) FCreatedSet.insert(component);
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
    FPendingIndex.emplace(LowerAscii(name), component);
    FPendingNames.emplace_back(component, std::move(name));
}

bool TReader::NameInUse(const std::string& name) const {
    if (name.empty()) return false;
    if (FPendingIndex.count(LowerAscii(name))) return true;
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
    if (auto it = FPendingIndex.find(LowerAscii(name)); it != FPendingIndex.end())
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
    for (const TDeferred& d : FDeferred)
        Apply(*d.Instance, *d.Prop, d.Value);
    FDeferred.clear();
    for (const TFixup& fixup : FFixups)
        fixup.Prop->SetRef(*fixup.Instance, fixup.Target);
    FFixups.clear();
    if (FRootInstance) FRootInstance->Loaded();
    for (TComponent* component : FCreated)
        component->Loaded();
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
