#include "ident/OsInfo.h"

#include "ident/PciNames.h"
#include "platform/Format.h"

namespace veltrane::ident {

namespace {

std::string windowsFourName(std::int32_t minor) {
    switch (minor) {
        case 0:
            return "Microsoft Windows NT 4.0";
        case 10:
            return "Microsoft Windows 98";
        case 90:
            return "Microsoft Windows ME";
        default:
            return "MS Windows 4.0";
    }
}

std::string windowsFiveName(std::int32_t minor) {
    switch (minor) {
        case 0:
            return "Microsoft Windows 2000";
        case 1:
            return "Microsoft Windows XP";
        default:
            return {};
    }
}

std::string withoutLeadingBlank(const std::string& name) {
    return name.empty() || name.front() != ' ' ? name : name.substr(1);
}

// "Vendor Device" from the program's PCI names, else the driver's name.
std::string adapterDescription(const platform::DisplayAdapter& adapter, const PciNames& names) {
    if (adapter.vendorId != 0) {
        const PciNamePair pair = names.lookup(adapter.vendorId, adapter.deviceId);
        if (pair.vendorName != kPciUnknownName && pair.deviceName != kPciUnknownName) {
            return withoutLeadingBlank(pair.vendorName) + " " +
                   withoutLeadingBlank(pair.deviceName);
        }
    }
    return adapter.driver;
}

}  // namespace

OsInfo::OsInfo() : OsInfo(platform::nativeOsFactsSource()) {}

OsInfo::OsInfo(const platform::OsFactsSource& source) : OsInfo(platform::collectOsFacts(source)) {
    const auto names = source.readDataFile("PCIDef.dat");
    platform::DisplayAdapter adapter;
    adapter.driver = adapterDriver;
    adapter.vendorId = adapterVendorId;
    adapter.deviceId = adapterDeviceId;
    adapterDescription = ident::adapterDescription(adapter, PciNames::parse(names.value_or("")));
}

OsInfo::OsInfo(const platform::OsFacts& facts)
    : majorVersion(facts.kernel.major),
      minorVersion(facts.kernel.minor),
      buildNumber(facts.kernel.patch),
      osName(facts.distributionName),
      computerName(facts.hostName),
      userName(facts.userName),
      systemDirectory(facts.systemDirectory),
      bootMode(bootModeText(0)),
      windowsDirectory(facts.windowsDirectory),
      networkStatus(networkStatusText(facts.networkUp)),
      // No system-wide idle stand-by setting is readable without a desktop
      // session, so none is claimed.
      standbyMode(standbyModeText(false)),
      adapterDescription(facts.adapter.driver),
      adapterDriver(facts.adapter.driver),
      adapterVendorId(facts.adapter.vendorId),
      adapterDeviceId(facts.adapter.deviceId),
      adapterSubSysId(facts.adapter.subSysId),
      kernelName(facts.kernelName) {}

std::string windowsName(std::int32_t major, std::int32_t minor) {
    switch (major) {
        case 3:
            return "Microsoft Windows 95";
        case 4:
            return windowsFourName(minor);
        case 5:
            return windowsFiveName(minor);
        default:
            return "Next Generation Windows";
    }
}

std::string windowsRevisionText(std::int32_t major, std::int32_t minor, std::int32_t build) {
    std::string text = strprintf("Microsoft Windows version %d.%d", major, minor);
    if (major >= 5) {
        text = strprintf("%s.%d", text.c_str(), build);
    }
    return text;
}

std::string osRevisionText(const OsInfo& info) {
    if (info.kernelName.empty()) {
        return windowsRevisionText(info.majorVersion, info.minorVersion, info.buildNumber);
    }
    // A kernel always has three numbers, whatever its major version.
    return strprintf("%s version %d.%d.%d", info.kernelName.c_str(), info.majorVersion,
                     info.minorVersion, info.buildNumber);
}

std::string bootModeText(std::int32_t cleanBoot) {
    switch (cleanBoot) {
        case 0:
            return "Normal Boot";
        case 1:
            return "Fail Safe boot";
        case 2:
            return "Fail Safe with Network";
        default:
            return {};
    }
}

std::string networkStatusText(bool detected) {
    return detected ? "Detected" : "Not Detected";
}

std::string standbyModeText(bool active) {
    return active ? "Enabled" : "Disabled";
}

std::string standbyTimeoutText(std::int32_t seconds) {
    return seconds != 0 ? strprintf("%d minute(s)", seconds / 60) : "Standby Disabled";
}

std::string servicePackText(const std::string& servicePack) {
    return servicePack.empty() ? "None" : servicePack;
}

}  // namespace veltrane::ident
