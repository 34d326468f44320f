#include "framework/core/Paths.h"

#include "tests/framework/core/TestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

class PathsTest : public ::testing::Test {
protected:
    ScratchFolder folder;
    std::string Private() const { return folder / ("keloservo-" + std::to_string(geteuid())); }
};

TEST_F(PathsTest, TempFolderIsTheRuntimeFolderWhenUsable) {
    EnvOverride runtime("XDG_RUNTIME_DIR", folder.Path());
    EXPECT_EQ(TempFolder(), folder.Path() + "/");
    EXPECT_EQ(VirtualPortsFolder(), folder.Path() + "/ports/");
    EXPECT_EQ(TempFolderFile("/curfile.ini"), folder.Path() + "/curfile.ini");
}

TEST_F(PathsTest, TempFolderFallsBackToAPrivateFolderUnderTmpdir) {
    for (std::optional<std::string> runtime :
         {std::optional<std::string>(), std::optional<std::string>("/no/such/dir")}) {
        EnvOverride unset("XDG_RUNTIME_DIR", runtime);
        EnvOverride tmp("TMPDIR", folder.Path());
        EXPECT_EQ(TempFolder(), Private() + "/");
        struct stat info {};
        ASSERT_EQ(lstat(Private().c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        EXPECT_EQ(info.st_uid, geteuid());
    }
}

TEST_F(PathsTest, TempFolderTightensAnOpenFolderAndRefusesALink) {
    EnvOverride unset("XDG_RUNTIME_DIR", std::nullopt);
    EnvOverride tmp("TMPDIR", folder.Path());
    ASSERT_EQ(mkdir(Private().c_str(), 0777), 0);
    ASSERT_EQ(chmod(Private().c_str(), 0777), 0);
    EXPECT_EQ(TempFolder(), Private() + "/");
    struct stat info {};
    ASSERT_EQ(stat(Private().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    ASSERT_EQ(rmdir(Private().c_str()), 0);
    ASSERT_EQ(mkdir((folder / "elsewhere").c_str(), 0700), 0);
    ASSERT_EQ(symlink((folder / "elsewhere").c_str(), Private().c_str()), 0);
    EXPECT_EQ(TempFolder(), "");
    EXPECT_EQ(TempFolderFile("curfile.ini"), "");
    EXPECT_EQ(VirtualPortsFolder(), "");
}

TEST_F(PathsTest, ProgramFolderFilesMoveToTheUserFolderWhenNotWritable) {
    EnvOverride config("XDG_CONFIG_HOME", folder / "config");
    SetProgramFolderForTesting(folder.Path());
    EXPECT_EQ(ProgramFolderFile("/comfile.ini"), folder / "comfile.ini");
    SetProgramFolderForTesting("/no/such/program/folder");
    EXPECT_EQ(ProgramFolderFile("comfile.ini"), folder / "config/KeloServo/comfile.ini");
    EXPECT_TRUE(IsWritableFolder(folder / "config/KeloServo"));
    SetProgramFolderForTesting("");
    EXPECT_NE(ProgramFolder().find("/"), std::string::npos);
    EXPECT_NE(ProgramFolder().back(), '/');
}

TEST_F(PathsTest, ProfileLivesInTheConfigFolder) {
    {
        EnvOverride config("XDG_CONFIG_HOME", folder / "cfg");
        EXPECT_EQ(ProfilePath(), folder / "cfg/KeloServo/profile.ini");
    }
    EnvOverride noConfig("XDG_CONFIG_HOME", std::nullopt);
    EnvOverride home("HOME", folder / "home");
    EXPECT_EQ(ProfilePath(), folder / "home/.config/KeloServo/profile.ini");
}

TEST_F(PathsTest, OpenNoFollowRefusesALinkInTheLastComponent) {
    WriteBytes(folder / "real", {'r'});
    ASSERT_EQ(symlink((folder / "real").c_str(), (folder / "link").c_str()), 0);
    EXPECT_EQ(OpenNoFollow(folder / "link", O_RDONLY), -1);
    EXPECT_EQ(errno, ELOOP);
    int fd = OpenNoFollow(folder / "real", O_RDONLY);
    EXPECT_GE(fd, 0);
    EXPECT_TRUE(fcntl(fd, F_GETFD) & FD_CLOEXEC);
    close(fd);
}
