#include "framework/core/ResourceBinary.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr char kMagic[4] = {'K', 'R', 'S', 0x01};
constexpr int kMaxMenuDepth = 16;

enum : std::uint8_t { kSeparator = 1, kGrayed = 2, kChecked = 4 };
enum : std::uint8_t { kVirtKey = 1, kControl = 2, kShift = 4, kAlt = 8 };

class Writer {
public:
    void U8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void U32(std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8)
            out_.push_back(static_cast<char>((v >> shift) & 0xFF));
    }
    void I32(int v) { U32(static_cast<std::uint32_t>(v)); }
    void Count(std::size_t n) { U32(static_cast<std::uint32_t>(n)); }
    void Str(std::string_view s) {
        Count(s.size());
        out_.append(s);
    }
    void Raw(const void* data, std::size_t size) { out_.append(static_cast<const char*>(data), size); }
    std::string Take() { return std::move(out_); }

private:
    std::string out_;
};

template <typename Map> std::vector<int> SortedIds(const Map& map) {
    std::vector<int> ids;
    ids.reserve(map.size());
    for (const auto& entry : map)
        ids.push_back(entry.first);
    std::sort(ids.begin(), ids.end());
    return ids;
}

void WriteMenuItems(Writer& w, const std::vector<MenuItemTemplate>& items) {
    w.Count(items.size());
    for (const MenuItemTemplate& item : items) {
        w.Str(item.text);
        w.I32(item.id);
        w.U8(static_cast<std::uint8_t>((item.separator ? kSeparator : 0) | (item.grayed ? kGrayed : 0) |
                                       (item.checked ? kChecked : 0)));
        WriteMenuItems(w, item.children);
    }
}

struct Damaged {
    const char* what;
};

class Reader {
public:
    explicit Reader(std::string_view data) : p_(data.data()), end_(data.data() + data.size()) {}

    bool AtEnd() const { return p_ == end_; }

    void Need(std::size_t n, const char* what) {
        if (static_cast<std::size_t>(end_ - p_) < n)
            throw Damaged{what};
    }
    std::uint8_t U8() {
        Need(1, "truncated");
        return static_cast<std::uint8_t>(*p_++);
    }
    std::uint32_t U32() {
        Need(4, "truncated");
        const auto* b = reinterpret_cast<const unsigned char*>(p_);
        p_ += 4;
        return std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
               (std::uint32_t(b[3]) << 24);
    }
    int I32() { return static_cast<int>(U32()); }
    // A count of entries that take at least `minimumSize` bytes each: bounded by what is left, so
    // a damaged count cannot make the reader reserve or loop beyond the data.
    std::size_t Count(std::size_t minimumSize) {
        const std::uint32_t n = U32();
        if (n > static_cast<std::size_t>(end_ - p_) / minimumSize)
            throw Damaged{"count larger than the data"};
        return n;
    }
    std::string Str() {
        const std::uint32_t n = U32();
        Need(n, "string longer than the data");
        std::string s(p_, n);
        p_ += n;
        return s;
    }
    void Bytes(std::vector<std::uint8_t>& out) {
        const std::uint32_t n = U32();
        Need(n, "image longer than the data");
        out.assign(reinterpret_cast<const std::uint8_t*>(p_), reinterpret_cast<const std::uint8_t*>(p_) + n);
        p_ += n;
    }
    void Magic() {
        Need(sizeof kMagic, "too short");
        if (std::memcmp(p_, kMagic, sizeof kMagic) != 0)
            throw Damaged{"not a compiled resource set of this version"};
        p_ += sizeof kMagic;
    }

private:
    const char* p_;
    const char* end_;
};

void ReadMenuItems(Reader& r, std::vector<MenuItemTemplate>& items, int depth) {
    if (depth > kMaxMenuDepth)
        throw Damaged{"menu nested too deep"};
    const std::size_t n = r.Count(13);
    items.resize(n);
    for (MenuItemTemplate& item : items) {
        item.text = r.Str();
        item.id = r.I32();
        const std::uint8_t flags = r.U8();
        item.separator = flags & kSeparator;
        item.grayed = flags & kGrayed;
        item.checked = flags & kChecked;
        ReadMenuItems(r, item.children, depth + 1);
    }
}

// Keeps the first definition of an id; a second one means the data is not what the compiler wrote.
template <typename Map, typename Value> void Insert(Map& map, int id, Value&& value) {
    if (!map.emplace(id, std::forward<Value>(value)).second)
        throw Damaged{"an id defined twice"};
}

} // namespace

