/*
 * Parcelon: the zip archive control, as a shared library with a C interface.
 *
 * A host loads the library (libparcelon.so), asks DllGetClassObject for the class factory of
 * PARCELON_CLSID, creates a control with ParcelonFactoryCreateInstance and calls its methods by
 * dispatch identifier with ParcelonControlInvoke. Everything runs on the caller's thread; a
 * control is used by one thread at a time, and the Status event fires from inside the method
 * that reports progress.
 *
 *   ParcelonClassFactory* factory;
 *   ParcelonGuid clsid = PARCELON_CLSID;
 *   if (DllGetClassObject(&clsid, &factory) != PARCELON_S_OK) ...
 *   ParcelonControl* control;
 *   ParcelonFactoryCreateInstance(factory, &host, &control);
 *   ParcelonFactoryRelease(factory);
 *
 *   ParcelonVariant args[1] = {{PARCELON_VT_TEXT}};
 *   args[0].text = "C:\\in\\archive.zip";
 *   args[0].textLength = strlen(args[0].text);
 *   ParcelonVariant result;
 *   ParcelonException error;
 *   if (ParcelonControlInvoke(control, PARCELON_DISPID_OPENZIP, args, 1, &result, &error) ==
 *       PARCELON_DISP_E_EXCEPTION) {
 *     printf("error %u: %s\n", error.code & 0xFFFF, error.description);
 *     ParcelonExceptionClear(&error);
 *   }
 *   ParcelonVariantClear(&result);
 *   ParcelonControlRelease(control);
 *
 * Texts are ANSI (Windows-1252) bytes with a length; paths are Windows paths on the machine the
 * host gives the control (see ParcelonHost).
 */
#ifndef PARCELON_PARCELON_H
#define PARCELON_PARCELON_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Identity ---------------------------------------------------------------------------- */

typedef struct ParcelonGuid {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
} ParcelonGuid;

/* The control class {830C6AA6-5274-11D4-BD8D-912BC639A87B}. */
#define PARCELON_CLSID                                                             \
  {                                                                                \
    0x830C6AA6, 0x5274, 0x11D4, { 0xBD, 0x8D, 0x91, 0x2B, 0xC6, 0x39, 0xA8, 0x7B } \
  }
#define PARCELON_CLSID_TEXT "{830C6AA6-5274-11D4-BD8D-912BC639A87B}"
#define PARCELON_PROGID "PARCELON.ParcelonCtrl.1"
#define PARCELON_TYPELIB_TEXT "{830C6AA3-5274-11D4-BD8D-912BC639A87B}"
#define PARCELON_DISPATCH_IID_TEXT "{830C6AA4-5274-11D4-BD8D-912BC639A87B}"
#define PARCELON_EVENTS_IID_TEXT "{830C6AA5-5274-11D4-BD8D-912BC639A87B}"

/* ---- Results ----------------------------------------------------------------------------- */

/* Status codes with the values of their Windows namesakes. */
typedef int32_t ParcelonHresult;
#define PARCELON_S_OK ((ParcelonHresult)0)
#define PARCELON_S_FALSE ((ParcelonHresult)1)
#define PARCELON_E_INVALIDARG ((ParcelonHresult)0x80070057)
#define PARCELON_E_OUTOFMEMORY ((ParcelonHresult)0x8007000E)
#define PARCELON_E_FAIL ((ParcelonHresult)0x80004005)
#define PARCELON_CLASS_E_CLASSNOTAVAILABLE ((ParcelonHresult)0x80040111)
#define PARCELON_SELFREG_E_TYPELIB ((ParcelonHresult)0x80040200)
#define PARCELON_SELFREG_E_CLASS ((ParcelonHresult)0x80040201)
#define PARCELON_DISP_E_UNKNOWNNAME ((ParcelonHresult)0x80020006)
#define PARCELON_DISP_E_MEMBERNOTFOUND ((ParcelonHresult)0x80020003)
#define PARCELON_DISP_E_TYPEMISMATCH ((ParcelonHresult)0x80020005)
#define PARCELON_DISP_E_BADPARAMCOUNT ((ParcelonHresult)0x8002000E)
/* The method raised an error: see the ParcelonException. */
#define PARCELON_DISP_E_EXCEPTION ((ParcelonHresult)0x80020009)
/* A call made while a method of the same control is still running (from a Status sink): it is
 * refused, since it could close the archive or drop the sink that method is working with. */
