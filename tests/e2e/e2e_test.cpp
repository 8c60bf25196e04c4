// The real demo binary, headless, for its whole run.
#include <chrono>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

#include <gtest/gtest.h>

TEST(EndToEnd, PlaysItsFullRunHeadlessAndExitsCleanly)
{
    // Dummy video and audio; the working directory holds the media.
    std::string command = std::string("cd '") + MEDIA_DIR +
                          "' && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" + DEMO_BINARY + "'";
    auto start = std::chrono::steady_clock::now();
    FILE *pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    int status = pclose(pipe);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

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
    EXPECT_GT(last, 31500u);
    EXPECT_LT(last, 32500u);
    // The tick count runs from SDL's start, a moment after the process's.
    EXPECT_GT(seconds, 31.4);
    EXPECT_LT(seconds, 40.0);
}
