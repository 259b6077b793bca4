#pragma once

#include <string>
#include <vector>

namespace veltrane::cli {

// The examples and explanations under each command's option list.
std::string programFooter();
std::string infoFooter();
std::string runFooter();
std::string loopFooter();
std::string historyFooter();

// "unknown command 'foo': the commands are info, run, ..." for a word given
// where a command belongs.
std::string unknownCommandText(const std::string& word, const std::vector<std::string>& commands);

// The first word on the command line that stands where the command belongs
// and is none of `commands`, or empty. `valueOptions` take the next word.
std::string unknownCommandWord(int argc, const char* const* argv,
                               const std::vector<std::string>& commands,
                               const std::vector<std::string>& valueOptions);

}  // namespace veltrane::cli
