#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/FrameRequests.h"

namespace veltrane::test {

// Stands in for the main frame and keeps every request and command in the
// order they came, each as one line: "send 1030 3 255", "post command 57602".
class FormFakeFrame final : public shell::FrameRequests {
public:
    void sendRequest(int request, std::intptr_t wParam, std::intptr_t lParam) override {
        record("send", request, wParam, lParam);
    }
    void postRequest(int request, std::intptr_t wParam, std::intptr_t lParam) override {
        record("post", request, wParam, lParam);
    }
    void sendCommand(int command) override {
        log.push_back("send command " + std::to_string(command));
    }
    void postCommand(int command) override {
        log.push_back("post command " + std::to_string(command));
    }
    int processorCount() const override { return processors; }

    int processors = 1;
    std::vector<std::string> log;

private:
    void record(const char* how, int request, std::intptr_t wParam, std::intptr_t lParam) {
        log.push_back(std::string(how) + " " + std::to_string(request) + " " +
                      std::to_string(wParam) + " " + std::to_string(lParam));
    }
};

}  // namespace veltrane::test
