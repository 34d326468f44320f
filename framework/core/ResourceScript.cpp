#include "framework/core/ResourceScript.h"

#include "framework/core/WindowStyles.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <unordered_map>
#include <utility>

std::string ResourceError::ToString() const {
    return file + ":" + std::to_string(line) + ": " + message;
}

namespace {

// ---------------------------------------------------------------------------------------------
// Shared number reading: decimal or 0x hex, optional sign; false on anything else or overflow.
bool ParseInteger(std::string_view text, long& value) {
    if (text.empty())
        return false;
    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return false;
    unsigned long long magnitude = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > 0xFFFFFFFFull)
            return false;
    }
    value = negative ? -static_cast<long>(magnitude) : static_cast<long>(magnitude);
    return true;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// A header value: "(-1)", "0x8000u", "2009L".
bool ParseHeaderValue(std::string_view text, long& value) {
    text = Trim(text);
    while (text.size() >= 2 && text.front() == '(' && text.back() == ')')
        text = Trim(text.substr(1, text.size() - 2));
    while (!text.empty() &&
           (text.back() == 'u' || text.back() == 'U' || text.back() == 'l' || text.back() == 'L'))
        text.remove_suffix(1);
    return ParseInteger(text, value);
}

bool IsIdentifier(std::string_view text) {
    if (text.empty() || !(std::isalpha(static_cast<unsigned char>(text[0])) || text[0] == '_'))
        return false;
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

// ---------------------------------------------------------------------------------------------
// Tokens of a script. The program parses the whole set at every start, also in unoptimised test
// builds, so the lexer works on raw pointers and tokens are plain values: a string token keeps its
// source span (quotes included) and is decoded only when the reader takes its text.
enum class Tok { End, Number, Name, String, Comma, Pipe, Open, Close };

struct Token {
    Tok kind = Tok::End;
    std::string_view text; // the name, the number's spelling, or the string's source span
    long number = 0;
    int line = 0;
    bool plain = false; // a string of one literal without escapes
};

struct ParseFailure {
    int line;
    std::string message;
};

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}
inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
inline bool IsNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
inline bool IsNameChar(char c) {
    return IsNameStart(c) || IsDigit(c);
}

// Skips blanks and comments; counts lines when asked. Returns false on an unterminated comment
// (p then points at its start).
bool SkipBlanksAndComments(const char*& p, const char* end, int* line) {
    for (;;) {
        while (p < end && IsBlank(*p)) {
            if (*p == '\n' && line)
                ++*line;
            ++p;
        }
        if (end - p >= 2 && p[0] == '/' && p[1] == '/') {
            while (p < end && *p != '\n')
                ++p;
            continue;
        }
        if (end - p >= 2 && p[0] == '/' && p[1] == '*') {
            const char* q = p + 2;
            int lines = 0;
            while (end - q >= 2 && !(q[0] == '*' && q[1] == '/')) {
                lines += *q == '\n';
                ++q;
            }
            if (end - q < 2)
                return false;
            if (line)
                *line += lines;
            p = q + 2;
            continue;
        }
        return true;
    }
}

// The text of a string token whose span the lexer has checked: escapes resolved, adjacent literals
// joined.
std::string DecodeString(const Token& token) {
    const char* p = token.text.data();
    const char* const end = p + token.text.size();
    if (token.plain)
        return std::string(p + 1, end - 1);
    std::string out;
    while (p < end) {
        ++p; // opening quote
        for (;;) {
            const char* run = p;
            while (*p != '"' && *p != '\\')
                ++p;
            out.append(run, p);
            if (*p == '"')
                break;
            const char escaped = p[1];
            out.push_back(escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped);
            p += 2;
        }
        ++p; // closing quote
        SkipBlanksAndComments(p, end, nullptr);
    }
    return out;
}

class Lexer {
public:
    explicit Lexer(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") // a byte-order mark some editors write
            p_ += 3;
        Advance();
    }

    const Token& Peek() const { return current_; }

    Token Next() {
        const Token token = current_;
        Advance();
        return token;
    }

private:
    [[noreturn]] void Fail(const std::string& message) const { throw ParseFailure{line_, message}; }

    void Skip() {
        // On failure line_ is the line where the comment starts: where the author has to look.
        if (!SkipBlanksAndComments(p_, end_, &line_))
            Fail("unterminated comment");
    }

    // One literal from its opening quote; p_ ends after the closing quote. false: it has escapes.
    bool ScanLiteral() {
        bool plain = true;
        ++p_;
        for (;;) {
            if (p_ >= end_ || *p_ == '\n' || *p_ == '\r')
                Fail("unterminated string");
            const char c = *p_++;
            if (c == '"')
                return plain;
            if (c != '\\')
                continue;
            plain = false;
            if (p_ >= end_)
                Fail("unterminated string");
            const char escaped = *p_++;
            if (escaped != 'n' && escaped != 't' && escaped != '"' && escaped != '\\')
                Fail(std::string("unknown escape \\") + escaped + " in string");
        }
    }

