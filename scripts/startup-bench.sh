#!/usr/bin/env bash
# Start-up time and memory of build/tallyroll against a bare Qt Widgets window of similar size,
# measured from outside the process under a private Xvfb: median time from exec to the first
# top-level window mapped, and the peak resident set ~300 ms after that.
# Usage: scripts/startup-bench.sh [N]   (N runs of each, default 15; one unmeasured warm-up run first)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${1:-15}
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 [N]" >&2; exit 2; }
program=$root/build/tallyroll
[ -x "$program" ] || { echo "no $program: run scripts/build.sh first" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# The watcher: a tiny X client that listens for windows mapped on the root, then forks and execs
# the program, so the clock starts before exec and stops at the MapNotify, outside the program.
cat >"$work/mapwatch.c" <<'C'
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double nowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

/* Peak resident set of a live process, in kB; -1 when it cannot be read. */
static long peakRssKb(pid_t pid) {
    char path[64], line[256];
    long kb = -1;
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE *f = fopen(path, "r");
    if (!f) return -1;
    while (fgets(line, sizeof line, f))
        if (strncmp(line, "VmHWM:", 6) == 0) kb = strtol(line + 6, NULL, 10);
    fclose(f);
    return kb;
}

static void stop(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, NULL, WNOHANG) == pid) return;
        usleep(20000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, NULL, 0);
}

/* mapwatch SETTLE_MS TIMEOUT_MS PROGRAM [ARGS...]: prints "<ms to map> <peak rss kB>". */
int main(int argc, char **argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: mapwatch SETTLE_MS TIMEOUT_MS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int settleMs = atoi(argv[1]);
    const double timeoutMs = atof(argv[2]);
    Display *d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "mapwatch: cannot open display\n");
        return 2;
    }
    const int fd = ConnectionNumber(d);
    fcntl(fd, F_SETFD, FD_CLOEXEC);
    Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureNotifyMask);
    XSync(d, False);

    const double start = nowMs();
    pid_t pid = fork();
    if (pid < 0) return 2;
    if (pid == 0) {
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    /* Nothing else runs on this display, so the first top-level window mapped is the program's. */
    double mapped = -1;
    while (mapped < 0) {
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type == MapNotify && e.xmap.event == root && !e.xmap.override_redirect) {
                mapped = nowMs();
                break;
            }
        }
        if (mapped >= 0) break;
        if (waitpid(pid, NULL, WNOHANG) == pid) {
            fprintf(stderr, "mapwatch: %s ended before mapping a window\n", argv[3]);
            return 1;
        }
        if (nowMs() - start > timeoutMs) {
            fprintf(stderr, "mapwatch: no window within %.0f ms\n", timeoutMs);
            stop(pid);
            return 1;
        }
        struct pollfd p = {fd, POLLIN, 0};
        poll(&p, 1, 20);
    }
    usleep(settleMs * 1000);
    const long rss = peakRssKb(pid);
    stop(pid);
    printf("%.2f %ld\n", mapped - start, rss);
    return 0;
}
C
cc -O2 -Wall -Wextra -Werror -o "$work/mapwatch" "$work/mapwatch.c" -lX11

# The floor: what any Qt Widgets program of this size pays. About 60 widgets in a QMainWindow
# and two preloaded sound effects, the same style, compiled with the same flags and build type.
mkdir -p "$work/floor"
cat >"$work/floor/floor.cpp" <<'CPP'
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSoundEffect>
#include <QUrl>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    QMainWindow window;
    window.setWindowTitle("floor");
    auto* body = new QWidget(&window);
    auto* grid = new QGridLayout(body);
    for (int i = 0; i < 32; ++i) grid->addWidget(new QLabel(QString("Label %1").arg(i), body), i / 8, i % 8);
    for (int i = 0; i < 27; ++i) grid->addWidget(new QPushButton(QString("Key %1").arg(i), body), 4 + i / 8, i % 8);
    grid->addWidget(new QLineEdit(body), 8, 0, 1, 8);
    window.setCentralWidget(body);
    const QString data = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(".");
    QSoundEffect calc1, calc2;
    calc1.setSource(QUrl::fromLocalFile(data + "/calc1.wav"));
    calc2.setSource(QUrl::fromLocalFile(data + "/calc2.wav"));
    window.show();
    return app.exec();
}
CPP
cat >"$work/floor/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(floor LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
add_compile_options(-Wall -Wextra -Werror)
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets Multimedia)
add_executable(floor floor.cpp)
target_link_libraries(floor PRIVATE Qt6::Widgets Qt6::Multimedia)
CMAKE
cmake -S "$work/floor" -B "$work/floor/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$work/floor/build" -j2 >/dev/null
floor=$work/floor/build/floor

# A private X server on the first free display from :97.
display=97
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  xdpyinfo -display ":$display" >/dev/null 2>&1 && break # the socket comes before the server answers
  kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
  sleep 0.05
done
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb

measure() { # name program [args...]: one warm-up, then $runs measured runs into $work/<name>
  local name=$1
  shift
  : >"$work/result-$name"
  for i in $(seq 0 "$runs"); do
    local out
    out=$("$work/mapwatch" 300 20000 "$@" 2>>"$work/result-$name.err") || { cat "$work/result-$name.err" >&2; exit 1; }
    [ "$i" -eq 0 ] || echo "$out" >>"$work/result-$name"
  done
}
median() { # column of $work/<name>
  sort -n <(cut -d' ' -f"$2" "$work/result-$1") | awk '{v[NR] = $1} END {print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'
}

(cd "$root/build" && measure tallyroll "$program")
(cd "$root/build" && measure floor "$floor" "$root/build/data")

range() { # "min-max" of column $2 of $work/result-<name>, scaled by $3
  cut -d' ' -f"$2" "$work/result-$1" | sort -n | awk -v s="$3" 'NR == 1 {lo = $1} {hi = $1} END {printf "%.1f-%.1f", lo / s, hi / s}'
}

t_ms=$(median tallyroll 1); f_ms=$(median floor 1)
t_kb=$(median tallyroll 2); f_kb=$(median floor 2)
echo "start-up under Xvfb :$display, exec to first mapped window, $runs runs each (median, min-max)"
awk -v tm="$t_ms" -v fm="$f_ms" -v tk="$t_kb" -v fk="$f_kb" \
    -v tmr="$(range tallyroll 1 1)" -v fmr="$(range floor 1 1)" \
    -v tkr="$(range tallyroll 2 1024)" -v fkr="$(range floor 2 1024)" 'BEGIN {
  printf "%-10s %12s %14s %12s %14s\n", "", "start-up ms", "(min-max)", "peak RSS MB", "(min-max)"
  printf "%-10s %12.1f %14s %12.1f %14s\n", "tallyroll", tm, tmr, tk / 1024, tkr
  printf "%-10s %12.1f %14s %12.1f %14s\n", "Qt floor", fm, fmr, fk / 1024, fkr
  printf "%-10s %12.2f %14s %12.2f\n", "ratio", tm / fm, "", tk / fk
}'
