#pragma once

#include <istream>
#include <stdexcept>
#include <string>

#include "ident/ProcessorFacts.h"

namespace veltrane::ident {

class ProcessorIdentity;

// A definition lookup that cannot even start; the text is for the user.
class DefinitionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct DefinitionKeys {
    std::string section;      // "[1,0x64]"
    std::string stepping;     // "1,0x642"
    std::string cacheSubKey;  // "[128]", only for the three Intel sections that need it
};

DefinitionKeys definitionKeys(int vendorIndex, int family, int model, int stepping, int l2KB);

// Fills `definition` from cpudef.dat text. A null `file` (the file could not
// be opened) reads as an empty file. Throws DefinitionError for a vendor the
// file cannot name, leaving `definition` untouched.
void loadProcessorDefinition(const ProcessorIdentity& identity, std::istream* file,
                             ProcessorDefinition& definition);

// For processors newer than the file's keys: the not-found texts, with the
// processor's own brand string as its name.
void describeUnlistedProcessor(const std::string& brandString, ProcessorDefinition& definition);

}  // namespace veltrane::ident
