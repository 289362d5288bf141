/*
 * Our own declarations of the browser plug-in interface: the records, numbers and function tables that a
 * browser and a plug-in exchange. Written for this project; usable from C and C++.
 *
 * Numbers (error codes, variables, drawing and event models, variant tags) are the ones browsers use, so a
 * plug-in built against this header speaks to any browser. Field order of the two function tables is our
 * own; both start with a 16-bit size and a 16-bit version so either side can copy "by version".
 */
#ifndef RVP_NPAPI_NPAPI_H
#define RVP_NPAPI_NPAPI_H

#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Basic types ---------------------------------------------------------------------------------- */

typedef unsigned char NPBool;
typedef int16_t NPError;
typedef int16_t NPReason;
typedef char* NPMIMEType;
typedef char NPUTF8;

/* Interface version the plug-in side reports (major.minor) and the browser table versions that add entries. */
enum {
  NP_VERSION_MAJOR = 0,
  NP_VERSION_MINOR = 27,
  NPVERS_HAS_POPUPS_ENABLED_STATE = 16, /* pushpopupsenabledstate, poppopupsenabledstate */
  NPVERS_HAS_NPOBJECT_ENUM = 18,        /* enumerate */
  NPVERS_HAS_URL_AND_AUTH_INFO = 21,    /* getvalueforurl, setvalueforurl, getauthenticationinfo */
  NPVERS_HAS_TIMERS = 23                /* scheduletimer, unscheduletimer */
};

/* One embedded instance: pdata belongs to the plug-in, ndata to the browser. */
typedef struct _NPP {
  void* pdata;
  void* ndata;
} NPP_t;
typedef NPP_t* NPP;

/* ---- Error codes, reasons, stream types --------------------------------------------------------------- */

enum {
  NPERR_NO_ERROR = 0,
  NPERR_GENERIC_ERROR = 1,
  NPERR_INVALID_INSTANCE_ERROR = 2,
  NPERR_INVALID_FUNCTABLE_ERROR = 3,
  NPERR_MODULE_LOAD_FAILED_ERROR = 4,
  NPERR_OUT_OF_MEMORY_ERROR = 5,
  NPERR_INVALID_PLUGIN_ERROR = 6,
  NPERR_INVALID_PLUGIN_DIR_ERROR = 7,
  NPERR_INCOMPATIBLE_VERSION_ERROR = 8,
  NPERR_INVALID_PARAM = 9,
  NPERR_INVALID_URL = 10,
  NPERR_FILE_NOT_FOUND = 11,
  NPERR_NO_DATA = 12,
  NPERR_STREAM_NOT_SEEKABLE = 13
};

enum { NPRES_DONE = 0, NPRES_NETWORK_ERR = 1, NPRES_USER_BREAK = 2 };

/* Stream delivery types chosen by the plug-in in NPP_NewStream. */
enum { NP_NORMAL = 1, NP_SEEK = 2, NP_ASFILE = 3, NP_ASFILEONLY = 4 };

/* Instance modes of NPP_New. */
enum { NP_EMBED = 1, NP_FULL = 2 };

/* ---- Variables ------------------------------------------------------------------------------------------ */

/* What the browser asks of the plug-in (NPP_GetValue) or the plug-in tells the browser (NPN_SetValue). */
typedef enum {
  NPPVpluginNameString = 1,
  NPPVpluginDescriptionString = 2,
  NPPVpluginWindowBool = 3,
  NPPVpluginTransparentBool = 4,
  NPPVpluginScriptableNPObject = 15,
  NPPVpluginDrawingModel = 1000,
  NPPVpluginEventModel = 1001,
  NPPVpluginCoreAnimationLayer = 1003
} NPPVariable;

/* What the plug-in asks of the browser (NPN_GetValue) or the browser tells the plug-in (NPP_SetValue). */
typedef enum {
  NPNVWindowNPObject = 15,        /* the page's window, as an NPObject with a reference for the caller */
  NPNVPluginElementNPObject = 16, /* the plug-in's own element in the page, likewise */
  NPNVsupportsCoreGraphicsBool = 2001,
  NPNVsupportsCoreAnimationBool = 2003,
  NPNVsupportsInvalidatingCoreAnimationBool = 2004,
  NPNVsupportsCocoaBool = 3001,
  /* Answered true when the browser keeps its own reference to the layer the plug-in hands over. */
  NPNVbrowserRetainsLayerBool = 74657
} NPNVariable;

