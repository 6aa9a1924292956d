#pragma once
// libmpv, opened the first time the player starts rather than with the
// program: it brings some two hundred libraries (decoders, audio outputs,
// network), and loading them all before main() would hold back the first
// window. The player starts it on a helper thread (media_player.h), so
// the loading happens there, beside the window thread.

#include <mpv/client.h>

namespace tavo::platform {

// The functions of libmpv the player calls, under their own names.
struct MpvApi {
    decltype(&::mpv_create) create = nullptr;
    decltype(&::mpv_initialize) initialize = nullptr;
    decltype(&::mpv_terminate_destroy) terminate_destroy = nullptr;
    decltype(&::mpv_set_option_string) set_option_string = nullptr;
    decltype(&::mpv_set_property) set_property = nullptr;
    decltype(&::mpv_set_property_string) set_property_string = nullptr;
    decltype(&::mpv_get_property) get_property = nullptr;
    decltype(&::mpv_observe_property) observe_property = nullptr;
    decltype(&::mpv_command) command = nullptr;
    decltype(&::mpv_command_ret) command_ret = nullptr;
    decltype(&::mpv_free_node_contents) free_node_contents = nullptr;
    decltype(&::mpv_set_wakeup_callback) set_wakeup_callback = nullptr;
    decltype(&::mpv_wait_event) wait_event = nullptr;

    // Every function was found.
    bool Loaded() const { return create != nullptr; }
};

// The file name libmpv is opened by: the one of the client API version
// the program was built against ("libmpv.so.2").
const char* MpvLibraryName();

// Opens libmpv once, from any thread. When the library cannot be opened or
// lacks one of the functions, every member is null (the player then reads
// "unavailable").
const MpvApi& Mpv();

}  // namespace tavo::platform
