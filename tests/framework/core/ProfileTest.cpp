#include "framework/core/Profile.h"

#include "framework/core/File.h"

#include "tests/framework/core/TestSupport.h"

#include <gtest/gtest.h>

TEST(Profile, RoundTripKeepsSectionsEntriesAndOrder) {
    ScratchFolder folder;
    CProfile profile(folder / "profile.ini");
    EXPECT_FALSE(profile.Load());
    profile.WriteString("Recent File List", "File1", "/home/tech/drive a.zpf");
    profile.WriteString("Recent File List", "File2", "/home/tech/b.zpf");
    profile.WriteInt("Settings", "Count", -3);
    profile.WriteString("recent file list", "FILE1", "/home/tech/new.zpf"); // same entry, any case
    profile.WriteString("Settings", "Odd=Name", "two\nlines");
    ASSERT_TRUE(profile.Save());
    EXPECT_FALSE(FileExists(folder / "profile.ini.tmp"));

    CProfile back(folder / "profile.ini");
    ASSERT_TRUE(back.Load());
    EXPECT_EQ(back.GetString("Recent File List", "File1"), "/home/tech/new.zpf");
    EXPECT_EQ(back.GetString("Recent File List", "File2"), "/home/tech/b.zpf");
    EXPECT_EQ(back.GetInt("Settings", "Count"), -3);
    EXPECT_EQ(back.GetString("Settings", "Odd_Name"), "two lines");
    EXPECT_EQ(back.GetString("Settings", "Missing", "dflt"), "dflt");
    EXPECT_EQ(back.GetInt("Recent File List", "File1", 9), 9); // not a number

    back.RemoveEntry("Recent File List", "File2");
    back.RemoveSection("Settings");
    ASSERT_TRUE(back.Save());
    std::vector<unsigned char> bytes = ReadBytes(folder / "profile.ini");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "[Recent File List]\nFile1=/home/tech/new.zpf\n\n");
}

TEST(Profile, MalformedLinesAreSkipped) {
    ScratchFolder folder;
    std::string text = "orphan=1\r\n[A]\r\nnoequals\r\n=novalue\r\n; comment\r\nkey = value \r\n[B\r\n";
    WriteBytes(folder / "p.ini", std::vector<unsigned char>(text.begin(), text.end()));
    CProfile profile(folder / "p.ini");
    ASSERT_TRUE(profile.Load());
    EXPECT_EQ(profile.GetString("A", "key"), "value");
    EXPECT_FALSE(profile.HasEntry("", "orphan"));
    EXPECT_FALSE(profile.HasEntry("A", "noequals"));
}

TEST(Profile, SaveReportsAFolderThatCannotBeWritten) {
    ScratchFolder folder;
    CProfile profile(folder / "missing-folder/profile.ini");
    profile.WriteInt("S", "k", 1);
    EXPECT_FALSE(profile.Save());
}
