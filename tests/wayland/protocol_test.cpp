// The project's layer-shell description against the one compiled into
// Debian's gtk-layer-shell: the same interface names and versions, and the
// same requests and events in the same order with the same signatures, so
// that the program speaks to a compositor as that library does.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <wayland-util.h>

#include <string>

#include "wlr-layer-shell-unstable-v1-client-protocol.h"

namespace {

void expect_same_messages(const wl_message* ours, int our_count, const wl_message* theirs, int their_count,
                          const std::string& what)
{
    ASSERT_EQ(our_count, their_count) << what;
    for (int i = 0; i < our_count; ++i) {
        EXPECT_STREQ(ours[i].name, theirs[i].name) << what << " " << i;
        EXPECT_STREQ(ours[i].signature, theirs[i].signature) << what << " " << ours[i].name;
        // The interfaces that new_id and object arguments name.
        const std::string signature = ours[i].signature;
        int argument = 0;
        for (char c : signature) {
            if (c == '?' || (c >= '0' && c <= '9')) continue;
            const wl_interface* our_type = ours[i].types[argument];
            const wl_interface* their_type = theirs[i].types[argument];
            ++argument;
            if (!our_type || !their_type) {
                EXPECT_EQ(our_type == nullptr, their_type == nullptr) << what << " " << ours[i].name;
                continue;
            }
            EXPECT_STREQ(our_type->name, their_type->name) << what << " " << ours[i].name;
        }
    }
}

TEST(LayerShellProtocol, MatchesDebiansGtkLayerShell)
{
    void* library = dlopen("libgtk-layer-shell.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library) GTEST_SKIP() << "libgtk-layer-shell0 is not installed: " << dlerror();
    for (const wl_interface* ours : {&zwlr_layer_shell_v1_interface, &zwlr_layer_surface_v1_interface}) {
        const std::string name = std::string(ours->name) + "_interface";
        const auto* theirs = static_cast<const wl_interface*>(dlsym(library, name.c_str()));
        ASSERT_NE(theirs, nullptr) << name << " is not exported";
        EXPECT_STREQ(ours->name, theirs->name);
        EXPECT_EQ(ours->version, theirs->version) << ours->name;
        expect_same_messages(ours->methods, ours->method_count, theirs->methods, theirs->method_count,
                             name + " requests");
        expect_same_messages(ours->events, ours->event_count, theirs->events, theirs->event_count, name + " events");
    }
    dlclose(library);
}

} // namespace