    void Advance() {
        Skip();
        current_ = Token{};
        current_.line = line_;
        if (p_ >= end_)
            return;
        const char* const start = p_;
        const char c = *p_;
        if (c == '"') {
            current_.kind = Tok::String;
            bool plain = ScanLiteral();
            const char* last = p_;
            // Adjacent literals form one text, so long texts can be split over lines.
            for (;;) {
                const char* q = p_;
                int line = line_;
                if (!SkipBlanksAndComments(q, end_, &line) || q >= end_ || *q != '"')
                    break;
                p_ = q;
                line_ = line;
                ScanLiteral();
                plain = false;
                last = p_;
            }
            p_ = last;
            current_.plain = plain;
            current_.text = std::string_view(start, static_cast<std::size_t>(last - start));
            return;
        }
        if (c == ',' || c == '|' || c == '{' || c == '}') {
            ++p_;
            current_.kind = c == ',' ? Tok::Comma : c == '|' ? Tok::Pipe : c == '{' ? Tok::Open : Tok::Close;
            return;
        }
        if (IsDigit(c) || c == '-') {
            ++p_;
            while (p_ < end_ && IsNameChar(*p_))
                ++p_;
            current_.text = std::string_view(start, static_cast<std::size_t>(p_ - start));
            if (!ParseInteger(current_.text, current_.number))
                Fail("bad number '" + std::string(current_.text) + "'");
            current_.kind = Tok::Number;
            return;
        }
        if (IsNameStart(c)) {
            ++p_;
            while (p_ < end_ && IsNameChar(*p_))
                ++p_;
            current_.text = std::string_view(start, static_cast<std::size_t>(p_ - start));
            current_.kind = current_.text == "BEGIN" ? Tok::Open
                            : current_.text == "END" ? Tok::Close
                                                     : Tok::Name;
            return;
        }
        Fail(std::string("unexpected character '") + c + "'");
    }

    const char* p_;
    const char* end_;
    int line_ = 1;
    Token current_;
};

// ---------------------------------------------------------------------------------------------
const std::unordered_map<std::string_view, const StyleName*>& StyleTable() {
    static const auto table = [] {
        std::unordered_map<std::string_view, const StyleName*> map;
        for (const StyleName& entry : kStyleNames)
            map.emplace(entry.name, &entry);
        return map;
    }();
    return table;
}

// Key names of accelerator tables; the numbers are the window layer's key codes.
const std::unordered_map<std::string_view, int>& VirtualKeyTable() {
    static const std::unordered_map<std::string_view, int> table = {
        {"VK_BACK", 0x08},  {"VK_TAB", 0x09},   {"VK_RETURN", 0x0D}, {"VK_ESCAPE", 0x1B}, {"VK_SPACE", 0x20},
        {"VK_PRIOR", 0x21}, {"VK_NEXT", 0x22},  {"VK_END", 0x23},    {"VK_HOME", 0x24},   {"VK_LEFT", 0x25},
        {"VK_UP", 0x26},    {"VK_RIGHT", 0x27}, {"VK_DOWN", 0x28},   {"VK_INSERT", 0x2D}, {"VK_DELETE", 0x2E},
        {"VK_F1", 0x70},    {"VK_F2", 0x71},    {"VK_F3", 0x72},     {"VK_F4", 0x73},     {"VK_F5", 0x74},
        {"VK_F6", 0x75},    {"VK_F7", 0x76},    {"VK_F8", 0x77},     {"VK_F9", 0x78},     {"VK_F10", 0x79},
        {"VK_F11", 0x7A},   {"VK_F12", 0x7B},
    };
    return table;
}

enum class Shape { TextRect, Rect, Control, Icon };

struct ControlKeyword {
    std::string_view keyword;
    std::string_view className;
    WindowStyle style;
    Shape shape;
};

