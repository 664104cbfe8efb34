// The trace switch and the trace output that it turns on.
#ifndef ORVO_SETUP_TRACE_H
#define ORVO_SETUP_TRACE_H

// Nonzero when trace output is on. Set when the program is built (the ORVO_TRACE option) and never
// changed while it runs.
extern int gTrace;

// Prints a message with printf's conversions when the trace switch is on; returns 0.
int Trace(const char *format, ...) __attribute__((format(printf, 1, 2)));

#endif
