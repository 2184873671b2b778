// Where report text goes as it is produced: sections too large to build in
// memory first are written straight through.
#pragma once

#include <cstddef>
#include <string>

namespace vesktool {

class TextSink {
public:
    virtual void write(const char* data, size_t size) = 0;
    void write(const std::string& text) { write(text.data(), text.size()); }

protected:
    ~TextSink() = default;
};

}  // namespace vesktool
