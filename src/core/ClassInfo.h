// Published properties and the class registry. Each streamable class lists its
// properties in stream order in a table chained to its base class's table;
// the stream writer and reader know classes only through these tables.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/Component.h"
#include "core/Exception.h"

namespace tsb {

using TBytes = std::vector<std::uint8_t>;

enum class TPropKind : std::uint8_t {
    Integer,
    Enumeration,
    Boolean,
    Set,
    Colour,
    Charset,
    Cursor,
    String,
    Component, // reference to a component, written by name
    Method,    // event handler, written by the published method's name
    Object,    // owned sub-object, written as dotted entries
    Binary,    // opaque data (picture data)
};

// An identifier of an enumeration value, a set member (Value = bit number) or
// a named integer value (colours, character sets, cursors).
struct TIdentEntry {
    std::int64_t Value;
    const char* Name;
};
using TIdentTable = std::span<const TIdentEntry>;

// Case-insensitive (ASCII) lookups of identifier tables.
const char* IdentOfValue(TIdentTable table, std::int64_t value);
std::optional<std::int64_t> ValueOfIdent(TIdentTable table, std::string_view name);

// A handler published by a component, bound to that component. Code holds an
// event object of the handler's signature (TNotifyEvent, TMouseEvent, ...).
struct TMethod {
    std::string Name;
    std::any Code;
};

class TClassInfo;

struct TPropInfo {
    const char* Name = "";
    TPropKind Kind = TPropKind::Integer;
    // Accepted when read (its value is skipped, also under dotted paths for
    // an object), never written: properties of the framework's classes that
    // this program does not model.
    bool Ignored = false;
    // Ordinal properties equal to the declared default are not written.
    std::optional<std::int64_t> Default;
    // Range an integer value read from a stream must lie in.
    std::int64_t MinValue = std::numeric_limits<std::int32_t>::min();
    std::int64_t MaxValue = std::numeric_limits<std::int32_t>::max();
    TIdentTable Idents;
    // Empty: always stored.
    std::function<bool(const TPersistent&)> Stored;

    // Integer, enumeration, Boolean, set, colour, character set, cursor.
    std::function<std::int64_t(const TPersistent&)> GetOrd;
    std::function<void(TPersistent&, std::int64_t)> SetOrd;
    // String (UTF-8).
    std::function<std::string(const TPersistent&)> GetStr;
    std::function<void(TPersistent&, const std::string&)> SetStr;
    // Component reference. CheckRef throws "Invalid property value" for a
    // component the property cannot refer to; SetRef runs the normal setter.
    std::function<TComponent*(const TPersistent&)> GetRef;
    std::function<void(const TPersistent&, TComponent*)> CheckRef;
    std::function<void(TPersistent&, TComponent*)> SetRef;
    // Event: the name of the assigned handler (empty when none or unnamed);
    // SetMethod with nullptr clears it and throws "Invalid property value"
    // for a handler of another signature.
    std::function<std::string(const TPersistent&)> GetMethodName;
    std::function<bool(const TMethod&)> AcceptsMethod;
    std::function<void(TPersistent&, const TMethod*)> SetMethod;
    // Owned sub-object and its class.
    std::function<TPersistent*(TPersistent&)> GetObject;
    const TClassInfo* ObjectClass = nullptr;
    // Binary data; HasData false means nothing is written.
    std::function<bool(const TPersistent&)> HasData;
    std::function<void(const TPersistent&, TBytes&)> WriteData;
    std::function<void(TPersistent&, std::span<const std::uint8_t>)> ReadData;

    bool IsOrdinal() const;
    bool Readable() const;
    bool Writable() const;
    bool IsStored(const TPersistent& instance) const { return !Stored || Stored(instance); }
};

// A method published by a class (the main window's work-area handlers):
// Bind makes the event object that calls it on the given instance.
struct TMethodInfo {
    const char* Name;
    std::function<std::any(TComponent*)> Bind;
};

class TClassInfo {
public:
    using TCreate = TComponent* (*)(TComponent* owner);

    TClassInfo(const char* name, const TClassInfo* parent, std::vector<TPropInfo> props,
               TCreate create = nullptr, std::vector<TMethodInfo> methods = {});
    TClassInfo(const TClassInfo&) = delete;
    TClassInfo& operator=(const TClassInfo&) = delete;

    const char* Name() const { return FName; }
    const TClassInfo* Parent() const { return FParent; }
    // Null for classes that are not component classes (sub-objects).
    TCreate Create() const { return FCreate; }
    bool IsComponentClass() const { return FCreate != nullptr; }
    bool InheritsFrom(const TClassInfo* other) const;

    // Every property, base-class properties first, in stream order.
    const std::vector<const TPropInfo*>& Properties() const { return FAll; }
    // Case-insensitive.
    const TPropInfo* FindProperty(std::string_view name) const;
    // Case-insensitive, this class and its bases.
    const TMethodInfo* FindMethod(std::string_view name) const;

private:
    struct TNoCaseHash {
        std::size_t operator()(std::string_view s) const;
    };
    struct TNoCaseEqual {
        bool operator()(std::string_view a, std::string_view b) const;
    };

