// Running ffmpeg: arguments are quoted for the shell, output is read whole or
// input is written through a pipe.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace capture {

// One argument, safe inside a shell command line.
std::string shell_quote(const std::string &word);
std::string command_line(const std::vector<std::string> &words);

// Runs the command and returns what it wrote on standard output; false if it
// could not be run or did not exit with 0.
bool read_command(const std::vector<std::string> &words, std::vector<std::uint8_t> &out);
// Runs the command and returns true if it exited with 0.
bool run_command(const std::vector<std::string> &words);

}  // namespace capture
