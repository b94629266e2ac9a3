#pragma once

// The probe of the page as a child process: node running tests/web/probe.mjs, a request
// written to its standard input and its answer read from its standard output, a line each.
// Its standard error is the test's.

#include "tests/web/json.h"

#include <string>
#include <sys/types.h>

namespace korvane::web {

class Channel
{
public:
    // The probe started on the page at `page`; throws where it does not start.
    Channel(const std::string &script, const std::string &page);
    ~Channel();
    Channel(const Channel &) = delete;
    Channel &operator=(const Channel &) = delete;

    // The answer to `request`; throws where the probe gives none.
    Json ask(const Request &request);
    bool alive() const { return m_pid > 0; }

private:
    Json receive();
    void end();

    pid_t m_pid = -1;
    int m_to = -1;
    int m_from = -1;
    std::string m_buffer;
};

} // namespace korvane::web
