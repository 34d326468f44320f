#include "framework/ui/DeviceChange.h"

#include "framework/core/PortEnumeration.h"
#include "framework/ui/App.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct Hub {
    std::vector<HWND> windows;
    std::unique_ptr<CPortMonitor> monitor;
    QSocketNotifier* notifier = nullptr;
    bool monitorFailed = false;
};

Hub& TheHub() {
    static Hub hub;
    return hub;
}

void Deliver(bool arrival, const std::string& name) {
    DEV_BROADCAST_PORT port;
    port.dbcp_name = name;
    port.devicePath = "/dev/" + name;
    // A handler may register or unregister windows: deliver to a copy of the list.
    const std::vector<HWND> windows = TheHub().windows;
    for (HWND handle : windows)
        if (CWnd* window = CWnd::FromHandle(handle))
            window->SendMessage(WM_DEVICECHANGE, arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                                reinterpret_cast<LPARAM>(&port));
}

bool StartMonitor(Hub& hub) {
    if (hub.notifier)
        return true;
    if (hub.monitorFailed)
        return false;
    auto monitor = std::make_unique<CPortMonitor>();
    if (!monitor->Open() || monitor->Fd() < 0) {
        hub.monitorFailed = true;
        return false;
    }
    hub.monitor = std::move(monitor);
    hub.notifier =
        new QSocketNotifier(hub.monitor->Fd(), QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(hub.notifier, &QSocketNotifier::activated, hub.notifier, [] {
        Hub& h = TheHub();
        if (!h.monitor)
            return;
        // One read per wake-up: the notifier fires again while more events wait.
        if (std::optional<PortChange> change = h.monitor->ReadEvent())
            Deliver(change->kind == PortChange::arrival, change->name);
    });
    return true;
}

} // namespace

bool RegisterDeviceChangeWindow(CWnd* window) {
    if (!window || !window->GetSafeHwnd())
        return false;
    EnsureQtApplication();
    Hub& hub = TheHub();
    hub.windows.erase(
        std::remove_if(hub.windows.begin(), hub.windows.end(), [](HWND h) { return !::IsWindow(h); }),
        hub.windows.end());
    if (std::find(hub.windows.begin(), hub.windows.end(), window->GetSafeHwnd()) == hub.windows.end())
        hub.windows.push_back(window->GetSafeHwnd());
    return StartMonitor(hub);
}

void UnregisterDeviceChangeWindow(CWnd* window) {
    if (!window)
        return;
    Hub& hub = TheHub();
    hub.windows.erase(std::remove(hub.windows.begin(), hub.windows.end(), window->GetSafeHwnd()),
                      hub.windows.end());
}

void InjectDeviceChange(bool arrival, const std::string& portName) {
    Deliver(arrival, portName);
}
