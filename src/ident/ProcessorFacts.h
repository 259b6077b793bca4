#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <string>

#include "ident/ModernModels.h"

namespace veltrane::ident {

// The names the definition file gives the processor; empty until loaded.
struct ProcessorDefinition {
    std::string manufacturer;
    std::string processorName;
    std::string codename;
    std::string frequencyRange;
    std::string defaultVcore;
    std::string platform;
    std::string busType;
    std::string stepMask;
};

// Process-wide processor facts that the identity writes once or on every
// construction. Tests construct their own instance.
struct ProcessorFacts {
    using DefinitionOpener = std::function<std::unique_ptr<std::istream>()>;

    ProcessorDefinition definition;
    bool definitionLoaded = false;
    std::string traceCacheText;
    // The message of a failed definition load, for the caller to show.
    std::string definitionError;
    // Opens the definition file; a null stream means it could not be opened.
    DefinitionOpener openDefinitionFile = openInstalledDefinitionFile;
    // Today's names, for the processors the definition file cannot key.
    std::function<const ModelTable&()> modelTable = installedModelTableOnly;

    static std::unique_ptr<std::istream> openInstalledDefinitionFile();
    static const ModelTable& installedModelTableOnly();
};

ProcessorFacts& processorFacts();

}  // namespace veltrane::ident