constexpr ControlKeyword kControlKeywords[] = {
    {"CONTROL", "", 0, Shape::Control},
    {"LTEXT", kClassStatic, SS_LEFT | WS_GROUP, Shape::TextRect},
    {"CTEXT", kClassStatic, SS_CENTER | WS_GROUP, Shape::TextRect},
    {"RTEXT", kClassStatic, SS_RIGHT | WS_GROUP, Shape::TextRect},
    {"PUSHBUTTON", kClassButton, BS_PUSHBUTTON | WS_TABSTOP, Shape::TextRect},
    {"DEFPUSHBUTTON", kClassButton, BS_DEFPUSHBUTTON | WS_TABSTOP, Shape::TextRect},
    {"CHECKBOX", kClassButton, BS_CHECKBOX | WS_TABSTOP, Shape::TextRect},
    {"AUTOCHECKBOX", kClassButton, BS_AUTOCHECKBOX | WS_TABSTOP, Shape::TextRect},
    {"RADIOBUTTON", kClassButton, BS_RADIOBUTTON, Shape::TextRect},
    {"AUTORADIOBUTTON", kClassButton, BS_AUTORADIOBUTTON, Shape::TextRect},
    {"STATE3", kClassButton, BS_3STATE | WS_TABSTOP, Shape::TextRect},
    {"AUTO3STATE", kClassButton, BS_AUTO3STATE | WS_TABSTOP, Shape::TextRect},
    {"GROUPBOX", kClassButton, BS_GROUPBOX, Shape::TextRect},
    {"EDITTEXT", kClassEdit, ES_LEFT | WS_BORDER | WS_TABSTOP, Shape::Rect},
    {"COMBOBOX", kClassComboBox, CBS_SIMPLE | WS_TABSTOP, Shape::Rect},
    {"LISTBOX", kClassListBox, LBS_NOTIFY | WS_BORDER, Shape::Rect},
    {"SCROLLBAR", kClassScrollBar, SBS_HORZ, Shape::Rect},
    {"ICON", kClassStatic, SS_ICON, Shape::Icon},
};

const ControlKeyword* FindControlKeyword(std::string_view name) {
    for (const ControlKeyword& entry : kControlKeywords)
        if (entry.keyword == name)
            return &entry;
    return nullptr;
}

// The bits of a style word that form an enumerated kind rather than independent flags.
WindowStyle KindMask(StyleFamily family) {
    switch (family) {
    case StyleFamily::Button:
        return BS_TYPEMASK;
    case StyleFamily::Static:
        return SS_TYPEMASK;
    case StyleFamily::ComboBox:
        return CBS_TYPEMASK;
    case StyleFamily::ListView:
        return LVS_TYPEMASK;
    default:
        return 0;
    }
}

constexpr WindowStyle kDefaultDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr WindowStyle kControlBaseStyle = WS_CHILD | WS_VISIBLE;

// ---------------------------------------------------------------------------------------------
class ScriptReader {
public:
    ScriptReader(std::string_view text, std::string_view fileName, const ResourceIdNames* names,
                 const ResourceParseOptions& options, ResourceSet& set)
        : lex_(text), file_(fileName), names_(names), options_(options), set_(set) {}

    void Run() {
        while (lex_.Peek().kind != Tok::End) {
            if (PeekName("STRINGTABLE")) {
                lex_.Next();
                StringTable();
                continue;
            }
            const int line = lex_.Peek().line;
            const bool bareNumber = lex_.Peek().kind == Tok::Number;
            const int id = ResourceId();
            const Token kind =
                Expect(Tok::Name, "a resource kind (DIALOG, MENU, ACCELERATORS, TOOLBAR, BITMAP, ICON)");
            if (kind.text == "DIALOG" || kind.text == "DIALOGEX") {
                if (bareNumber && options_.requireNamedDialogIds)
                    Fail(line, "dialog " + std::to_string(id) +
                                   " has a bare number for its id; give it a name from resources/ids/*.h");
                Dialog(id, line);
            } else if (kind.text == "MENU" || kind.text == "MENUEX")
                Menu(id, line);
            else if (kind.text == "ACCELERATORS")
                Accelerators(id, line);
            else if (kind.text == "TOOLBAR")
                Toolbar(id, line);
            else if (kind.text == "BITMAP" || kind.text == "ICON")
                Image(id, kind.text == "ICON", line);
            else
                Fail(kind.line, "unknown resource kind '" + std::string(kind.text) + "'");
        }
    }

private:
    [[noreturn]] void Fail(int line, const std::string& message) const { throw ParseFailure{line, message}; }

    std::string Describe(const Token& token) const {
        switch (token.kind) {
        case Tok::End:
            return "end of file";
        case Tok::Number:
        case Tok::Name:
            return "'" + std::string(token.text) + "'";
        case Tok::String:
            return "a string";
        case Tok::Comma:
            return "','";
        case Tok::Pipe:
            return "'|'";
        case Tok::Open:
            return "BEGIN";
        case Tok::Close:
            return "END";
        }
        return "?";
    }

    Token Expect(Tok kind, const std::string& what) {
        if (lex_.Peek().kind != kind)
            Fail(lex_.Peek().line, "expected " + what + ", found " + Describe(lex_.Peek()));
        return lex_.Next();
    }

    bool PeekName(std::string_view name) const {
        return lex_.Peek().kind == Tok::Name && lex_.Peek().text == name;
    }

