#include "model/xml_document.h"

#include "platform/codepage.h"

#include <string>

namespace kestrova {
namespace {

// Hands on what the document writer gives, every LF preceded by CR.
class CrLfWriter final : public pugi::xml_writer {
public:
    explicit CrLfWriter(const std::function<void(std::string_view)>& write) : write_(write) {}
    void write(const void* data, size_t size) override {
        const char* p = static_cast<const char*>(data);
        out_.clear();
        out_.reserve(size + size / 16);
        for (size_t i = 0; i < size; ++i) {
            if (p[i] == '\n') out_.push_back('\r');
            out_.push_back(p[i]);
        }
        write_(out_);
    }

private:
    const std::function<void(std::string_view)>& write_;
    std::string out_;
};

}  // namespace

void WriteXmlDocument(const pugi::xml_document& document,
                      const std::function<void(std::string_view)>& write) {
    CrLfWriter writer(write);
    document.save(writer, "\t", pugi::format_default | pugi::format_write_bom, pugi::encoding_utf8);
}

void SetXmlAttribute(pugi::xml_node element, const char* name, std::u16string_view value) {
    element.append_attribute(name).set_value(platform::Utf16ToUtf8(value).c_str());
}

}  // namespace kestrova
