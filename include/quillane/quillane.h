/* Quillane's C interface: the public classes of the library for C and for any language with a C FFI.
 *
 * A program creates a public class by its ProgID ("Quillane.clsDepartment"), sets and gets its
 * properties and calls its members by name with an array of variants, receives its events through a
 * callback, and releases it. Members are bound late, exactly as an automation client binds them, so
 * what a class offers is its own documentation's list of members, arguments and events.
 *
 * Threads. Objects live in the thread (apartment) that created them: use an object, its variants and
 * its callbacks on that thread only. Different threads may each use objects of their own.
 *
 * Handles. A handle is checked before every use: one already released, or one this library never
 * gave out, makes the function fail with QUILLANE_E_HANDLE and the thread's last error, never a crash,
 * and is never taken for an object made later.
 *
 * Results. Every function that can fail returns a quillane_result: QUILLANE_S_OK (0) on success,
 * otherwise one of the failure codes below (negative, as HRESULT failures are). On failure the thread's last error holds the automation error's
 * number, source and description (quillane_last_error_*); a success clears it. No C++ exception ever
 * leaves a function of this header; a callback of the caller must not throw one either.
 *
 * Memory. A variant owns what it holds: its text, its bytes or its object handle. Make such variants
 * with the quillane_variant_set_* functions and free them with quillane_variant_clear; scalar variants
 * may be filled by hand or with the inline makers; clear a variant before overwriting it by hand, or
 * what it held leaks. Every variant passed to the library must be valid: zero-filled memory is a valid
 * Empty variant.
 */
#ifndef QUILLANE_QUILLANE_H
#define QUILLANE_QUILLANE_H

#include <stddef.h>
#include <stdint.h>

/* The functions below are libquillane.so's whole export; the library hides everything else. */
#if defined(__GNUC__)
#define QUILLANE_API __attribute__((visibility("default")))
#else
#define QUILLANE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Results: the values of the matching HRESULTs ---- */

typedef int32_t quillane_result;

#define QUILLANE_S_OK ((quillane_result)0)
#define QUILLANE_S_FALSE ((quillane_result)1)
/* The member or the class raised an automation error; see quillane_last_error_*. */
#define QUILLANE_E_EXCEPTION ((quillane_result)0x80020009)
/* A null pointer, an unknown variant type or another argument the function cannot take. */
#define QUILLANE_E_INVALIDARG ((quillane_result)0x80070057)
#define QUILLANE_E_POINTER ((quillane_result)0x80004003)
/* A handle that has been released or that the library never gave out (the error's number is this code). */
#define QUILLANE_E_HANDLE ((quillane_result)0x80070006)
#define QUILLANE_E_OUTOFMEMORY ((quillane_result)0x8007000E)
#define QUILLANE_E_UNEXPECTED ((quillane_result)0x8000FFFF)
#define QUILLANE_E_NOINTERFACE ((quillane_result)0x80004002)
#define QUILLANE_CLASS_E_CLASSNOTAVAILABLE ((quillane_result)0x80040111)
#define QUILLANE_SELFREG_E_CLASS ((quillane_result)0x80040201)

/* The last failure of this thread: the automation error's number (438 "Object doesn't support this
 * property or method", 429 "ActiveX component can't create object", a class's own number...), its
 * source and its description in UTF-8. 0 and empty texts when the last call succeeded. The texts stay
 * valid until the next call of this header on the same thread. */
QUILLANE_API int32_t quillane_last_error_number(void);
QUILLANE_API const char* quillane_last_error_source(void);
QUILLANE_API const char* quillane_last_error_description(void);

/* ---- Objects ---- */

/* A reference to an object of the library. Each handle is released once with quillane_release. */
typedef struct quillane_object quillane_object;

/* Creates the public class registered under prog_id (compared without regard to case). A class that is
 * not part of this build fails with QUILLANE_E_EXCEPTION and error 429. */
QUILLANE_API quillane_result quillane_create_object(const char* prog_id, quillane_object** object);
/* Releases a handle and the callbacks advised through it. A null handle is ignored; a handle released
 * before is QUILLANE_E_HANDLE. */
QUILLANE_API quillane_result quillane_release(quillane_object* object);
/* The class name of the object, as VB's TypeName gives it ("clsDepartment"); valid while the handle is.
 * A null handle gives ""; so does a released one, with QUILLANE_E_HANDLE as the thread's last error. */
QUILLANE_API const char* quillane_class_name(const quillane_object* object);

/* ---- Variants: the automation value ---- */

/* The type codes are VB's VarType values. */
typedef enum quillane_vartype {
  QUILLANE_VT_EMPTY = 0,
  QUILLANE_VT_NULL = 1,
  QUILLANE_VT_INT16 = 2,
  QUILLANE_VT_INT32 = 3,
  QUILLANE_VT_DOUBLE = 5,
  QUILLANE_VT_CURRENCY = 6,
  QUILLANE_VT_DATE = 7,
  QUILLANE_VT_STRING = 8,
  QUILLANE_VT_OBJECT = 9,
  QUILLANE_VT_BOOL = 11,
  QUILLANE_VT_DECIMAL = 14,
  QUILLANE_VT_BYTES = 8209
} quillane_vartype;

