// The lemmatizer's own exception: a message text, raised for dictionary load errors.
#pragma once

#include <exception>
#include <string>

namespace kestrova {

class CExpc : public std::exception {
public:
    explicit CExpc(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

}  // namespace kestrova