/* Per-URL values (NPN_GetValueForURL / NPN_SetValueForURL). */
typedef enum { NPNURLVCookie = 501, NPNURLVProxy = 502 } NPNURLVariable;

/* Drawing and event models; -1 stands for "none agreed" inside the plug-in. */
typedef enum {
  NPDrawingModelCoreGraphics = 1,
  NPDrawingModelCoreAnimation = 3,
  NPDrawingModelInvalidatingCoreAnimation = 4
} NPDrawingModel;

typedef enum { NPEventModelCocoa = 1 } NPEventModel;

/* ---- Windows, streams, printing ------------------------------------------------------------------------ */

typedef struct _NPRect {
  uint16_t top;
  uint16_t left;
  uint16_t bottom;
  uint16_t right;
} NPRect;

typedef void* NPRegion;

typedef enum { NPWindowTypeWindow = 1, NPWindowTypeDrawable = 2 } NPWindowType;

typedef struct _NPWindow {
  void* window; /* Core Graphics model: an NP_CGContext*; Core Animation model: null */
  int32_t x;
  int32_t y;
  uint32_t width;
  uint32_t height;
  NPRect clipRect;
  NPWindowType type;
} NPWindow;

/* The record NPWindow.window points at under the Core Graphics model. */
typedef struct _NP_CGContext {
  void* context; /* the graphics context to draw into */
  void* window;  /* the browser window the context belongs to */
} NP_CGContext;

typedef struct _NPStream {
  void* pdata; /* the plug-in's */
  void* ndata; /* the browser's */
  const char* url;
  uint32_t end; /* length in bytes, 0 when unknown */
  uint32_t lastmodified;
  void* notifyData;    /* what the plug-in passed to the request, if it asked for this stream */
  const char* headers; /* raw response headers, or null */
} NPStream;

typedef struct _NPByteRange {
  int32_t offset;
  uint32_t length;
  struct _NPByteRange* next;
} NPByteRange;

typedef struct _NPSavedData {
  int32_t len;
  void* buf;
} NPSavedData;

typedef struct _NPFullPrint {
  NPBool pluginPrinted;
  NPBool printOne;
  void* platformPrint;
} NPFullPrint;

typedef struct _NPEmbedPrint {
  NPWindow window;
  void* platformPrint;
} NPEmbedPrint;

typedef struct _NPPrint {
  uint16_t mode; /* NP_FULL or NP_EMBED */
  union {
    NPFullPrint fullPrint;
    NPEmbedPrint embedPrint;
  } print;
} NPPrint;

/* ---- Scripting: identifiers, strings, variants, objects ---------------------------------------------- */

/* An interned name or integer, made and owned by the browser; equal names give equal identifiers. */
typedef void* NPIdentifier;

typedef struct _NPString {
  const NPUTF8* UTF8Characters; /* not terminated inside the variant: the length is the length */
  uint32_t UTF8Length;          /* in bytes */
} NPString;

typedef enum {
  NPVariantType_Void = 0,
  NPVariantType_Null = 1,
  NPVariantType_Bool = 2,
  NPVariantType_Int32 = 3,
  NPVariantType_Double = 4,
  NPVariantType_String = 5,
  NPVariantType_Object = 6
} NPVariantType;

typedef struct _NPObject NPObject;
typedef struct _NPClass NPClass;

typedef struct _NPVariant {
  NPVariantType type;
  union {
    bool boolValue;
    int32_t intValue;
    double doubleValue;
    NPString stringValue;
    NPObject* objectValue;
  } value;
} NPVariant;

/* Every scriptable object starts with this record; the browser counts its references. */
struct _NPObject {
  NPClass* _class;
  uint32_t referenceCount;
};

typedef NPObject* (*NPAllocateFunctionPtr)(NPP npp, NPClass* aClass);
typedef void (*NPDeallocateFunctionPtr)(NPObject* npobj);
typedef void (*NPInvalidateFunctionPtr)(NPObject* npobj);
typedef bool (*NPHasMethodFunctionPtr)(NPObject* npobj, NPIdentifier name);
typedef bool (*NPInvokeFunctionPtr)(NPObject* npobj, NPIdentifier name, const NPVariant* args, uint32_t argCount,
                                    NPVariant* result);
typedef bool (*NPInvokeDefaultFunctionPtr)(NPObject* npobj, const NPVariant* args, uint32_t argCount,
                                           NPVariant* result);
