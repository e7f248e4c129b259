// The application object: runs the one dialog modally and lets the program end when it closes.
// Each platform's entry point constructs one in static storage and calls InitInstance.
#pragma once

namespace zembra {

class PracticeApp {
public:
    // Constructs the dialog, runs it modally and destroys it; returns false, so no message loop
    // runs afterwards and the program ends.
    bool InitInstance();
};

}  // namespace zembra
