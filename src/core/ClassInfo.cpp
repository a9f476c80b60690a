#include "core/ClassInfo.h"

#include <algorithm>

#include "core/Exception.h"

namespace tsb {

const char* IdentOfValue(TIdentTable table, std::int64_t value) {
    for (const TIdentEntry& e : table)
        if (e.Value == value) return e.Name;
    return nullptr;
}

std::optional<std::int64_t> ValueOfIdent(TIdentTable table, std::string_view name) {
    for (const TIdentEntry& e : table)
        if (SameText(e.Name, name)) return e.Value;
    return std::nullopt;
}

void ThrowInvalidPropertyValue() {
    throw Exception("Invalid property value");
}

bool TPropInfo::IsOrdinal() const {
    switch (Kind) {
    case TPropKind::Integer:
    case TPropKind::Enumeration:
    case TPropKind::Boolean:
    case TPropKind::Set:
    case TPropKind::Colour:
    case TPropKind::Charset:
    case TPropKind::Cursor:
        return true;
    default:
        return false;
    }
}

bool TPropInfo::Readable() const {
    if (Ignored) return false;
    switch (Kind) {
    case TPropKind::String:
        return static_cast<bool>(GetStr);
    case TPropKind::Component:
        return static_cast<bool>(GetRef);
    case TPropKind::Method:
        return static_cast<bool>(GetMethodName);
    case TPropKind::Object:
        return static_cast<bool>(GetObject);
    case TPropKind::Binary:
        return static_cast<bool>(WriteData);
    default:
        return static_cast<bool>(GetOrd);
    }
}

bool TPropInfo::Writable() const {
    if (Ignored) return false;
    switch (Kind) {
    case TPropKind::String:
        return static_cast<bool>(SetStr);
    case TPropKind::Component:
        return static_cast<bool>(SetRef);
    case TPropKind::Method:
        return static_cast<bool>(SetMethod);
    case TPropKind::Object:
        return static_cast<bool>(GetObject);
    case TPropKind::Binary:
        return static_cast<bool>(ReadData);
    default:
        return static_cast<bool>(SetOrd);
    }
}

std::size_t TClassInfo::TNoCaseHash::operator()(std::string_view s) const {
    std::size_t h = 1469598103934665603ull;
    for (char c : s) {
        h ^= static_cast<unsigned char>(LowerCaseAscii(c));
        h *= 1099511628211ull;
    }
    return h;
}

bool TClassInfo::TNoCaseEqual::operator()(std::string_view a, std::string_view b) const {
    return SameText(a, b);
}

TClassInfo::TClassInfo(const char* name, const TClassInfo* parent, std::vector<TPropInfo> props,
                       TCreate create, std::vector<TMethodInfo> methods)
    : FName(name), FParent(parent), FCreate(create), FOwn(std::move(props)),
      FMethods(std::move(methods)) {
    if (FParent) FAll = FParent->FAll;
    for (const TPropInfo& p : FOwn)
        FAll.push_back(&p);
    // A property redeclared by a descendant keeps its place in the order and
    // takes the new entry.
    for (const TPropInfo* p : FAll)
        FIndex.insert_or_assign(std::string_view(p->Name), p);
    for (std::size_t i = 0; i < FAll.size(); ++i)
        FAll[i] = FIndex.at(FAll[i]->Name);
    std::vector<const TPropInfo*> unique;
    for (const TPropInfo* p : FAll)
        if (std::find(unique.begin(), unique.end(), p) == unique.end()) unique.push_back(p);
    FAll = std::move(unique);
}

bool TClassInfo::InheritsFrom(const TClassInfo* other) const {
    for (const TClassInfo* c = this; c; c = c->FParent)
        if (c == other) return true;
    return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
    auto it = FIndex.find(name);
    return it == FIndex.end() ? nullptr : it->second;
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->FParent)
        for (const TMethodInfo& m : c->FMethods)
            if (SameText(m.Name, name)) return &m;
    return nullptr;
}

namespace {
struct TRegistry {
    std::vector<const TClassInfo*> Order;
    std::unordered_map<std::string, const TClassInfo*> ByName;
};

TRegistry& Registry() {
    static TRegistry registry;
    return registry;
}

} // namespace

void RegisterClass(const TClassInfo& info) {
    TRegistry& r = Registry();
    if (r.ByName.emplace(LowerCaseAscii(info.Name()), &info).second) r.Order.push_back(&info);
}

const TClassInfo* FindClassInfo(std::string_view name) {
    TRegistry& r = Registry();
    auto it = r.ByName.find(LowerCaseAscii(name));
    return it == r.ByName.end() ? nullptr : it->second;
}

const TClassInfo* ClassInfoOf(const TPersistent* object) {
    return object ? FindClassInfo(object->ClassName()) : nullptr;
}

const TClassInfo& GetComponentClass(std::string_view name) {
    const TClassInfo* info = FindClassInfo(name);
    if (!info || !info->IsComponentClass())
        throw Exception(FormatMessage("Class %s not found", {std::string(name)}));
    return *info;
}

std::vector<std::string> RegisteredClassNames() {
    std::vector<std::string> out;
    for (const TClassInfo* c : Registry().Order)
        out.push_back(c->Name());
    return out;
}

} // namespace tsb