typedef struct quillane_variant {
  quillane_vartype type;
  union {
    int boolean;              /* QUILLANE_VT_BOOL: 0 is False, anything else True */
    int16_t int16;            /* QUILLANE_VT_INT16 */
    int32_t int32;            /* QUILLANE_VT_INT32 */
    double dbl;               /* QUILLANE_VT_DOUBLE */
    int64_t currency;         /* QUILLANE_VT_CURRENCY: the amount times 10000 */
    double date;              /* QUILLANE_VT_DATE: days since 1899-12-30, the time as the fraction */
    struct {
      char* data;             /* UTF-8, followed by a NUL that length does not count */
      size_t length;
    } string;                 /* QUILLANE_VT_STRING */
    struct {
      uint8_t* data;
      size_t length;
    } bytes;                  /* QUILLANE_VT_BYTES */
    quillane_object* object;  /* QUILLANE_VT_OBJECT: an owned handle, or NULL for Nothing */
    /* QUILLANE_VT_DECIMAL: an exact number of at most 38 digits (a decimal or numeric column's value)
     * as its text in plain notation, NUL-terminated: an optional "-", digits, and "." with more digits
     * when there are decimals; no exponent, no blanks ("-12345678901234.1234567891", "0.000001"). A C
     * caller reads the text as it stands (strtod gives it as a double, losing what a double cannot
     * hold) and makes one with quillane_variant_decimal. The library refuses any other text with
     * QUILLANE_E_INVALIDARG. Nothing to free. */
    char decimal[48];
  } value;
} quillane_variant;

/* Frees what the variant holds and leaves it Empty. A variant holding a handle released before is
 * emptied too, with QUILLANE_E_HANDLE. */
QUILLANE_API quillane_result quillane_variant_clear(quillane_variant* variant);
/* Each of these clears the variant, then makes it hold a copy of the text (NUL-terminated UTF-8), of
 * the bytes, or a new handle of the object (NULL is Nothing). */
QUILLANE_API quillane_result quillane_variant_set_string(quillane_variant* variant, const char* utf8);
QUILLANE_API quillane_result quillane_variant_set_bytes(quillane_variant* variant, const uint8_t* data, size_t length);
QUILLANE_API quillane_result quillane_variant_set_object(quillane_variant* variant, quillane_object* object);

static inline quillane_variant quillane_variant_empty(void) {
  quillane_variant v;
  v.type = QUILLANE_VT_EMPTY;
  v.value.currency = 0;
  return v;
}
static inline quillane_variant quillane_variant_null(void) {
  quillane_variant v = quillane_variant_empty();
  v.type = QUILLANE_VT_NULL;
  return v;
}
/* quillane_variant_bool(int), _int16(int16_t), _int32(int32_t), _double(double),
 * _currency(int64_t times_10000) and _date(double serial): a scalar variant of that value. */
#define QUILLANE_SCALAR_MAKER(kind, c_type, tag, field)                  \
  static inline quillane_variant quillane_variant_##kind(c_type value) { \
    quillane_variant v = quillane_variant_empty();                       \
    v.type = tag;                                                        \
    v.value.field = value;                                               \
    return v;                                                            \
  }
QUILLANE_SCALAR_MAKER(bool, int, QUILLANE_VT_BOOL, boolean)
QUILLANE_SCALAR_MAKER(int16, int16_t, QUILLANE_VT_INT16, int16)
QUILLANE_SCALAR_MAKER(int32, int32_t, QUILLANE_VT_INT32, int32)
QUILLANE_SCALAR_MAKER(double, double, QUILLANE_VT_DOUBLE, dbl)
QUILLANE_SCALAR_MAKER(currency, int64_t, QUILLANE_VT_CURRENCY, currency)
QUILLANE_SCALAR_MAKER(date, double, QUILLANE_VT_DATE, date)
#undef QUILLANE_SCALAR_MAKER
/* A Decimal variant of the text (see QUILLANE_VT_DECIMAL). A text too long to be a Decimal leaves the
 * variant's text empty, which the library refuses rather than read a number cut short. */
static inline quillane_variant quillane_variant_decimal(const char* text) {
  quillane_variant v = quillane_variant_empty();
  size_t k = 0;
  v.type = QUILLANE_VT_DECIMAL;
  while (text && text[k] && k + 1 < sizeof v.value.decimal) {
    v.value.decimal[k] = text[k];
    ++k;
  }
  v.value.decimal[text && text[k] ? 0 : k] = '\0';
  return v;
}

/* ---- Late-bound calls ---- */

