// Start-up figures under a running X server: starts a program, takes the time from exec until
// its first top-level window is mapped (watching the root window's MapNotify events), and its
// resident memory two seconds later. Alternates two programs, with one warm-up start each.
//   bench_start N PROGRAM_A DIR_A PROGRAM_B DIR_B
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Uhr = std::chrono::steady_clock;

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    auto* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::string(name).size()), name), nullptr);
    const xcb_atom_t a = r ? r->atom : XCB_ATOM_NONE;
    free(r);
    return a;
}

// The process id a window's owner wrote into _NET_WM_PID; 0 if none.
pid_t fensterPid(xcb_connection_t* c, xcb_window_t w, xcb_atom_t netWmPid)
{
    auto* r = xcb_get_property_reply(c, xcb_get_property(c, 0, w, netWmPid, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    pid_t pid = 0;
    if (r && xcb_get_property_value_length(r) == 4)
        pid = pid_t(*static_cast<uint32_t*>(xcb_get_property_value(r)));
    free(r);
    return pid;
}

long residentKiB(pid_t pid)
{
    std::ifstream f("/proc/" + std::to_string(pid) + "/status");
    for (std::string zeile; std::getline(f, zeile);)
        if (zeile.rfind("VmRSS:", 0) == 0)
            return std::atol(zeile.c_str() + 6);
    return -1;
}

struct Lauf
{
    double ms;
    long kib;
};

// One start: exec, wait for the first mapped top-level window of that process, then memory.
Lauf starte(xcb_connection_t* c, xcb_window_t wurzel, xcb_atom_t netWmPid, const char* programm, const char* ordner)
{
    (void)wurzel;
    const auto t0 = Uhr::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(ordner) != 0)
            _exit(127);
        execl(programm, programm, static_cast<char*>(nullptr));
        _exit(127);
    }
    double ms = -1;
    while (ms < 0 && Uhr::now() - t0 < std::chrono::seconds(20)) {
        xcb_generic_event_t* e = xcb_wait_for_event(c);
        if (!e)
            break;
        if ((e->response_type & 0x7F) == XCB_MAP_NOTIFY) {
            const auto* m = reinterpret_cast<xcb_map_notify_event_t*>(e);
            if (fensterPid(c, m->window, netWmPid) == pid)
                ms = std::chrono::duration<double, std::milli>(Uhr::now() - t0).count();
        }
        free(e);
    }
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const long kib = residentKiB(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    // Drain what the closing windows sent.
    while (xcb_generic_event_t* e = xcb_poll_for_event(c))
        free(e);
    return {ms, kib};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: bench_start N PROGRAM_A DIR_A PROGRAM_B DIR_B\n");
        return 2;
    }
    const int n = std::atoi(argv[1]);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "bench_start: no X server\n");
        return 1;
    }
    const xcb_window_t wurzel = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t maske = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, wurzel, XCB_CW_EVENT_MASK, &maske);
    xcb_flush(c);
    const xcb_atom_t netWmPid = atom(c, "_NET_WM_PID");

    std::vector<double> zeit[2], speicher[2];
    for (int runde = -1; runde < n; ++runde) {
        for (int p = 0; p < 2; ++p) {
            const Lauf l = starte(c, wurzel, netWmPid, argv[2 + 2 * p], argv[3 + 2 * p]);
            if (runde < 0)
                continue; // warm-up: caches filled, not counted
            if (l.ms < 0) {
                std::fprintf(stderr, "bench_start: %s showed no window\n", argv[2 + 2 * p]);
                return 1;
            }
            zeit[p].push_back(l.ms);
            speicher[p].push_back(double(l.kib));
        }
    }
    for (int p = 0; p < 2; ++p)
        std::printf("%s %.1f %.0f\n", p == 0 ? "A" : "B", median(zeit[p]), median(speicher[p]));
    xcb_disconnect(c);
    return 0;
}
