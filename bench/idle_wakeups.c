/* How often a process wakes while nobody touches it: the context switches of all its
   threads, read from /proc, over a stretch of idleness. A measurement only.

     idle_wakeups PID [SECONDS]

   prints the wakeups a second (voluntary and involuntary switches of every thread). */
#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static long SwitchesOfTask(const char* statusPath) {
  FILE* file = fopen(statusPath, "r");
  if (!file) return 0;
  char line[256];
  long total = 0;
  while (fgets(line, sizeof line, file)) {
    long count = 0;
    if (sscanf(line, "voluntary_ctxt_switches: %ld", &count) == 1 ||
        sscanf(line, "nonvoluntary_ctxt_switches: %ld", &count) == 1) {
      total += count;
    }
  }
  fclose(file);
  return total;
}

static long Switches(const char* pid) {
  char folder[64];
  snprintf(folder, sizeof folder, "/proc/%s/task", pid);
  DIR* tasks = opendir(folder);
  if (!tasks) {
    fprintf(stderr, "no process %s\n", pid);
    exit(1);
  }
  long total = 0;
  struct dirent* entry;
  while ((entry = readdir(tasks)) != NULL) {
    if (entry->d_name[0] == '.') continue;
    char path[400];
    snprintf(path, sizeof path, "%s/%s/status", folder, entry->d_name);
    total += SwitchesOfTask(path);
  }
  closedir(tasks);
  return total;
}

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: idle_wakeups PID [SECONDS]\n");
    return 2;
  }
  const int seconds = argc > 2 ? atoi(argv[2]) : 20;
  const long before = Switches(argv[1]);
  sleep((unsigned)seconds);
  const long after = Switches(argv[1]);
  printf("%.2f wakeups/s (%ld in %d s)\n", (double)(after - before) / seconds, after - before, seconds);
  return 0;
}
