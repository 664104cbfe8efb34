// The trace switch and the trace output that it turns on.
#include "trace.h"

#include <stdarg.h>
#include <stdio.h>

#ifndef ORVO_TRACE
#define ORVO_TRACE 0
#endif

int gTrace = ORVO_TRACE;

int Trace(const char *format, ...)
{
    if (gTrace) {
        va_list arguments;
        va_start(arguments, format);
        vprintf(format, arguments);
        va_end(arguments);
    }
    return 0;
}
