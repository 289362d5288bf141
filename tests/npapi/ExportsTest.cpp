// The plug-in libraries export exactly the three entry points a browser looks for.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>

namespace {

std::set<std::string> exportedNames(const std::string& library) {
  std::set<std::string> names;
  FILE* pipe = popen(("nm -D --defined-only " + library).c_str(), "r");
  if (!pipe) return names;
  std::array<char, 512> line;
  while (fgets(line.data(), line.size(), pipe)) {
    std::istringstream fields(line.data());
    std::string address, kind, name;
    if (fields >> address >> kind >> name) names.insert(name);
  }
  pclose(pipe);
  return names;
}

TEST(Exports, ExactlyTheThreeEntryPoints) {
  const std::set<std::string> expected{"NP_GetEntryPoints", "NP_Initialize", "NP_Shutdown"};
  for (const char* library : {PLUGIN_LIBRARY, PAGED_PLUGIN_LIBRARY}) {
    SCOPED_TRACE(library);
    EXPECT_EQ(exportedNames(library), expected);
  }
}

}  // namespace
