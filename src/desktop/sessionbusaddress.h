#ifndef DORVEX_SESSIONBUSADDRESS_H
#define DORVEX_SESSIONBUSADDRESS_H

// Where the session bus is, settled before anything asks for it.
namespace SessionBusAddress {

// In a session without DBUS_SESSION_BUS_ADDRESS the bus library launches a
// bus of its own at the first question ("autolaunch"): it forks and searches
// PATH for dbus-launch, which holds up the start, and a bus started so has no
// panel or service on it. Unless such a bus is there already for this X
// display (its launcher owns a selection named after the user and the
// machine), the address is set to one that fails at once. A desktop session
// always sets the variable, and is left as it is. To be called once the
// application is connected to its display and before the bus is first used.
void skipAutolaunch();

} // namespace SessionBusAddress

#endif
