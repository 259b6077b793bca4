#include "platform/Format.h"

#include <cstdarg>
#include <cstdio>

namespace veltrane {

std::string strprintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (needed > 0) {
        text.resize(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<std::size_t>(needed));
    }
    va_end(args);
    return text;
}

std::string_view trimmed(std::string_view text, std::string_view blanks) {
    const auto first = text.find_first_not_of(blanks);
    return first == std::string_view::npos ? std::string_view()
                                           : trimmedRight(text.substr(first), blanks);
}

std::string_view trimmedRight(std::string_view text, std::string_view blanks) {
    return text.substr(0, text.find_last_not_of(blanks) + 1);
}

std::string terminalText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\n' && c != '\t') || byte == 0x7F) {
            shown += strprintf("\\x%02X", byte);
        } else {
            shown += c;
        }
    }
    return shown;
}

std::string quotedExcerpt(std::string_view text, std::size_t maxLength) {
    const bool cut = text.size() > maxLength;
    return "\"" + terminalText(text.substr(0, maxLength)) + (cut ? "...\"" : "\"");
}

}  // namespace veltrane
