// Handle tables: every object the library hands out is addressed by an opaque
// 32-bit handle mapped to the object here (this is x64, so never a pointer).
#pragma once
#include <cstdint>
#include <map>
#include <memory>

#include "ovlib3.h"

namespace ovsim {

// Handles come from one counter for all kinds, so a handle of one kind is
// never valid as another kind.
OVHANDLE allocateHandle();

template <class T>
class HandleTable {
public:
    OVHANDLE add(std::unique_ptr<T> object) {
        const OVHANDLE handle = allocateHandle();
        objects_[handle] = std::move(object);
        return handle;
    }
    T* find(OVHANDLE handle) const {
        auto it = objects_.find(handle);
        return it == objects_.end() ? nullptr : it->second.get();
    }
    bool remove(OVHANDLE handle) { return objects_.erase(handle) != 0; }
    uint32_t size() const { return static_cast<uint32_t>(objects_.size()); }
    template <class F>
    void forEach(F&& visit) const {
        for (const auto& [handle, object] : objects_) visit(handle, *object);
    }

private:
    std::map<OVHANDLE, std::unique_ptr<T>> objects_;
};

}  // namespace ovsim
