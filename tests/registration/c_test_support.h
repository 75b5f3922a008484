/* What the C test programs share: checks that print the failed condition with its line and count it
 * in failures, and a sample account set in a temporary folder with the registry file beside it. */
#ifndef QUILLANE_TESTS_C_TEST_SUPPORT_H
#define QUILLANE_TESTS_C_TEST_SUPPORT_H

#define _POSIX_C_SOURCE 200809L
#include <quillane/quillane.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int failures = 0;

#define CHECK(condition)                                                             \
  do {                                                                               \
    if (!(condition)) {                                                              \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      ++failures;                                                                    \
    }                                                                                \
  } while (0)

/* A call of the header that must succeed; a failure prints the last error. Gives whether it did. */
static int checked_ok(quillane_result result, const char* call, const char* file, int line) {
  if (result == QUILLANE_S_OK) return 1;
  fprintf(stderr, "%s:%d: %s gave 0x%08X: %d %s: %s\n", file, line, call, (unsigned)result,
          quillane_last_error_number(), quillane_last_error_source(), quillane_last_error_description());
  ++failures;
  return 0;
}
#define CHECK_OK(call) checked_ok((call), #call, __FILE__, __LINE__)

struct sample {
  char folder[64];
  char registry[256];
  char account_set[256];
  char props[512]; /* the full props string of the header's documentation */
};

/* A sample account set of items_per_class records per class; 0 when the folder cannot be made. */
static int make_sample(struct sample* s, int32_t items_per_class) {
  strcpy(s->folder, "/tmp/quillane-c-test-XXXXXX");
  if (!mkdtemp(s->folder)) return 0;
  snprintf(s->registry, sizeof s->registry, "%s/registry.ini", s->folder);
  snprintf(s->account_set, sizeof s->account_set, "%s/sample.db", s->folder);
  snprintf(s->props, sizeof s->props,
           "ConnectString={Provider=SQLite;Data Source=%s};UserID=16;AcctType=GY;Setuptype=;Language=CHS",
           s->account_set);
  setenv("QUILLANE_REGISTRY", s->registry, 1);
  CHECK_OK(quillane_create_sample_account_set(s->account_set, items_per_class));
  return 1;
}

/* Removes the sample and gives main's exit status. */
static int finish(struct sample* s) {
  char wal[300], shm[300];
  snprintf(wal, sizeof wal, "%s-wal", s->account_set);
  snprintf(shm, sizeof shm, "%s-shm", s->account_set);
  unlink(wal);
  unlink(shm);
  unlink(s->account_set);
  unlink(s->registry);
  rmdir(s->folder);
  if (failures) fprintf(stderr, "%d checks failed\n", failures);
  return failures ? 1 : 0;
}

#endif
