// The browser's function table as handed to NP_Initialize.
#pragma once

#include "npapi/NPAPI.h"

namespace testbrowser {

extern const char* const kUserAgent;

// Every entry this browser offers (all but the ones the interface leaves unused), with the given version.
void fillBrowserFuncs(NPNetscapeFuncs& funcs, uint16_t version);

}  // namespace testbrowser
