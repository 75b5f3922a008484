/* A C program reads what a class hands back in a collection: the item classes of a sample account set
 * through GetItemClassNamesEx (records of ICID and ICName) and GetItemClassNames (texts), their
 * entries by quillane_call of the property gets Item(i) and Item(key), as a late-bound client calls them. */
#include "c_test_support.h"

/* The collection one of the two listing methods returns, or NULL. */
static quillane_object* list_classes(quillane_object* classes, const char* method, const char* props) {
  quillane_variant args[3] = {quillane_variant_empty(), quillane_variant_bool(1), quillane_variant_empty()};
  quillane_variant list = quillane_variant_empty();
  quillane_object* names = NULL;
  quillane_variant_set_string(&args[0], props);
  quillane_variant_set_string(&args[2], "");
  if (CHECK_OK(quillane_call(classes, method, args, 3, &list))) {
    CHECK(list.type == QUILLANE_VT_OBJECT && list.value.object != NULL);
    CHECK(args[2].type == QUILLANE_VT_STRING && args[2].value.string.length == 0);
    if (list.type == QUILLANE_VT_OBJECT) {
      names = list.value.object;
      list.value.object = NULL; /* the caller owns the handle now */
    }
  }
  for (int i = 0; i < 3; ++i) quillane_variant_clear(&args[i]);
  quillane_variant_clear(&list);
  return names;
}

static int32_t count_of(quillane_object* collection) {
  quillane_variant count = quillane_variant_empty();
  if (!CHECK_OK(quillane_get_property(collection, "Count", &count))) return -1;
  CHECK(count.type == QUILLANE_VT_INT32);
  return count.value.int32;
}

/* Item(argument) of a collection or a record, by the late-bound call. */
static quillane_variant item(quillane_object* collection, quillane_variant argument) {
  quillane_variant entry = quillane_variant_empty();
  CHECK_OK(quillane_call(collection, "Item", &argument, 1, &entry));
  quillane_variant_clear(&argument);
  return entry;
}

static quillane_variant text(const char* utf8) {
  quillane_variant v = quillane_variant_empty();
  quillane_variant_set_string(&v, utf8);
  return v;
}

int main(void) {
  struct sample sample;
  if (!make_sample(&sample, 2)) return 2;
  const char* props = sample.props;

  quillane_object* classes = NULL;
  if (!CHECK_OK(quillane_create_object("Quillane.clsItemClass", &classes))) return 1;

  /* The records: each entry a record whose keys are read by name. */
  quillane_object* records = list_classes(classes, "GetItemClassNamesEx", props);
  int32_t count = records ? count_of(records) : 0;
  CHECK(count > 0);
  for (int32_t i = 1; i <= count; ++i) {
    quillane_variant entry = item(records, quillane_variant_int32(i));
    CHECK(entry.type == QUILLANE_VT_OBJECT && entry.value.object != NULL);
    if (entry.type != QUILLANE_VT_OBJECT || !entry.value.object) continue;
    quillane_variant id = item(entry.value.object, text("ICID"));
    quillane_variant name = item(entry.value.object, text("icname"));
    CHECK(id.type == QUILLANE_VT_STRING && atoi(id.value.string.data) >= 1000);
    CHECK(name.type == QUILLANE_VT_STRING && name.value.string.length > 0);
    quillane_variant_clear(&id);
    quillane_variant_clear(&name);
    quillane_variant_clear(&entry);
  }
  /* Past the end is the collection's own error, not a missing member. */
  quillane_variant past = quillane_variant_int32(count + 1), none = quillane_variant_empty();
  CHECK(quillane_call(records, "Item", &past, 1, &none) == QUILLANE_E_EXCEPTION);
  CHECK(quillane_last_error_number() == 9);
  quillane_release(records);

  /* The names alone: each entry a text. */
  quillane_object* names = list_classes(classes, "GetItemClassNames", props);
  CHECK(names && count_of(names) >= count); /* the auxiliary property classes as well */
  quillane_variant first = names ? item(names, quillane_variant_int32(1)) : quillane_variant_empty();
  CHECK(first.type == QUILLANE_VT_STRING && first.value.string.length > 0);
  quillane_variant_clear(&first);
  quillane_release(names);

  quillane_release(classes);
  CHECK(DllCanUnloadNow() == QUILLANE_S_OK);
  return finish(&sample);
}
