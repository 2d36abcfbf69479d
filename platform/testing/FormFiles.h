// The check that a module's windows read back as their form files. A test
// program also carries the form resources of the libraries it links, whose
// classes it does not register; those are their own modules' to check, so the
// check keeps to the windows it is given.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace testing_support {

// Names and Problems are what the module's FormResourceNames and
// FormResourceMismatches report.
inline void ExpectOwnFormsReadBack(const std::vector<std::string> &Own,
                                   const std::vector<std::string> &Names,
                                   std::vector<std::string> Problems) {
  for (const std::string &name : Own)
    EXPECT_NE(std::find(Names.begin(), Names.end(), name), Names.end()) << name;
  std::erase_if(Problems, [&](const std::string &p) {
    return std::none_of(Own.begin(), Own.end(), [&](const std::string &n) {
      return p.rfind(n + ":", 0) == 0;
    });
  });
  EXPECT_EQ(Problems, std::vector<std::string>{});
}

} // namespace testing_support
