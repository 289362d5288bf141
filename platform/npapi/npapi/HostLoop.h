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

/* The consumer reports a step that failed or was never taken; the loop owner (the browser) takes the
   reports, with the same contract as rvp_hostloop_user_take, and counts them as page errors. */
RVP_HOSTLOOP_API int rvp_hostloop_user_report(const char* failure);
RVP_HOSTLOOP_API size_t rvp_hostloop_user_take_report(char* buf, size_t cap);

#ifdef __cplusplus
}
#endif

#endif /* RVP_NPAPI_HOSTLOOP_H */
