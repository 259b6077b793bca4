#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace veltrane::ident {

// Leaf 1 EDX and leaf 0x80000001 EDX.
enum class FeatureWord { standard, extended };

// One feature bit and the key that names it in machine-readable output; the
// pages keep their own labels.
struct FeatureBit {
    FeatureWord word;
    int bit;
    std::string_view key;
};

namespace feature_bits {
using enum FeatureWord;
inline constexpr std::array<FeatureBit, 64> kAll{{
    {standard, 0, "fpu"},          {standard, 1, "vme"},          {standard, 2, "de"},
    {standard, 3, "pse"},          {standard, 4, "tsc"},          {standard, 5, "msr"},
    {standard, 6, "pae"},          {standard, 7, "mce"},          {standard, 8, "cx8"},
    {standard, 9, "apic"},         {standard, 10, "reserved_10"}, {standard, 11, "sep"},
    {standard, 12, "mtrr"},        {standard, 13, "pge"},         {standard, 14, "mca"},
    {standard, 15, "cmov"},        {standard, 16, "pat"},         {standard, 17, "pse36"},
    {standard, 18, "psn"},         {standard, 19, "clflush"},     {standard, 20, "reserved_20"},
    {standard, 21, "ds"},          {standard, 22, "acpi"},        {standard, 23, "mmx"},
    {standard, 24, "fxsr"},        {standard, 25, "sse"},         {standard, 26, "sse2"},
    {standard, 27, "ss"},          {standard, 28, "htt"},         {standard, 29, "tm"},
    {standard, 30, "ia64"},        {standard, 31, "pbe"},         {extended, 0, "fpu"},
    {extended, 1, "vme"},          {extended, 2, "de"},           {extended, 3, "pse"},
    {extended, 4, "tsc"},          {extended, 5, "msr"},          {extended, 6, "pae"},
    {extended, 7, "mce"},          {extended, 8, "cx8"},          {extended, 9, "apic"},
    {extended, 10, "reserved_10"}, {extended, 11, "syscall"},     {extended, 12, "mtrr"},
    {extended, 13, "pge"},         {extended, 14, "mca"},         {extended, 15, "cmov"},
    {extended, 16, "pat"},         {extended, 17, "pse36"},       {extended, 18, "reserved_18"},
    {extended, 19, "mp"},          {extended, 20, "nx"},          {extended, 21, "reserved_21"},
    {extended, 22, "mmxext"},      {extended, 23, "mmx"},         {extended, 24, "fxsr"},
    {extended, 25, "fxsr_opt"},    {extended, 26, "pdpe1gb"},     {extended, 27, "rdtscp"},
    {extended, 28, "reserved_28"}, {extended, 29, "lm"},          {extended, 30, "3dnowext"},
    {extended, 31, "3dnow"},
}};
}  // namespace feature_bits

// The entry of `key` in `word`; a key the table lacks does not compile.
consteval FeatureBit featureBit(FeatureWord word, std::string_view key) {
    for (const auto& feature : feature_bits::kAll) {
        if (feature.word == word && feature.key == key) {
            return feature;
        }
    }
    throw "no such feature bit";
}

// The keys of the bits set in `flags`, in bit order.
std::vector<std::string_view> supportedFeatures(FeatureWord word, std::uint32_t flags);

}  // namespace veltrane::ident
