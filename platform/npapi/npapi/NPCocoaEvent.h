/*
 * The event record a browser hands to NPP_HandleEvent under the Cocoa event model. Text fields are the
 * platform's string objects, kept opaque here.
 */
#ifndef RVP_NPAPI_NPCOCOAEVENT_H
#define RVP_NPAPI_NPCOCOAEVENT_H

#include "npapi/NPAPI.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum {
  NPCocoaEventDrawRect = 1,
  NPCocoaEventMouseDown = 2,
  NPCocoaEventMouseUp = 3,
  NPCocoaEventMouseMoved = 4,
  NPCocoaEventMouseEntered = 5,
  NPCocoaEventMouseExited = 6,
  NPCocoaEventMouseDragged = 7,
  NPCocoaEventKeyDown = 8,
  NPCocoaEventKeyUp = 9,
  NPCocoaEventFlagsChanged = 10,
  NPCocoaEventFocusChanged = 11,
  NPCocoaEventWindowFocusChanged = 12,
  NPCocoaEventScrollWheel = 13,
  NPCocoaEventTextInput = 14
} NPCocoaEventType;

typedef struct _NPCocoaEvent {
  NPCocoaEventType type;
  uint32_t version;
  union {
    struct {
      uint32_t modifierFlags;
      double pluginX;
      double pluginY;
      int32_t buttonNumber;
      int32_t clickCount;
      double deltaX;
      double deltaY;
      double deltaZ;
    } mouse;
    struct {
      uint32_t modifierFlags;
      void* characters;                  /* platform string */
      void* charactersIgnoringModifiers; /* platform string */
      NPBool isARepeat;
      uint16_t keyCode;
    } key;
    struct {
      void* context; /* graphics context */
      double x;
      double y;
      double width;
      double height;
    } draw;
    struct {
      NPBool hasFocus;
    } focus;
    struct {
      void* text; /* platform string */
    } text;
  } data;
} NPCocoaEvent;

#ifdef __cplusplus
}
#endif

#endif /* RVP_NPAPI_NPCOCOAEVENT_H */
