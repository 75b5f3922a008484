/* A C program drives a department export through quillane.h: creation by ProgID, by-reference
 * arguments written back, Progress events with a cancel answered from C, errors, release. */
#include "c_test_support.h"

struct progress_log {
  int events;
  int32_t last_current;
  int32_t last_total;
  int32_t cancel_at; /* 0: never */
};

static void on_event(quillane_object* object, const char* event, int32_t dispatch_id, quillane_variant* args,
                     size_t arg_count, void* user_data) {
  struct progress_log* log = (struct progress_log*)user_data;
  (void)object;
  if (strcmp(event, "Progress") != 0) return;
  CHECK(dispatch_id == 1);
  CHECK(arg_count == 3);
  CHECK(args[0].type == QUILLANE_VT_INT32 && args[1].type == QUILLANE_VT_INT32);
  CHECK(args[2].type == QUILLANE_VT_BOOL && !args[2].value.boolean);
  ++log->events;
  log->last_current = args[0].value.int32;
  log->last_total = args[1].value.int32;
  if (log->cancel_at && args[0].value.int32 == log->cancel_at) args[2] = quillane_variant_bool(1);
}

static int count_of(const char* text, const char* part) {
  int n = 0;
  for (const char* at = strstr(text, part); at; at = strstr(at + 1, part)) ++n;
  return n;
}

static int is_stamp(const quillane_variant* v) {
  return v->type == QUILLANE_VT_STRING && v->value.string.length == 18 && strncmp(v->value.string.data, "0x", 2) == 0;
}

/* One Export call: props, XML (out), records per page, since stamp (in/out), max stamp (out), error (out). */
struct page {
  quillane_variant args[6];
  quillane_variant ok;
};

static void export_page(quillane_object* departments, const char* props, int32_t per_count, const char* since,
                        struct page* p) {
  memset(p, 0, sizeof *p);
  CHECK_OK(quillane_variant_set_string(&p->args[0], props));
  CHECK_OK(quillane_variant_set_string(&p->args[1], ""));
  p->args[2] = quillane_variant_int32(per_count);
  CHECK_OK(quillane_variant_set_string(&p->args[3], since));
  CHECK_OK(quillane_variant_set_string(&p->args[4], ""));
  CHECK_OK(quillane_variant_set_string(&p->args[5], ""));
  CHECK_OK(quillane_call(departments, "Export", p->args, 6, &p->ok));
}

static void free_page(struct page* p) {
  for (int i = 0; i < 6; ++i) quillane_variant_clear(&p->args[i]);
  quillane_variant_clear(&p->ok);
}

int main(void) {
  struct sample sample;
  if (!make_sample(&sample, 3)) return 2;
  const char* props = sample.props;

  quillane_object* departments = NULL;
  CHECK_OK(quillane_create_object("quillane.clsdepartment", &departments));
  if (!departments) return 1;
  CHECK(strcmp(quillane_class_name(departments), "clsDepartment") == 0);

  struct progress_log log = {0, 0, 0, 0};
  uint32_t cookie = 0;
  CHECK_OK(quillane_advise(departments, on_event, &log, &cookie));
  quillane_variant on = quillane_variant_bool(1);
  CHECK_OK(quillane_set_property(departments, "bProgress", &on));

  /* The whole set in one page: every record reported, the stamps written back. */
  struct page all;
  export_page(departments, props, 100, "", &all);
  CHECK(all.ok.type == QUILLANE_VT_BOOL && all.ok.value.boolean);
  CHECK(all.args[5].type == QUILLANE_VT_STRING && all.args[5].value.string.length == 0);
  CHECK(all.args[1].type == QUILLANE_VT_STRING);
  int records = count_of(all.args[1].value.string.data, "<Department>");
  CHECK(records > 3);
  CHECK(strstr(all.args[1].value.string.data, "<Root") != NULL);
  CHECK(log.events == records && log.last_current == records && log.last_total == records);
  CHECK(is_stamp(&all.args[3]) && is_stamp(&all.args[4]));
  CHECK(strcmp(all.args[3].value.string.data, all.args[4].value.string.data) == 0);

  /* From the stamp written back nothing is left. */
  struct page rest;
  export_page(departments, props, 100, all.args[3].value.string.data, &rest);
  CHECK(rest.ok.value.boolean);
  CHECK(count_of(rest.args[1].value.string.data, "<Department>") == 0);
  free_page(&rest);

  /* A cancel set by the callback travels back and ends the page after the current record. */
  log.events = 0;
  log.cancel_at = 2;
  struct page cancelled;
  export_page(departments, props, 100, "", &cancelled);
  CHECK(cancelled.ok.value.boolean);
  CHECK(log.events == 2);
  CHECK(count_of(cancelled.args[1].value.string.data, "<Department>") == 2);
  free_page(&cancelled);

  /* Without the callback no event arrives. */
  CHECK_OK(quillane_unadvise(departments, cookie));
  CHECK(quillane_unadvise(departments, cookie) == QUILLANE_E_INVALIDARG);
  log.events = 0;
  struct page quiet;
  export_page(departments, props, 100, "", &quiet);
  CHECK(log.events == 0);
  CHECK(count_of(quiet.args[1].value.string.data, "<Department>") == records);
  free_page(&quiet);
  free_page(&all);

  /* A failure of the class is its Boolean result and its text; a failure of the call is the last error. */
  struct page refused;
  export_page(departments, "UserID=16", 100, "", &refused);
  CHECK(refused.ok.type == QUILLANE_VT_BOOL && !refused.ok.value.boolean);
  CHECK(refused.args[5].type == QUILLANE_VT_STRING && refused.args[5].value.string.length > 0);
  free_page(&refused);

  CHECK(quillane_call(departments, "NoSuchMember", NULL, 0, NULL) == QUILLANE_E_EXCEPTION);
  CHECK(quillane_last_error_number() == 438);
  CHECK(strlen(quillane_last_error_description()) > 0);
  quillane_object* missing = NULL;
  CHECK(quillane_create_object("Quillane.clsNoSuchClass", &missing) == QUILLANE_E_EXCEPTION);
  CHECK(missing == NULL && quillane_last_error_number() == 429);
  CHECK_OK(quillane_set_property(departments, "bProgress", &on));
  CHECK(quillane_last_error_number() == 0);

  CHECK(DllCanUnloadNow() == QUILLANE_S_FALSE);
  quillane_release(departments);
  CHECK(DllCanUnloadNow() == QUILLANE_S_OK);

  return finish(&sample);
}
