#include "ident/DefinitionFile.h"

#include "ident/ProcessorIdentity.h"
#include "ident/Vendor.h"
#include "platform/Format.h"

namespace veltrane::ident {

namespace {

constexpr int kIntelIndex = 2;
constexpr std::size_t kSteppingKeyLength = 7;

class LineReader {
public:
    explicit LineReader(std::istream* file) : file_(file) {}

    bool next(std::string& line) {
        if (file_ == nullptr || !std::getline(*file_, line)) {
            return false;
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        return true;
    }

    bool skipPast(const std::string& key) {
        std::string line;
        while (next(line)) {
            if (line == key) {
                return true;
            }
        }
        return false;
    }

private:
    std::istream* file_;
};

bool needsCacheSubKey(const std::string& section) {
    return section == "[2,0x65]" || section == "[2,0x67]" || section == "[2,0x68]";
}

void applyNotFoundNames(ProcessorDefinition& definition) {
    definition.manufacturer = "unknow";
    definition.processorName = "Unknow";
    definition.codename = "Unknow";
    definition.frequencyRange = "Unknow";
    definition.defaultVcore = "Unknow";
    definition.platform = "Unknow";
    definition.busType = "Unknow";
}

void readRecord(LineReader& lines, ProcessorDefinition& definition) {
    for (std::string* field :
         {&definition.manufacturer, &definition.processorName, &definition.codename,
          &definition.frequencyRange, &definition.defaultVcore, &definition.platform,
          &definition.busType}) {
        if (!lines.next(*field)) {
            field->clear();
        }
    }
}

std::string findStepMask(LineReader& lines, const std::string& steppingKey) {
    std::string line;
    while (lines.next(line)) {
        if (line.size() >= kSteppingKeyLength &&
            line.compare(0, kSteppingKeyLength, steppingKey) == 0) {
            const auto equals = line.find('=');
            return equals == std::string::npos ? line : line.substr(equals + 1);
        }
    }
    return "Unknow";
}

}  // namespace

DefinitionKeys definitionKeys(int vendorIndex, int family, int model, int stepping, int l2KB) {
    DefinitionKeys keys;
    keys.section = strprintf("[%d,0x%X%X]", vendorIndex, static_cast<unsigned>(family),
                             static_cast<unsigned>(model));
    keys.stepping = strprintf("%d,0x%X%X%X", vendorIndex, static_cast<unsigned>(family),
                              static_cast<unsigned>(model), static_cast<unsigned>(stepping));
    if (vendorIndex == kIntelIndex && needsCacheSubKey(keys.section)) {
        keys.cacheSubKey = strprintf("[%d]", l2KB);
    }
    return keys;
}

void loadProcessorDefinition(const ProcessorIdentity& identity, std::istream* file,
                             ProcessorDefinition& definition) {
    const int index = vendorIndex(identity.vendor);
    if (index == 0) {
        throw DefinitionError("Error: cannot resolve vendor string");
    }
    const auto keys =
        definitionKeys(index, identity.family, identity.model, identity.stepping, identity.l2KB);
    LineReader lines(file);
    if (!lines.skipPast(keys.section)) {
        applyNotFoundNames(definition);
        definition.stepMask = findStepMask(lines, keys.stepping);
        return;
    }
    if (!keys.cacheSubKey.empty() && !lines.skipPast(keys.cacheSubKey)) {
        // The section is known but not this cache size: the step mask keeps its value.
        applyNotFoundNames(definition);
        return;
    }
    readRecord(lines, definition);
    definition.stepMask = findStepMask(lines, keys.stepping);
}

void describeUnlistedProcessor(const std::string& brandString, ProcessorDefinition& definition) {
    applyNotFoundNames(definition);
    definition.stepMask = "Unknow";
    if (!brandString.empty()) {
        definition.processorName = brandString;
    }
}

}  // namespace veltrane::ident
