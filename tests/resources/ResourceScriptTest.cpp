#include "framework/core/ResourceScript.h"
#include "framework/core/WindowStyles.h"

#include <gtest/gtest.h>

namespace {

ResourceIdNames NamesFrom(const char* header) {
    ResourceIdNames names;
    std::vector<ResourceError> errors;
    EXPECT_TRUE(names.ReadHeader(header, "ids.h", errors));
    return names;
}

const char* kHeader = R"(#pragma once
#define IDD_SAMPLE 300
#define IDC_NAME_EDIT   1001  // trailing comment
inline constexpr int IDC_BAUD_COMBO = 0x3E9 + 0;   // an expression: ignored
inline constexpr int IDC_KIND_COMBO = 1002;
static constexpr unsigned IDB_PICTURE = (133u);
constexpr int IDC_HIDDEN = 1003;
#define IDM_FILE_MENU 400
#define ID_DO_THING 32772
#define NOT_A_NUMBER some_macro(1)
)";

const char* kScript = R"(// a full sample
STRINGTABLE
BEGIN
    128, "KeloServo"
    129  "tab\there, quote \" and backslash \\ and" " joined"
    61468, "line one\nline two"
END

IDD_SAMPLE DIALOGEX 10, 20, 200, 120
CAPTION "Sample"
STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_EX_TOOLWINDOW
FONT 9, "Tahoma", 400, 0, 1
BEGIN
    LTEXT "Name:", IDC_STATIC, 7, 9, 40, 8
    EDITTEXT IDC_NAME_EDIT, 50, 7, 80, 12, ES_AUTOHSCROLL | NOT WS_TABSTOP
    COMBOBOX IDC_KIND_COMBO, 50, 25, 80, 60, CBS_DROPDOWN | WS_VSCROLL
    ITEMS IDC_KIND_COMBO BEGIN "One", "Two" "!", "Three" END
    AUTOCHECKBOX "&Check", 1004, 7, 45, 60, 10, BS_PUSHLIKE, WS_EX_STATICEDGE
    CONTROL "", 1005, "SysListView32", LVS_REPORT | WS_BORDER, 7, 60, 180, 40, WS_EX_CLIENTEDGE
    CONTROL IDB_PICTURE, 1006, "STATIC", SS_BITMAP, 140, 7, 40, 40
    CONTROL "x", 1007, "OurOwnWidget", 0x0042, 0, 0, 5, 5
    EDITTEXT IDC_HIDDEN, 0, 0, 1, 1, NOT WS_VISIBLE
    DEFPUSHBUTTON "OK", IDOK, 90, 100, 50, 14
    PUSHBUTTON "Cancel", IDCANCEL, 143, 100, 50, 14
END

IDM_FILE_MENU MENU
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "&Do\tCtrl+D", ID_DO_THING
        MENUITEM SEPARATOR
        POPUP "&More", GRAYED
        {
            MENUITEM "Deep", 32800, CHECKED, GRAYED
        }
    END
END

IDM_FILE_MENU ACCELERATORS
BEGIN
    "d", ID_DO_THING, VIRTKEY, CONTROL
    VK_F1, 32789, VIRTKEY
    "?", 32789
    0x2E, 32790, VIRTKEY, SHIFT, ALT
END

128 TOOLBAR 16, 15
BEGIN
    BUTTON ID_DO_THING
    SEPARATOR
    BUTTON 32789
END

128 BITMAP "tool.svg" 32, 15
IDB_PICTURE ICON "pic.png"
)";

ResourceSet ParseSample() {
    const ResourceIdNames names = NamesFrom(kHeader);
    ResourceSet set;
    ResourceScriptParser parser(&names);
    EXPECT_TRUE(parser.Parse(kScript, "sample.rc", set))
        << (parser.Errors().empty() ? "" : parser.Errors().front().ToString());
    return set;
}

TEST(ResourceScript, StringsWithEscapesAndJoinedLiterals) {
    const ResourceSet set = ParseSample();
    EXPECT_EQ(set.strings.at(128), "KeloServo");
    EXPECT_EQ(set.strings.at(129), "tab\there, quote \" and backslash \\ and joined");
    EXPECT_EQ(set.strings.at(61468), "line one\nline two");
}

