#include "platform/core/mpv_library.h"

#include <dlfcn.h>

#include <string>

namespace tavo::platform {

namespace {

template <typename F>
bool Find(void* library, const char* name, F& out) {
    out = reinterpret_cast<F>(dlsym(library, name));
    return out != nullptr;
}

MpvApi Open() {
    void* library = dlopen(MpvLibraryName(), RTLD_LAZY | RTLD_LOCAL);
    if (!library) return {};
    MpvApi api;
    const bool all = Find(library, "mpv_create", api.create) && Find(library, "mpv_initialize", api.initialize) &&
                     Find(library, "mpv_terminate_destroy", api.terminate_destroy) &&
                     Find(library, "mpv_set_option_string", api.set_option_string) &&
                     Find(library, "mpv_set_property", api.set_property) &&
                     Find(library, "mpv_set_property_string", api.set_property_string) &&
                     Find(library, "mpv_get_property", api.get_property) &&
                     Find(library, "mpv_observe_property", api.observe_property) &&
                     Find(library, "mpv_command", api.command) && Find(library, "mpv_command_ret", api.command_ret) &&
                     Find(library, "mpv_free_node_contents", api.free_node_contents) &&
                     Find(library, "mpv_set_wakeup_callback", api.set_wakeup_callback) &&
                     Find(library, "mpv_wait_event", api.wait_event);
    // The library stays open for the program's life: its threads may still
    // run while the program ends.
    return all ? api : MpvApi{};
}

}  // namespace

const char* MpvLibraryName() {
    static const std::string name = "libmpv.so." + std::to_string(MPV_CLIENT_API_VERSION >> 16);
    return name.c_str();
}

const MpvApi& Mpv() {
    static const MpvApi api = Open();
    return api;
}

}  // namespace tavo::platform
