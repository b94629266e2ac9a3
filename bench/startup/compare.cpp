// Start-up comparison driver. Starts each program RUNS times, taking turns in a rotating
// order, with the start-up probe preloaded, and prints per program the median time from fork
// to each start-up stage, the median peak resident memory when the first window was painted
// and the processor time used by then; then the last program's ratios to each of the others.
// The aim applies to its ratios to the one named just before it (the floor); the others are
// for information. On a busy machine the wall-clock times spread widely; the processor time
// much less so.
//
//   startup_compare PROBE.so RUNS NAME=PROGRAM NAME=PROGRAM [NAME=PROGRAM...]
//
// The platform plugin is whatever QT_QPA_PLATFORM says. Exit status: 0 when every run
// reported, 1 when some run did not (crash, hang, no window), 2 on a usage error.

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

constexpr double LimitRatio = 1.10;
constexpr int ReportTimeoutMs = 30'000;
constexpr int ExitTimeoutMs = 10'000;

// Stages as the probe reports them, in order.
constexpr std::array<const char *, 5> StageNames = {"loaded", "core", "created", "exposed",
                                                    "painted"};

struct Sample
{
    std::array<double, StageNames.size()> stageMs{};
    double cpuMs = 0;
    long hwmKb = 0;
    long rssKb = 0;
};

struct Program
{
    std::string name;
    std::string path;
    std::vector<Sample> samples;
    int failures = 0;
};

long long nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1'000'000'000LL + ts.tv_nsec;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// The environment of the child: ours, with the probe preloaded and told where to report.
std::vector<std::string> childEnvironment(const std::string &probe, int reportFd)
{
    std::vector<std::string> env;
    std::string preload = "LD_PRELOAD=" + probe;
    for (char **entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        if (text.rfind("LD_PRELOAD=", 0) == 0) {
            if (text.size() > 11)
                preload.append(1, ':').append(text, 11);
        } else if (text.rfind("KORVANE_STARTUP_FD=", 0) != 0) {
            env.push_back(text);
        }
    }
    env.push_back(preload);
    env.push_back("KORVANE_STARTUP_FD=" + std::to_string(reportFd));
    return env;
}

