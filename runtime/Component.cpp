#include "runtime/Component.h"

#include <algorithm>

namespace rt {

Component::Component(Component* owner) : owner_(owner) {
    if (owner_) owner_->components_.push_back(this);
}

Component::~Component() {
    DestroyComponents();
    if (owner_) {
        auto& v = owner_->components_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
        owner_->Notification(this, Operation::Remove);
    }
}

void Component::DestroyComponents() {
    while (!components_.empty()) {
        Component* c = components_.back();
        delete c;  // its destructor takes it off the list
    }
}

void Component::AnnounceInsertion() {
    if (owner_) owner_->Notification(this, Operation::Insert);
}

void Component::Notification(Component* component, Operation op) {
    const std::vector<Component*> copy = components_;
    for (Component* c : copy)
        if (c != component) c->Notification(component, op);
}

bool Component::Loading() const {
    for (const Component* c = this; c; c = c->owner_)
        if (c->loading_) return true;
    return false;
}

}  // namespace rt
