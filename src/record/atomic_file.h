#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace gm {

// A file that appears under its name only once it is complete: the bytes go
// to a temporary beside it, which commit() renames into place and which is
// removed on every other path (an error, an interruption, an exception).
// A name that is a device or a pipe is written directly, since renaming over
// it would replace the device instead of writing to it; a name that is a
// symbolic link has the file it points to replaced, and the link kept.
class AtomicFile {
public:
    explicit AtomicFile(std::string name); // throws std::runtime_error
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void write(const void* data, std::size_t size); // throws std::runtime_error
    void write(std::string_view text) { write(text.data(), text.size()); }
    void commit(); // throws std::runtime_error; the temporary is gone either way
    void discard();

private:
    void flush();
    [[noreturn]] void fail(const std::string& what);

    std::string name_; // as the user gave it, for messages
    std::string path_; // where the file is made: the name, or the file its link points to
    std::string temporary_; // empty when writing directly
    int fd_ = -1;
    std::string buffer_;
};

} // namespace gm
