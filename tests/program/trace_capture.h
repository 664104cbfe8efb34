// Runs a piece of the program with the trace switch set as given and returns what it printed.
#ifndef ORVO_TESTS_PROGRAM_TRACE_CAPTURE_H
#define ORVO_TESTS_PROGRAM_TRACE_CAPTURE_H

#include <gtest/gtest.h>

#include <stdio.h>

#include <string>

#include "setup/trace.h"

template <typename Step> std::string PrintedWithTrace(int trace, Step step)
{
    int saved = gTrace;
    gTrace = trace;
    ::testing::internal::CaptureStdout();
    step();
    fflush(stdout);
    gTrace = saved;
    return ::testing::internal::GetCapturedStdout();
}

#endif