#define PARCELON_RPC_E_CALL_REJECTED ((ParcelonHresult)0x80010001)

/* ---- Variants ---------------------------------------------------------------------------- */

/* The type numbers are the automation ones (VT_EMPTY, VT_I4, VT_DATE, VT_BSTR, VT_BOOL). */
enum {
  PARCELON_VT_EMPTY = 0,
  PARCELON_VT_I4 = 3,
  PARCELON_VT_DATE = 7,
  PARCELON_VT_TEXT = 8,
  PARCELON_VT_BOOL = 11
};

/* One value; only the field of its type is meaningful. Arguments are the caller's; a result's
 * text belongs to the library until ParcelonVariantClear. */
typedef struct ParcelonVariant {
  uint16_t type;
  int32_t i4;          /* PARCELON_VT_I4 */
  int16_t boolean;     /* PARCELON_VT_BOOL: -1 true, 0 false (any non-zero is true) */
  double date;         /* PARCELON_VT_DATE: days since 30 December 1899, time as the fraction */
  const char* text;    /* PARCELON_VT_TEXT: ANSI bytes; results are NUL-terminated too */
  uint32_t textLength; /* PARCELON_VT_TEXT: the number of bytes, without a NUL */
} ParcelonVariant;

/* An error raised by a method: `code` is the automation code (0x800A7D00 ...), the host's error
 * number its low 16 bits; `description` a NUL-terminated text owned by the library until
 * ParcelonExceptionClear. */
typedef struct ParcelonException {
  uint32_t code;
  char* description;
} ParcelonException;

void ParcelonVariantClear(ParcelonVariant* variant);
void ParcelonExceptionClear(ParcelonException* exception);

/* ---- Methods and the event --------------------------------------------------------------- */

enum {
  PARCELON_DISPID_EXTRACTFILE = 1,  /* (name, path, passwd) -> I4: 0 or a negative reader code */
  PARCELON_DISPID_FILENAME = 2,     /* (rec) -> TEXT */
  PARCELON_DISPID_FILECOUNT = 3,    /* () -> I4 */
  PARCELON_DISPID_FILESIZE = 4,     /* (rec) -> I4 */
  PARCELON_DISPID_FILESIZEZ = 5,    /* (rec) -> I4 */
  PARCELON_DISPID_FILEDATE = 6,     /* (rec) -> DATE */
  PARCELON_DISPID_OPENZIP = 7,      /* (file) -> I4 */
  PARCELON_DISPID_CREATEZIP = 8,    /* (Filename, comment) -> I4 */
  PARCELON_DISPID_CLOSE = 9,        /* () -> I4 */
  PARCELON_DISPID_ADDFILE = 10,     /* (Filename, comment, bSavePath, passwd) -> I4: 0 or -1 */
  PARCELON_DISPID_REMOVEFILE = 11,  /* (Filename) -> I4 */
  PARCELON_DISPID_FILECOMMENT = 12, /* (rec) -> TEXT */
  PARCELON_DISPID_ISCRYPTED = 13,   /* (rec) -> BOOL */
  PARCELON_DISPID_ABOUTBOX = -552,  /* () -> EMPTY */
  PARCELON_DISPID_STATUS = 1        /* the event Status(Filename, progress) */
};

/* A method's signature, as a type library would give it. */
#define PARCELON_MAX_ARGUMENTS 4
typedef struct ParcelonMethodInfo {
  int32_t dispatchId;
  const char* name; /* static text, e.g. "ExtractFile" */
  uint32_t argumentCount;
  uint16_t argumentTypes[PARCELON_MAX_ARGUMENTS]; /* PARCELON_VT_* */
  const char* argumentNames[PARCELON_MAX_ARGUMENTS];
  uint16_t resultType; /* PARCELON_VT_*; EMPTY for AboutBox */
} ParcelonMethodInfo;

/* The Status event: the entry name and the progress, 0 to 100. */
typedef void (*ParcelonStatusSink)(void* context, const char* filename, uint32_t filenameLength,
                                   int32_t progress);