typedef bool (*NPHasPropertyFunctionPtr)(NPObject* npobj, NPIdentifier name);
typedef bool (*NPGetPropertyFunctionPtr)(NPObject* npobj, NPIdentifier name, NPVariant* result);
typedef bool (*NPSetPropertyFunctionPtr)(NPObject* npobj, NPIdentifier name, const NPVariant* value);
typedef bool (*NPRemovePropertyFunctionPtr)(NPObject* npobj, NPIdentifier name);
typedef bool (*NPEnumerationFunctionPtr)(NPObject* npobj, NPIdentifier** value, uint32_t* count);
typedef bool (*NPConstructFunctionPtr)(NPObject* npobj, const NPVariant* args, uint32_t argCount, NPVariant* result);

/* Class versions: 1 has everything up to removeProperty, 2 adds enumerate, 3 adds construct. */
enum { NP_CLASS_STRUCT_VERSION = 3, NP_CLASS_STRUCT_VERSION_ENUM = 2, NP_CLASS_STRUCT_VERSION_CTOR = 3 };

struct _NPClass {
  uint32_t structVersion;
  NPAllocateFunctionPtr allocate;     /* null: the browser allocates a bare NPObject */
  NPDeallocateFunctionPtr deallocate; /* null: the browser frees it */
  NPInvalidateFunctionPtr invalidate;
  NPHasMethodFunctionPtr hasMethod;
  NPInvokeFunctionPtr invoke;
  NPInvokeDefaultFunctionPtr invokeDefault;
  NPHasPropertyFunctionPtr hasProperty;
  NPGetPropertyFunctionPtr getProperty;
  NPSetPropertyFunctionPtr setProperty;
  NPRemovePropertyFunctionPtr removeProperty;
  NPEnumerationFunctionPtr enumerate; /* structVersion >= 2 */
  NPConstructFunctionPtr construct;   /* structVersion >= 3 */
};

/* Variant helpers. The writers fill both fields; a String made this way does not own its text unless the
   text came from the browser's allocator (NPN_MemAlloc), which every String handed to the other side must. */
#define NPVARIANT_IS_VOID(v) ((v).type == NPVariantType_Void)
#define NPVARIANT_IS_NULL(v) ((v).type == NPVariantType_Null)
#define NPVARIANT_IS_BOOLEAN(v) ((v).type == NPVariantType_Bool)
#define NPVARIANT_IS_INT32(v) ((v).type == NPVariantType_Int32)
#define NPVARIANT_IS_DOUBLE(v) ((v).type == NPVariantType_Double)
#define NPVARIANT_IS_STRING(v) ((v).type == NPVariantType_String)
#define NPVARIANT_IS_OBJECT(v) ((v).type == NPVariantType_Object)

#define NPVARIANT_TO_BOOLEAN(v) ((v).value.boolValue)
#define NPVARIANT_TO_INT32(v) ((v).value.intValue)
#define NPVARIANT_TO_DOUBLE(v) ((v).value.doubleValue)
#define NPVARIANT_TO_STRING(v) ((v).value.stringValue)
#define NPVARIANT_TO_OBJECT(v) ((v).value.objectValue)

#define VOID_TO_NPVARIANT(v) ((void)((v).type = NPVariantType_Void, (v).value.objectValue = NULL))
#define NULL_TO_NPVARIANT(v) ((void)((v).type = NPVariantType_Null, (v).value.objectValue = NULL))
#define BOOLEAN_TO_NPVARIANT(val, v) ((void)((v).type = NPVariantType_Bool, (v).value.boolValue = !!(val)))
#define INT32_TO_NPVARIANT(val, v) ((void)((v).type = NPVariantType_Int32, (v).value.intValue = (val)))
#define DOUBLE_TO_NPVARIANT(val, v) ((void)((v).type = NPVariantType_Double, (v).value.doubleValue = (val)))
#define STRINGN_TO_NPVARIANT(chars, len, v)                                                \
  ((void)((v).type = NPVariantType_String, (v).value.stringValue.UTF8Characters = (chars), \
          (v).value.stringValue.UTF8Length = (uint32_t)(len)))
#define OBJECT_TO_NPVARIANT(obj, v) ((void)((v).type = NPVariantType_Object, (v).value.objectValue = (obj)))

/* ---- The plug-in's function table (NPP_*) ------------------------------------------------------------- */

typedef NPError (*NPP_NewProcPtr)(NPMIMEType pluginType, NPP instance, uint16_t mode, int16_t argc, char* argn[],
                                  char* argv[], NPSavedData* saved);
