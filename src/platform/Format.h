#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace veltrane {

// The program's texts are C printf formats ("%1.2f MHz", "%d KByte"); this
// keeps them as written and lets the compiler check the arguments.
[[gnu::format(printf, 1, 2)]] std::string strprintf(const char* format, ...);

// `text` without the given characters at its ends, or at its end only.
std::string_view trimmed(std::string_view text, std::string_view blanks = " ");
std::string_view trimmedRight(std::string_view text, std::string_view blanks = " ");

// Text for a terminal: control bytes other than line feed and tab (ESC, CR,
// BEL and the like) are shown as \xHH, so what a data file, a dump or a host
// name holds cannot move the cursor, recolour or clear the screen.
std::string terminalText(std::string_view text);

// At most `maxLength` characters of a quoted piece of input, with "..." when
// it was cut, shown as terminalText.
std::string quotedExcerpt(std::string_view text, std::size_t maxLength);

}  // namespace veltrane