    void OptionalComma() {
        if (lex_.Peek().kind == Tok::Comma)
            lex_.Next();
    }

    bool TakeComma() {
        if (lex_.Peek().kind != Tok::Comma)
            return false;
        lex_.Next();
        return true;
    }

    std::string String(const std::string& what) { return DecodeString(Expect(Tok::String, what)); }

    // A number or an id name.
    long Value(const std::string& what) {
        const Token& peek = lex_.Peek();
        if (peek.kind == Tok::Number)
            return lex_.Next().number;
        if (peek.kind == Tok::Name) {
            const Token token = lex_.Next();
            const long* value = names_ ? names_->Find(token.text) : nullptr;
            if (!value) {
                static const ResourceIdNames builtIn;
                value = builtIn.Find(token.text);
            }
            if (!value)
                Fail(token.line, "unknown name '" + std::string(token.text) + "'");
            return *value;
        }
        Fail(peek.line, "expected " + what + ", found " + Describe(peek));
    }

    int Ranged(const std::string& what, long low, long high) {
        const int line = lex_.Peek().line;
        const long value = Value(what);
        if (value < low || value > high)
            Fail(line, what + " " + std::to_string(value) + " out of range " + std::to_string(low) + ".." +
                           std::to_string(high));
        return static_cast<int>(value);
    }

    int ResourceId() { return Ranged("resource id", 1, 65535); }
    int CommandId() { return Ranged("command id", 1, 65535); }
    // "x, y, cx, cy"; the comma after the last number is left for the caller.
    void Rectangle(int& x, int& y, int& cx, int& cy, int line) {
        int* const parts[] = {&x, &y, &cx, &cy};
        for (int i = 0; i < 4; ++i) {
            if (i)
                OptionalComma();
            *parts[i] = Ranged("coordinate", -32768, 32767);
        }
        if (cx < 0 || cy < 0)
            Fail(line, "negative size");
    }

    std::string Where(const SourceLocation& where) const {
        return where.file.empty() ? std::string()
                                  : " (first at " + where.file + ":" + std::to_string(where.line) + ")";
    }

    template <typename Map>
    void CheckNew(const Map& map, const std::unordered_map<int, SourceLocation>& sources, int id, int line,
                  const char* kind) {
        if (map.count(id) == 0)
            return;
        auto at = sources.find(id);
        Fail(line, std::string(kind) + " " + std::to_string(id) + " defined twice" +
                       (at == sources.end() ? std::string() : Where(at->second)));
    }

    void Record(std::unordered_map<int, SourceLocation>& sources, int id, int line) {
        if (options_.recordLocations)
            sources.emplace(id, SourceLocation{std::string(file_), line});
    }

    // One resource of a kind kept by id: refuses a second definition, reads the body, keeps it.
    template <typename Record_, typename Body>
    void DefineOnce(std::unordered_map<int, Record_>& map, std::unordered_map<int, SourceLocation>& sources,
                    int id, int line, const char* kind, const Body& body) {
        CheckNew(map, sources, id, line, kind);
        Record_ record;
        record.id = id;
        body(record);
        map.emplace(id, std::move(record));
        Record(sources, id, line);
    }

    // ---- STRINGTABLE ----
    void StringTable() {
        Expect(Tok::Open, "BEGIN");
        while (lex_.Peek().kind != Tok::Close) {
            const int line = lex_.Peek().line;
            const int id = Ranged("string id", 0, 65535);
            OptionalComma();
            std::string text = String("the string's text");
            CheckNew(set_.strings, set_.stringSources, id, line, "string");
            set_.strings.emplace(id, std::move(text));
            Record(set_.stringSources, id, line);
        }
        lex_.Next();
    }

    // ---- style expressions ----
    struct StyleResult {
        WindowStyle ored = 0; // bits the expression adds to the style word
    };