typedef NPError (*NPP_DestroyProcPtr)(NPP instance, NPSavedData** save);
typedef NPError (*NPP_SetWindowProcPtr)(NPP instance, NPWindow* window);
typedef NPError (*NPP_NewStreamProcPtr)(NPP instance, NPMIMEType type, NPStream* stream, NPBool seekable,
                                        uint16_t* stype);
typedef NPError (*NPP_DestroyStreamProcPtr)(NPP instance, NPStream* stream, NPReason reason);
typedef void (*NPP_StreamAsFileProcPtr)(NPP instance, NPStream* stream, const char* fname);
typedef int32_t (*NPP_WriteReadyProcPtr)(NPP instance, NPStream* stream);
typedef int32_t (*NPP_WriteProcPtr)(NPP instance, NPStream* stream, int32_t offset, int32_t len, void* buffer);
typedef void (*NPP_PrintProcPtr)(NPP instance, NPPrint* platformPrint);
typedef int16_t (*NPP_HandleEventProcPtr)(NPP instance, void* event);
typedef void (*NPP_URLNotifyProcPtr)(NPP instance, const char* url, NPReason reason, void* notifyData);
typedef NPError (*NPP_GetValueProcPtr)(NPP instance, NPPVariable variable, void* value);
typedef NPError (*NPP_SetValueProcPtr)(NPP instance, NPNVariable variable, void* value);
typedef NPBool (*NPP_GotFocusProcPtr)(NPP instance, int direction);
typedef void (*NPP_LostFocusProcPtr)(NPP instance);

typedef struct _NPPluginFuncs {
  uint16_t size;    /* set by the browser: sizeof its table */
  uint16_t version; /* set by the browser */
  NPP_NewProcPtr newp;
  NPP_DestroyProcPtr destroy;
  NPP_SetWindowProcPtr setwindow;
  NPP_NewStreamProcPtr newstream;
  NPP_DestroyStreamProcPtr destroystream;
  NPP_StreamAsFileProcPtr asfile;
  NPP_WriteReadyProcPtr writeready;
  NPP_WriteProcPtr write;
  NPP_PrintProcPtr print;
  NPP_HandleEventProcPtr event;
  NPP_URLNotifyProcPtr urlnotify;
  void* javaClass; /* unused; the browser's value is left alone */
  NPP_GetValueProcPtr getvalue;
  NPP_SetValueProcPtr setvalue;
  NPP_GotFocusProcPtr gotfocus; /* later entries a plug-in may leave as the browser set them */
  NPP_LostFocusProcPtr lostfocus;
} NPPluginFuncs;

/* ---- The browser's function table (NPN_*) ------------------------------------------------------------ */

typedef NPError (*NPN_GetURLProcPtr)(NPP instance, const char* url, const char* window);
typedef NPError (*NPN_PostURLProcPtr)(NPP instance, const char* url, const char* window, uint32_t len, const char* buf,
                                      NPBool file);
typedef NPError (*NPN_RequestReadProcPtr)(NPStream* stream, NPByteRange* rangeList);
typedef NPError (*NPN_NewStreamProcPtr)(NPP instance, NPMIMEType type, const char* window, NPStream** stream);
typedef int32_t (*NPN_WriteProcPtr)(NPP instance, NPStream* stream, int32_t len, void* buffer);
typedef NPError (*NPN_DestroyStreamProcPtr)(NPP instance, NPStream* stream, NPReason reason);
typedef void (*NPN_StatusProcPtr)(NPP instance, const char* message);
typedef const char* (*NPN_UserAgentProcPtr)(NPP instance);
typedef void* (*NPN_MemAllocProcPtr)(uint32_t size);
typedef void (*NPN_MemFreeProcPtr)(void* ptr);
typedef uint32_t (*NPN_MemFlushProcPtr)(uint32_t size);
typedef void (*NPN_ReloadPluginsProcPtr)(NPBool reloadPages);
typedef NPError (*NPN_GetURLNotifyProcPtr)(NPP instance, const char* url, const char* window, void* notifyData);
typedef NPError (*NPN_PostURLNotifyProcPtr)(NPP instance, const char* url, const char* window, uint32_t len,
                                            const char* buf, NPBool file, void* notifyData);
