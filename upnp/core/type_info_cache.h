// The service interface's type information and the name table read from it, loaded once for
// the whole process. The locale of the first load that succeeds serves every later caller,
// whatever locale it asks for: the library has one type library, and its member names do not
// change with the locale. A load that fails caches nothing, so the next call tries again.
// Info is what the loader hands over (in the library, an owning pointer to the type info).
#pragma once
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>

#include "platform/hresult.h"
#include "upnp/core/name_table.h"

namespace upnp {

template <typename Info>
class TypeInfoCache {
 public:
  using Load = std::function<platform::HResult(uint32_t locale, Info* info, NameTable* names)>;

  explicit TypeInfoCache(Load load) : load_(std::move(load)) {}

  // Loads on first use. On success *info (and *names, when asked for) point into the cache and
  // stay valid until Release.
  platform::HResult Get(uint32_t locale, const Info** info, const NameTable** names) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!loaded_) {
        Loaded fresh;
        const platform::HResult hr = load_(locale, &fresh.info, &fresh.names);
        if (platform::Failed(hr)) return hr;
        loaded_ = std::move(fresh);
      }
    }
    *info = &loaded_->info;
    if (names != nullptr) *names = &loaded_->names;
    return platform::kSOk;
  }

  // Drops what was loaded; at module termination.
  void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    loaded_.reset();
  }

 private:
  struct Loaded {
    Info info{};
    NameTable names;
  };
  Load load_;
  std::mutex mutex_;
  std::optional<Loaded> loaded_;
};

}  // namespace upnp