std::string WriteResourceBinary(const ResourceSet& set) {
    Writer w;
    w.Raw(kMagic, sizeof kMagic);

    w.Count(set.strings.size());
    for (int id : SortedIds(set.strings)) {
        w.I32(id);
        w.Str(set.strings.at(id));
    }

    w.Count(set.dialogs.size());
    for (int id : SortedIds(set.dialogs)) {
        const DialogTemplate& d = set.dialogs.at(id);
        w.I32(id);
        w.Str(d.caption);
        for (int v : {d.x, d.y, d.cx, d.cy})
            w.I32(v);
        w.U32(d.style);
        w.U32(d.exStyle);
        w.Str(d.fontName);
        w.I32(d.fontPointSize);
        w.Count(d.controls.size());
        for (const DialogControlTemplate& c : d.controls) {
            w.I32(c.id);
            w.Str(c.className);
            w.Str(c.text);
            for (int v : {c.x, c.y, c.cx, c.cy})
                w.I32(v);
            w.U32(c.style);
            w.U32(c.exStyle);
        }
        w.Count(d.comboItems.size());
        for (const auto& [control, items] : d.comboItems) {
            w.I32(control);
            w.Count(items.size());
            for (const std::string& item : items)
                w.Str(item);
        }
    }

    w.Count(set.menus.size());
    for (int id : SortedIds(set.menus)) {
        w.I32(id);
        WriteMenuItems(w, set.menus.at(id).items);
    }

    w.Count(set.accelerators.size());
    for (int id : SortedIds(set.accelerators)) {
        const AcceleratorTable& table = set.accelerators.at(id);
        w.I32(id);
        w.Count(table.entries.size());
        for (const AcceleratorEntry& e : table.entries) {
            w.I32(e.key);
            w.U8(static_cast<std::uint8_t>((e.virtKey ? kVirtKey : 0) | (e.control ? kControl : 0) |
                                           (e.shift ? kShift : 0) | (e.alt ? kAlt : 0)));
            w.I32(e.command);
        }
    }

    w.Count(set.toolbars.size());
    for (int id : SortedIds(set.toolbars)) {
        const ToolbarTemplate& t = set.toolbars.at(id);
        w.I32(id);
        w.I32(t.buttonWidth);
        w.I32(t.buttonHeight);
        w.Count(t.buttons.size());
        for (int button : t.buttons)
            w.I32(button);
    }

    w.Count(set.images.size());
    for (int id : SortedIds(set.images)) {
        const ImageResource& image = set.images.at(id);
        w.I32(id);
        w.U8(image.icon ? 1 : 0);
        w.Count(image.bytes.size());
        w.Raw(image.bytes.data(), image.bytes.size());
    }
    return w.Take();
}

bool ReadResourceBinary(std::string_view data, ResourceSet& set, std::string* error) {
    try {
        Reader r(data);
        r.Magic();

        std::size_t n = r.Count(8);
        set.strings.reserve(set.strings.size() + n);
        for (std::size_t i = 0; i < n; ++i) {
            const int id = r.I32();
            Insert(set.strings, id, r.Str());
        }

        n = r.Count(44);
        set.dialogs.reserve(set.dialogs.size() + n);
        for (std::size_t i = 0; i < n; ++i) {
            DialogTemplate d;
            d.id = r.I32();
            d.caption = r.Str();
            d.x = r.I32();
            d.y = r.I32();
            d.cx = r.I32();
            d.cy = r.I32();
            d.style = r.U32();
            d.exStyle = r.U32();
            d.fontName = r.Str();
            d.fontPointSize = r.I32();
            d.controls.resize(r.Count(36));
            for (DialogControlTemplate& c : d.controls) {
                c.id = r.I32();
                c.className = r.Str();
                c.text = r.Str();
                c.x = r.I32();
                c.y = r.I32();
                c.cx = r.I32();
                c.cy = r.I32();
                c.style = r.U32();
                c.exStyle = r.U32();
            }
            const std::size_t lists = r.Count(8);
            for (std::size_t l = 0; l < lists; ++l) {
                const int control = r.I32();
                std::vector<std::string> items(r.Count(4));
                for (std::string& item : items)
                    item = r.Str();
                Insert(d.comboItems, control, std::move(items));
            }
            const int id = d.id;
            Insert(set.dialogs, id, std::move(d));
        }

        n = r.Count(8);
        for (std::size_t i = 0; i < n; ++i) {
            MenuTemplate menu;
            menu.id = r.I32();
            ReadMenuItems(r, menu.items, 0);
            const int id = menu.id;
            Insert(set.menus, id, std::move(menu));
        }

        n = r.Count(8);
        for (std::size_t i = 0; i < n; ++i) {
            AcceleratorTable table;
            table.id = r.I32();
            table.entries.resize(r.Count(9));
            for (AcceleratorEntry& e : table.entries) {
                e.key = r.I32();
                const std::uint8_t flags = r.U8();
                e.virtKey = flags & kVirtKey;
                e.control = flags & kControl;
                e.shift = flags & kShift;
                e.alt = flags & kAlt;
                e.command = r.I32();
            }
            const int id = table.id;
            Insert(set.accelerators, id, std::move(table));
        }

        n = r.Count(16);
        for (std::size_t i = 0; i < n; ++i) {
            ToolbarTemplate t;
            t.id = r.I32();
            t.buttonWidth = r.I32();
            t.buttonHeight = r.I32();
            t.buttons.resize(r.Count(4));
            for (int& button : t.buttons)
                button = r.I32();
            const int id = t.id;
            Insert(set.toolbars, id, std::move(t));
        }

        n = r.Count(9);
        for (std::size_t i = 0; i < n; ++i) {
            ImageResource image;
            image.id = r.I32();
            image.icon = r.U8() != 0;
            r.Bytes(image.bytes);
            const int id = image.id;
            Insert(set.images, id, std::move(image));
        }

        if (!r.AtEnd())
            throw Damaged{"data after the last section"};
        return true;
    } catch (const Damaged& damaged) {
        if (error)
            *error = std::string("compiled resource set refused: ") + damaged.what;
        return false;
    }
}
