// The one instance of the window system's context, and its reset.
#include "context.h"

#include "gdi/font_cache.h"
#include "testing_door.h"

namespace plat {

PlatformContext& context() {
  static PlatformContext c;
  return c;
}

void platform_reset() {
  PlatformContext& c = context();
  c.handles.windows.for_each([](uintptr_t, Window& w) { host::destroy_window(w.host_id); });
  HandleTables kept = std::move(c.handles);
  kept.clear();
  c = PlatformContext{};
  c.handles = std::move(kept);
  gdi::font_cache_reset();
}

}  // namespace plat
