#pragma once

#include <string>
#include <string_view>

namespace veltrane::platform {

// What a path given for an output names, once its symbolic links are followed.
enum class OutputKind {
    File,            // a regular file, or none yet: replaced as a whole
    Stream,          // a character device or a FIFO: written straight through
    StandardStream,  // /dev/stdout, /dev/stderr and their /dev/fd names
    Refused,         // a folder, a block device, a socket, an unwritable place
};

struct OutputTarget {
    OutputKind kind = OutputKind::Refused;
    std::string path;     // the file at the end of the links
    int descriptor = -1;  // for a standard stream: 1 or 2
    std::string problem;  // why it is refused
};

// Looks at `path` without writing anything, so a front end can refuse an
// output before a run instead of finding out after it.
OutputTarget resolveOutputTarget(const std::string& path);

// True when the output is written straight into something that exists (a
// device, a FIFO, a standard stream) rather than into a file of its own.
bool isStreamOutput(const std::string& path);

// Writes `content` to what `path` names. A file is written through a short
// temporary name in its own folder and renamed over the target, so a failed
// write or a signal never leaves a half-written file or a stray temporary one.
// Returns an empty string on success, else what went wrong.
[[nodiscard]] std::string writeOutputFile(const std::string& path, std::string_view content);

}  // namespace veltrane::platform
