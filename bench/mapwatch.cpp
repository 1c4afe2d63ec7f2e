// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Starts a program and reports how long it took until its first window was
// mapped on the X server, and its resident memory a moment later, once idle:
//   mapwatch IDLE_MS PROGRAM [ARGS...]   prints "<milliseconds> <KiB>"
// The program is then asked to end (SIGTERM) and waited for. When it maps no
// window within ten seconds, or ends first, mapwatch says so and fails.
#include <xcb/xcb.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}
} // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: mapwatch IDLE_MS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int idleMs = std::atoi(argv[1]);
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "mapwatch: no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::fprintf(stderr, "mapwatch: fork: %s\n", std::strerror(errno));
        return 2;
    }
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    const auto deadline = start + std::chrono::seconds(10);
    double elapsedMs = -1;
    const char* failure = nullptr;
    bool ended = false;
    pollfd x{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (elapsedMs < 0 && !failure) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const bool mapped =
                (event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
            std::free(event);
            if (mapped) {
                elapsedMs = std::chrono::duration<double, std::milli>(
                                std::chrono::steady_clock::now() - start)
                                .count();
                break;
            }
        }
        if (elapsedMs >= 0)
            break;
        if (xcb_connection_has_error(connection))
            failure = "lost the X display";
        else if ((ended = waitpid(child, nullptr, WNOHANG) == child))
            failure = "the program ended before it mapped a window";
        else if (std::chrono::steady_clock::now() >= deadline)
            failure = "no window was mapped within ten seconds";
        else
            poll(&x, 1, 50); // wakes for the X server, or to look at the child again
    }
    if (failure) {
        std::fprintf(stderr, "mapwatch: %s: %s\n", argv[2], failure);
        if (!ended) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
        xcb_disconnect(connection);
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(idleMs));
    std::printf("%.1f %ld\n", elapsedMs, residentKiB(child));
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(connection);
    return 0;
}
