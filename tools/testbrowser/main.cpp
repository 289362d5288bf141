// testbrowser: loads a plug-in library, embeds it in a page described by a small HTML-like file, runs the
// page's scripts on a virtual clock until nothing is left to do, and reports errors and leaks.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "testbrowser/Browser.h"

namespace {

const char* const kUsage =
    "usage: testbrowser --plugin LIBRARY [options] [PAGE]\n"
    "  PAGE                 page description (<page>, <browser>, <embed>, <object>/<param>, <script>)\n"
    "  --plugin LIBRARY     the plug-in to load (or the environment variable RVP_PLUGIN)\n"
    "  --embed MIMETYPE     embed one more instance of that type (id plugin, plugin2, ...)\n"
    "  --param NAME=VALUE   a tag parameter of the last embedded instance\n"
    "  --script FILE        run a script file after the page's own scripts\n"
    "  --location URL       the page's address\n"
    "  --time-limit MS      virtual time after which timers are dropped (default one day)\n"
    "  --quiet              print nothing but faults\n"
    "exit status: 0 clean; 1 script errors or plug-in misuse; 2 leaks; 3 both; 4 could not start\n";

int usage(const char* problem) {
  if (problem) std::fprintf(stderr, "testbrowser: %s\n", problem);
  std::fputs(kUsage, stderr);
  return 4;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace testbrowser;
  BrowserOptions options;
  if (const char* env = std::getenv("RVP_PLUGIN")) options.pluginPath = env;
  std::string pagePath, location;
  std::vector<EmbedDescription> embeds;
  std::vector<std::string> scripts;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](const char* name) -> const char* {
      if (i + 1 >= argc) return nullptr;
      (void)name;
      return argv[++i];
    };
    const char* v = nullptr;
    if (arg == "--help" || arg == "-h") return usage(nullptr);
    if (arg == "--quiet") {
      options.quiet = true;
    } else if (arg == "--plugin" || arg == "--embed" || arg == "--param" || arg == "--script" || arg == "--location" ||
               arg == "--time-limit") {
      if (!(v = value(arg.c_str()))) return usage(("missing value for " + arg).c_str());
      if (arg == "--plugin") options.pluginPath = v;
      if (arg == "--script") scripts.push_back(v);
      if (arg == "--location") location = v;
      if (arg == "--time-limit") options.timeLimitMs = std::strtoull(v, nullptr, 10);
      if (arg == "--embed") {
        EmbedDescription embed;
        embed.mimeType = v;
        embed.params.emplace_back("type", v);
        embeds.push_back(embed);
      }
      if (arg == "--param") {
        if (embeds.empty()) return usage("--param before any --embed");
        const char* eq = std::strchr(v, '=');
        if (!eq) return usage("--param needs NAME=VALUE");
        std::string name(v, eq - v);
        embeds.back().params.emplace_back(name, eq + 1);
        if (name == "id") embeds.back().id = eq + 1;
      }
    } else if (!arg.empty() && arg[0] == '-') {
      return usage(("unknown option " + arg).c_str());
    } else if (pagePath.empty()) {
      pagePath = arg;
    } else {
      return usage("more than one page");
    }
  }
  if (options.pluginPath.empty()) return usage("no plug-in given");
  PageDescription page;
  try {
    if (!pagePath.empty()) page = loadPageDescription(pagePath);
    if (!location.empty()) page.location = location;
    size_t base = page.embeds.size();
    for (size_t i = 0; i < embeds.size(); ++i) {
      if (embeds[i].id.empty()) embeds[i].id = base + i == 0 ? "plugin" : "plugin" + std::to_string(base + i + 1);
      embeds[i].scriptsBefore = page.scripts.size();  // after the page's own scripts, before --script files
      page.embeds.push_back(embeds[i]);
    }
    for (const std::string& path : scripts) page.scripts.push_back(PageScriptSource{path, readTextFile(path)});
  } catch (const std::exception& e) {
    std::fprintf(stderr, "testbrowser: %s\n", e.what());
    return 4;
  }
  // Kept to the end of the process: a plug-in's static destructors may still call browser functions.
  static Browser* browser = new Browser(std::move(page), options);
  return browser->run();
}
