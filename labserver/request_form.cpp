#include "labserver/request_form.h"

namespace labserver {

namespace {

// Limits for everything but the file: the client's fields are short names and numbers.
constexpr std::size_t kFieldLimit = 64 * 1024;
constexpr std::size_t kFieldCountLimit = 256;
constexpr std::size_t kUrlEncodedLimit = 1024 * 1024;

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

void addField(RequestForm& form, std::string name, std::string value) {
    if (form.fields.size() >= kFieldCountLimit) {
        form.problem = "too many fields";
        return;
    }
    form.fields.emplace(std::move(name), std::move(value));
}

void parseUrlEncoded(std::string_view body, RequestForm& form) {
    while (!body.empty()) {
        const auto amp = body.find('&');
        const std::string_view pair = body.substr(0, amp);
        body = amp == std::string_view::npos ? std::string_view() : body.substr(amp + 1);
        if (pair.empty())
            continue;
        const auto equals = pair.find('=');
        addField(
            form, decodeFormComponent(pair.substr(0, equals)),
            equals == std::string_view::npos ? std::string() : decodeFormComponent(pair.substr(equals + 1)));
    }
}

// Collects the parts of a multipart body as they stream in.
class MultipartCollector {
  public:
    MultipartCollector(RequestForm& form, const std::filesystem::path& incomingFolder,
                       std::string_view fileField, const std::function<bool(const RequestForm&)>& keepFile)
        : form_(form), incomingFolder_(incomingFolder), fileField_(fileField), keepFile_(keepFile) {}

    bool beginPart(const httplib::MultipartFormData& part) {
        endPart();
        inFile_ = part.name == fileField_;
        if (!inFile_) {
            name_ = part.name;
            value_.clear();
            inField_ = true;
            return true;
        }
        if (form_.hadFile) {
            form_.problem = "more than one file";
            return true;
        }
        form_.hadFile = true;
        if (keepFile_(form_)) {
            form_.file = std::make_unique<ReceivedFile>(incomingFolder_);
            if (!form_.file->isOpen())
                form_.problem = "the file could not be created";
        }
        return true;
    }

    bool content(const char* data, std::size_t size) {
        if (inFile_) {
            if (form_.file && form_.problem.empty() && !form_.file->append(data, size))
                form_.problem = "the file could not be written";
        } else if (inField_) {
            if (value_.size() + size > kFieldLimit)
                form_.problem = "a field is too long";
            else
                value_.append(data, size);
        }
        return true;
    }

    void endPart() {
        if (inField_)
            addField(form_, std::move(name_), std::move(value_));
        if (inFile_ && form_.file && form_.problem.empty() && !form_.file->finish())
            form_.problem = "the file could not be written";
        inField_ = false;
        inFile_ = false;
    }

  private:
    RequestForm& form_;
    const std::filesystem::path& incomingFolder_;
    std::string_view fileField_;
    const std::function<bool(const RequestForm&)>& keepFile_;
    std::string name_;
    std::string value_;
    bool inField_ = false;
    bool inFile_ = false;
};

}  // namespace

std::string_view RequestForm::value(std::string_view name) const {
    const auto found = fields.find(name);
    return found == fields.end() ? std::string_view() : std::string_view(found->second);
}

std::string decodeFormComponent(std::string_view encoded) {
    std::string decoded;
    decoded.reserve(encoded.size());
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c == '+') {
            decoded += ' ';
        } else if (c == '%' && i + 2 < encoded.size() && hexValue(encoded[i + 1]) >= 0 &&
                   hexValue(encoded[i + 2]) >= 0) {
            decoded += static_cast<char>(hexValue(encoded[i + 1]) * 16 + hexValue(encoded[i + 2]));
            i += 2;
        } else {
            decoded += c;
        }
    }
    return decoded;
}

bool readForm(const httplib::Request& request, const httplib::ContentReader& reader,
              const std::filesystem::path& incomingFolder, std::string_view fileField,
              const std::function<bool(const RequestForm&)>& keepFile, RequestForm& form) {
    if (request.is_multipart_form_data()) {
        MultipartCollector collector(form, incomingFolder, fileField, keepFile);
        const bool read =
            reader([&](const httplib::MultipartFormData& part) { return collector.beginPart(part); },
                   [&](const char* data, std::size_t size) { return collector.content(data, size); });
        collector.endPart();
        if (!read && form.file)
            form.file.reset();
        return read;
    }
    std::string body;
    const bool read = reader([&](const char* data, std::size_t size) {
        if (body.size() + size > kUrlEncodedLimit)
            form.problem = "the form is too long";
        else
            body.append(data, size);
        return true;
    });
    if (read && form.problem.empty())
        parseUrlEncoded(body, form);
    return read;
}

}  // namespace labserver
