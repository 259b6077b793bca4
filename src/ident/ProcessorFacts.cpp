#include "ident/ProcessorFacts.h"

#include <fstream>

#include "ident/TodaysNames.h"
#include "platform/DataFiles.h"

namespace veltrane::ident {

std::unique_ptr<std::istream> ProcessorFacts::openInstalledDefinitionFile() {
    const auto path = platform::findDataFile("cpudef.dat");
    if (!path) {
        return nullptr;
    }
    auto file = std::make_unique<std::ifstream>(*path);
    if (!*file) {
        return nullptr;
    }
    return file;
}

const ModelTable& ProcessorFacts::installedModelTableOnly() {
    return installedModelTable().table;
}

ProcessorFacts& processorFacts() {
    static ProcessorFacts facts;
    return facts;
}

}  // namespace veltrane::ident
