// Why a mode or remote code file was refused, and the sentence that says so
// in either language. The windows and the command-line tool show the same
// sentences; the command-line tool asks for English unless told otherwise.
#pragma once

#include <cstdint>
#include <string>

namespace sonoria {

enum class FileRefusalReason {
    CannotOpen,      // path, systemError
    NotRegularFile,  // a folder, a device, a named pipe
    Empty,
    CannotRead,      // path, systemError
    ModeTooShort,    // size, bound (the least), layoutVersion
    ModeTooLong,     // size, bound (the most)
    ModeVersion4,
    RemoteTooLong,   // size, bound (the most)
};
inline constexpr int kFileRefusalReasonCount = 8;

struct FileRefusal {
    FileRefusalReason reason = FileRefusalReason::CannotOpen;
    std::string path;            // empty: the file is named "the file"
    int systemError = 0;         // errno of a failed open or read
    std::uint64_t size = 0;      // the file's size on disk
    std::uint64_t bound = 0;     // the size the file fell short of or went past
    int layoutVersion = 0;       // the layout a short mode file claims; 0 without header
};

// The largest file of a kind, and the reason a larger one is refused with.
struct FileSizeLimit {
    std::uint64_t maxBytes;
    FileRefusalReason tooLong;
};

// The refusal as a sentence in `language` (state/Language.h: 0 Chinese,
// anything else English). System error texts are the system's own.
std::string FileRefusalText(const FileRefusal& refusal, int language);

// Puts the refusal's sentence, in the current language, into `error` when
// given; returns false, so that a reader can `return Refuse(error, ...)`.
bool Refuse(std::string* error, const FileRefusal& refusal);

}  // namespace sonoria
