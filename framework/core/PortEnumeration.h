#pragma once
// Serial ports: the tty devices udev knows (those with a parent device, so no virtual consoles),
// then the virtual ports registered in VirtualPortsFolder(). Ports are named by their device name
// below /dev ("ttyUSB0"); a list entry reads "<name> : <description>".
#include <functional>
#include <optional>
#include <string>
#include <vector>

// What enumeration needs to know of one tty device (filled from udev, or by tests).
struct TtyDeviceInfo {
    std::string name;              // "ttyUSB0"
    bool hasParent = false;        // a real device; virtual consoles and pseudo-terminals have none
    std::string modelFromDatabase; // ID_MODEL_FROM_DATABASE
    std::string model;             // ID_MODEL
    std::string driver;            // the parent's driver ("ftdi_sio", "cdc_acm", "ch341", "serial8250")
    std::string bus;               // ID_BUS ("usb", "pci", ...), empty for on-board UARTs
    std::string parentSubsystem;   // subsystem of the parent device ("usb-serial", "usb", "pnp", "platform")
};

struct PortInfo {
    std::string name;
    std::string description;
    bool isVirtual = false;
};

// Description of a real port, worded so that USB adapters and CDC devices mention "USB", CDC-ACM
// devices "CDC", CH34x devices "CH340", and on-board UARTs read "Communications Port".
std::string DescribeTtyDevice(const TtyDeviceInfo& device);
// Whether the device is a serial port worth listing (has a parent; not a placeholder legacy UART).
bool IsListedTtyDevice(const TtyDeviceInfo& device);

// Port order: by the letters of the name, then by the number at its end (ttyUSB9 before ttyUSB10).
bool PortNameLess(const std::string& a, const std::string& b);

// Virtual ports in a folder: each "<name>" symbolic link (names without a dot); description from
// "<name>.description" (first line, trimmed), else "Virtual Port". Sorted.
std::vector<PortInfo> VirtualPortsIn(const std::string& folder);

// Real ports of the given devices (sorted), followed by the virtual ports of the folder.
std::vector<PortInfo> CombinePorts(const std::vector<TtyDeviceInfo>& devices,
                                   const std::string& virtualFolder);

// The tty devices udev reports now.
std::vector<TtyDeviceInfo> UdevTtyDevices();
// Replaces the udev source (tests); an empty function restores udev.
void SetTtyDeviceSourceForTesting(std::function<std::vector<TtyDeviceInfo>()> source);

// All ports: real ones from the device source, then those of VirtualPortsFolder().
std::vector<PortInfo> EnumeratePorts();

// "/dev/<name>", or the link in the virtual ports folder for a virtual port.
std::string PortDevicePath(const std::string& name);
// "<name> : <description>".
std::string PortEntry(const PortInfo& port);
// The name in an entry: the text before the first colon (the whole text without one), trimmed.
std::string PortNameFromEntry(const std::string& entry);

// Arrival and removal of tty devices, from a udev monitor whose descriptor the event loop watches.
struct PortChange {
    enum Kind { arrival, removal } kind;
    std::string name;
};

class CPortMonitor {
public:
    CPortMonitor();
    ~CPortMonitor();
    CPortMonitor(const CPortMonitor&) = delete;
    CPortMonitor& operator=(const CPortMonitor&) = delete;

    bool Open();    // false when udev cannot be reached
    int Fd() const; // -1 when not open; readable when an event waits
    // Reads one waiting event; nothing when none waits or it is neither an arrival nor a removal.
    std::optional<PortChange> ReadEvent();

private:
    struct Impl;
    Impl* impl_;
};
