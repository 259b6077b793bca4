#pragma once

#include <string>

namespace veltrane {

// The program's texts are C printf formats ("%1.2f MHz", "%d KByte"); this
// keeps them as written and lets the compiler check the arguments.
[[gnu::format(printf, 1, 2)]] std::string strprintf(const char* format, ...);

}  // namespace veltrane
