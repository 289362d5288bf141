/*
 * The platform's animation layers, as far as a plug-in uses them: reference-counted layers with a frame,
 * a hidden flag, an optional background colour, sublayers, and text layers that show a string in a
 * foreground colour. The browser shows a plug-in's layer tree; here it renders it to a PNG file.
 *
 * A ledger holds a record of every layer not yet freed: a layer whose last reference is released is
 * freed with its record (its sublayers are released), so a browser that makes and drops layers for
 * ever holds only the ones alive. A layer pointer is looked up in the ledger before it is followed: a
 * release of a freed layer is counted as an over-release instead of touching freed memory, and
 * everything else done to it is ignored (as on the platform, a later layer may get the same address).
 *
 * One lock guards every layer; functions are safe from any thread.
 */
#ifndef RVP_MAC_LAYER_H
#define RVP_MAC_LAYER_H

#include <stddef.h>

#include "mac/PlatformString.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct RvpLayer RvpLayer;

/* Autoresizing mask bits. */
#define RVP_LAYER_WIDTH_SIZABLE 2u
#define RVP_LAYER_HEIGHT_SIZABLE 16u

/* A new plain layer or text layer, with one reference for the caller. */
RVP_MAC_API RvpLayer* rvp_layer_create(void);
RVP_MAC_API RvpLayer* rvp_layer_create_text(void);

RVP_MAC_API RvpLayer* rvp_layer_retain(RvpLayer* layer);
RVP_MAC_API void rvp_layer_release(RvpLayer* layer);
/* References held on the layer; 0 once it is freed (or for null). */
RVP_MAC_API long rvp_layer_retain_count(const RvpLayer* layer);

/* Geometry, in the superlayer's coordinates (origin top-left, y down). Setting the frame resizes the
   sublayers whose autoresizing mask makes them follow their superlayer's width or height. */
RVP_MAC_API void rvp_layer_set_frame(RvpLayer* layer, double x, double y, double width, double height);
RVP_MAC_API void rvp_layer_get_frame(const RvpLayer* layer, double* x, double* y, double* width, double* height);
RVP_MAC_API void rvp_layer_set_autoresizing_mask(RvpLayer* layer, unsigned mask);
RVP_MAC_API unsigned rvp_layer_autoresizing_mask(const RvpLayer* layer);
RVP_MAC_API void rvp_layer_set_needs_display_on_bounds_change(RvpLayer* layer, int needs);
RVP_MAC_API int rvp_layer_needs_display_on_bounds_change(const RvpLayer* layer);
RVP_MAC_API void rvp_layer_set_hidden(RvpLayer* layer, int hidden);
RVP_MAC_API int rvp_layer_is_hidden(const RvpLayer* layer);
RVP_MAC_API void rvp_layer_set_background_color(RvpLayer* layer, double r, double g, double b, double a);

/* Text layers: the string (UTF-8, copied), its font size and its colour. */
RVP_MAC_API void rvp_layer_set_string(RvpLayer* layer, const char* utf8);
/* Copies the string, zero-terminated, into buf when it fits (cap counts the terminator); returns its
   length either way (0 for a layer without text). */
RVP_MAC_API size_t rvp_layer_string(const RvpLayer* layer, char* buf, size_t cap);
RVP_MAC_API void rvp_layer_set_font_size(RvpLayer* layer, double size);
RVP_MAC_API void rvp_layer_set_foreground_color(RvpLayer* layer, double r, double g, double b, double a);
RVP_MAC_API int rvp_layer_is_text(const RvpLayer* layer);

/* The tree. Adding retains the sublayer (taking it from any earlier superlayer first) and puts it on
   top; removing releases it. The accessors give no reference. */
RVP_MAC_API void rvp_layer_add_sublayer(RvpLayer* layer, RvpLayer* sublayer);
RVP_MAC_API void rvp_layer_remove_from_superlayer(RvpLayer* layer);
RVP_MAC_API size_t rvp_layer_sublayer_count(const RvpLayer* layer);
RVP_MAC_API RvpLayer* rvp_layer_sublayer_at(const RvpLayer* layer, size_t index);
RVP_MAC_API RvpLayer* rvp_layer_superlayer(const RvpLayer* layer);

/* Draws the visible tree (the layer at the origin, its frame's size unless width and height are positive)
   onto a transparent image and writes it as PNG. Returns 0, or -1 when the layer is null or freed or the
   file cannot be written. */
RVP_MAC_API int rvp_layer_render_png(const RvpLayer* layer, const char* path, int width, int height);

/* The ledger: layers made, layers alive (made and not freed), records held (one per layer not yet freed:
   the memory the layers take), releases of freed layers. Reset zeroes the over-releases and starts the
   count made again from the layers alive. */
RVP_MAC_API size_t rvp_layer_ledger_created(void);
RVP_MAC_API size_t rvp_layer_ledger_live(void);
RVP_MAC_API size_t rvp_layer_ledger_records(void);
RVP_MAC_API size_t rvp_layer_ledger_over_releases(void);
RVP_MAC_API void rvp_layer_ledger_reset(void);

#ifdef __cplusplus
}
#endif

#endif /* RVP_MAC_LAYER_H */
