#include "platform/CpuidDump.h"

#include <charconv>
#include <vector>

#include "platform/Format.h"
#include "platform/TextFile.h"

namespace veltrane::platform {

namespace {

constexpr std::uint32_t kHighestProcessorCount = 4096;

std::vector<std::string_view> splitWords(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const auto start = line.find_first_not_of(" \t\r", pos);
        if (start == std::string_view::npos) {
            break;
        }
        const auto end = line.find_first_of(" \t\r", start);
        words.push_back(line.substr(start, end - start));
        pos = end;
    }
    return words;
}

template <typename Number = std::uint32_t>
std::optional<Number> parseNumber(std::string_view word, int base, std::size_t maxDigits) {
    if (word.empty() || word.size() > maxDigits) {
        return std::nullopt;
    }
    Number value = 0;
    const auto* end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), end, value, base);
    if (ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

[[noreturn]] void fail(std::size_t lineNumber, const std::string& what) {
    throw CpuidDumpError(strprintf("line %zu: %s", lineNumber, what.c_str()));
}

void parseProcessors(const std::vector<std::string_view>& words, std::size_t lineNumber,
                     CpuidDump& dump) {
    const auto count = words.size() == 2 ? parseNumber(words[1], 10, 4) : std::nullopt;
    if (!count || *count == 0 || *count > kHighestProcessorCount) {
        fail(lineNumber,
             strprintf("expected \"processors N\" with N from 1 to %u", kHighestProcessorCount));
    }
    if (dump.processors) {
        fail(lineNumber, "the processor count is given twice");
    }
    dump.processors = *count;
}

void parseXcr0(const std::vector<std::string_view>& words, std::size_t lineNumber,
               CpuidDump& dump) {
    const auto value =
        words.size() == 2 ? parseNumber<std::uint64_t>(words[1], 16, 16) : std::nullopt;
    if (!value) {
        fail(lineNumber, "expected \"xcr0 X\" with X a 64-bit hexadecimal number");
    }
    if (dump.xcr0) {
        fail(lineNumber, "xcr0 is given twice");
    }
    dump.xcr0 = *value;
}

void parseLeaf(const std::vector<std::string_view>& words, std::size_t lineNumber,
               CpuidDump& dump) {
    if (words.size() != 6) {
        fail(lineNumber, "expected six hexadecimal words: leaf subleaf eax ebx ecx edx");
    }
    std::uint32_t values[6];
    for (std::size_t i = 0; i < 6; ++i) {
        const auto value = parseNumber(words[i], 16, 8);
        if (!value) {
            fail(lineNumber, quotedExcerpt(words[i], 16) + " is not a 32-bit hexadecimal number");
        }
        values[i] = *value;
    }
    try {
        dump.add(values[0], values[1], {values[2], values[3], values[4], values[5]});
    } catch (const CpuidDumpError& error) {
        fail(lineNumber, error.what());
    }
}

}  // namespace

void CpuidDump::add(std::uint32_t leaf, std::uint32_t subleaf, CpuidRegisters registers) {
    if (!leaves_.emplace(CpuidKey{leaf, subleaf}, registers).second) {
        throw CpuidDumpError(strprintf("leaf %08x sub-leaf %08x is given twice", leaf, subleaf));
    }
}

std::optional<CpuidRegisters> CpuidDump::find(std::uint32_t leaf, std::uint32_t subleaf) const {
    const auto it = leaves_.find({leaf, subleaf});
    if (it == leaves_.end()) {
        return std::nullopt;
    }
    return it->second;
}

CpuidDump parseCpuidDump(std::string_view text) {
    CpuidDump dump;
    std::size_t lineNumber = 0;
    for (const auto line : splitLines(text)) {
        ++lineNumber;
        const auto words = splitWords(line);
        if (words.empty() || words[0].front() == '#') {
            continue;
        }
        if (words[0] == "processors") {
            parseProcessors(words, lineNumber, dump);
        } else if (words[0] == "xcr0") {
            parseXcr0(words, lineNumber, dump);
        } else {
            parseLeaf(words, lineNumber, dump);
        }
    }
    if (dump.leaves().empty()) {
        throw CpuidDumpError("no CPUID leaves in the dump");
    }
    return dump;
}

std::string formatCpuidDump(const CpuidDump& dump) {
    std::string text = "# Veltrane CPUID dump\n# leaf    subleaf  eax      ebx      ecx      edx\n";
    for (const auto& [key, r] : dump.leaves()) {
        text += strprintf("%08x %08x %08x %08x %08x %08x\n", key.leaf, key.subleaf, r.eax, r.ebx,
                          r.ecx, r.edx);
    }
    if (dump.xcr0) {
        text += strprintf("xcr0 %016llx\n", static_cast<unsigned long long>(*dump.xcr0));
    }
    if (dump.processors) {
        text += strprintf("processors %u\n", *dump.processors);
    }
    return text;
}

RecordedCpuProbe::RecordedCpuProbe(CpuidDump dump, Counter counter)
    : dump_(std::move(dump)), counter_(std::move(counter)) {}

CpuidRegisters RecordedCpuProbe::cpuid(std::uint32_t leaf, std::uint32_t subleaf) const {
    return dump_.find(leaf, subleaf).value_or(CpuidRegisters{});
}

std::uint64_t RecordedCpuProbe::readTimeStampCounter() const {
    return counter_ ? counter_() : nativeCpuProbe().readTimeStampCounter();
}

std::unique_ptr<RecordedCpuProbe> loadCpuidDumpFile(const std::string& path) {
    const auto text = readTextFile(path);
    if (!text.ok()) {
        throw CpuidDumpError(
            strprintf("cannot read CPUID dump %s: %s", path.c_str(), text.error.c_str()));
    }
    try {
        return std::make_unique<RecordedCpuProbe>(parseCpuidDump(text.content));
    } catch (const CpuidDumpError& error) {
        throw CpuidDumpError(strprintf("CPUID dump %s: %s", path.c_str(), error.what()));
    }
}

}  // namespace veltrane::platform
