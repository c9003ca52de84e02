/* Times `zenity --list --checklist` on ROWS rows of three cells, passed as
 * arguments, from its launch until its window is mapped on the display, and
 * prints the milliseconds. The rows are the same as bench_lists shows.
 *
 *   zenity_list_time ROWS
 *
 * Without a window manager a top-level window is a child of the root
 * window, so its MapNotify arrives on the root's substructure events. */
#include <X11/Xlib.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: zenity_list_time ROWS\n");
        return 2;
    }
    const long rows = atol(argv[1]);
    const char *fixed[] = {"zenity", "--list", "--checklist", "--title=Bench", "--column=Pick",
                           "--column=A", "--column=B", "--column=C"};
    const size_t nfixed = sizeof fixed / sizeof fixed[0];
    char **args = calloc(nfixed + (size_t)rows * 4 + 1, sizeof *args);
    size_t n = 0;
    for (size_t i = 0; i < nfixed; ++i) args[n++] = (char *)fixed[i];
    for (long r = 0; r < rows; ++r) {
        args[n++] = "FALSE";
        for (int c = 0; c < 3; ++c) {
            char *cell = malloc(16);
            snprintf(cell, 16, "row%05ld-%c", r, 'a' + c);
            args[n++] = cell;
        }
    }
    args[n] = NULL;

    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "zenity_list_time: no display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    /* Long argument lists need room: the kernel sizes it from the stack limit. */
    struct rlimit stack = {RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_STACK, &stack);
    const double start = now_ms();
    pid_t child = fork();
    if (child == 0) {
        execvp("zenity", args);
        _exit(127);
    }
    double mapped = -1;
    while (mapped < 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != MapNotify) continue;
        char *name = NULL;
        if (XFetchName(display, event.xmap.window, &name) && name && strcmp(name, "Bench") == 0) mapped = now_ms();
        if (name) XFree(name);
        int status;
        if (waitpid(child, &status, WNOHANG) == child) break;
    }
    kill(child, SIGTERM);
    waitpid(child, NULL, 0);
    XCloseDisplay(display);
    if (mapped < 0) {
        fprintf(stderr, "zenity_list_time: zenity ended without a window\n");
        return 1;
    }
    printf("%.1f\n", mapped - start);
    return 0;
}