typedef NPError (*NPN_GetValueProcPtr)(NPP instance, NPNVariable variable, void* value);
typedef NPError (*NPN_SetValueProcPtr)(NPP instance, NPPVariable variable, void* value);
typedef void (*NPN_InvalidateRectProcPtr)(NPP instance, NPRect* rect);
typedef void (*NPN_InvalidateRegionProcPtr)(NPP instance, NPRegion region);
typedef void (*NPN_ForceRedrawProcPtr)(NPP instance);
typedef NPIdentifier (*NPN_GetStringIdentifierProcPtr)(const NPUTF8* name);
typedef void (*NPN_GetStringIdentifiersProcPtr)(const NPUTF8** names, int32_t nameCount, NPIdentifier* identifiers);
typedef NPIdentifier (*NPN_GetIntIdentifierProcPtr)(int32_t intid);
typedef bool (*NPN_IdentifierIsStringProcPtr)(NPIdentifier identifier);
typedef NPUTF8* (*NPN_UTF8FromIdentifierProcPtr)(NPIdentifier identifier); /* caller frees with memfree */
typedef int32_t (*NPN_IntFromIdentifierProcPtr)(NPIdentifier identifier);
typedef NPObject* (*NPN_CreateObjectProcPtr)(NPP npp, NPClass* aClass);
typedef NPObject* (*NPN_RetainObjectProcPtr)(NPObject* obj);
typedef void (*NPN_ReleaseObjectProcPtr)(NPObject* obj);
typedef bool (*NPN_InvokeProcPtr)(NPP npp, NPObject* obj, NPIdentifier methodName, const NPVariant* args,
                                  uint32_t argCount, NPVariant* result);
typedef bool (*NPN_InvokeDefaultProcPtr)(NPP npp, NPObject* obj, const NPVariant* args, uint32_t argCount,
                                         NPVariant* result);
typedef bool (*NPN_EvaluateProcPtr)(NPP npp, NPObject* obj, NPString* script, NPVariant* result);
typedef bool (*NPN_GetPropertyProcPtr)(NPP npp, NPObject* obj, NPIdentifier propertyName, NPVariant* result);
typedef bool (*NPN_SetPropertyProcPtr)(NPP npp, NPObject* obj, NPIdentifier propertyName, const NPVariant* value);
typedef bool (*NPN_RemovePropertyProcPtr)(NPP npp, NPObject* obj, NPIdentifier propertyName);
typedef bool (*NPN_HasPropertyProcPtr)(NPP npp, NPObject* obj, NPIdentifier propertyName);
typedef bool (*NPN_HasMethodProcPtr)(NPP npp, NPObject* obj, NPIdentifier methodName);
typedef void (*NPN_ReleaseVariantValueProcPtr)(NPVariant* variant);
typedef void (*NPN_SetExceptionProcPtr)(NPObject* obj, const NPUTF8* message);
typedef void (*NPN_PushPopupsEnabledStateProcPtr)(NPP npp, NPBool enabled);
typedef void (*NPN_PopPopupsEnabledStateProcPtr)(NPP npp);
typedef bool (*NPN_EnumerateProcPtr)(NPP npp, NPObject* obj, NPIdentifier** identifier, uint32_t* count);
typedef void (*NPN_PluginThreadAsyncCallProcPtr)(NPP instance, void (*func)(void*), void* userData);
typedef bool (*NPN_ConstructProcPtr)(NPP npp, NPObject* obj, const NPVariant* args, uint32_t argCount,
                                     NPVariant* result);
typedef NPError (*NPN_GetValueForURLProcPtr)(NPP npp, NPNURLVariable variable, const char* url, char** value,
                                             uint32_t* len);
typedef NPError (*NPN_SetValueForURLProcPtr)(NPP npp, NPNURLVariable variable, const char* url, const char* value,
                                             uint32_t len);
typedef NPError (*NPN_GetAuthenticationInfoProcPtr)(NPP npp, const char* protocol, const char* host, int32_t port,
                                                    const char* scheme, const char* realm, char** username,
                                                    uint32_t* ulen, char** password, uint32_t* plen);
typedef uint32_t (*NPN_ScheduleTimerProcPtr)(NPP instance, uint32_t interval, NPBool repeat,
                                             void (*timerFunc)(NPP npp, uint32_t timerID));
typedef void (*NPN_UnscheduleTimerProcPtr)(NPP instance, uint32_t timerID);
/* Entries this system never calls and no browser of ours supplies; kept so the table has its full shape. */
typedef void (*NPN_UnusedProcPtr)(void);

