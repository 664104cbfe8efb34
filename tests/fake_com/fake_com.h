// A fake COM library with a fake shell link object, linked into tests in place of the layer's
// com_library.cpp. It records every call, fails the calls it is told to, and counts references.
#ifndef ORVO_TESTS_FAKE_COM_H
#define ORVO_TESTS_FAKE_COM_H

#include <string>
#include <vector>

#include "platform/platform.h"

// What each call returns. Tests set it in-process; the program built on the fake reads it from the
// environment variable ORVO_FAKE_COM ("CoInitialize=0x80004005,Save=0x80070003"), and then also
// writes each call to standard error as "<call>".
struct FakeComScript {
    HRESULT coInitialize = S_OK;
    HRESULT coCreateInstance = S_OK;
    HRESULT queryInterface = S_OK;
    HRESULT setters = S_OK; // SetPath, SetDescription and SetIconLocation
    HRESULT save = S_OK;
};

extern FakeComScript gFakeComScript;

// Forgets the calls and references so far and sets the script back to all successes.
void ResetFakeCom();

// The calls so far, in order, e.g. "IShellLinkA::SetPath(C:\\Orvo\\recorder.bat)".
const std::vector<std::string> &FakeComCalls();

// References handed out and not yet released, over both interfaces.
int FakeComOutstandingReferences();

#endif
