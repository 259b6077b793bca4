// Build-time tool: writes PCIDef.dat from the system's pci.ids.
//   GeneratePciDef OUTPUT [PCI_IDS]
// Without a readable pci.ids it writes an empty file and warns, so the
// program still builds and shows "Unknow" names.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "PciIdsConversion.h"

namespace {

bool readWhole(const char* path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return !in.bad();
}

bool writeWhole(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUTPUT [PCI_IDS]\n", argv[0]);
        return 2;
    }
    std::string pciIds;
    if (argc < 3 || !readWhole(argv[2], pciIds)) {
        std::fprintf(stderr, "warning: no readable pci.ids; writing an empty %s\n", argv[1]);
        pciIds.clear();
    }
    // Written beside the target first, so an interrupted build leaves no half file.
    const std::string temporary = std::string(argv[1]) + ".tmp";
    if (!writeWhole(temporary, veltrane::tools::pciDefFromPciIds(pciIds)) ||
        std::rename(temporary.c_str(), argv[1]) != 0) {
        std::fprintf(stderr, "error: cannot write %s\n", argv[1]);
        std::remove(temporary.c_str());
        return 1;
    }
    return 0;
}