    const char* FName;
    const TClassInfo* FParent;
    TCreate FCreate;
    std::vector<TPropInfo> FOwn;
    std::vector<TMethodInfo> FMethods;
    std::vector<const TPropInfo*> FAll;
    std::unordered_map<std::string_view, const TPropInfo*, TNoCaseHash, TNoCaseEqual> FIndex;
};

// The class registry: classes the stream reader can create by name.
// Registering a class again (or another class of the same name) is ignored.
void RegisterClass(const TClassInfo& info);
// Case-insensitive; null when the name is unknown.
const TClassInfo* FindClassInfo(std::string_view name);
// The registered class of an object, by its class name; null when none.
const TClassInfo* ClassInfoOf(const TPersistent* object);
// A registered component class; raises "Class %s not found" for an unknown
// name and for a class that is not a component class.
const TClassInfo& GetComponentClass(std::string_view name);
// Names in registration order.
std::vector<std::string> RegisteredClassNames();

// Helpers for writing tables. Each wraps typed accessors of class T into an
// entry; T must be the class whose objects the table describes (or a base).
template <class T> struct TProps {
    static T& Self(TPersistent& p) { return static_cast<T&>(p); }
    static const T& Self(const TPersistent& p) { return static_cast<const T&>(p); }

    template <class G, class S>
    static TPropInfo Ordinal(const char* name, TPropKind kind, G get, S set,
                             std::optional<std::int64_t> def = std::nullopt,
                             TIdentTable idents = {}) {
        TPropInfo p;
        p.Name = name;
        p.Kind = kind;
        p.Default = def;
        p.Idents = idents;
        p.GetOrd = [get](const TPersistent& o) { return static_cast<std::int64_t>(get(Self(o))); };
        p.SetOrd = [set](TPersistent& o, std::int64_t v) { set(Self(o), v); };
        return p;
    }
    template <class G, class S>
    static TPropInfo Int(const char* name, G get, S set,
                         std::optional<std::int64_t> def = std::nullopt) {
        return Ordinal(name, TPropKind::Integer, get, set, def);
    }
    template <class G, class S>
    static TPropInfo Bool(const char* name, G get, S set, std::optional<bool> def = std::nullopt) {
        std::optional<std::int64_t> d;
        if (def) d = *def ? 1 : 0;
        return Ordinal(name, TPropKind::Boolean, get, set, d);
    }
    template <class G, class S>
    static TPropInfo Enum(const char* name, TIdentTable names, G get, S set,
                          std::optional<std::int64_t> def = std::nullopt) {
        TPropInfo p = Ordinal(name, TPropKind::Enumeration, get, set, def, names);
        p.MinValue = 0;
        p.MaxValue = static_cast<std::int64_t>(names.size()) - 1;
        return p;
    }
    template <class G, class S> static TPropInfo String(const char* name, G get, S set) {
        TPropInfo p;
        p.Name = name;
        p.Kind = TPropKind::String;
        p.GetStr = [get](const TPersistent& o) { return std::string(get(Self(o))); };
        p.SetStr = [set](TPersistent& o, const std::string& v) { set(Self(o), v); };
        return p;
    }
    template <class G> static TPropInfo Object(const char* name, const TClassInfo& cls, G get) {
        TPropInfo p;
        p.Name = name;
        p.Kind = TPropKind::Object;
        p.ObjectClass = &cls;
        p.GetObject = [get](TPersistent& o) -> TPersistent* { return get(Self(o)); };
        return p;
    }
    // An event member of T; any handler with the event's own type fits.
    template <class E> static TPropInfo Event(const char* name, E T::*member) {
        TPropInfo p;
        p.Name = name;
        p.Kind = TPropKind::Method;
        p.GetMethodName = [member](const TPersistent& o) -> std::string {
            const E& e = Self(o).*member;
            return e ? e.Name : std::string();
        };
        p.AcceptsMethod = [](const TMethod& m) { return std::any_cast<E>(&m.Code) != nullptr; };
        p.SetMethod = [member](TPersistent& o, const TMethod* m) {
            E& e = Self(o).*member;
            if (!m) {
                e = E();
                return;
            }
            const E* code = std::any_cast<E>(&m->Code);
            if (!code) ThrowInvalidValue();
            e = *code;
        };
        return p;
    }
    // A property read and skipped, never written.
    static TPropInfo Ignored(const char* name, TPropKind kind = TPropKind::Integer) {
        TPropInfo p;
        p.Name = name;
        p.Kind = kind;
        p.Ignored = true;
        return p;
    }

    [[noreturn]] static void ThrowInvalidValue();
};

[[noreturn]] void ThrowInvalidPropertyValue();

template <class T> void TProps<T>::ThrowInvalidValue() {
    ThrowInvalidPropertyValue();
}

} // namespace tsb
