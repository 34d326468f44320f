#include "framework/core/PortEnumeration.h"

#include "framework/core/File.h"
#include "framework/core/Format.h"
#include "framework/core/Paths.h"
#include "framework/core/StdioFile.h"

#include <algorithm>
#include <dirent.h>
#include <libudev.h>
#include <mutex>
#include <sys/stat.h>

namespace {
std::mutex sourceMutex;
std::function<std::vector<TtyDeviceInfo>()> deviceSource;

bool Contains(const std::string& text, const char* word) {
    return Find(ToUpper(text), word) >= 0;
}

bool IsCh34x(const TtyDeviceInfo& device) {
    return device.driver.rfind("ch34", 0) == 0 || Contains(device.modelFromDatabase, "CH34") ||
           Contains(device.model, "CH34");
}

bool IsCdcAcm(const TtyDeviceInfo& device) {
    return device.driver == "cdc_acm" || device.name.rfind("ttyACM", 0) == 0;
}

bool IsUsb(const TtyDeviceInfo& device) {
    return device.bus == "usb" || device.parentSubsystem == "usb" || device.parentSubsystem == "usb-serial" ||
           device.name.rfind("ttyUSB", 0) == 0 || IsCdcAcm(device);
}

std::string Property(udev_device* device, const char* key) {
    const char* value = udev_device_get_property_value(device, key);
    return value ? std::string(value) : std::string();
}

// The model text of udev uses '_' for blanks.
std::string Readable(std::string text) {
    std::replace(text.begin(), text.end(), '_', ' ');
    return Trim(text);
}

TtyDeviceInfo InfoOf(udev_device* device) {
    TtyDeviceInfo info;
    const char* name = udev_device_get_sysname(device);
    info.name = name ? name : "";
    info.modelFromDatabase = Property(device, "ID_MODEL_FROM_DATABASE");
    info.model = Readable(Property(device, "ID_MODEL"));
    info.bus = Property(device, "ID_BUS");
    info.driver = Property(device, "ID_USB_DRIVER");
    if (udev_device* parent = udev_device_get_parent(device)) {
        info.hasParent = true;
        const char* subsystem = udev_device_get_subsystem(parent);
        info.parentSubsystem = subsystem ? subsystem : "";
        // The parent's own driver is the more specific one ("ch341-uart" beside ID_USB_DRIVER "ch341").
        if (const char* driver = udev_device_get_driver(parent); driver && info.driver.empty())
            info.driver = driver;
    }
    return info;
}

// Splits a name into its letters and its trailing number (-1 without one).
std::pair<std::string, long long> NameKey(const std::string& name) {
    std::size_t digits = name.size();
    while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9')
        --digits;
    std::string number = name.substr(digits);
    // Long digit runs only need to order correctly, not to fit: clamp instead of overflowing.
    long long value = number.empty() ? -1 : (number.size() > 17 ? (1LL << 62) : std::stoll(number));
    return {name.substr(0, digits), value};
}

void SortPorts(std::vector<PortInfo>& ports) {
    std::stable_sort(ports.begin(), ports.end(),
                     [](const PortInfo& a, const PortInfo& b) { return PortNameLess(a.name, b.name); });
}
} // namespace

std::string DescribeTtyDevice(const TtyDeviceInfo& device) {
    std::string base = !device.modelFromDatabase.empty() ? device.modelFromDatabase
                       : !device.model.empty()           ? device.model
                                                         : device.driver;
    if (!IsUsb(device))
        return "Communications Port";
    std::vector<std::string> missing;
    if (!Contains(base, "USB"))
        missing.push_back("USB");
    if (IsCdcAcm(device) && !Contains(base, "CDC"))
        missing.push_back("CDC");
    if (IsCh34x(device) && !Contains(base, "CH340"))
        missing.push_back("CH340");
    std::string tags;
    for (const std::string& word : missing)
        tags += (tags.empty() ? "" : " ") + word;
    if (base.empty())
        return tags + " Serial Port";
    return tags.empty() ? base : base + " (" + tags + ")";
}

bool IsListedTtyDevice(const TtyDeviceInfo& device) {
    if (!device.hasParent || device.name.empty())
        return false;
    // The legacy 8250 driver registers placeholder ttyS ports on the platform bus whether or not a
    // UART exists; real on-board UARTs hang below pnp or pci.
    return !(device.driver == "serial8250" && device.parentSubsystem == "platform");
}

bool PortNameLess(const std::string& a, const std::string& b) {
    auto keyA = NameKey(a);
    auto keyB = NameKey(b);
    if (keyA != keyB)
        return keyA < keyB;
    return a < b; // "ttyS01" and "ttyS1": still a strict order
}

