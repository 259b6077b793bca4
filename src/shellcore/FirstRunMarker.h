#pragma once

#include <filesystem>

namespace veltrane::shell {

// The "FirstRun" marker: while it is there, the next start shows the
// first-run notes, and that start removes it.
class FirstRunMarker {
public:
    // No marker: the notes are never due.
    FirstRunMarker() = default;

    // A marker file placed beside the program (or anywhere a test likes).
    static FirstRunMarker file(std::filesystem::path path);
    // Per-user state: a user's first start counts as a marker, and so does
    // a "FirstRun" file placed in the folder later.
    static FirstRunMarker perUser(std::filesystem::path stateFolder);
    // Beside the program in a build tree; once installed, per user under
    // $XDG_STATE_HOME/veltrane (default ~/.local/state/veltrane).
    static FirstRunMarker forProgram();

    // True when the marker was there; it is gone afterwards.
    bool consume() const;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    bool perUser_ = false;
};

}  // namespace veltrane::shell
