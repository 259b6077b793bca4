// veltrane-cli for tests: VELTRANE_LOOP_DAMAGE_UNIT=N damages the result of
// loop unit N (from 0), so a test sees the failure reported and counted.
#include <cstdlib>
#include <iostream>
#include <string>

#include "cli/App.h"
#include "cli/LoopCommand.h"

int main(int argc, char** argv) {
    if (const char* text = std::getenv("VELTRANE_LOOP_DAMAGE_UNIT")) {
        const std::string unitText(text);
        if (unitText.empty() || unitText.find_first_not_of("0123456789") != std::string::npos) {
            std::cerr << "VELTRANE_LOOP_DAMAGE_UNIT takes a unit number\n";
            return 2;
        }
        const std::int64_t damaged = std::stoll(unitText);
        veltrane::cli::setLoopResultHook(
            [damaged](std::int64_t unit, veltrane::burnin::LoopMatrices& m) {
                if (unit == damaged) {
                    m.result[0][0] += 1;
                }
            });
    }
    return veltrane::cli::runApp(argc, argv, std::cout, std::cerr);
}
