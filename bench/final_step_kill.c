/* Preloaded into the command by kill_test.sh. Counts the renames of a run's
 * final step: those that move a file between the destination and the working
 * folder (a rename inside the working folder is a stage's own). With
 * K2V_KILL_AT_RENAME=N the process kills itself with SIGKILL just before the
 * Nth of them; with K2V_COUNT_RENAMES=FILE it only counts them and writes the
 * count into FILE when it exits. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int seen;

static int InWorkingFolder(const char* path) { return strstr(path, "/.kolbrix2vantor-work/") != NULL; }

static void WriteCount(void) {
  const char* file = getenv("K2V_COUNT_RENAMES");
  FILE* f = file ? fopen(file, "w") : NULL;
  if (f) {
    fprintf(f, "%d\n", seen);
    fclose(f);
  }
}

__attribute__((constructor)) static void Start(void) {
  if (getenv("K2V_COUNT_RENAMES")) atexit(WriteCount);
}

int rename(const char* from, const char* to) {
  static int (*real)(const char*, const char*);
  if (!real) real = (int (*)(const char*, const char*))dlsym(RTLD_NEXT, "rename");
  if (InWorkingFolder(from) != InWorkingFolder(to)) {
    ++seen;
    const char* at = getenv("K2V_KILL_AT_RENAME");
    if (at && atoi(at) == seen) kill(getpid(), SIGKILL);
  }
  return real(from, to);
}
