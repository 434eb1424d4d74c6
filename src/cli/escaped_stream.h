#pragma once
// The tool's messages reach a terminal: text quoted from files (a CSV cell, a list label, a
// path) could hold control characters that move the cursor or retitle the window. Everything
// written to this stream goes on line by line with such characters shown as "\xNN".

#include <ostream>
#include <streambuf>
#include <string>

namespace vorlan::cli {

class EscapingBuffer : public std::streambuf {
public:
    explicit EscapingBuffer(std::ostream& sink) : sink_(sink) {}
    ~EscapingBuffer() override { sync(); }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    void emitLines();
    std::ostream& sink_;
    std::string pending_;
};

class EscapedStream : public std::ostream {
public:
    explicit EscapedStream(std::ostream& sink) : std::ostream(nullptr), buffer_(sink) {
        rdbuf(&buffer_);
    }
    ~EscapedStream() override { flush(); }

private:
    EscapingBuffer buffer_;
};

}  // namespace vorlan::cli
