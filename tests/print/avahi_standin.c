/* Preloaded into ippeveprinter and lprint for tests: the few libavahi-client calls they make,
 * answered without an avahi daemon (ippeveprinter aborts without one) and without announcing the
 * test printer on the network. Declared without parameters: every caller's arguments are ignored. */
static int dummy;
#define ANSWER(type, name, value) \
    type name() {                 \
        return value;             \
    }
ANSWER(void*, avahi_threaded_poll_new, &dummy)
ANSWER(const void*, avahi_threaded_poll_get, &dummy)
ANSWER(int, avahi_threaded_poll_start, 0)
ANSWER(void*, avahi_client_new, &dummy)
ANSWER(int, avahi_client_errno, 0)
ANSWER(const char*, avahi_client_get_host_name_fqdn, "localhost")
ANSWER(void*, avahi_entry_group_new, &dummy)
ANSWER(int, avahi_entry_group_add_service_strlst, 0)
ANSWER(int, avahi_entry_group_add_service_subtype, 0)
ANSWER(int, avahi_entry_group_commit, 0)
ANSWER(int, avahi_entry_group_free, 0)
ANSWER(void*, avahi_string_list_add_printf, &dummy)
void avahi_threaded_poll_lock() {}
void avahi_threaded_poll_unlock() {}
void avahi_string_list_free() {}
