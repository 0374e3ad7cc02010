#pragma once

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

// Collects what is written to std::cout for one scope, as whole lines.
class CoutCapture {
public:
    CoutCapture() : previous(std::cout.rdbuf(captured.rdbuf())) {}
    ~CoutCapture() { std::cout.rdbuf(previous); }
    CoutCapture(const CoutCapture&) = delete;
    CoutCapture& operator=(const CoutCapture&) = delete;

    std::string text() const { return captured.str(); }

    std::vector<std::string> lines() const
    {
        std::vector<std::string> result;
        std::istringstream in(captured.str());
        for (std::string line; std::getline(in, line);)
            result.push_back(line);
        return result;
    }

private:
    std::ostringstream captured;
    std::streambuf* previous;
};
