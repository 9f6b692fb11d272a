#pragma once

#include <exception>

// Raised when a window class cannot be registered; thrown by value and caught by reference.
class CResourceException : public std::exception {
public:
    const char* what() const noexcept override { return "A required resource was unavailable."; }
};

[[noreturn]] void AfxThrowResourceException();