    // Applies "A | B | NOT C" to style/exStyle in order. family: the class's own names that are
    // allowed (Dialog for a dialog's STYLE). exPosition: bare numbers go to the extended word.
    StyleResult StyleExpression(WindowStyle& style, WindowStyle& exStyle, StyleFamily family,
                                bool exPosition) {
        StyleResult result;
        for (;;) {
            bool negate = false;
            while (PeekName("NOT")) {
                lex_.Next();
                negate = !negate;
            }
            const Token token = lex_.Next();
            WindowStyle value = 0;
            bool toEx = exPosition;
            if (token.kind == Tok::Number) {
                value = static_cast<WindowStyle>(token.number);
            } else if (token.kind == Tok::Name) {
                const auto& table = StyleTable();
                auto found = table.find(token.text);
                if (found == table.end())
                    Fail(token.line, "unknown style '" + std::string(token.text) + "'");
                const StyleName& entry = *found->second;
                const bool general =
                    entry.family == StyleFamily::Window || entry.family == StyleFamily::WindowEx;
                const bool allowed = general || entry.family == family ||
                                     (family == StyleFamily::Custom && entry.family != StyleFamily::Dialog);
                if (!allowed)
                    Fail(token.line, "style " + std::string(token.text) + " does not belong to this " +
                                         (family == StyleFamily::Dialog ? "dialog" : "control's class"));
                value = entry.value;
                toEx = entry.family == StyleFamily::WindowEx;
            } else {
                Fail(token.line, "expected a style, found " + Describe(token));
            }
            WindowStyle& target = toEx ? exStyle : style;
            if (negate) {
                target &= ~value;
            } else {
                target |= value;
                if (!toEx)
                    result.ored |= value;
            }
            if (lex_.Peek().kind != Tok::Pipe)
                return result;
            lex_.Next();
        }
    }

    // ---- DIALOG ----
    void Dialog(int id, int line) {
        if (set_.dialogs.count(id)) {
            const DialogTemplate& old = set_.dialogs.at(id);
            Fail(line, "dialog " + std::to_string(id) + " defined twice" +
                           Where(SourceLocation{old.sourceFile, old.sourceLine}));
        }
        DialogTemplate dialog;
        dialog.id = id;
        dialog.sourceFile = std::string(file_);
        dialog.sourceLine = line;
        OptionalComma();
        Rectangle(dialog.x, dialog.y, dialog.cx, dialog.cy, line);
        bool haveStyle = false, haveEx = false, haveCaption = false, haveFont = false;
        dialog.style = 0;
        while (lex_.Peek().kind == Tok::Name) {
            const Token key = lex_.Next();
            auto once = [&](bool& seen) {
                if (seen)
                    Fail(key.line, std::string(key.text) + " given twice");
                seen = true;
            };
            if (key.text == "STYLE") {
                once(haveStyle);
                StyleExpression(dialog.style, dialog.exStyle, StyleFamily::Dialog, false);
            } else if (key.text == "EXSTYLE") {
                once(haveEx);
                StyleExpression(dialog.style, dialog.exStyle, StyleFamily::Dialog, true);
            } else if (key.text == "CAPTION") {
                once(haveCaption);
                dialog.caption = String("the caption text");
            } else if (key.text == "FONT") {
                once(haveFont);
                dialog.fontPointSize = Ranged("font size", 1, 144);
                OptionalComma();
                dialog.fontName = String("the font name");
                while (TakeComma()) // weight, italic, charset: the window layer does not use them
                    Value("a font attribute");
            } else {
                Fail(key.line, "unknown dialog statement '" + std::string(key.text) + "'");
            }
        }
        if (!haveStyle)
            dialog.style = kDefaultDialogStyle;
        Expect(Tok::Open, "BEGIN");
        while (lex_.Peek().kind != Tok::Close) {
            const Token key = Expect(Tok::Name, "a control statement");
            if (key.text == "ITEMS") {
                ComboItems(dialog, key.line);
                continue;
            }
            const ControlKeyword* keyword = FindControlKeyword(key.text);
            if (!keyword)
                Fail(key.line, "unknown control statement '" + std::string(key.text) + "'");
            if (dialog.controls.empty())
                dialog.controls.reserve(16);
            dialog.controls.emplace_back();
            Control(*keyword, dialog, key.line);
        }
        lex_.Next();
        set_.dialogs.emplace(id, std::move(dialog));
    }

    std::string ControlText() {
        if (lex_.Peek().kind == Tok::String)
            return DecodeString(lex_.Next());
        return std::to_string(Ranged("image id", 1, 65535));
    }

