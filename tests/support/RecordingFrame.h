#pragma once

// Qt-free, for the form's model tests as well as the window tests.
#include <functional>
#include <string>
#include <vector>

#include "shellcore/FrameRequests.h"
#include "support/FakeCpu.h"

namespace veltrane::shell::test {

// Stands in for the main frame: keeps every request and command in the order
// they came, one line each ("send 1030 3 255", "post command 57602"), and
// hands sent commands to onCommand when a test wants them acted on.
class RecordingFrame final : public FrameRequests {
public:
    void sendRequest(int request, std::intptr_t w, std::intptr_t l) override {
        record("send", request, w, l);
    }
    void postRequest(int request, std::intptr_t w, std::intptr_t l) override {
        record("post", request, w, l);
    }
    void sendCommand(int command) override {
        log.push_back("send command " + std::to_string(command));
        if (onCommand) {
            onCommand(command);
        }
    }
    void postCommand(int command) override {
        log.push_back("post command " + std::to_string(command));
    }
    const ident::MachineFacts& machineFacts() const override { return machine; }

    std::vector<std::string> log;
    ident::MachineFacts machine = veltrane::test::machineOfDump("pentium4-northwood", 2000.0f);
    std::function<void(int)> onCommand;

private:
    void record(const char* how, int request, std::intptr_t w, std::intptr_t l) {
        log.push_back(std::string(how) + " " + std::to_string(request) + " " + std::to_string(w) +
                      " " + std::to_string(l));
    }
};

}  // namespace veltrane::shell::test
