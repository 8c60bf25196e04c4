#include "external.h"

#include <cstdlib>

#include <sys/wait.h>

namespace capture {

std::string shell_quote(const std::string &word)
{
    std::string quoted = "'";
    for (char c : word) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::string command_line(const std::vector<std::string> &words)
{
    std::string line;
    for (const std::string &word : words) {
        if (!line.empty())
            line += ' ';
        line += shell_quote(word);
    }
    return line;
}

bool read_command(const std::vector<std::string> &words, std::vector<std::uint8_t> &out)
{
    FILE *pipe = popen(command_line(words).c_str(), "r");
    if (pipe == NULL)
        return false;
    std::uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.insert(out.end(), buffer, buffer + n);
    int status = pclose(pipe);
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool run_command(const std::vector<std::string> &words)
{
    int status = std::system(command_line(words).c_str());
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace capture
