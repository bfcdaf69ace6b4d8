/* Prints one line for every window mapped on the display, stamped with the
 * wall-clock time the map was reported:
 *   SECONDS.NANOSECONDS WINDOW PID XEMBED WIDTH HEIGHT TITLE
 * PID is the window's _NET_WM_PID (0 if it has none) and XEMBED is 1 for a
 * window that carries _XEMBED_INFO, as a tray icon does. "ready" is printed
 * once the watch is in place.
 *
 * A window manager reparents the windows it frames and a tray reparents its
 * icons, so the maps of those windows are no longer reported on the root
 * window; every window is therefore watched itself from its creation on. */
#include <xcb/xcb.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, (uint16_t)strlen(name), name), NULL);
    xcb_atom_t result = reply ? reply->atom : XCB_ATOM_NONE;
    free(reply);
    return result;
}

static xcb_get_property_reply_t *property(xcb_connection_t *connection, xcb_window_t window,
                                          xcb_atom_t name, xcb_atom_t type)
{
    return xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, name, type, 0, 256), NULL);
}

static void report(xcb_connection_t *connection, xcb_window_t window, const struct timespec *when,
                   xcb_atom_t pidAtom, xcb_atom_t xembedAtom, xcb_atom_t nameAtom,
                   xcb_atom_t utf8Atom)
{
    unsigned long pid = 0;
    int xembed = 0;
    int width = 0;
    int height = 0;
    char title[128] = "";

    xcb_get_property_reply_t *reply = property(connection, window, pidAtom, XCB_ATOM_CARDINAL);
    if (reply && xcb_get_property_value_length(reply) >= 4)
        pid = *(uint32_t *)xcb_get_property_value(reply);
    free(reply);

    reply = property(connection, window, xembedAtom, XCB_ATOM_ANY);
    xembed = reply && reply->type != XCB_ATOM_NONE;
    free(reply);

    reply = property(connection, window, nameAtom, utf8Atom);
    if (!reply || xcb_get_property_value_length(reply) == 0) {
        free(reply);
        reply = property(connection, window, XCB_ATOM_WM_NAME, XCB_ATOM_ANY);
    }
    if (reply) {
        int length = xcb_get_property_value_length(reply);
        if (length > (int)sizeof title - 1)
            length = sizeof title - 1;
        memcpy(title, xcb_get_property_value(reply), (size_t)length);
        title[length] = '\0';
        for (char *c = title; *c; ++c)
            if (*c == '\n' || *c == '\r')
                *c = ' ';
    }
    free(reply);

    xcb_get_geometry_reply_t *geometry =
            xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), NULL);
    if (geometry) {
        width = geometry->width;
        height = geometry->height;
    }
    free(geometry);

    printf("%lld.%09ld 0x%x %lu %d %d %d %s\n", (long long)when->tv_sec, when->tv_nsec, window, pid,
           xembed, width, height, title);
    fflush(stdout);
}

int main(void)
{
    xcb_connection_t *connection = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(connection)) {
        fprintf(stderr, "mapwatch: cannot open the display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t pidAtom = atom(connection, "_NET_WM_PID");
    const xcb_atom_t xembedAtom = atom(connection, "_XEMBED_INFO");
    const xcb_atom_t nameAtom = atom(connection, "_NET_WM_NAME");
    const xcb_atom_t utf8Atom = atom(connection, "UTF8_STRING");

    const uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &rootMask);
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), NULL));
    printf("ready\n");
    fflush(stdout);

    xcb_generic_event_t *event;
    while ((event = xcb_wait_for_event(connection))) {
        struct timespec now;
        clock_gettime(CLOCK_REALTIME, &now);
        switch (event->response_type & 0x7f) {
        case XCB_CREATE_NOTIFY: {
            const xcb_window_t window = ((xcb_create_notify_event_t *)event)->window;
            const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
            xcb_void_cookie_t cookie = xcb_change_window_attributes_checked(
                    connection, window, XCB_CW_EVENT_MASK, &mask);
            free(xcb_request_check(connection, cookie));
            /* Mapped before the watch took hold: reported now, a little late. */
            xcb_get_window_attributes_reply_t *attributes = xcb_get_window_attributes_reply(
                    connection, xcb_get_window_attributes(connection, window), NULL);
            if (attributes && attributes->map_state != XCB_MAP_STATE_UNMAPPED) {
                clock_gettime(CLOCK_REALTIME, &now);
                report(connection, window, &now, pidAtom, xembedAtom, nameAtom, utf8Atom);
            }
            free(attributes);
            break;
        }
        case XCB_MAP_NOTIFY: {
            const xcb_map_notify_event_t *map = (xcb_map_notify_event_t *)event;
            /* The same map reaches the root window as well when the window is
             * one of its children; it is reported once. */
            if (map->event == map->window)
                report(connection, map->window, &now, pidAtom, xembedAtom, nameAtom, utf8Atom);
            break;
        }
        default:
            break;
        }
        free(event);
    }
    return 0;
}
