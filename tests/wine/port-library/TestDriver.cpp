// The kernel driver the port library of the Wine tests comes with: the service starts it and
// nothing more is asked of it.
extern "C" long DriverEntry(void*, void*) {
    return 0;  // STATUS_SUCCESS
}
