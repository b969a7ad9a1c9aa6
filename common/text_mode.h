// Text-mode line-end translation for the framework's text files:
// LF becomes CR LF on write, CR LF becomes LF on read.
#pragma once

#include <string>

std::string LfToCrLf(const std::string& text);
std::string CrLfToLf(const std::string& bytes);
