/*
 * The platform's 2D graphics context, as the browser hands it to a plug-in with each draw event: user
 * space has its origin at the top-left and y growing downwards. Text is placed through a text matrix in
 * the platform's convention (glyphs upright for the matrix 1, 0, 0, -1 in such a context).
 * Here the context draws into an image, which can be read back pixel by pixel or written as PNG.
 *
 * A context belongs to one thread at a time.
 */
#ifndef RVP_MAC_GRAPHICSCONTEXT_H
#define RVP_MAC_GRAPHICSCONTEXT_H

#include <stddef.h>
#include <stdint.h>

#include "mac/PlatformString.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct RvpGraphicsContext RvpGraphicsContext;

/* A context over a new transparent image of the given size (each side 1 to 16384), or null. */
RVP_MAC_API RvpGraphicsContext* rvp_gc_create(int width, int height);
RVP_MAC_API void rvp_gc_destroy(RvpGraphicsContext* context);

RVP_MAC_API void rvp_gc_save_state(RvpGraphicsContext* context);
RVP_MAC_API void rvp_gc_restore_state(RvpGraphicsContext* context);
RVP_MAC_API void rvp_gc_set_fill_color(RvpGraphicsContext* context, double r, double g, double b, double a);
RVP_MAC_API void rvp_gc_set_stroke_color(RvpGraphicsContext* context, double r, double g, double b, double a);
RVP_MAC_API void rvp_gc_fill_rect(RvpGraphicsContext* context, double x, double y, double width, double height);
RVP_MAC_API void rvp_gc_set_text_matrix(RvpGraphicsContext* context, double a, double b, double c, double d, double tx,
                                        double ty);
RVP_MAC_API void rvp_gc_select_font(RvpGraphicsContext* context, const char* family, double size);
/* Draws length bytes of text (ASCII) with its baseline starting at (x, y), in the fill colour. */
RVP_MAC_API void rvp_gc_show_text_at_point(RvpGraphicsContext* context, double x, double y, const char* text,
                                           size_t length);

/* The pixel at (x, y) as 0xAARRGGBB (premultiplied); 0 outside the image. */
RVP_MAC_API uint32_t rvp_gc_pixel(const RvpGraphicsContext* context, int x, int y);
/* Number of drawing calls (fills and texts) made so far. */
RVP_MAC_API size_t rvp_gc_draw_count(const RvpGraphicsContext* context);
/* Copies the text of the latest text drawn, zero-terminated, into buf when it fits (cap counts the
   terminator); returns its length either way (0 before any). */
RVP_MAC_API size_t rvp_gc_last_text(const RvpGraphicsContext* context, char* buf, size_t cap);
/* Returns 0, or -1 when the file cannot be written. */
RVP_MAC_API int rvp_gc_write_png(const RvpGraphicsContext* context, const char* path);

#ifdef __cplusplus
}
#endif

#endif /* RVP_MAC_GRAPHICSCONTEXT_H */
