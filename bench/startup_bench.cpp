// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up of the real window against the bare one: wall time from starting the process to its
// first painted frame, and peak resident memory, over several alternating runs; medians and
// their ratio.   startup_bench KIPPWERK_PROBE BARE_PROBE [RUNS]

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Sample {
  double ms;
  long maxRssKiB;
};

bool runOnce(const char* program, Sample& out) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], STDOUT_FILENO);
    // The offscreen platform's notes on each start would bury the figures.
    const int quiet = open("/dev/null", O_WRONLY);
    if (quiet >= 0) dup2(quiet, STDERR_FILENO);
    close(fds[0]);
    close(fds[1]);
    execl(program, program, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  char buf[64];
  const ssize_t n = read(fds[0], buf, sizeof buf);
  const auto painted = std::chrono::steady_clock::now();
  close(fds[0]);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  out.ms = std::chrono::duration<double, std::milli>(painted - start).count();
  out.maxRssKiB = usage.ru_maxrss;
  return n > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

template <class T>
T median(std::vector<T> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench KIPPWERK_PROBE BARE_PROBE [RUNS]\n");
    return 2;
  }
  const int runs = argc > 3 ? std::atoi(argv[3]) : 15;
  std::vector<double> ms[2];
  std::vector<long> rss[2];
  for (int i = 0; i < runs + 1; ++i) {
    for (int which = 0; which < 2; ++which) {
      Sample s{};
      if (!runOnce(argv[1 + which], s)) {
        std::fprintf(stderr, "startup_bench: %s did not report a painted frame\n", argv[1 + which]);
        return 1;
      }
      if (i == 0) continue;  // the first round warms the caches
      ms[which].push_back(s.ms);
      rss[which].push_back(s.maxRssKiB);
    }
  }
  const double t0 = median(ms[0]), t1 = median(ms[1]);
  const long m0 = median(rss[0]), m1 = median(rss[1]);
  std::printf("start-up to first painted frame, median of %d runs each\n", runs);
  std::printf("%-12s %10s %14s\n", "", "time (ms)", "peak RSS (KiB)");
  std::printf("%-12s %10.1f %14ld\n", "Kippwerk", t0, m0);
  std::printf("%-12s %10.1f %14ld\n", "bare window", t1, m1);
  std::printf("%-12s %10.2f %14.2f\n", "ratio", t0 / t1,
              static_cast<double>(m0) / static_cast<double>(m1));
  return 0;
}
