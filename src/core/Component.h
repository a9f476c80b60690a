// The component model: an owner that frees what it owns, names unique among
// the owner's components, and removal notification that lets every holder of
// a reference drop it before the component is gone.
#pragma once

#include <cstddef>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

namespace tsb {

// Declares the class-name hook of a component class.
#define TSB_CLASS(Name)                                                                            \
public:                                                                                            \
    static constexpr const char* StaticClassName = #Name;                                          \
    const char* ClassName() const override {                                                       \
        return #Name;                                                                              \
    }

class TPersistent {
public:
    virtual ~TPersistent() = default;
    virtual const char* ClassName() const { return "TPersistent"; }
    // Copies the state of another object; the default refuses with
    // "Cannot assign a %s to a %s".
    virtual void Assign(const TPersistent& source);

protected:
    void AssignError(const TPersistent* source) const;
};

enum TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned {
    csLoading = 1,
    csReading = 2,
    csWriting = 4,
    csDestroying = 8,
};

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    const char* ClassName() const override { return "TComponent"; }

    // Every delete of a component runs BeforeDestruction on the whole object
    // first, so removal notifications see a fully formed component.
    void operator delete(TComponent* p, std::destroying_delete_t);
    static void* operator new(std::size_t size) { return ::operator new(size); }
    // Frees the memory of a construction that threw.
    static void operator delete(void* p) { ::operator delete(p); }

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    // Raises "A component named %s already exists" or
    // "''%s'' is not a valid component name".
    virtual void SetName(const std::string& name);

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Component(int index) const { return FComponents[index]; }
    const std::vector<TComponent*>& Components() const { return FComponents; }
    TComponent* FindComponent(const std::string& name) const;

    unsigned ComponentState() const { return FState; }
    bool Destroying() const { return FState & csDestroying; }
    void SetLoading(bool on);

    // Asks for a removal notification when `other` goes away.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Called when a component is inserted into or removed from the owner,
    // or when a component this one asked about is destroyed.
    virtual void Notification(TComponent* component, TOperation operation);

    // Ownership transfer.
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    // Called once the stream reader has finished reading this component.
    virtual void Loaded();

    int Tag = 0;

    static bool IsValidIdent(const std::string& name);

protected:
    // Runs before any destructor of the object: marks it as destroying and
    // tells the owner's components and the free-notification subscribers.
    virtual void BeforeDestruction();
    void DestroyComponents();

private:
    void NotifyRemoval();
    void RenameIndex(TComponent* c, const std::string& oldName, const std::string& newName);

    TComponent* FOwner = nullptr;
    std::size_t FOwnerIndex = 0;
    // Owned components by lower-case name.
    std::unordered_map<std::string, TComponent*> FNameIndex;
    std::string FName;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    unsigned FState = 0;
    bool FNotified = false;
};

// Checked down-cast helper in the style of "is" / "as".
template <typename T, typename U> T* As(U* p) {
    return dynamic_cast<T*>(p);
}
template <typename T, typename U> bool Is(U* p) {
    return dynamic_cast<T*>(p) != nullptr;
}

} // namespace tsb
