#include "launcher/PortEntries.h"

#include "framework/core/Format.h"
#include "framework/core/PortEnumeration.h"

namespace {

bool Holds(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

} // namespace

void AddPortEntry(std::vector<std::string>& entries, const std::string& name,
                  const std::string& description) {
    const std::string portName = Trim(name);
    if (portName.empty())
        return;
    const std::string entry = Trim(portName + " : " + Trim(description));
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        const std::string listed = PortNameFromEntry(*it);
        if (PortNameLess(portName, listed)) {
            entries.insert(it, entry);
            return;
        }
        if (!PortNameLess(listed, portName))
            return; // the same port again
    }
    entries.push_back(entry);
}

bool IsSuitableEntry(const std::string& entry) {
    return (Holds(entry, "USB") && (Holds(entry, "ZR2") || Holds(entry, "CH34"))) || Holds(entry, "Serial");
}

AdapterKind AdapterOfEntry(const std::string& entry) {
    if (!IsSuitableEntry(entry))
        return AdapterKind::None;
    if (Holds(entry, "ZR2"))
        return AdapterKind::Zr2;
    if (Holds(entry, "CH34"))
        return AdapterKind::Ch34;
    return AdapterKind::PlainSerial;
}
