#include "framework/core/ResourceBinary.h"
#include "framework/core/WindowStyles.h"

#include <gtest/gtest.h>

namespace {

ResourceSet Sample() {
    ResourceSet set;
    ResourceScriptParser parser;
    EXPECT_TRUE(parser.Parse(R"(
STRINGTABLE BEGIN 1, "one" 2, "" 65535, "line\nbreak, \"quoted\"" END
7 DIALOG 1, 2, 100, 50
CAPTION "Seven"
BEGIN
    EDITTEXT 10, 5, 5, 40, 12, NOT WS_VISIBLE | ES_READONLY, WS_EX_CLIENTEDGE
    COMBOBOX 11, 5, 20, 40, 60, CBS_DROPDOWNLIST
    ITEMS 11 BEGIN "a", "b" END
END
3 MENU BEGIN POPUP "&P" BEGIN MENUITEM "x", 100, GRAYED MENUITEM SEPARATOR POPUP "&Q" BEGIN MENUITEM "y", 101, CHECKED END END END
3 ACCELERATORS BEGIN "Q", 100, VIRTKEY, CONTROL, SHIFT  VK_F1, 101, VIRTKEY, ALT END
3 TOOLBAR 16, 15 BEGIN BUTTON 100 SEPARATOR BUTTON 101 END
)",
                             "sample.rc", set))
        << parser.Errors().front().ToString();
    set.images[3] = ImageResource{3, false, {0x89, 'P', 'N', 'G', 0, 255}};
    set.images[4] = ImageResource{4, true, {}};
    return set;
}

TEST(ResourceBinary, ReadsBackWhatWasWritten) {
    const ResourceSet set = Sample();
    const std::string bytes = WriteResourceBinary(set);
    ResourceSet back;
    std::string error;
    ASSERT_TRUE(ReadResourceBinary(bytes, back, &error)) << error;
    EXPECT_EQ(WriteResourceBinary(back), bytes);

    EXPECT_EQ(back.strings, set.strings);
    const DialogTemplate& d = back.dialogs.at(7);
    EXPECT_EQ(d.caption, "Seven");
    EXPECT_EQ((std::vector<int>{d.x, d.y, d.cx, d.cy}), (std::vector<int>{1, 2, 100, 50}));
    EXPECT_EQ(d.style, set.dialogs.at(7).style);
    EXPECT_EQ(d.fontName, "MS Shell Dlg");
    ASSERT_EQ(d.controls.size(), 2u);
    EXPECT_EQ(d.controls[0].style, set.dialogs.at(7).controls[0].style);
    EXPECT_FALSE(d.controls[0].style & WS_VISIBLE);
    EXPECT_EQ(d.controls[0].exStyle, WS_EX_CLIENTEDGE);
    EXPECT_EQ(d.controls[1].className, "COMBOBOX");
    EXPECT_EQ(d.comboItems.at(11), (std::vector<std::string>{"a", "b"}));

    const MenuItemTemplate& popup = back.menus.at(3).items.at(0);
    EXPECT_TRUE(popup.children.at(0).grayed);
    EXPECT_TRUE(popup.children.at(1).separator);
    EXPECT_TRUE(popup.children.at(2).children.at(0).checked);
    EXPECT_EQ(popup.children.at(2).children.at(0).id, 101);

    const auto& keys = back.accelerators.at(3).entries;
    EXPECT_TRUE(keys.at(0).virtKey && keys.at(0).control && keys.at(0).shift && !keys.at(0).alt);
    EXPECT_TRUE(keys.at(1).alt);
    EXPECT_EQ(back.toolbars.at(3).buttons, (std::vector<int>{100, 0, 101}));
    EXPECT_EQ(back.images.at(3).bytes, set.images.at(3).bytes);
    EXPECT_TRUE(back.images.at(4).icon);
}

// Damaged data is refused with a reason, never read past (the sanitizers watch the reads).
TEST(ResourceBinary, RefusesEveryTruncationAndDamagedCounts) {
    const std::string bytes = WriteResourceBinary(Sample());
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        ResourceSet set;
        std::string error;
        EXPECT_FALSE(ReadResourceBinary(std::string_view(bytes).substr(0, size), set, &error)) << size;
        EXPECT_FALSE(error.empty());
    }

    std::string error;
    ResourceSet set;
    std::string wrongMagic = bytes;
    wrongMagic[3] = 0x02;
    EXPECT_FALSE(ReadResourceBinary(wrongMagic, set, &error));
    EXPECT_EQ(error, "compiled resource set refused: not a compiled resource set of this version");

    std::string hugeCount = bytes;
    hugeCount[4] = hugeCount[5] = hugeCount[6] = hugeCount[7] = '\xFF'; // the string count
    EXPECT_FALSE(ReadResourceBinary(hugeCount, set, &error));
    EXPECT_EQ(error, "compiled resource set refused: count larger than the data");

    EXPECT_FALSE(ReadResourceBinary(bytes + "x", set, &error));
    EXPECT_EQ(error, "compiled resource set refused: data after the last section");
}

TEST(ResourceBinary, RefusesAnIdTwiceAndMenusNestedWithoutEnd) {
    ResourceSet twice;
    twice.strings[5] = "a";
    std::string bytes = WriteResourceBinary(twice);
    // Make it claim two strings and repeat the entry (id 5, length 1, "a").
    bytes[4] = 2;
    bytes.insert(17, bytes.substr(8, 9));
    ResourceSet set;
    std::string error;
    EXPECT_FALSE(ReadResourceBinary(bytes, set, &error));
    EXPECT_EQ(error, "compiled resource set refused: an id defined twice");

    MenuTemplate deep;
    deep.id = 1;
    std::vector<MenuItemTemplate>* level = &deep.items;
    for (int i = 0; i < 40; ++i) {
        level->push_back(MenuItemTemplate{"x", 0, false, false, false, {}});
        level = &level->back().children;
    }
    ResourceSet nested;
    nested.menus[1] = deep;
    EXPECT_FALSE(ReadResourceBinary(WriteResourceBinary(nested), set, &error));
    EXPECT_EQ(error, "compiled resource set refused: menu nested too deep");
}

} // namespace
