#pragma once

// What the fake PlotCore.vlk saw, read by the tests through its exported fakeEngineState().

#include <cstdint>
#include <string>
#include <vector>

class DrivFlex;
class ServidorMonitores;

struct FakeEngineState {
    int selectorCalls = 0;
    int listCalls = 0;
    ServidorMonitores* server = nullptr;
    DrivFlex* source = nullptr;
    std::vector<std::vector<std::int32_t>> selection;
    // When set, the next factory call raises the host's exception with these fields.
    bool raise = false;
    std::string title, message, context;
    int code = 0;
    // Graph windows each factory call shows through the server.
    int windowsToShow = 0;
};

extern "C" {
typedef FakeEngineState* (*FakeEngineStateFn)();
}