/* ---- The host ---------------------------------------------------------------------------- */

/* Services the host lends a control. Every field may be 0; `size` must be sizeof(ParcelonHost)
 * so that later fields can be added. */
typedef struct ParcelonHost {
  uint32_t size;
  /* The machine whose files and registry the control uses: a platform::Machine* of a host built
   * with the same toolchain, or NULL to let the library open the machine in WINEPREFIX itself.
   * It must outlive the control. */
  void* machine;
  /* Passed back to the callbacks below. */
  void* context;
  /* Shows the modal about box; without it AboutBox does nothing. */
  void (*showAboutBox)(void* context, const char* title, const char* text, const char* button);
  /* A random number of at least 15 bits for the encryption header; without it the library seeds
   * its own generator from the machine's clock. */
  uint32_t (*random)(void* context);
} ParcelonHost;

/* ---- Library entry points ---------------------------------------------------------------- */

typedef struct ParcelonClassFactory ParcelonClassFactory;
typedef struct ParcelonControl ParcelonControl;

/* The class factory for `classId`, or PARCELON_CLASS_E_CLASSNOTAVAILABLE. */
ParcelonHresult DllGetClassObject(const ParcelonGuid* classId, ParcelonClassFactory** factory);
/* PARCELON_S_OK when no factory or control is alive, PARCELON_S_FALSE otherwise. */
ParcelonHresult DllCanUnloadNow(void);
/* Register and unregister the type library and the control class in HKEY_CLASSES_ROOT of the
 * machine in WINEPREFIX: PARCELON_S_OK, PARCELON_SELFREG_E_TYPELIB when the type library's
 * entries could not be written (or removed), PARCELON_SELFREG_E_CLASS for the class's. */
ParcelonHresult DllRegisterServer(void);
ParcelonHresult DllUnregisterServer(void);
/* The same on the host's machine (host->machine), or the WINEPREFIX one when it is NULL. */
ParcelonHresult ParcelonRegisterServerOn(const ParcelonHost* host);
ParcelonHresult ParcelonUnregisterServerOn(const ParcelonHost* host);

/* A new control. `host` may be NULL; it is copied. */
ParcelonHresult ParcelonFactoryCreateInstance(ParcelonClassFactory* factory,
                                              const ParcelonHost* host, ParcelonControl** control);
void ParcelonFactoryRelease(ParcelonClassFactory* factory);

/* Closes what the control has open (a writer finishes its archive) and frees it. Called from a
 * Status sink, it does so once the running method has returned. */
void ParcelonControlRelease(ParcelonControl* control);

/* The dispatch identifier of a method name (compared without regard to case). */
ParcelonHresult ParcelonControlGetIdOfName(ParcelonControl* control, const char* name,
                                           int32_t* dispatchId);
/* The signature of a method; PARCELON_DISP_E_MEMBERNOTFOUND for an unknown identifier. */
ParcelonHresult ParcelonControlGetMethodInfo(ParcelonControl* control, int32_t dispatchId,
                                             ParcelonMethodInfo* info);

/* Calls a method with its arguments in order (not reversed). Arguments are converted as
 * automation converts them: a text to a number or a boolean ("True", "False", digits), a number
 * or boolean to text, EMPTY to "", 0 or false. Returns PARCELON_S_OK with `result` set (EMPTY for
 * AboutBox), PARCELON_DISP_E_EXCEPTION with `exception` set when the method raised an error, or a
 * dispatch error (unknown member, wrong argument count, a text that is no number). `result` and
 * `exception` may be NULL when the caller does not want them. */
ParcelonHresult ParcelonControlInvoke(ParcelonControl* control, int32_t dispatchId,
                                      const ParcelonVariant* arguments, uint32_t argumentCount,
                                      ParcelonVariant* result, ParcelonException* exception);

/* Connects the Status event to `sink` (NULL disconnects). One sink at a time. Refused with
 * PARCELON_RPC_E_CALL_REJECTED while a method runs (from the sink itself). */
ParcelonHresult ParcelonControlAdvise(ParcelonControl* control, ParcelonStatusSink sink,
                                      void* context);

#ifdef __cplusplus
}
#endif

#endif /* PARCELON_PARCELON_H */