std::vector<PortInfo> VirtualPortsIn(const std::string& folder) {
    std::vector<PortInfo> ports;
    if (folder.empty())
        return ports;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return ports;
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir))
        names.emplace_back(entry->d_name);
    closedir(dir);
    for (const std::string& name : names) {
        struct stat info {};
        // Names with a dot are side files ("<name>.description", links being put in place).
        if (name.empty() || name.find('.') != std::string::npos ||
            lstat((WithTrailingSlash(folder) + name).c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            continue;
        std::string description = "Virtual Port";
        CStdioFile file;
        std::string line;
        try {
            if (file.Open(WithTrailingSlash(folder) + name + ".description",
                          CFile::modeRead | CFile::modeNoFollow) &&
                file.ReadString(line) && !Trim(line).empty())
                description = Trim(line);
        } catch (const CFileException&) {
        }
        ports.push_back({name, description, true});
    }
    SortPorts(ports);
    return ports;
}

std::vector<PortInfo> CombinePorts(const std::vector<TtyDeviceInfo>& devices,
                                   const std::string& virtualFolder) {
    std::vector<PortInfo> ports;
    for (const TtyDeviceInfo& device : devices)
        if (IsListedTtyDevice(device))
            ports.push_back({device.name, DescribeTtyDevice(device), false});
    SortPorts(ports);
    for (PortInfo& port : VirtualPortsIn(virtualFolder)) {
        bool shadowed =
            std::any_of(ports.begin(), ports.end(), [&](const PortInfo& p) { return p.name == port.name; });
        if (!shadowed)
            ports.push_back(std::move(port));
    }
    return ports;
}

std::vector<TtyDeviceInfo> UdevTtyDevices() {
    std::vector<TtyDeviceInfo> devices;
    udev* context = udev_new();
    if (!context)
        return devices;
    if (udev_enumerate* enumerate = udev_enumerate_new(context)) {
        udev_enumerate_add_match_subsystem(enumerate, "tty");
        udev_enumerate_scan_devices(enumerate);
        udev_list_entry* entry = nullptr;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate)) {
            const char* path = udev_list_entry_get_name(entry);
            udev_device* device = path ? udev_device_new_from_syspath(context, path) : nullptr;
            if (!device)
                continue;
            devices.push_back(InfoOf(device));
            udev_device_unref(device);
        }
        udev_enumerate_unref(enumerate);
    }
    udev_unref(context);
    return devices;
}

void SetTtyDeviceSourceForTesting(std::function<std::vector<TtyDeviceInfo>()> source) {
    std::lock_guard lock(sourceMutex);
    deviceSource = std::move(source);
}

std::vector<PortInfo> EnumeratePorts() {
    std::function<std::vector<TtyDeviceInfo>()> source;
    {
        std::lock_guard lock(sourceMutex);
        source = deviceSource;
    }
    return CombinePorts(source ? source() : UdevTtyDevices(), VirtualPortsFolder());
}

std::string PortDevicePath(const std::string& name) {
    std::string folder = VirtualPortsFolder();
    struct stat info {};
    if (!folder.empty() && name.find('/') == std::string::npos && !name.empty() &&
        lstat((folder + name).c_str(), &info) == 0 && S_ISLNK(info.st_mode))
        return folder + name;
    return "/dev/" + name;
}

std::string PortEntry(const PortInfo& port) {
    return port.name + " : " + port.description;
}

std::string PortNameFromEntry(const std::string& entry) {
    int colon = FindChar(entry, ':');
    return Trim(colon < 0 ? entry : Left(entry, colon));
}

struct CPortMonitor::Impl {
    udev* context = nullptr;
    udev_monitor* monitor = nullptr;
};

CPortMonitor::CPortMonitor() : impl_(new Impl) {}

CPortMonitor::~CPortMonitor() {
    if (impl_->monitor)
        udev_monitor_unref(impl_->monitor);
    if (impl_->context)
        udev_unref(impl_->context);
    delete impl_;
}

bool CPortMonitor::Open() {
    if (impl_->monitor)
        return true;
    if (!impl_->context && !(impl_->context = udev_new()))
        return false;
    udev_monitor* monitor = udev_monitor_new_from_netlink(impl_->context, "udev");
    if (!monitor)
        return false;
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor, "tty", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        udev_monitor_unref(monitor);
        return false;
    }
    impl_->monitor = monitor;
    return true;
}

int CPortMonitor::Fd() const {
    return impl_->monitor ? udev_monitor_get_fd(impl_->monitor) : -1;
}

std::optional<PortChange> CPortMonitor::ReadEvent() {
    if (!impl_->monitor)
        return std::nullopt;
    udev_device* device = udev_monitor_receive_device(impl_->monitor);
    if (!device)
        return std::nullopt;
    std::optional<PortChange> change;
    const char* action = udev_device_get_action(device);
    const char* name = udev_device_get_sysname(device);
    if (action && name) {
        std::string what = action;
        if (what == "add")
            change = PortChange{PortChange::arrival, name};
        else if (what == "remove")
            change = PortChange{PortChange::removal, name};
    }
    udev_device_unref(device);
    return change;
}
