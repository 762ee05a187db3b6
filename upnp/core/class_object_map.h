// The library's creatable classes, each with the class factory that makes its objects. A
// class's factory is created on the first request for that class and kept, so every later
// request is answered by the same factory, until the module ends.
// ClassId needs ==; Factory needs AddRef(), Release() and QueryInterface(iid, void**).
#pragma once
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/com_ptr.h"
#include "platform/hresult.h"

namespace upnp {

template <typename ClassId, typename Factory>
class ClassObjectMap {
 public:
  // Makes a new factory with one reference for the caller.
  using CreateFactory = std::function<platform::HResult(Factory** factory)>;

  void Add(ClassId clsid, CreateFactory create) {
    entries_.push_back(Entry{std::move(clsid), std::move(create), {}});
  }

  // Asks the class's factory for iid, as DllGetClassObject answers. A creation that fails
  // keeps nothing, so the next request tries again. *object is cleared first.
  template <typename Iid>
  platform::HResult GetClassObject(const ClassId& clsid, const Iid& iid, void** object) {
    if (object == nullptr) return platform::kEPointer;
    *object = nullptr;
    for (Entry& entry : entries_) {
      if (!(entry.clsid == clsid)) continue;
      {
        std::lock_guard<std::mutex> lock(factory_mutex_);
        if (!entry.factory) {
          const platform::HResult hr = entry.create(entry.factory.put());
          if (platform::Failed(hr)) return hr;
        }
      }
      // The factory stays until ReleaseFactories, which runs only once no caller is left.
      return entry.factory->QueryInterface(iid, object);
    }
    return platform::kClassEClassNotAvailable;
  }

  // Drops the map's reference to every factory made; at module termination.
  void ReleaseFactories() {
    for (Entry& entry : entries_) entry.factory.reset();
  }

 private:
  struct Entry {
    ClassId clsid;
    CreateFactory create;
    platform::ComPtr<Factory> factory;
  };
  std::vector<Entry> entries_;
  std::mutex factory_mutex_;
};

}  // namespace upnp