TEST(ResourceScript, DialogHeaderAndControlStyles) {
    const ResourceSet set = ParseSample();
    const DialogTemplate& d = set.dialogs.at(300);
    EXPECT_EQ(d.caption, "Sample");
    EXPECT_EQ((std::vector<int>{d.x, d.y, d.cx, d.cy}), (std::vector<int>{10, 20, 200, 120}));
    EXPECT_EQ(d.style, DS_MODALFRAME | WS_POPUP | WS_CAPTION);
    EXPECT_EQ(d.exStyle, WS_EX_TOOLWINDOW);
    EXPECT_EQ(d.fontName, "Tahoma");
    EXPECT_EQ(d.fontPointSize, 9);
    EXPECT_EQ(d.sourceFile, "sample.rc");
    EXPECT_EQ(d.sourceLine, 9);
    ASSERT_EQ(d.controls.size(), 10u);

    const auto& label = d.controls[0];
    EXPECT_EQ(label.className, "STATIC");
    EXPECT_EQ(label.id, -1);
    EXPECT_EQ(label.style, WS_CHILD | WS_VISIBLE | SS_LEFT | WS_GROUP);

    const auto& edit = d.controls[1];
    EXPECT_EQ(edit.className, "EDIT");
    EXPECT_EQ(edit.style, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL); // tab stop removed

    const auto& combo = d.controls[2];
    EXPECT_EQ(combo.style & CBS_TYPEMASK, CBS_DROPDOWN) << "the written kind replaces the default kind";
    EXPECT_EQ(d.comboItems.at(1002), (std::vector<std::string>{"One", "Two!", "Three"}));

    const auto& check = d.controls[3];
    EXPECT_EQ(check.style & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_TRUE(check.style & BS_PUSHLIKE);
    EXPECT_EQ(check.exStyle, WS_EX_STATICEDGE);

    const auto& list = d.controls[4];
    EXPECT_EQ(list.className, "SysListView32");
    EXPECT_EQ(list.style, WS_CHILD | WS_VISIBLE | LVS_REPORT | WS_BORDER);
    EXPECT_EQ(list.exStyle, WS_EX_CLIENTEDGE);
    EXPECT_EQ((std::vector<int>{list.x, list.y, list.cx, list.cy}), (std::vector<int>{7, 60, 180, 40}));

    EXPECT_EQ(d.controls[5].text, "133") << "an image id as control text";
    EXPECT_EQ(d.controls[6].className, "OurOwnWidget");
    EXPECT_EQ(d.controls[6].style, WS_CHILD | WS_VISIBLE | 0x42u);
    EXPECT_FALSE(d.controls[7].style & WS_VISIBLE);
    EXPECT_EQ(d.controls[8].style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(d.controls[9].id, 2);
}

TEST(ResourceScript, MenuAcceleratorsToolbarImages) {
    const ResourceSet set = ParseSample();
    const MenuTemplate& menu = set.menus.at(400);
    ASSERT_EQ(menu.items.size(), 1u);
    const auto& file = menu.items[0];
    EXPECT_EQ(file.text, "&File");
    ASSERT_EQ(file.children.size(), 3u);
    EXPECT_EQ(file.children[0].text, "&Do\tCtrl+D");
    EXPECT_EQ(file.children[0].id, 32772);
    EXPECT_TRUE(file.children[1].separator);
    EXPECT_TRUE(file.children[2].grayed);
    ASSERT_EQ(file.children[2].children.size(), 1u);
    EXPECT_TRUE(file.children[2].children[0].checked);
    EXPECT_TRUE(file.children[2].children[0].grayed);

    const auto& keys = set.accelerators.at(400).entries;
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0].key, 'D') << "a virtual-key letter is upper case";
    EXPECT_TRUE(keys[0].virtKey && keys[0].control && !keys[0].shift);
    EXPECT_EQ(keys[1].key, 0x70);
    EXPECT_EQ(keys[2].key, '?');
    EXPECT_FALSE(keys[2].virtKey);
    EXPECT_TRUE(keys[3].shift && keys[3].alt && !keys[3].control);

    const ToolbarTemplate& toolbar = set.toolbars.at(128);
    EXPECT_EQ(toolbar.buttons, (std::vector<int>{32772, 0, 32789}));
    EXPECT_EQ(toolbar.buttonWidth, 16);
    EXPECT_EQ(toolbar.buttonHeight, 15);

    const ImageReference& bitmap = set.imageFiles.at(128);
    EXPECT_EQ(bitmap.file, "tool.svg");
    EXPECT_EQ(bitmap.width, 32);
    EXPECT_FALSE(bitmap.icon);
    EXPECT_TRUE(set.imageFiles.at(133).icon);
    EXPECT_EQ(set.imageFiles.at(133).width, 0) << "the next line's id is no render size";
}

