// The fields of a request body: URL-encoded, or multipart with one file streamed to the disk.
#pragma once

#include <httplib.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "labserver/durable_files.h"

namespace labserver {

struct RequestForm {
    // The first value of each field name, as decoded bytes (cp1250 from the client).
    std::map<std::string, std::string, std::less<>> fields;
    // The file part, complete and flushed to the disk; null when none was kept.
    std::unique_ptr<ReceivedFile> file;
    // The body had a file part (kept or not).
    bool hadFile = false;
    // Why the body is not a form the server takes (too many or too long fields, two files, a file
    // that could not be written); empty when it is.
    std::string problem;

    bool has(std::string_view name) const { return fields.find(name) != fields.end(); }
    // The field's value; empty when it is missing.
    std::string_view value(std::string_view name) const;
};

// Decodes one name or value of a URL-encoded form: '+' is a blank, "%HH" a byte; a '%' not followed
// by two hexadecimal digits stands for itself.
std::string decodeFormComponent(std::string_view encoded);

// Fills `form` from the body of `request`. A multipart body's part named `fileField` is written to a
// ReceivedFile in `incomingFolder` when `keepFile`, asked with the fields read before that part,
// agrees; otherwise its bytes are read and dropped. The whole body is always read, so that the reply
// reaches a client that is still sending. False when the body could not be read (the connection
// broke, or it exceeds the server's limit); the form is then incomplete.
bool readForm(const httplib::Request& request, const httplib::ContentReader& reader,
              const std::filesystem::path& incomingFolder, std::string_view fileField,
              const std::function<bool(const RequestForm&)>& keepFile, RequestForm& form);

}  // namespace labserver
