#include "tests/web/channel.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace korvane::web {

Channel::Channel(const std::string &script, const std::string &page)
{
    // A probe that dies makes writes fail, not this process.
    std::signal(SIGPIPE, SIG_IGN);
    int in[2];
    int out[2];
    if (pipe(in) != 0 || pipe(out) != 0)
        throw std::runtime_error("no pipes for the probe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    for (const int fd : {in[0], in[1], out[0], out[1]})
        posix_spawn_file_actions_addclose(&actions, fd);
    const char *node = std::getenv("KORVANE_NODE") ? std::getenv("KORVANE_NODE") : "node";
    std::string program(node);
    char *argv[] = {program.data(), const_cast<char *>(script.c_str()),
                    const_cast<char *>(page.c_str()), nullptr};
    const int failed = posix_spawnp(&m_pid, node, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    m_to = in[1];
    m_from = out[0];
    if (failed) {
        m_pid = -1;
        end();
        throw std::runtime_error(std::string("cannot start ") + node);
    }
    const Json started = receive();
    if (!started["started"].boolean()) {
        const std::string why = started["error"].ascii();
        end();
        throw std::runtime_error("the probe did not start: " + why);
    }
}

Channel::~Channel()
{
    end();
}

void Channel::end()
{
    if (m_to >= 0)
        close(m_to); // the probe closes its browser and exits at the end of its input
    if (m_from >= 0)
        close(m_from);
    m_to = m_from = -1;
    if (m_pid > 0)
        waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

Json Channel::ask(const Request &request)
{
    if (!alive())
        throw std::runtime_error("the probe has ended");
    const std::string line = request.line() + "\n";
    for (std::size_t sent = 0; sent < line.size();) {
        const ssize_t n = write(m_to, line.data() + sent, line.size() - sent);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            end();
            throw std::runtime_error("the probe took no request");
        }
        sent += std::size_t(n);
    }
    return receive();
}

Json Channel::receive()
{
    for (;;) {
        if (const std::size_t newline = m_buffer.find('\n'); newline != std::string::npos) {
            const std::string line = m_buffer.substr(0, newline);
            m_buffer.erase(0, newline + 1);
            if (auto answer = Json::parse(line))
                return *answer;
            throw std::runtime_error("the probe answered no JSON: " + line.substr(0, 200));
        }
        char chunk[65536];
        const ssize_t n = read(m_from, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            end();
            throw std::runtime_error("the probe ended without an answer");
        }
        m_buffer.append(chunk, std::size_t(n));
    }
}

} // namespace korvane::web
