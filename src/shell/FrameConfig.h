#pragma once

// kWarningTitle, kRunFirstWarning and kHelpFile, shared with the main form.
#include "shellcore/BenchmarkFormModel.h"

namespace veltrane::shell {

inline constexpr const char* kVersionText = "Veltrane Beta3 Version 1.0";
inline constexpr const char* kProductName = "Veltrane";

// "Go to Ostrelo web syte..." opens this address; the build may set another.
#ifdef VELTRANE_MAKER_WEB_SITE
inline constexpr const char* kMakerWebSite = VELTRANE_MAKER_WEB_SITE;
#else
inline constexpr const char* kMakerWebSite = "https://ostrelo.example/";
#endif

inline constexpr const char* kErrorTitle = "Veltrane Error";

// "Save this result" asks for the machine's name under this title and question.
inline constexpr const char* kSaveResultTitle = "Save this result";
inline constexpr const char* kMachineNameQuestion =
    "The name of this machine in the comparison lists:";

}  // namespace veltrane::shell
