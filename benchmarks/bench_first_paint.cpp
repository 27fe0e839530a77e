// From launch to the main window mapped: Tonique against a minimal Qt window (bench_window_minimal), alternately, in
// fresh processes. Run on an X display of its own, where no window manager reparents the windows:
//   xvfb-run -a build/bench_first_paint [runs [program yardstick]]
// The benchmark is an X client listening to the root window's children: the X server reports the map of a top-level
// window as it happens, so the figure is exact to the scheduling of this process, with no polling. The launch is the
// monotonic clock read just before posix_spawn; the end is the same clock read when the MapNotify of the first
// top-level window (not an override-redirect one: menus, tooltips) arrives. The program is then ended (SIGTERM).
// The CPU time the program has used by then (all its threads, from the scheduler's nanosecond counts) is printed
// beside it: on a machine shared with other work it varies far less than the wall time.
// Tonique runs with configuration and data folders of its own, made afresh, so that it never touches the user's.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

extern char** environ;

namespace {

constexpr int TimeoutMs = 20000;

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

std::string programFolder()
{
    std::string path(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
    path.resize(n > 0 ? size_t(n) : 0);
    return path.substr(0, path.rfind('/'));
}

std::string scratchFolder(const char* name)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tonique-first-paint-" + name + "-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    return pattern;
}

// Waits for the first top-level window mapped; its time on the monotonic clock, or a negative number.
double waitForMap(xcb_connection_t* x)
{
    const double deadline = nowMs() + TimeoutMs;
    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    while (nowMs() < deadline) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                                !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
            std::free(event);
            if (mapped)
                return nowMs();
        }
        if (xcb_connection_has_error(x))
            return -1;
        poll(&fd, 1, 100);
    }
    return -1;
}

// The CPU time of every thread of `pid` so far, in ms.
double cpuMs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir)
        return 0;
    double ns = 0;
    while (const dirent* entry = readdir(dir)) {
        double onCpu = 0;
        if (entry->d_name[0] != '.' && std::ifstream(tasks + "/" + entry->d_name + "/schedstat") >> onCpu)
            ns += onCpu;
    }
    closedir(dir);
    return ns / 1e6;
}

struct Launch
{
    double wallMs = -1; // from posix_spawn to the window mapped; negative: no window
    double cpuMs = 0;   // used by the program by then
};

Launch launch(xcb_connection_t* x, const std::string& program)
{
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    const double start = nowMs();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0)
        return {};
    const double mapped = waitForMap(x);
    const double cpu = cpuMs(pid);
    kill(pid, SIGTERM);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return {mapped < 0 ? -1 : mapped - start, cpu};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "bench_first_paint: no X display (run it under xvfb-run -a)\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    const std::string config = scratchFolder("config");
    const std::string data = scratchFolder("data");
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    const std::string folder = programFolder();
    const std::string programs[] = {argc > 3 ? argv[2] : folder + "/tonique",
                                    argc > 3 ? argv[3] : folder + "/bench_window_minimal"};
    std::vector<double> wall[2];
    std::vector<double> cpu[2];
    // One start of each first, unmeasured: the files they read are then in the page cache for both alike.
    for (int i = -1; i < runs; ++i) {
        for (int p = 0; p < 2; ++p) {
            const Launch run = launch(x, programs[p]);
            if (run.wallMs < 0) {
                std::fprintf(stderr, "bench_first_paint: %s showed no window\n", programs[p].c_str());
                std::filesystem::remove_all(config);
                std::filesystem::remove_all(data);
                return 1;
            }
            if (i >= 0) {
                wall[p].push_back(run.wallMs);
                cpu[p].push_back(run.cpuMs);
            }
        }
    }
    std::printf("launch to window mapped, medians of %d alternated runs: %s against %s\n", runs, programs[0].c_str(),
                programs[1].c_str());
    std::printf("  wall time %.1f ms against %.1f ms, ratio %.2f\n", median(wall[0]), median(wall[1]),
                median(wall[0]) / median(wall[1]));
    std::printf("  CPU time  %.1f ms against %.1f ms, ratio %.2f\n", median(cpu[0]), median(cpu[1]),
                median(cpu[0]) / median(cpu[1]));
    xcb_disconnect(x);
    std::filesystem::remove_all(config);
    std::filesystem::remove_all(data);
    return 0;
}
