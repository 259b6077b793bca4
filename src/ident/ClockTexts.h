#pragma once

#include <string>

namespace veltrane::ident {

// The estimated performance rating is shown for one processor only.
bool ratingApplies(const std::string& vendor, int family, int model);
// "( XP%d+ estimated )" from 1.2 rating points per MHz.
std::string ratingText(float clockMHz);

// The main form's CPU Frequency text.
std::string mainFormFrequencyText(float clockMHz, const std::string& ratingText,
                                  bool ratedProcessor);
// "%1.1f MHz", as the extended CPU page shows it.
std::string pageFrequencyText(float clockMHz);

}  // namespace veltrane::ident