std::string readAll(int fd)
{
    std::string text;
    char buffer[4096];
    lseek(fd, 0, SEEK_SET);
    ssize_t n = 0;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

// Waits for the child to end, killing it if it does not within the time allowed.
int reap(pid_t pid, int timeoutMs, bool &killed)
{
    killed = false;
    const long long deadline = nowNs() + timeoutMs * 1'000'000LL;
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return status;
        if (done < 0 && errno != EINTR)
            return -1;
        if (nowNs() > deadline) {
            kill(pid, SIGKILL);
            killed = true;
            waitpid(pid, &status, 0);
            return status;
        }
        usleep(2'000);
    }
}

std::optional<Sample> runOnce(const std::string &probe, const std::string &path, std::string &error)
{
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return std::nullopt;
    }
    char errName[] = "/tmp/korvane-startup-XXXXXX";
    const int errFd = mkstemp(errName);
    if (errFd >= 0)
        unlink(errName);
    const int nullFd = open("/dev/null", O_RDWR | O_CLOEXEC);

    const std::vector<std::string> env = childEnvironment(probe, report[1]);
    std::vector<char *> envp;
    for (const std::string &entry : env)
        envp.push_back(const_cast<char *>(entry.c_str()));
    envp.push_back(nullptr);
    char *argv[] = {const_cast<char *>(path.c_str()), nullptr};

    const long long start = nowNs();
    const pid_t pid = fork();
    if (pid == 0) {
        // Only the report end of the pipe survives exec.
        fcntl(report[1], F_SETFD, 0);
        if (nullFd >= 0) {
            dup2(nullFd, STDIN_FILENO);
            dup2(nullFd, STDOUT_FILENO);
        }
        if (errFd >= 0)
            dup2(errFd, STDERR_FILENO);
        execve(path.c_str(), argv, envp.data());
        _exit(127);
    }
    close(report[1]);
    if (nullFd >= 0)
        close(nullFd);
    if (pid < 0) {
        error = std::string("fork: ") + std::strerror(errno);
        close(report[0]);
        if (errFd >= 0)
            close(errFd);
        return std::nullopt;
    }

    std::string line;
    const long long deadline = nowNs() + ReportTimeoutMs * 1'000'000LL;
    for (;;) {
        const int left = static_cast<int>((deadline - nowNs()) / 1'000'000);
        if (left <= 0)
            break;
        pollfd pfd{report[0], POLLIN, 0};
        const int ready = poll(&pfd, 1, left);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char buffer[512];
        const ssize_t n = read(report[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        line.append(buffer, static_cast<std::size_t>(n));
        if (line.find('\n') != std::string::npos)
            break;
    }
    close(report[0]);

    // A program that reported must still end cleanly once asked to quit.
    bool killed = false;
    if (line.empty())
        kill(pid, SIGKILL);
    const int status = reap(pid, line.empty() ? 1'000 : ExitTimeoutMs, killed);
    const std::string stderrText = errFd >= 0 ? readAll(errFd) : std::string();
    if (errFd >= 0)
        close(errFd);

    std::array<long long, StageNames.size()> marks{};
    long long cpuNs = 0;
    Sample sample;
    const bool parsed = std::sscanf(line.c_str(),
                                    "loaded=%lld core=%lld created=%lld exposed=%lld painted=%lld "
                                    "cpu=%lld hwm_kb=%ld rss_kb=%ld",
                                    &marks[0], &marks[1], &marks[2], &marks[3], &marks[4], &cpuNs,
                                    &sample.hwmKb, &sample.rssKb) == 8;
    const bool exitedCleanly = !killed && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!parsed || !exitedCleanly) {
        if (line.empty())
            error = "no window reported within " + std::to_string(ReportTimeoutMs / 1000) + " s";
        else if (!parsed)
            error = "unreadable report: " + line;
        else if (killed)
            error = "did not quit within " + std::to_string(ExitTimeoutMs / 1000) + " s";
        else if (WIFSIGNALED(status))
            error = std::string("ended by signal ") + strsignal(WTERMSIG(status));
        else
            error = "exit status " + std::to_string(WEXITSTATUS(status));
        if (!stderrText.empty())
            error += "\n    stderr: " + stderrText.substr(0, 2000);
        return std::nullopt;
    }
    for (std::size_t i = 0; i < marks.size(); ++i)
        sample.stageMs[i] = marks[i] > 0 ? static_cast<double>(marks[i] - start) / 1e6 : 0;
    sample.cpuMs = static_cast<double>(cpuNs) / 1e6;
    return sample;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 5) {
        std::fprintf(stderr,
                     "usage: %s PROBE.so RUNS NAME=PROGRAM NAME=PROGRAM [NAME=PROGRAM...]\n",
                     argv[0]);
        return 2;
    }
    const std::string probe = argv[1];
    const int runs = std::atoi(argv[2]);
    if (runs < 1 || access(probe.c_str(), R_OK) != 0) {
        std::fprintf(stderr, "startup_compare: need a readable probe and RUNS >= 1\n");
        return 2;
    }
    std::vector<Program> programs;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        const std::size_t eq = arg.find('=');
        if (eq == std::string::npos || eq == 0 || access(arg.c_str() + eq + 1, X_OK) != 0) {
            std::fprintf(stderr, "startup_compare: not NAME=EXECUTABLE: %s\n", arg.c_str());
            return 2;
        }
        programs.push_back({arg.substr(0, eq), arg.substr(eq + 1), {}, 0});
    }

    const char *platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("Start-up, QT_QPA_PLATFORM=%s, %d runs each, in turns, after one warm-up "
                "run each\n",
                platform && *platform ? platform : "(default)", runs);
    std::fflush(stdout);

    // The warm-up run fills the page cache and the font caches for every program alike. Each
    // run starts one program further on, so that each follows each of the others as often:
    // a program can slow down the start of the next one as it ends.
    for (int run = -1; run < runs; ++run) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            Program &program = programs[(i + std::size_t(run + 1)) % programs.size()];
            std::string error;
            const std::optional<Sample> sample = runOnce(probe, program.path, error);
            if (sample) {
                if (run >= 0)
                    program.samples.push_back(*sample);
            } else {
                ++program.failures;
                std::printf("  %s, run %d: %s\n", program.name.c_str(), run + 1, error.c_str());
            }
        }
    }

    std::printf("\nmedians, ms from fork       ");
    for (const char *stage : StageNames)
        std::printf("%9s", stage);
    std::printf("%17s%9s%15s%12s\n", "painted min-max", "CPU ms", "peak RSS kB", "RSS kB");
    std::vector<double> shownMs(programs.size());
    std::vector<double> cpuMs(programs.size());
    std::vector<double> peakKb(programs.size());
    for (std::size_t p = 0; p < programs.size(); ++p) {
        const Program &program = programs[p];
        std::printf("%-28s", program.name.c_str());
        for (std::size_t s = 0; s < StageNames.size(); ++s) {
            std::vector<double> values;
            for (const Sample &sample : program.samples)
                values.push_back(sample.stageMs[s]);
            std::printf("%9.1f", median(values));
            if (s + 1 == StageNames.size())
                shownMs[p] = median(values);
        }
        std::vector<double> painted;
        std::vector<double> cpu;
        std::vector<double> hwm;
        std::vector<double> rss;
        for (const Sample &sample : program.samples) {
            painted.push_back(sample.stageMs.back());
            cpu.push_back(sample.cpuMs);
            hwm.push_back(static_cast<double>(sample.hwmKb));
            rss.push_back(static_cast<double>(sample.rssKb));
        }
        cpuMs[p] = median(cpu);
        peakKb[p] = median(hwm);
        if (painted.empty())
            std::printf("%17s", "-");
        else
            std::printf("%9.1f-%-7.1f", *std::min_element(painted.begin(), painted.end()),
                        *std::max_element(painted.begin(), painted.end()));
        std::printf("%9.1f%15.0f%12.0f", cpuMs[p], peakKb[p], median(rss));
        if (program.failures)
            std::printf("  (%d failed runs)", program.failures);
        std::printf("\n");
    }

    std::printf("\n");
    const std::size_t subject = programs.size() - 1;
    const std::size_t floorProgram = subject - 1;
    for (std::size_t p = 0; p < subject; ++p) {
        const char *const names[] = {programs[subject].name.c_str(), programs[p].name.c_str()};
        if (shownMs[p] <= 0 || peakKb[p] <= 0 || shownMs[subject] <= 0 || peakKb[subject] <= 0) {
            std::printf("%s / %s: no ratio, runs failed\n", names[0], names[1]);
            continue;
        }
        const double timeRatio = shownMs[subject] / shownMs[p];
        const double cpuRatio = cpuMs[p] > 0 ? cpuMs[subject] / cpuMs[p] : 0;
        const double memoryRatio = peakKb[subject] / peakKb[p];
        if (p != floorProgram) {
            std::printf("%s / %s: start-up %.2fx, CPU time %.2fx, peak memory %.2fx\n", names[0],
                        names[1], timeRatio, cpuRatio, memoryRatio);
            continue;
        }
        const auto verdict = [](double ratio) { return ratio <= LimitRatio ? "within" : "ABOVE"; };
        std::printf("%s / %s: start-up %.2fx (%s), CPU time %.2fx (%s), peak memory %.2fx (%s); "
                    "aim %.2fx\n",
                    names[0], names[1], timeRatio, verdict(timeRatio), cpuRatio, verdict(cpuRatio),
                    memoryRatio, verdict(memoryRatio), LimitRatio);
    }

    bool failed = false;
    for (const Program &program : programs)
        failed = failed || program.failures > 0;
    return failed ? 1 : 0;
}
