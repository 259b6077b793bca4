// veltrane-cli for tests: VELTRANE_LOOP_DAMAGE_UNIT=N damages the result of
// loop unit N (from 0), so a test sees the failure reported and counted;
// VELTRANE_DAMAGE_CHECK=T damages what test T (1 to 7) checks after its
// timed interval, so a test sees the figure marked invalid.
#include <cstdlib>
#include <iostream>
#include <string>

#include "cli/App.h"
#include "cli/LoopCommand.h"
#include "engine/SelfCheck.h"

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
    if (const char* text = std::getenv("VELTRANE_DAMAGE_CHECK")) {
        const std::string test(text);
        if (test.size() != 1 || test[0] < '1' || test[0] > '7') {
            std::cerr << "VELTRANE_DAMAGE_CHECK takes a test number from 1 to 7\n";
            return 2;
        }
        veltrane::engine::setDamagedCheck(test[0] - '0');
    }
    return veltrane::cli::runApp(argc, argv, std::cout, std::cerr);
}
