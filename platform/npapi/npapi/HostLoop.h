/*
 * The host's main loop, as the plug-in and the dialogs see it. It stands where the platform's main run loop
 * would: one shared library, so the browser process and the plug-in it loads use the very same queues.
 *
 * Main-thread performs: any thread posts a plain function and its data; the loop owner (the browser) runs
 * them later, on its main thread, in posting order, once each. The browser drains the queue on every turn of
 * its loop, and a modal session may drain it too while it waits.
 *
 * Scripted-user steps: a page (through the browser) queues lines of text describing what the user does next
 * in a dialog ("click okButton", "digit 7", ...); whoever runs modal dialogs takes them in order.
 *
 * Every function is safe to call from any thread, and from inside a function being run.
 */
#ifndef RVP_NPAPI_HOSTLOOP_H
#define RVP_NPAPI_HOSTLOOP_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define RVP_HOSTLOOP_API __attribute__((visibility("default")))

typedef void (*RvpMainThreadFunc)(void* data);

/* Queue fn(data) to run once, later, on the main thread. Returns 0 when queued, -1 when fn is null. */
RVP_HOSTLOOP_API int rvp_hostloop_post(RvpMainThreadFunc fn, void* data);

/* Main thread only: run queued calls, including those queued meanwhile, until none is left.
   Returns how many ran. A call that posts again is run in the same drain. */
RVP_HOSTLOOP_API size_t rvp_hostloop_drain(void);

/* Number of calls waiting. */
RVP_HOSTLOOP_API size_t rvp_hostloop_pending(void);

/* Forget every queued call without running it (the browser's shut-down). Returns how many were dropped. */
RVP_HOSTLOOP_API size_t rvp_hostloop_discard(void);

/* The host's clock and timers. The loop owner (the browser) keeps the clock, in microseconds since it
   started, and fires the timers that fall due as it moves the clock on; anyone may read the clock and set
   or cancel timers. A repeating timer whose firings were missed (the clock jumped past several) fires
   once and goes on from its next date after now. */
typedef void (*RvpTimerFunc)(void* data);

/* The clock, in microseconds. */
RVP_HOSTLOOP_API unsigned long long rvp_hostloop_now_us(void);
/* Loop owner only: moves the clock to a time; an earlier time leaves it where it is. */
RVP_HOSTLOOP_API void rvp_hostloop_set_now_us(unsigned long long now);

/* A timer that runs fn(data) interval_us after now (then every interval_us when repeat is not 0).
   Returns its id (never 0), or 0 when fn is null or a repeating interval is 0. */
RVP_HOSTLOOP_API unsigned rvp_hostloop_timer_add(unsigned long long interval_us, int repeat, RvpTimerFunc fn,
                                                 void* data);
/* Cancels a timer; 0 when it was set, -1 when no such timer is set. A timer may cancel itself. */
RVP_HOSTLOOP_API int rvp_hostloop_timer_cancel(unsigned id);
/* Number of timers set. */
RVP_HOSTLOOP_API size_t rvp_hostloop_timer_count(void);
/* The earliest due time of the timers set; returns 0 and leaves *due alone when none is set. */
RVP_HOSTLOOP_API int rvp_hostloop_timer_next_due(unsigned long long* due);
/* Loop owner only: fires the earliest timer due at or before now, if any; returns 1 when one fired. */
RVP_HOSTLOOP_API int rvp_hostloop_timer_fire_next(void);
/* Forget every timer without running it (the browser's shut-down); returns how many were dropped. */
RVP_HOSTLOOP_API size_t rvp_hostloop_timer_discard(void);

/* Scripted user: append one step (a line of text; copied). Returns 0, or -1 for a null or empty step. */
RVP_HOSTLOOP_API int rvp_hostloop_user_push(const char* step);

/* Take the oldest step. Copies it, zero-terminated, into buf when it fits (cap includes the terminator) and
   removes it; returns its length. Returns 0 when no step is queued. When the step does not fit, nothing is
   removed and the return value is the length needed (so call again with a buffer of at least that + 1). */
RVP_HOSTLOOP_API size_t rvp_hostloop_user_take(char* buf, size_t cap);

/* Number of scripted-user steps waiting. */
RVP_HOSTLOOP_API size_t rvp_hostloop_user_pending(void);

/* Drop every waiting scripted-user step; returns how many were dropped. */
RVP_HOSTLOOP_API size_t rvp_hostloop_user_clear(void);

/* The consumer of the steps (the dialog toolkit's scripted user inside the plug-in) may listen: fn(context) is
   called on the pushing thread after every step pushed, without any lock held. Null fn removes it. */
typedef void (*RvpUserStepListener)(void* context);
RVP_HOSTLOOP_API void rvp_hostloop_user_set_listener(RvpUserStepListener fn, void* context);

/* The consumer may also listen for the end of the page run: the loop owner calls rvp_hostloop_user_end_page
   when the page has run and before it takes the reports, and fn(context) then reports every step the
   consumer still holds as never taken and drops it. Null fn removes it. */
typedef void (*RvpUserEndListener)(void* context);
RVP_HOSTLOOP_API void rvp_hostloop_user_set_end_listener(RvpUserEndListener fn, void* context);
RVP_HOSTLOOP_API void rvp_hostloop_user_end_page(void);

/* The consumer reports a step that failed or was never taken; the loop owner (the browser) takes the
   reports, with the same contract as rvp_hostloop_user_take, and counts them as page errors. */
RVP_HOSTLOOP_API int rvp_hostloop_user_report(const char* failure);
RVP_HOSTLOOP_API size_t rvp_hostloop_user_take_report(char* buf, size_t cap);

#ifdef __cplusplus
}
#endif

#endif /* RVP_NPAPI_HOSTLOOP_H */
