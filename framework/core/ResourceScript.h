#pragma once
// The text resource scripts (resources/*.rc, syntax in resources/README.md) and the id headers
// beside them (resources/ids/*.h), parsed into the records of ResourceTypes.h. The resource
// compiler uses this to check every script at build time (the library then carries the compiled
// form, ResourceBinary.h); tests make resource modules from script text with it. No Qt here.
#include "framework/core/ResourceTypes.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct SourceLocation {
    std::string file;
    int line = 0;
};

struct ResourceError {
    std::string file;
    int line = 0;
    std::string message;
    // "file:line: message", the form build tools and editors understand.
    std::string ToString() const;
};

// A BITMAP or ICON statement: the image file it names (relative to resources/images/) and an
// optional render size for SVG files (0 = the drawing's own size).
struct ImageReference {
    int id = 0;
    bool icon = false;
    std::string file;
    int width = 0, height = 0;
    SourceLocation where;
};

// Everything the scripts define. Images arrive as references from scripts; the compiler turns
// them into bytes, and the compiled set the library carries holds bytes only.
struct ResourceSet {
    std::unordered_map<int, std::string> strings;
    std::unordered_map<int, DialogTemplate> dialogs;
    std::unordered_map<int, MenuTemplate> menus;
    std::unordered_map<int, AcceleratorTable> accelerators;
    std::unordered_map<int, ToolbarTemplate> toolbars;
    std::unordered_map<int, ImageReference> imageFiles;
    std::unordered_map<int, ImageResource> images;

    // Where each definition came from, kept only when the parser records locations (compiler).
    std::unordered_map<int, SourceLocation> stringSources, menuSources, acceleratorSources, toolbarSources;
};

// Id names from resources/ids/*.h, plus the always-known dialog answer ids and IDC_STATIC.
class ResourceIdNames {
public:
    ResourceIdNames();

    // Reads the "#define NAME number" and "constexpr int NAME = number;" lines of a header; other
    // lines are ignored. A name already known with another value is an error (appended to errors).
    bool ReadHeader(std::string_view text, std::string_view fileName, std::vector<ResourceError>& errors);

    // false when the name is known with a different value; the first definition's place goes to
    // *previous then.
    bool Define(const std::string& name, long value, const SourceLocation& where,
                SourceLocation* previous = nullptr);

    // nullptr when unknown.
    const long* Find(std::string_view name) const;

    std::size_t Size() const { return names_.size(); }

private:
    struct Entry {
        long value;
        SourceLocation where;
    };
    std::map<std::string, Entry, std::less<>> names_;
};

struct ResourceParseOptions {
    // Keep where strings, menus, accelerators and toolbars were defined (for the compiler's
    // "defined twice" messages).
    bool recordLocations = true;
    // Refuse a dialog whose id is a bare number: code finds its templates by the names of
    // resources/ids/*.h, so a template must carry the same name (the compiler's rule).
    bool requireNamedDialogIds = false;
};

// Parses one script into the set. On the first error in a file it stops and returns false; the
// error is in Errors(). Definitions of the same id in an earlier file of the same set are errors.
class ResourceScriptParser {
public:
    explicit ResourceScriptParser(const ResourceIdNames* names = nullptr, ResourceParseOptions options = {});

    bool Parse(std::string_view text, std::string_view fileName, ResourceSet& set);

    const std::vector<ResourceError>& Errors() const { return errors_; }

private:
    const ResourceIdNames* names_;
    ResourceParseOptions options_;
    std::vector<ResourceError> errors_;
};

// Width and height from a PNG header; false when the bytes are not a PNG.
bool ReadPngSize(const std::vector<std::uint8_t>& bytes, int& width, int& height);

// Checks what needs the image bytes: each toolbar's bitmap exists and holds one button-sized
// picture per button. Appends errors with the toolbar's location when known.
bool CheckToolbarImages(const ResourceSet& set, std::vector<ResourceError>& errors);
