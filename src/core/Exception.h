// The framework's exception, the message format it uses, and the ASCII
// case rules of names (component, class, property and file extension names
// compare without regard to ASCII case).
#pragma once

#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tsb {

// Message text of the framework's exceptions.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const char* what() const noexcept override { return FMessage.c_str(); }
    const std::string& Message() const { return FMessage; }

private:
    std::string FMessage;
};

// Formats a message with %s placeholders filled in order.
std::string FormatMessage(const std::string& format, std::initializer_list<std::string> args);

// Equal without regard to ASCII case.
bool SameText(std::string_view a, std::string_view b);
// A-Z turned into a-z; other bytes stay.
inline char LowerCaseAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string LowerCaseAscii(std::string_view text);

} // namespace tsb