    // Fills the dialog's last control, made by the caller (built in place: the whole set is parsed at
    // every start).
    void Control(const ControlKeyword& keyword, DialogTemplate& dialog, int line) {
        DialogControlTemplate& control = dialog.controls.back();
        control.className = std::string(keyword.className);
        const bool hasText = keyword.shape == Shape::TextRect || keyword.shape == Shape::Control ||
                             keyword.shape == Shape::Icon;
        if (hasText) {
            control.text = ControlText();
            OptionalComma();
        }
        control.id = Ranged("control id", -1, 65535);
        OptionalComma();
        if (keyword.shape == Shape::Control) {
            control.className = String("the control's class name");
            if (control.className.empty())
                Fail(line, "empty class name");
            OptionalComma();
        }
        const StyleFamily family = StyleFamilyOfClass(control.className);
        WindowStyle style = kControlBaseStyle | keyword.style;
        WindowStyle exStyle = 0;
        StyleResult given;
        if (keyword.shape == Shape::Control) {
            given = StyleExpression(style, exStyle, family, false);
            OptionalComma();
        }
        Rectangle(control.x, control.y, control.cx, control.cy, line);
        if (keyword.shape != Shape::Control && TakeComma()) {
            given = StyleExpression(style, exStyle, family, false);
            if (TakeComma())
                StyleExpression(style, exStyle, family, true);
        } else if (keyword.shape == Shape::Control && TakeComma()) {
            StyleExpression(style, exStyle, family, true);
        }
        // A kind written by the author replaces the statement's default kind.
        const WindowStyle kindMask = KindMask(family);
        if (keyword.shape != Shape::Control && (given.ored & kindMask) != 0)
            style = (style & ~kindMask) | (given.ored & kindMask);
        control.style = style;
        control.exStyle = exStyle;
        if (control.id != -1) {
            for (std::size_t i = 0; i + 1 < dialog.controls.size(); ++i)
                if (dialog.controls[i].id == control.id)
                    Fail(line, "control id " + std::to_string(control.id) + " used twice in dialog " +
                                   std::to_string(dialog.id));
        }
    }

    void ComboItems(DialogTemplate& dialog, int line) {
        const int id = Ranged("control id", 0, 65535);
        OptionalComma();
        auto control = std::find_if(dialog.controls.begin(), dialog.controls.end(),
                                    [id](const DialogControlTemplate& c) { return c.id == id; });
        if (control == dialog.controls.end())
            Fail(line, "ITEMS for control " + std::to_string(id) + ", which this dialog does not have (yet)");
        if (StyleFamilyOfClass(control->className) != StyleFamily::ComboBox)
            Fail(line, "ITEMS for control " + std::to_string(id) + ", which is no COMBOBOX");
        if (dialog.comboItems.count(id))
            Fail(line, "ITEMS for control " + std::to_string(id) + " given twice");
        std::vector<std::string> items;
        Expect(Tok::Open, "BEGIN");
        while (lex_.Peek().kind != Tok::Close) {
            items.push_back(String("an item text"));
            OptionalComma();
        }
        lex_.Next();
        dialog.comboItems.emplace(id, std::move(items));
    }

    // ---- MENU ----
    void MenuItems(std::vector<MenuItemTemplate>& items) {
        Expect(Tok::Open, "BEGIN");
        while (lex_.Peek().kind != Tok::Close) {
            const Token key = Expect(Tok::Name, "POPUP or MENUITEM");
            MenuItemTemplate item;
            if (key.text == "POPUP") {
                item.text = String("the popup's text");
                MenuOptions(item);
                MenuItems(item.children);
                if (item.children.empty())
                    Fail(key.line, "empty popup \"" + item.text + "\"");
            } else if (key.text == "MENUITEM") {
                if (PeekName("SEPARATOR")) {
                    lex_.Next();
                    item.separator = true;
                } else {
                    item.text = String("the item's text");
                    OptionalComma();
                    item.id = CommandId();
                    MenuOptions(item);
                }
            } else {
                Fail(key.line, "expected POPUP or MENUITEM, found '" + std::string(key.text) + "'");
            }
            items.push_back(std::move(item));
        }
        lex_.Next();
    }

    void MenuOptions(MenuItemTemplate& item) {
        while (TakeComma()) {
            const Token option = Expect(Tok::Name, "a menu option");
            if (option.text == "GRAYED" || option.text == "INACTIVE")
                item.grayed = true;
            else if (option.text == "CHECKED")
                item.checked = true;
            else
                Fail(option.line, "unknown menu option '" + std::string(option.text) + "'");
        }
    }

    void Menu(int id, int line) {
        DefineOnce(set_.menus, set_.menuSources, id, line, "menu",
                   [&](MenuTemplate& menu) { MenuItems(menu.items); });
    }

    // ---- ACCELERATORS ----
    void Accelerators(int id, int line) {
        DefineOnce(set_.accelerators, set_.acceleratorSources, id, line, "accelerator table",
                   [&](AcceleratorTable& table) { AcceleratorEntries(table); });
    }

