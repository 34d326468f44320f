// kelo-drive-sim as scripts and the launcher use it: start, read the port name, talk, stop.
#include "PtyClient.h"
#include "SimTestSupport.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/Paths.h"
#include "sim/SimFactoryDefaults.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

using namespace simtest;
namespace fs = std::filesystem;

extern char** environ;

namespace {

struct Started {
    pid_t pid = -1;
    int out = -1; // the program's stdout
};

Started StartSimulator(std::vector<std::string> args) {
    std::string program = (fs::read_symlink("/proc/self/exe").parent_path() / "kelo-drive-sim").string();
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    Started started;
    if (posix_spawn(&started.pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        started.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    started.out = pipeFds[0];
    return started;
}

std::string ReadLine(int fd) {
    std::string line;
    char c;
    pollfd pfd{fd, POLLIN, 0};
    while (poll(&pfd, 1, 5000) > 0 && read(fd, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

int StopAndWait(pid_t pid, int signal) {
    kill(pid, signal);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(SimProgram, ServesUntilTerminatedAndCleansUp) {
    ScopedTempFolder temp;
    Started sim = StartSimulator({"--series", "8", "--name", "ttySIM5", "--fault", "refuse@0F04#1"});
    ASSERT_GT(sim.pid, 0);
    EXPECT_EQ(ReadLine(sim.out), "ttySIM5");
    // Its sleeps keep the emulated wire time only with the smallest timer slack.
    std::ifstream slack("/proc/" + std::to_string(sim.pid) + "/timerslack_ns");
    std::string nanoseconds;
    EXPECT_TRUE(slack >> nanoseconds);
    EXPECT_EQ(nanoseconds, "1");
    const std::string link = VirtualPortsFolder() + "ttySIM5";
    ASSERT_TRUE(fs::is_symlink(link));
    {
        PtyClient client(link);
        EXPECT_EQ(client.Exchange(Maker("R1171D"), 7), Maker("%0302"));
        EXPECT_EQ(client.Exchange(Maker("R10F04"), 7), "!");
        EXPECT_EQ(client.Exchange(Maker("R10F04"), 7).size(), 7u);
        // It starts with the series' factory defaults: the speed loop gain and integral time, whose
        // ranges hold no 0, among them.
        const std::vector<sim::FactoryWord>& factory = sim::FactoryParameters(8);
        for (const char* code : {"Sn211", "Sn212", "Cn025"}) {
            const uint16_t address = ParamCodeRegisterAddress(code).value();
            auto it = std::find_if(factory.begin(), factory.end(),
                                   [address](const sim::FactoryWord& w) { return w.address == address; });
            ASSERT_NE(it, factory.end()) << code;
            EXPECT_NE(it->value, 0) << code;
            EXPECT_EQ(client.Exchange(Maker("R1" + sim::Hex4(address)), 7), Maker("%" + sim::Hex4(it->value)))
                << code;
        }
    }
    EXPECT_EQ(StopAndWait(sim.pid, SIGTERM), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    EXPECT_FALSE(fs::exists(link + ".description"));
    close(sim.out);
}

TEST(SimProgram, RefusesBadArguments) {
    ScopedTempFolder temp;
    for (std::vector<std::string> args : {std::vector<std::string>{},
                                          {"--series", "x"},
                                          {"--series", "4", "--fault", "nope"},
                                          {"--series", "4", "--name", "../evil"},
                                          {"--series"}}) {
        Started sim = StartSimulator(args);
        ASSERT_GT(sim.pid, 0);
        int status = 0;
        waitpid(sim.pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0) << testing::PrintToString(args);
        close(sim.out);
    }
}
