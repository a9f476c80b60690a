// The component-stream reader. It reads a record into an existing component
// (the work area) and creates the components of its child records; it trusts
// no count or length in its input.
//
// Reading goes in stages, so that a caller can read a whole stream before it
// changes anything the user sees:
//   ReadRootComponent  parses everything and creates the child components;
//                      references are only collected
//   ResolveReferences  looks every collected name up and checks it
//   Commit             assigns held-back names and root properties, sets the
//                      references through their setters, calls Loaded
//   Abandon            deletes the components created, after a failure
// Nothing before Commit changes a component that existed before the read,
// except that the root's properties are applied at once unless
// DeferRootProperties is set.
//
// Prefix bytes: a record may start with a byte 0xF0-0xFF carrying flags in
// its low bits. Flag 2 announces a child position, a tagged integer that
// follows the prefix; it is read and ignored, as are the other flags.
//
// Values are read by TValueReader (ValueReader.h).
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/ClassInfo.h"
#include "core/Exception.h"
#include "model/ValueReader.h"

namespace tsb {

class TWinControl;

class TReader : public TValueReader {
public:
    explicit TReader(std::span<const std::uint8_t> data);
    ~TReader();
    TReader(const TReader&) = delete;
    TReader& operator=(const TReader&) = delete;

    // Owner of the components created; names are looked up among its
    // components.
    TComponent* Root = nullptr;
    // Publishes the handlers that method references name; Root when null.
    TComponent* MethodRoot = nullptr;
    // Child records must name a class derived from this one (null: any
    // component class).
    const TClassInfo* ChildBase = nullptr;
    // Components of Root that the components read are going to replace: their
    // names count as free and references never resolve to them. When set, the
    // names read are checked at once and assigned only by Commit.
    std::function<bool(const TComponent*)> IsReplaced;
    // Parse the root record's own properties now, apply them in Commit.
    bool DeferRootProperties = false;
    // What Commit does with the root record's own properties when deferred:
    // apply them, drop them, or apply them and set every property the record
    // leaves out (an ordinal with a default, a string) back to its default,
    // so the root takes exactly the state the record was written from.
    enum TRootProperties { rpApply, rpIgnore, rpExact };
    TRootProperties RootProperties = rpApply;

    // Called before each record's name is assigned; may change the name.
    std::function<void(TReader&, TComponent*, std::string&)> OnSetName;
    // Called before each collected reference is looked up; may change the name.
    std::function<void(TReader&, std::string&)> OnReferenceName;

    void ReadRootComponent(TComponent* instance);
    void ResolveReferences();
    void Commit();
    void Abandon();
    // ReadRootComponent, ResolveReferences and Commit; Abandon on failure.
    void ReadComponent(TComponent* instance);

    // True when a component of Root, or one read and not yet named, has the
    // name (case-insensitive), leaving out replaced components.
    bool NameInUse(const std::string& name) const;
    // Each reference resolved so far that leads to a component that existed
    // before the read: the component whose record held it, the property's
    // path and the component it leads to.
    void ForEachExistingTarget(
        const std::function<void(TComponent*, const std::string&, TComponent*)>& f) const;
    bool IsCreated(const TComponent* component) const { return FCreatedSet.count(component); }
    const std::vector<TComponent*>& Created() const { return FCreated; }

private:
    struct TFixup {
        TComponent* Component; // the component whose record held the entry
        TPersistent* Instance; // the object the property belongs to
        const TPropInfo* Prop;
        std::string Path;
        std::string Name;
        bool Nil = false;
        TComponent* Target = nullptr;
    };
    struct TValue {
        std::int64_t Ord = 0;
        std::string Str;
        TBytes Data;
        bool HasMethod = false;
        TMethod Method;
    };
    struct TDeferred {
        TPersistent* Instance;
        const TPropInfo* Prop;
        TValue Value;
    };
    void ReadPrefix();
    void ReadChild(TWinControl* parent);
    void ReadProperties(TComponent* component, const TClassInfo& info, bool deferred);
    void ReadProperty(TComponent* component, const TClassInfo& info, bool deferred);
    void ReadPropValue(TComponent* component, TPersistent& instance, const TPropInfo& prop,
                       const std::string& path, bool deferred);
    std::int64_t ReadOrdinal(const TPropInfo& prop);
    static void Apply(TPersistent& instance, const TPropInfo& prop, const TValue& value);
    void AssignName(TComponent* component, std::string name);
    TComponent* Lookup(const std::string& name) const;
    TComponent* LookupOne(const std::string& name) const;
    std::string DisplayName(const TComponent* component) const;
    void ResetOmittedRootProperties();
    [[noreturn]] void PropertyError(const TComponent* component, const std::string& path,
                                    const std::string& message) const;

    TComponent* FRootInstance = nullptr;
    std::string FRootName;
    std::vector<TComponent*> FCreated;
    std::unordered_set<const TComponent*> FCreatedSet;
    std::vector<TFixup> FFixups;
    std::vector<TDeferred> FDeferred;
    // Names held back until Commit, by component and by lower-case name.
    std::vector<std::pair<TComponent*, std::string>> FPendingNames;
    std::unordered_map<std::string, TComponent*> FPendingIndex;
    // The first reference collected for the record being read.
    std::size_t FRecordFixups = 0;
    bool FResolved = false;
};

} // namespace tsb