    void AcceleratorEntries(AcceleratorTable& table) {
        Expect(Tok::Open, "BEGIN");
        while (lex_.Peek().kind != Tok::Close) {
            AcceleratorEntry entry;
            bool character = false;
            const Token& keyToken = lex_.Peek();
            const int keyLine = keyToken.line;
            if (keyToken.kind == Tok::String) {
                const std::string key = DecodeString(lex_.Next());
                if (key.size() != 1)
                    Fail(keyLine, "an accelerator key is one character");
                entry.key = static_cast<unsigned char>(key[0]);
                character = true;
            } else if (keyToken.kind == Tok::Name && VirtualKeyTable().count(keyToken.text)) {
                entry.key = VirtualKeyTable().at(lex_.Next().text);
            } else {
                entry.key = Ranged("key code", 1, 0xFFFF);
            }
            OptionalComma();
            entry.command = CommandId();
            while (TakeComma()) {
                const Token option = Expect(Tok::Name, "an accelerator option");
                if (option.text == "VIRTKEY")
                    entry.virtKey = true;
                else if (option.text == "ASCII")
                    entry.virtKey = false;
                else if (option.text == "CONTROL")
                    entry.control = true;
                else if (option.text == "SHIFT")
                    entry.shift = true;
                else if (option.text == "ALT")
                    entry.alt = true;
                else if (option.text != "NOINVERT")
                    Fail(option.line, "unknown accelerator option '" + std::string(option.text) + "'");
            }
            // A letter named as a key means the key, whichever case it was written in.
            if (character && entry.virtKey && entry.key >= 'a' && entry.key <= 'z')
                entry.key = entry.key - 'a' + 'A';
            table.entries.push_back(entry);
        }
        lex_.Next();
    }

    // ---- TOOLBAR ----
    void Toolbar(int id, int line) {
        DefineOnce(set_.toolbars, set_.toolbarSources, id, line, "toolbar", [&](ToolbarTemplate& toolbar) {
            toolbar.buttonWidth = Ranged("button width", 1, 256);
            OptionalComma();
            toolbar.buttonHeight = Ranged("button height", 1, 256);
            Expect(Tok::Open, "BEGIN");
            while (lex_.Peek().kind != Tok::Close) {
                const Token key = Expect(Tok::Name, "BUTTON or SEPARATOR");
                if (key.text == "BUTTON")
                    toolbar.buttons.push_back(CommandId());
                else if (key.text == "SEPARATOR")
                    toolbar.buttons.push_back(0);
                else
                    Fail(key.line, "expected BUTTON or SEPARATOR, found '" + std::string(key.text) + "'");
            }
            lex_.Next();
        });
    }

    // ---- BITMAP / ICON ----
    void Image(int id, bool icon, int line) {
        if (set_.imageFiles.count(id) || set_.images.count(id)) {
            auto at = set_.imageFiles.find(id);
            Fail(line, "image " + std::to_string(id) + " defined twice" +
                           (at == set_.imageFiles.end() ? std::string() : Where(at->second.where)));
        }
        ImageReference image;
        image.id = id;
        image.icon = icon;
        image.where = SourceLocation{std::string(file_), line};
        image.file = String("the image file name");
        std::string lower = image.file;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        const auto endsWith = [&](const char* suffix) {
            const std::size_t n = std::strlen(suffix);
            return lower.size() > n && lower.compare(lower.size() - n, n, suffix) == 0;
        };
        if (!endsWith(".png") && !endsWith(".svg"))
            Fail(line, "image file \"" + image.file + "\" is neither .png nor .svg");
        if (image.file.front() == '/' || image.file.find("..") != std::string::npos ||
            image.file.find('\\') != std::string::npos)
            Fail(line, "image file \"" + image.file + "\" must be a plain name inside resources/images/");
        // An optional render size on the same line (the next line may start with a number id).
        if (lex_.Peek().kind == Tok::Comma || (lex_.Peek().kind == Tok::Number && lex_.Peek().line == line)) {
            OptionalComma();
            image.width = Ranged("image width", 1, 4096);
            OptionalComma();
            image.height = Ranged("image height", 1, 4096);
        }
        set_.imageFiles.emplace(id, std::move(image));
    }

    Lexer lex_;
    std::string_view file_;
    const ResourceIdNames* names_;
    const ResourceParseOptions& options_;
    ResourceSet& set_;
};

} // namespace

// ---------------------------------------------------------------------------------------------
ResourceIdNames::ResourceIdNames() {
    const SourceLocation builtIn{};
    const std::pair<const char*, long> known[] = {
        {"IDOK", 1},     {"IDCANCEL", 2}, {"IDABORT", 3}, {"IDRETRY", 4},
        {"IDIGNORE", 5}, {"IDYES", 6},    {"IDNO", 7},    {"IDC_STATIC", -1},
    };
    for (const auto& [name, value] : known)
        names_.emplace(name, Entry{value, builtIn});
}

bool ResourceIdNames::Define(const std::string& name, long value, const SourceLocation& where,
                             SourceLocation* previous) {
    auto [it, inserted] = names_.emplace(name, Entry{value, where});
    if (inserted || it->second.value == value)
        return true;
    if (previous)
        *previous = it->second.where;
    return false;
}

const long* ResourceIdNames::Find(std::string_view name) const {
    auto it = names_.find(name);
    return it == names_.end() ? nullptr : &it->second.value;
}

