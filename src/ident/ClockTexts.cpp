#include "ident/ClockTexts.h"

#include "ident/Vendor.h"
#include "platform/Format.h"

namespace veltrane::ident {

namespace {

constexpr double kRatingPerMHz = 1.2;

}  // namespace

bool ratingApplies(const std::string& vendor, int family, int model) {
    return family == 6 && model == 6 && vendor == kVendorAmd;
}

std::string ratingText(float clockMHz) {
    return strprintf("( XP%d+ estimated )", static_cast<int>(clockMHz * kRatingPerMHz));
}

std::string mainFormFrequencyText(float clockMHz, const std::string& ratingText,
                                  bool ratedProcessor) {
    const double mhz = clockMHz;
    if (ratedProcessor) {
        return strprintf("%1.2f MHz %s", mhz, ratingText.c_str());
    }
    if (clockMHz > 1000.0f) {
        return strprintf("%1.2f GHz  (%1.1f MHz)", clockMHz * 0.001, mhz);
    }
    return strprintf("%1.1f MHz", mhz);
}

std::string pageFrequencyText(float clockMHz) {
    return strprintf("%1.1f MHz", static_cast<double>(clockMHz));
}

}  // namespace veltrane::ident
