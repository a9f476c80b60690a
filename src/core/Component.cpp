#include "core/Component.h"

#include <algorithm>

#include "core/Exception.h"

namespace tsb {

void TPersistent::Assign(const TPersistent& source) {
    AssignError(&source);
}

void TPersistent::AssignError(const TPersistent* source) const {
    std::string from = source ? source->ClassName() : "nil";
    throw Exception(FormatMessage("Cannot assign a %s to a %s", {from, ClassName()}));
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

void TComponent::operator delete(TComponent* p, std::destroying_delete_t) {
    if (!p->Destroying()) p->BeforeDestruction();
    p->~TComponent();
    ::operator delete(p);
}

void TComponent::BeforeDestruction() {
    FState |= csDestroying;
    NotifyRemoval();
}

void TComponent::NotifyRemoval() {
    if (FNotified) return;
    FNotified = true;
    FState |= csDestroying;
    // Subscribers drop their references first.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        auto& back = other->FFreeNotifies;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

TComponent::~TComponent() {
    // Objects that were not deleted through the component delete (for example
    // ones living on the stack) still leave their owner cleanly.
    NotifyRemoval();
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        delete c;
    }
}

bool TComponent::IsValidIdent(const std::string& name) {
    if (name.empty()) return false;
    auto alpha = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    };
    if (!alpha(name[0])) return false;
    for (char c : name)
        if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
    return true;
}

void TComponent::SetName(const std::string& name) {
    if (name == FName) return;
    if (!name.empty() && !IsValidIdent(name))
        throw Exception(FormatMessage("''%s'' is not a valid component name", {name}));
    if (FOwner && !name.empty()) {
        TComponent* existing = FOwner->FindComponent(name);
        if (existing && existing != this)
            throw Exception(FormatMessage("A component named %s already exists", {name}));
    }
    if (FOwner) FOwner->RenameIndex(this, FName, name);
    FName = name;
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    auto it = FNameIndex.find(LowerCaseAscii(name));
    return it == FNameIndex.end() ? nullptr : it->second;
}

void TComponent::RenameIndex(TComponent* c, const std::string& oldName,
                             const std::string& newName) {
    if (!oldName.empty()) {
        auto it = FNameIndex.find(LowerCaseAscii(oldName));
        if (it != FNameIndex.end() && it->second == c) FNameIndex.erase(it);
    }
    if (!newName.empty()) FNameIndex[LowerCaseAscii(newName)] = c;
}

void TComponent::SetLoading(bool on) {
    if (on)
        FState |= csLoading;
    else
        FState &= ~csLoading;
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), other) == FFreeNotifies.end())
        FFreeNotifies.push_back(other);
    auto& back = other->FFreeNotifies;
    if (std::find(back.begin(), back.end(), this) == back.end()) back.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other) return;
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), other),
                        FFreeNotifies.end());
    auto& back = other->FFreeNotifies;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->FOwner == this) return;
    if (component->FOwner) component->FOwner->RemoveComponent(component);
    component->FOwner = this;
    component->FOwnerIndex = FComponents.size();
    FComponents.push_back(component);
    RenameIndex(component, "", component->FName);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->FOwner != this) return;
    Notification(component, opRemove);
    RenameIndex(component, component->FName, "");
    // Owned components are usually removed from the end; keep that cheap and
    // fall back to a search otherwise.
    std::size_t i = component->FOwnerIndex;
    if (i >= FComponents.size() || FComponents[i] != component)
        i = static_cast<std::size_t>(std::find(FComponents.begin(), FComponents.end(), component) -
                                     FComponents.begin());
    if (i < FComponents.size()) {
        FComponents.erase(FComponents.begin() + static_cast<std::ptrdiff_t>(i));
        for (std::size_t j = i; j < FComponents.size(); ++j)
            FComponents[j]->FOwnerIndex = j;
    }
    component->FOwner = nullptr;
}

void TComponent::Loaded() {
    FState &= ~csLoading;
}

} // namespace tsb
