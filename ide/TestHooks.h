// What tests reach in the IDE besides its contract: the check of the IDE module's form
// resources, run by the module's own class library. Implementation in IdeWindows.cpp.
#pragma once

#include <string>
#include <vector>

namespace ide {

// The names of the IDE module's form resources.
std::vector<std::string> FormResourceNames();
// Makes the form of every form resource of the IDE module as a designer does (with the
// process's IDE), writes it back and reports each that differs from its form file; empty when
// every one is as its file.
std::vector<std::string> FormResourceMismatches();

} // namespace ide
