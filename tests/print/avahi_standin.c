/* Preloaded into ippeveprinter for tests: the few libavahi-client calls it makes, answered without
 * an avahi daemon (ippeveprinter aborts without one) and without announcing the test printer on
 * the network. */
#include <stddef.h>
typedef void (*cb_t)(void*, int, void*);
static int dummy;
void* avahi_threaded_poll_new(void) {
    return &dummy;
}
const void* avahi_threaded_poll_get(void* p) {
    (void)p;
    return &dummy;
}
int avahi_threaded_poll_start(void* p) {
    (void)p;
    return 0;
}
void avahi_threaded_poll_lock(void* p) {
    (void)p;
}
void avahi_threaded_poll_unlock(void* p) {
    (void)p;
}
void* avahi_client_new(const void* poll, int flags, cb_t callback, void* userdata, int* error) {
    (void)poll;
    (void)flags;
    (void)callback;
    (void)userdata;
    if (error)
        *error = 0;
    return &dummy;
}
int avahi_client_errno(void* c) {
    (void)c;
    return 0;
}
const char* avahi_client_get_host_name_fqdn(void* c) {
    (void)c;
    return "localhost";
}
void* avahi_entry_group_new(void* c, void* cb, void* u) {
    (void)c;
    (void)cb;
    (void)u;
    return &dummy;
}
int avahi_entry_group_add_service_strlst(void* g, ...) {
    (void)g;
    return 0;
}
int avahi_entry_group_add_service_subtype(void* g, ...) {
    (void)g;
    return 0;
}
int avahi_entry_group_commit(void* g) {
    (void)g;
    return 0;
}
int avahi_entry_group_free(void* g) {
    (void)g;
    return 0;
}
void* avahi_string_list_add_printf(void* l, const char* f, ...) {
    (void)l;
    (void)f;
    return &dummy;
}
void avahi_string_list_free(void* l) {
    (void)l;
}
