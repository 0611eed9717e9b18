#pragma once
// Components with owners. An owner frees the components it owns, newest
// first; a component leaving tells the rest of its owner's tree.
#include <functional>
#include <string>
#include <vector>

namespace rt {

class Component;

using NotifyEvent = std::function<void(Component* sender)>;
enum class Operation { Insert, Remove };

class Component {
public:
    explicit Component(Component* owner);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    Component* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    const std::vector<Component*>& Components() const { return components_; }
    virtual const char* ClassName() const { return "TComponent"; }

    // True while the owning form is still being built; events that the
    // program raises on property changes stay quiet then.
    bool Loading() const;
    void SetLoading(bool on) { loading_ = on; }

    // Told of components inserted under (or removed from) this one's owner
    // chain; by default passed on to every owned component.
    virtual void Notification(Component* component, Operation op);

protected:
    // Called by subclasses at the end of their constructor, so that the
    // owner's components see the finished object.
    void AnnounceInsertion();
    void DestroyComponents();

private:
    Component* owner_;
    std::vector<Component*> components_;
    std::string name_;
    bool loading_ = false;
};

}  // namespace rt
