#pragma once
// Port arrivals and removals as WM_DEVICECHANGE messages: wParam DBT_DEVICEARRIVAL or
// DBT_DEVICEREMOVECOMPLETE, lParam a DEV_BROADCAST_PORT* naming the port (valid during the call).
// The udev monitor is watched from the event loop once the first window registers.
#include "framework/ui/Wnd.h"

#include <string>

// Registers the window for device-change messages. False when the system's device monitor cannot
// be reached; the window still receives injected events then.
bool RegisterDeviceChangeWindow(CWnd* window);
void UnregisterDeviceChangeWindow(CWnd* window);

// Delivers an arrival or removal to the registered windows as the monitor would (tests, and the
// simulated drive's virtual ports).
void InjectDeviceChange(bool arrival, const std::string& portName);
