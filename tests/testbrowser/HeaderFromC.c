/* The interface header must stay plain C: a plug-in or browser written in C includes it too. */
#include <stddef.h>

#include "npapi/HostLoop.h"
#include "npapi/NPAPI.h"
#include "npapi/NPCocoaEvent.h"

/* Both tables start with their size and version, so either side can copy by version. */
_Static_assert(offsetof(NPNetscapeFuncs, size) == 0, "size first");
_Static_assert(offsetof(NPNetscapeFuncs, version) == 2, "version second");
_Static_assert(offsetof(NPPluginFuncs, version) == 2, "version second");
_Static_assert(sizeof(NPBool) == 1, "one byte");

int headerFromCVariantRoundTrip(int value) {
  NPVariant v;
  VOID_TO_NPVARIANT(v);
  if (!NPVARIANT_IS_VOID(v)) return -1;
  INT32_TO_NPVARIANT(value, v);
  return NPVARIANT_IS_INT32(v) ? NPVARIANT_TO_INT32(v) : -1;
}

/* The browser's table holds 58 entries after its size and version. */
_Static_assert(sizeof(NPNetscapeFuncs) == offsetof(NPNetscapeFuncs, geturl) + 58 * sizeof(void*), "58 entries");
