#include "escaped_stream.h"

#include "text/shown_text.h"

namespace vorlan::cli {

EscapingBuffer::int_type EscapingBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    pending_ += traits_type::to_char_type(c);
    if (c == '\n')
        emitLines();
    return c;
}

std::streamsize EscapingBuffer::xsputn(const char* text, std::streamsize count) {
    pending_.append(text, static_cast<std::size_t>(count));
    emitLines();
    return count;
}

int EscapingBuffer::sync() {
    emitLines();
    if (!pending_.empty()) {
        sink_ << escapeControls(pending_, true);
        pending_.clear();
    }
    sink_.flush();
    return 0;
}

// Whole lines only, so that a character is never cut in two between writes.
void EscapingBuffer::emitLines() {
    const std::size_t end = pending_.rfind('\n');
    if (end == std::string::npos)
        return;
    sink_ << escapeControls(std::string_view(pending_).substr(0, end + 1), true);
    pending_.erase(0, end + 1);
}

}  // namespace vorlan::cli