bool ResourceIdNames::ReadHeader(std::string_view text, std::string_view fileName,
                                 std::vector<ResourceError>& errors) {
    bool ok = true;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (const std::size_t comment = line.find("//"); comment != std::string_view::npos)
            line = line.substr(0, comment);
        line = Trim(line);
        std::string_view name, value;
        if (line.substr(0, 1) == "#") {
            line = Trim(line.substr(1));
            if (line.substr(0, 6) != "define")
                continue;
            line = Trim(line.substr(6));
            const std::size_t space = line.find_first_of(" \t");
            if (space == std::string_view::npos)
                continue;
            name = line.substr(0, space);
            value = line.substr(space);
        } else {
            const std::size_t constexprAt = line.find("constexpr ");
            const std::size_t equals = line.find('=');
            const std::size_t semicolon = line.find(';');
            if (constexprAt == std::string_view::npos || equals == std::string_view::npos ||
                semicolon == std::string_view::npos || semicolon < equals)
                continue;
            std::string_view left = Trim(line.substr(0, equals));
            const std::size_t lastSpace = left.find_last_of(" \t");
            if (lastSpace == std::string_view::npos)
                continue;
            name = left.substr(lastSpace + 1);
            value = line.substr(equals + 1, semicolon - equals - 1);
        }
        long number;
        if (!IsIdentifier(name) || !ParseHeaderValue(value, number))
            continue;
        SourceLocation previous;
        if (!Define(std::string(name), number, SourceLocation{std::string(fileName), lineNumber},
                    &previous)) {
            std::string message = std::string(name) + " defined again with another value";
            if (!previous.file.empty())
                message += " (first at " + previous.file + ":" + std::to_string(previous.line) + ")";
            else
                message += " (it is a built-in name)";
            errors.push_back(ResourceError{std::string(fileName), lineNumber, message});
            ok = false;
        }
    }
    return ok;
}

ResourceScriptParser::ResourceScriptParser(const ResourceIdNames* names, ResourceParseOptions options)
    : names_(names), options_(options) {}

bool ResourceScriptParser::Parse(std::string_view text, std::string_view fileName, ResourceSet& set) {
    try {
        ScriptReader reader(text, fileName, names_, options_, set);
        reader.Run();
        return true;
    } catch (const ParseFailure& failure) {
        errors_.push_back(ResourceError{std::string(fileName), failure.line, failure.message});
        return false;
    }
}

bool ReadPngSize(const std::vector<std::uint8_t>& bytes, int& width, int& height) {
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 24 || !std::equal(kSignature, kSignature + 8, bytes.begin()) ||
        std::memcmp(bytes.data() + 12, "IHDR", 4) != 0)
        return false;
    auto big = [&](std::size_t at) {
        return (std::uint32_t(bytes[at]) << 24) | (std::uint32_t(bytes[at + 1]) << 16) |
               (std::uint32_t(bytes[at + 2]) << 8) | std::uint32_t(bytes[at + 3]);
    };
    const std::uint32_t w = big(16), h = big(20);
    if (w == 0 || h == 0 || w > INT_MAX || h > INT_MAX)
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool CheckToolbarImages(const ResourceSet& set, std::vector<ResourceError>& errors) {
    bool ok = true;
    std::vector<int> ids;
    for (const auto& entry : set.toolbars)
        ids.push_back(entry.first);
    std::sort(ids.begin(), ids.end()); // messages in a stable order
    for (int id : ids) {
        const ToolbarTemplate& toolbar = set.toolbars.at(id);
        auto at = set.toolbarSources.find(id);
        const SourceLocation where =
            at == set.toolbarSources.end() ? SourceLocation{"toolbar", 0} : at->second;
        auto fail = [&](const std::string& message) {
            errors.push_back(ResourceError{where.file, where.line, message});
            ok = false;
        };
        auto image = set.images.find(id);
        if (image == set.images.end() || image->second.icon) {
            fail("toolbar " + std::to_string(id) + " has no BITMAP " + std::to_string(id));
            continue;
        }
        int width = 0, height = 0;
        if (!ReadPngSize(image->second.bytes, width, height)) {
            fail("bitmap " + std::to_string(id) + " of the toolbar is no PNG");
            continue;
        }
        const long buttons =
            std::count_if(toolbar.buttons.begin(), toolbar.buttons.end(), [](int b) { return b; });
        if (width < buttons * toolbar.buttonWidth || height < toolbar.buttonHeight)
            fail("bitmap " + std::to_string(id) + " is " + std::to_string(width) + "x" +
                 std::to_string(height) + ", too small for " + std::to_string(buttons) + " buttons of " +
                 std::to_string(toolbar.buttonWidth) + "x" + std::to_string(toolbar.buttonHeight));
    }
    return ok;
}