/* Reads a property into *result (which is cleared first). */
QUILLANE_API quillane_result quillane_get_property(quillane_object* object, const char* name, quillane_variant* result);
/* Assigns a property: an object value (Nothing included) as VB's Set does, any other value as Let. */
QUILLANE_API quillane_result quillane_set_property(quillane_object* object, const char* name, const quillane_variant* value);
/* Calls the member called name with arg_count arguments in the order the member declares them, as an
 * automation client's late-bound call does: a method of that name, else a property get with these
 * arguments. So a collection's entries are read by calling its property Item with an index
 * (quillane_call(records, "Item", &index, 1, &entry): TrzRecords counts from 1) and a record's values
 * by calling Item with a key ("ICName"); Count is an ordinary property. Optional arguments at the end
 * may be left out. What the member assigns to a by-reference argument is written back into args (the
 * old value freed); an argument the member leaves alone keeps its value, handle and all. The member's
 * result goes to *result (cleared first) unless result is NULL. A class without such a method or
 * property raises error 438. */
QUILLANE_API quillane_result quillane_call(quillane_object* object, const char* name, quillane_variant* args,
                                           size_t arg_count, quillane_variant* result);

/* ---- Events ---- */

/* Called synchronously for each event the object raises, with the handle it was advised on (valid for
 * the call), the event's name and dispatch id, and its arguments. The arguments are by reference: what
 * the callback assigns to them (through quillane_variant_set_* or by hand for scalars) travels back to
 * the object, as a cancel flag does. The callback may call the library, advise and unadvise. */
typedef void (*quillane_event_callback)(quillane_object* object, const char* event, int32_t dispatch_id,
                                        quillane_variant* args, size_t arg_count, void* user_data);

/* Starts delivering the object's events to callback; *cookie identifies the connection. */
QUILLANE_API quillane_result quillane_advise(quillane_object* object, quillane_event_callback callback,
                                             void* user_data, uint32_t* cookie);
/* Ends a connection made through this handle; an unknown cookie is QUILLANE_E_INVALIDARG. */
QUILLANE_API quillane_result quillane_unadvise(quillane_object* object, uint32_t cookie);

/* ---- Utility for callers and demos ---- */

/* Creates a new account set at path (a file that must not exist yet) filled with sample rows: for
 * every data type items_per_class detail items spread over groups, and the records they link to.
 * Its props string for the public classes is
 *   "ConnectString={Provider=SQLite;Data Source=<path>};UserID=16;AcctType=GY;Setuptype=;Language=CHS"
 * The keys (compared without regard to case; a value in braces runs to the closing brace):
 *   ConnectString  the connection string of the account set (every call that reads the database)
 *   UserID         the user whose rights an import checks (16 is the account set's administrator)
 *   AcctType       "GY" for an industrial account set, anything else for a commercial one (every call)
 *   Setuptype      the edition code (read by every item import, fees included: "XRTV" changes what an
 *                  import writes; leave it empty otherwise)
 *   Language       "EN", "CHT", else simplified Chinese: the names of item classes in custom-class files
 * A call that reads a key the string lacks fails with error 5, whose description names the key. */
QUILLANE_API quillane_result quillane_create_sample_account_set(const char* path, int32_t items_per_class);

/* ---- Self-registration ----
 * This platform has no COM runtime: nothing loads the library through these four functions by itself.
 * They keep the names, arguments and results an installer or a host expects of an in-process server:
 * - DllRegisterServer writes, for every public class this build carries and whose class identifier is
 *   known, the keys "HKEY_CLASSES_ROOT\<ProgID>\CLSID" and "HKEY_CLASSES_ROOT\CLSID\<clsid>\ProgID"
 *   (default value "@") into the library's registry file (QUILLANE_REGISTRY, else "registry.ini"
 *   beside the library); DllUnregisterServer removes the keys of every public class. Both give
 *   QUILLANE_SELFREG_E_CLASS when the file cannot be read or written.
 * - DllGetClassObject gives a class factory for a class identifier in text form
 *   ("{DFC9E8EF-966B-11D7-9E78-00E01869F6B0}", any case), for the interface IClassFactory
 *   "{00000001-0000-0000-C000-000000000046}", IUnknown "{00000000-0000-0000-C000-000000000046}" or
 *   NULL; a class that is unknown or not part of this build is QUILLANE_CLASS_E_CLASSNOTAVAILABLE.
 * - DllCanUnloadNow is QUILLANE_S_OK while no object or factory handle is alive, else QUILLANE_S_FALSE.
 */
typedef struct quillane_class_factory quillane_class_factory;

QUILLANE_API quillane_result DllGetClassObject(const char* clsid, const char* iid, quillane_class_factory** factory);
QUILLANE_API quillane_result DllCanUnloadNow(void);
QUILLANE_API quillane_result DllRegisterServer(void);
QUILLANE_API quillane_result DllUnregisterServer(void);

/* Creates an object of the factory's class. */
QUILLANE_API quillane_result quillane_factory_create_instance(quillane_class_factory* factory, quillane_object** object);
/* Releases a factory handle. A null handle is ignored; a handle released before is QUILLANE_E_HANDLE. */
QUILLANE_API quillane_result quillane_factory_release(quillane_class_factory* factory);

#ifdef __cplusplus
}
#endif

#endif /* QUILLANE_QUILLANE_H */
