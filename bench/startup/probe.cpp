// Start-up probe, preloaded (LD_PRELOAD) into the program being measured so that the shipped
// binary runs unchanged. When KORVANE_STARTUP_FD names an open descriptor, the probe writes
// one line to it once the first top-level window has been painted, then asks the program
// to quit:
//
//   loaded=<ns> core=<ns> created=<ns> exposed=<ns> painted=<ns> cpu=<ns> hwm_kb=<kB>
//   rss_kb=<kB>
//
// Times are CLOCK_MONOTONIC, so the parent subtracts the moment it forked:
//   loaded   the shared libraries are mapped and relocated (this library's constructor)
//   core     QCoreApplication has set itself up (its pre-routines run)
//   created  the window's native surface was created, i.e. show() was called
//   exposed  the platform reported the window visible
//   painted  the expose event, and with it the first paint, has been handled
// cpu is the processor time all threads of the process had used by "painted", counted from
// the fork; unlike the wall-clock times it hardly depends on what else the machine is doing.
// Memory is the peak and current resident set at "painted", from /proc/self/status.
// Without KORVANE_STARTUP_FD the probe does nothing.

#include <QCoreApplication>
#include <QEvent>
#include <QPlatformSurfaceEvent>
#include <QTimer>
#include <QWindow>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>

namespace {

long long clockNs(clockid_t clock)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<long long>(ts.tv_sec) * 1'000'000'000LL + ts.tv_nsec;
}

long long nowNs()
{
    return clockNs(CLOCK_MONOTONIC);
}

// A "VmHWM:   12345 kB" style field of /proc/self/status, in kB; -1 if absent.
long statusKb(const char *key)
{
    std::FILE *file = std::fopen("/proc/self/status", "r");
    if (!file)
        return -1;
    const std::size_t keyLength = std::strlen(key);
    char line[256];
    long value = -1;
    while (std::fgets(line, sizeof line, file)) {
        if (std::strncmp(line, key, keyLength) == 0 && line[keyLength] == ':') {
            value = std::strtol(line + keyLength + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(file);
    return value;
}

int reportFd()
{
    const char *text = std::getenv("KORVANE_STARTUP_FD");
    if (!text || !*text)
        return -1;
    char *end = nullptr;
    const long fd = std::strtol(text, &end, 10);
    return (*end == '\0' && fd > 2 && fd < 1024) ? static_cast<int>(fd) : -1;
}

struct Marks
{
    long long loaded = 0;
    long long core = 0;
    long long created = 0;
    long long exposed = 0;
};

Marks g_marks;

class Probe : public QObject
{
public:
    explicit Probe(int fd) : m_fd(fd) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (m_done || !watched->isWindowType())
            return false;
        auto *window = static_cast<QWindow *>(watched);
        if (!window->isTopLevel())
            return false;
        if (event->type() == QEvent::PlatformSurface && g_marks.created == 0 &&
            static_cast<QPlatformSurfaceEvent *>(event)->surfaceEventType() ==
                QPlatformSurfaceEvent::SurfaceCreated) {
            g_marks.created = nowNs();
        } else if (event->type() == QEvent::Expose && window->isExposed()) {
            m_done = true;
            g_marks.exposed = nowNs();
            // The widget paints while the expose event is delivered; report once it has.
            QTimer::singleShot(0, this, &Probe::report);
        }
        return false;
    }

private:
    void report()
    {
        const long long painted = nowNs();
        const long long cpu = clockNs(CLOCK_PROCESS_CPUTIME_ID);
        const std::string line =
            "loaded=" + std::to_string(g_marks.loaded) + " core=" + std::to_string(g_marks.core) +
            " created=" + std::to_string(g_marks.created) +
            " exposed=" + std::to_string(g_marks.exposed) + " painted=" + std::to_string(painted) +
            " cpu=" + std::to_string(cpu) + " hwm_kb=" + std::to_string(statusKb("VmHWM")) +
            " rss_kb=" + std::to_string(statusKb("VmRSS")) + "\n";
        std::size_t written = 0;
        while (written < line.size()) {
            const ssize_t n = ::write(m_fd, line.data() + written, line.size() - written);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            written += static_cast<std::size_t>(n);
        }
        ::close(m_fd);
        QCoreApplication::exit(0);
    }

    int m_fd;
    bool m_done = false;
};

void onLoaded()
{
    g_marks.loaded = nowNs();
}

void onCoreApplication()
{
    const int fd = reportFd();
    if (fd < 0)
        return;
    g_marks.core = nowNs();
    auto *probe = new Probe(fd);
    probe->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(probe);
}

} // namespace

Q_CONSTRUCTOR_FUNCTION(onLoaded)
Q_COREAPP_STARTUP_FUNCTION(onCoreApplication)
