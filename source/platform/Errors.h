// Exceptions of the program: a message that reaches the user unchanged.
#pragma once
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }
    // The name of the most derived class, as the user sees it in a default error report.
    virtual const char* ClassName() const { return "Exception"; }

private:
    std::string message_;
};

// A failed system call: the message ends with the system's error code in decimal.
class EOSError : public Exception {
public:
    EOSError(std::string message, unsigned long code) : Exception(std::move(message)), ErrorCode(code) {}
    const char* ClassName() const override { return "EOSError"; }
    unsigned long ErrorCode;
};

class EIniFileException : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "EIniFileException"; }
};

class ERegistryException : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "ERegistryException"; }
};

// Raises EOSError with `prefix` followed by GetLastError() in decimal ("Error creating process : 2").
[[noreturn]] void RaiseLastOSError(const std::string& prefix);

// The system's text for an error code (without its closing line break); empty when it has none.
std::string SysErrorMessage(unsigned long code);