TEST(ResourceScript, HeaderLinesOfBothForms) {
    const ResourceIdNames names = NamesFrom(kHeader);
    EXPECT_EQ(*names.Find("IDC_NAME_EDIT"), 1001);
    EXPECT_EQ(*names.Find("IDC_KIND_COMBO"), 1002);
    EXPECT_EQ(*names.Find("IDB_PICTURE"), 133);
    EXPECT_EQ(*names.Find("IDC_STATIC"), -1);
    EXPECT_EQ(names.Find("IDC_BAUD_COMBO"), nullptr);
    EXPECT_EQ(names.Find("NOT_A_NUMBER"), nullptr);

    std::vector<ResourceError> errors;
    ResourceIdNames clash = NamesFrom(kHeader);
    EXPECT_FALSE(clash.ReadHeader("\n\n#define IDC_NAME_EDIT 1002\n#define IDOK 5\n", "other.h", errors));
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].ToString(),
              "other.h:3: IDC_NAME_EDIT defined again with another value (first at ids.h:3)");
    EXPECT_EQ(errors[1].line, 4);
}

struct BadScript {
    const char* text;
    int line;
    const char* message;
};

// Each error names the line where the reader noticed it.
TEST(ResourceScript, ErrorsCarryFileAndLine) {
    const BadScript cases[] = {
        {"STRINGTABLE\nBEGIN\n  1, \"open\n END", 3, "unterminated string"},
        {"STRINGTABLE\nBEGIN\n  1, \"a\\qb\"\nEND", 3, "unknown escape \\q"},
        {"STRINGTABLE\nBEGIN\n  IDS_NOPE, \"x\"\nEND", 3, "unknown name 'IDS_NOPE'"},
        {"STRINGTABLE\nBEGIN\n  1, \"x\"\n  1, \"y\"\nEND", 4, "string 1 defined twice (first at bad.rc:3)"},
        {"STRINGTABLE\nBEGIN\n  70000, \"x\"\nEND", 3, "string id 70000 out of range 0..65535"},
        {"STRINGTABLE\nBEGIN\n  1, \"x\"\n", 4, "expected string id, found end of file"},
        {"/* open\ncomment", 1, "unterminated comment"},
        {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  EDITTEXT 5, 0, 0, 10, 10,\n    BS_PUSHLIKE\nEND", 4,
         "style BS_PUSHLIKE does not belong to this control's class"},
        {"1 DIALOG 0, 0, 10, 10\nSTYLE ES_READONLY\nBEGIN\nEND", 2,
         "style ES_READONLY does not belong to this dialog"},
        {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  EDITTEXT 5, 0, 0, 10, 10, WS_BOGUS\nEND", 3,
         "unknown style 'WS_BOGUS'"},
        {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  EDITTEXT 5, 0, 0, 10, 10\n  LTEXT \"\", 5, 0, 0, 1, 1\nEND", 4,
         "control id 5 used twice in dialog 1"},
        {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  EDITTEXT 5, 0, 0, 10, 10\n  ITEMS 5 BEGIN \"a\" END\nEND", 4,
         "ITEMS for control 5, which is no COMBOBOX"},
        {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  EDITTEXT 5, 0, 0, -10, 10\nEND", 3, "negative size"},
        {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  SLIDER 5, 0, 0, 10, 10\nEND", 3,
         "unknown control statement 'SLIDER'"},
        {"1 MENU\nBEGIN\n  POPUP \"&File\"\n  BEGIN\n  END\nEND", 3, "empty popup \"&File\""},
        {"1 MENU\nBEGIN\n  MENUITEM \"x\", 0\nEND", 3, "command id 0 out of range 1..65535"},
        {"1 ACCELERATORS\nBEGIN\n  \"ab\", 5\nEND", 3, "an accelerator key is one character"},
        {"1 BITMAP \"picture.bmp\"", 1, "image file \"picture.bmp\" is neither .png nor .svg"},
        {"1 BITMAP \"../secret.png\"", 1, "must be a plain name inside resources/images/"},
        {"1 BITMAP \"a.png\"\n1 ICON \"b.png\"", 2, "image 1 defined twice (first at bad.rc:1)"},
        {"1 WIDGET", 1, "unknown resource kind 'WIDGET'"},
        {"1 DIALOG 0, 0, 10, 10 BEGIN LTEXT \"x\", 1, 0, 0, 1, 1 $ END", 1, "unexpected character '$'"},
    };
    for (const BadScript& bad : cases) {
        ResourceSet set;
        ResourceScriptParser parser;
        EXPECT_FALSE(parser.Parse(bad.text, "bad.rc", set)) << bad.text;
        ASSERT_EQ(parser.Errors().size(), 1u) << bad.text;
        const ResourceError& error = parser.Errors().front();
        EXPECT_EQ(error.file, "bad.rc");
        EXPECT_EQ(error.line, bad.line) << bad.text << "\n" << error.ToString();
        EXPECT_NE(error.message.find(bad.message), std::string::npos) << bad.text << "\n" << error.ToString();
    }
}

TEST(ResourceScript, ByteOrderMarkAndWindowsLineEndsAreAccepted) {
    ResourceSet set;
    ResourceScriptParser parser;
    ASSERT_TRUE(parser.Parse("\xEF\xBB\xBFSTRINGTABLE\r\nBEGIN\r\n  1, \"x\"\r\nEND\r\n", "bom.rc", set));
    EXPECT_EQ(set.strings.at(1), "x");
}

TEST(ResourceScript, SecondFileCannotRedefineWhatTheFirstDefined) {
    ResourceSet set;
    ResourceScriptParser parser;
    ASSERT_TRUE(parser.Parse("\n5 DIALOG 0,0,1,1 BEGIN END", "a.rc", set));
    EXPECT_FALSE(parser.Parse("5 DIALOG 0,0,1,1 BEGIN END", "b.rc", set));
    EXPECT_EQ(parser.Errors().front().ToString(), "b.rc:1: dialog 5 defined twice (first at a.rc:2)");
}

std::vector<std::uint8_t> PngHeader(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                       0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    for (std::uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(static_cast<std::uint8_t>(v >> shift));
    return bytes;
}

TEST(ResourceScript, ToolbarNeedsAWideEnoughStrip) {
    ResourceSet set;
    ResourceScriptParser parser;
    ASSERT_TRUE(
        parser.Parse("\n\n7 TOOLBAR 16, 15 BEGIN BUTTON 1 SEPARATOR BUTTON 2 BUTTON 3 END", "t.rc", set));
    std::vector<ResourceError> errors;
    EXPECT_FALSE(CheckToolbarImages(set, errors));
    EXPECT_EQ(errors.at(0).ToString(), "t.rc:3: toolbar 7 has no BITMAP 7");

    errors.clear();
    set.images[7] = ImageResource{7, false, PngHeader(47, 15)};
    EXPECT_FALSE(CheckToolbarImages(set, errors));
    EXPECT_EQ(errors.at(0).message, "bitmap 7 is 47x15, too small for 3 buttons of 16x15");

    errors.clear();
    set.images[7] = ImageResource{7, false, PngHeader(48, 15)};
    EXPECT_TRUE(CheckToolbarImages(set, errors));

    set.images[7].bytes[1] = 'X';
    int w, h;
    EXPECT_FALSE(ReadPngSize(set.images[7].bytes, w, h));
}

TEST(WindowStyles, NamesAndClassFamilies) {
    ASSERT_NE(FindStyleName("ES_AUTOHSCROLL"), nullptr);
    EXPECT_EQ(FindStyleName("ES_AUTOHSCROLL")->value, ES_AUTOHSCROLL);
    EXPECT_EQ(FindStyleName("WS_EX_CLIENTEDGE")->family, StyleFamily::WindowEx);
    EXPECT_EQ(FindStyleName("NOPE"), nullptr);
    EXPECT_EQ(StyleFamilyOfClass("button"), StyleFamily::Button);
    EXPECT_EQ(StyleFamilyOfClass("msctls_progress32"), StyleFamily::Progress);
    EXPECT_EQ(StyleFamilyOfClass("Mine"), StyleFamily::Custom);
    // Window bits and class bits must not overlap, or a template could not carry both.
    for (const StyleName& entry : kStyleNames) {
        const bool general = entry.family == StyleFamily::Window || entry.family == StyleFamily::WindowEx;
        if (!general && entry.name != "LBS_STANDARD") {
            EXPECT_EQ(entry.value & ~WS_CLASS_MASK, 0u) << entry.name;
        }
    }
}

} // namespace