typedef struct _NPNetscapeFuncs {
  uint16_t size;    /* sizeof the browser's table */
  uint16_t version; /* the browser's minor version: decides which conditional entries are there */
  NPN_GetURLProcPtr geturl;
  NPN_PostURLProcPtr posturl;
  NPN_RequestReadProcPtr requestread;
  NPN_NewStreamProcPtr newstream;
  NPN_WriteProcPtr write;
  NPN_DestroyStreamProcPtr destroystream;
  NPN_StatusProcPtr status;
  NPN_UserAgentProcPtr uagent;
  NPN_MemAllocProcPtr memalloc;
  NPN_MemFreeProcPtr memfree;
  NPN_MemFlushProcPtr memflush;
  NPN_ReloadPluginsProcPtr reloadplugins;
  NPN_UnusedProcPtr getJavaEnv;
  NPN_UnusedProcPtr getJavaPeer;
  NPN_GetURLNotifyProcPtr geturlnotify;
  NPN_PostURLNotifyProcPtr posturlnotify;
  NPN_GetValueProcPtr getvalue;
  NPN_SetValueProcPtr setvalue;
  NPN_InvalidateRectProcPtr invalidaterect;
  NPN_InvalidateRegionProcPtr invalidateregion;
  NPN_ForceRedrawProcPtr forceredraw;
  NPN_GetStringIdentifierProcPtr getstringidentifier;
  NPN_GetStringIdentifiersProcPtr getstringidentifiers;
  NPN_GetIntIdentifierProcPtr getintidentifier;
  NPN_IdentifierIsStringProcPtr identifierisstring;
  NPN_UTF8FromIdentifierProcPtr utf8fromidentifier;
  NPN_IntFromIdentifierProcPtr intfromidentifier;
  NPN_CreateObjectProcPtr createobject;
  NPN_RetainObjectProcPtr retainobject;
  NPN_ReleaseObjectProcPtr releaseobject;
  NPN_InvokeProcPtr invoke;
  NPN_InvokeDefaultProcPtr invokeDefault;
  NPN_EvaluateProcPtr evaluate;
  NPN_GetPropertyProcPtr getproperty;
  NPN_SetPropertyProcPtr setproperty;
  NPN_RemovePropertyProcPtr removeproperty;
  NPN_HasPropertyProcPtr hasproperty;
  NPN_HasMethodProcPtr hasmethod;
  NPN_ReleaseVariantValueProcPtr releasevariantvalue;
  NPN_SetExceptionProcPtr setexception;
  NPN_PushPopupsEnabledStateProcPtr pushpopupsenabledstate; /* version >= 16 */
  NPN_PopPopupsEnabledStateProcPtr poppopupsenabledstate;   /* version >= 16 */
  NPN_EnumerateProcPtr enumerate;                           /* version >= 18 */
  NPN_PluginThreadAsyncCallProcPtr pluginthreadasynccall;
  NPN_ConstructProcPtr construct;
  NPN_GetValueForURLProcPtr getvalueforurl;               /* version >= 21 */
  NPN_SetValueForURLProcPtr setvalueforurl;               /* version >= 21 */
  NPN_GetAuthenticationInfoProcPtr getauthenticationinfo; /* version >= 21 */
  NPN_ScheduleTimerProcPtr scheduletimer;                 /* version >= 23 */
  NPN_UnscheduleTimerProcPtr unscheduletimer;             /* version >= 23 */
  NPN_UnusedProcPtr popupcontextmenu;
  NPN_UnusedProcPtr convertpoint;
  NPN_UnusedProcPtr handleevent;
  NPN_UnusedProcPtr unfocusinstance;
  NPN_UnusedProcPtr urlredirectresponse;
  NPN_UnusedProcPtr initasyncsurface;
  NPN_UnusedProcPtr finalizeasyncsurface;
  NPN_UnusedProcPtr setcurrentasyncsurface;
} NPNetscapeFuncs;

/* ---- The three exports of a plug-in library ----------------------------------------------------------- */

/* Marks one of the plug-in's exported entry points: unmangled and visible despite hidden-by-default builds. */
#ifdef __cplusplus
#define NP_EXPORT(type) extern "C" __attribute__((visibility("default"))) type
#else
#define NP_EXPORT(type) __attribute__((visibility("default"))) type
#endif

typedef NPError (*NP_GetEntryPointsFunc)(NPPluginFuncs* pFuncs);
typedef NPError (*NP_InitializeFunc)(NPNetscapeFuncs* bFuncs);
typedef NPError (*NP_ShutdownFunc)(void);

#define NP_GETENTRYPOINTS_NAME "NP_GetEntryPoints"
#define NP_INITIALIZE_NAME "NP_Initialize"
#define NP_SHUTDOWN_NAME "NP_Shutdown"

#ifdef __cplusplus
}
#endif

#endif /* RVP_NPAPI_NPAPI_H */
