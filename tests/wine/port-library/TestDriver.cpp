// The kernel driver the port library of the Wine tests comes with: the service starts it and
// stops it, and nothing more is asked of it.
namespace {

// Where a 64-bit DRIVER_OBJECT keeps its unload routine; a driver without one cannot be stopped.
constexpr unsigned kDriverUnloadOffset = 0x68;

void Unload(void*) {}

}  // namespace

extern "C" long DriverEntry(void* driverObject, void*) {
    *reinterpret_cast<void (**)(void*)>(static_cast<char*>(driverObject) + kDriverUnloadOffset) =
        Unload;
    return 0;  // STATUS_SUCCESS
}
