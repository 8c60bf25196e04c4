// The real demo binary, headless, for its whole run.
#include <chrono>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct DemoRun {
    int status;
    std::string output;
    double seconds;
};

// Runs the demo from the media folder with the given environment settings.
DemoRun run_demo(const std::string &environment)
{
    std::string command = std::string("cd '") + MEDIA_DIR + "' && env -u DISPLAY " + environment + " '" +
                          DEMO_BINARY + "'";
    auto start = std::chrono::steady_clock::now();
    DemoRun run{-1, "", 0};
    FILE *pipe = popen(command.c_str(), "r");
    if (pipe == NULL)
        return run;
    char buffer[256];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, n);
    run.status = pclose(pipe);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return run;
}

void expect_full_run(const DemoRun &run)
{
    ASSERT_TRUE(WIFEXITED(run.status));
    EXPECT_EQ(WEXITSTATUS(run.status), 0);
    const std::string &output = run.output;

    std::vector<std::string> lines;
    size_t at = 0;
    while (at < output.size()) {
        size_t end = output.find('\n', at);
        ASSERT_NE(end, std::string::npos) << "every line ends with a newline";
        lines.push_back(output.substr(at, end - at));
        at = end + 1;
    }
    ASSERT_GE(lines.size(), 2u) << output;
    EXPECT_EQ(lines.front(), "jee");
    unsigned long last = 0;
    for (size_t i = 1; i < lines.size(); i++) {
        unsigned long tick = std::stoul(lines[i]);
        EXPECT_EQ(std::to_string(tick), lines[i]);
        EXPECT_GE(tick, last);
        last = tick;
    }
    // The music line, a tick line at each of the six scene changes, and
    // the final one past the limit.
    EXPECT_EQ(lines.size(), 8u) << output;
    EXPECT_GT(last, 31500u);
    EXPECT_LT(last, 32500u);
    // The tick count runs from SDL's start, a moment after the process's.
    EXPECT_GT(run.seconds, 31.4);
    EXPECT_LT(run.seconds, 40.0);
}

}  // namespace

TEST(EndToEnd, PlaysItsFullRunHeadlessAndExitsCleanly)
{
    expect_full_run(run_demo("SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy"));
}

TEST(EndToEnd, WithoutAnAudioDevicePlaysSilentOnSchedule)
{
    expect_full_run(run_demo("SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=no-such-audio-driver"));
}

TEST(EndToEnd, WithoutAUsableDisplaySaysSoOnStandardErrorAndExitsWithOne)
{
    DemoRun run = run_demo("SDL_VIDEODRIVER=no-such-video-driver SDL_AUDIODRIVER=dummy 2>&1 >/dev/null");
    ASSERT_TRUE(WIFEXITED(run.status));
    EXPECT_EQ(WEXITSTATUS(run.status), 1);
    // Only standard error reaches the pipe here: one line that names the failure.
    ASSERT_FALSE(run.output.empty());
    EXPECT_EQ(run.output.find('\n'), run.output.size() - 1) << run.output;
    EXPECT_NE(run.output.find("cannot set the 640x480 32-bit video mode"), std::string::npos) << run.output;
}
