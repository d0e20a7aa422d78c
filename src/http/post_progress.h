// A snapshot of a running post's progress, as httpformclientA::QueryProgress hands it out.
//
// A plain value; copying copies the texts. All counters are bytes or counts of the body being sent.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace Tarvo {

struct postprogressA {
    std::uint32_t active = 0;              // 1 while a post runs
    std::uint32_t totalBytes = 0;          // the whole body
    std::uint32_t postedBytes = 0;         // body bytes handed to the connection so far
    std::uint32_t totalContentBytes = 0;   // all values and file contents
    std::uint32_t postedContentBytes = 0;  // of those, sent so far
    std::uint32_t paramCount = 0;
    std::uint32_t paramsBegun = 0;
    std::uint32_t fileCount = 0;  // file parameters (0 in a form post)
    std::uint32_t filesBegun = 0;
    std::optional<std::string> currentName;  // the parameter being sent
    std::optional<std::string> currentFile;  // its path when it is a file parameter
    std::uint32_t currentLength = 0;         // its content length
    std::uint32_t currentPosted = 0;         // of which sent so far

    // The current parameter has sent all its content (an unbegun progress counts as finished).
    bool CurrentFinished() const { return currentPosted == currentLength; }

    bool operator==(const postprogressA&) const = default;
};

}  // namespace Tarvo
