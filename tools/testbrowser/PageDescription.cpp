#include "testbrowser/PageDescription.h"

#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

namespace testbrowser {

namespace {

struct Tag {
  std::string name;  // lower case; "/name" for a closing tag
  std::vector<std::pair<std::string, std::string>> attributes;
};

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

class Scanner {
 public:
  explicit Scanner(const std::string& text) : text_(text) {}

  // Advances to the next tag; false at the end.
  bool nextTag(Tag& tag) {
    for (;;) {
      size_t open = text_.find('<', pos_);
      if (open == std::string::npos) return false;
      pos_ = open;
      if (text_.compare(pos_, 4, "<!--") == 0) {
        size_t end = text_.find("-->", pos_ + 4);
        if (end == std::string::npos) throw PageDescriptionError("unterminated comment");
        pos_ = end + 3;
        continue;
      }
      ++pos_;
      tag = Tag();
      tag.name = lower(word());
      if (tag.name.empty()) throw PageDescriptionError("malformed tag at offset " + std::to_string(open));
      for (;;) {
        skipSpace();
        if (pos_ >= text_.size()) throw PageDescriptionError("unterminated tag <" + tag.name + ">");
        if (text_[pos_] == '>') {
          ++pos_;
          return true;
        }
        if (text_[pos_] == '/') {
          ++pos_;
          continue;
        }
        std::string name = lower(word());
        if (name.empty()) throw PageDescriptionError("malformed attribute in <" + tag.name + ">");
        std::string value;
        skipSpace();
        if (pos_ < text_.size() && text_[pos_] == '=') {
          ++pos_;
          skipSpace();
          value = attributeValue(tag.name);
        }
        tag.attributes.emplace_back(name, value);
      }
    }
  }

  // The raw text up to the closing tag of the given name, which is consumed.
  std::string rawUntilClose(const std::string& name) {
    std::string close = "</" + name;
    size_t end = lower(text_).find(close, pos_);
    if (end == std::string::npos) throw PageDescriptionError("missing " + close + ">");
    std::string body = text_.substr(pos_, end - pos_);
    size_t gt = text_.find('>', end);
    pos_ = gt == std::string::npos ? text_.size() : gt + 1;
    return body;
  }

 private:
  void skipSpace() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  std::string word() {
    size_t start = pos_;
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (std::isspace(static_cast<unsigned char>(c)) || c == '>' || c == '=' || (c == '/' && pos_ > start)) break;
      ++pos_;
    }
    return text_.substr(start, pos_ - start);
  }
  std::string attributeValue(const std::string& tagName) {
    if (pos_ < text_.size() && (text_[pos_] == '"' || text_[pos_] == '\'')) {
      char quote = text_[pos_++];
      size_t end = text_.find(quote, pos_);
      if (end == std::string::npos) throw PageDescriptionError("unterminated value in <" + tagName + ">");
      std::string value = text_.substr(pos_, end - pos_);
      pos_ = end + 1;
      return value;
    }
    size_t start = pos_;
    while (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_])) && text_[pos_] != '>') ++pos_;
    return text_.substr(start, pos_ - start);
  }

  const std::string& text_;
  size_t pos_ = 0;
};

bool truth(const std::string& value) {
  std::string v = lower(value);
  if (v == "yes" || v == "true" || v == "1" || v.empty()) return true;
  if (v == "no" || v == "false" || v == "0") return false;
  throw PageDescriptionError("not a yes/no value: " + value);
}

int number(const std::string& value) {
  try {
    size_t used = 0;
    int n = std::stoi(value, &used);
    if (used == value.size()) return n;
  } catch (const std::exception&) {
  }
  throw PageDescriptionError("not a number: " + value);
}

void applyBrowser(const Tag& tag, BrowserCapabilities& caps) {
  for (const auto& a : tag.attributes) {
    if (a.first == "coregraphics")
      caps.coreGraphics = truth(a.second);
    else if (a.first == "coreanimation")
      caps.coreAnimation = truth(a.second);
    else if (a.first == "invalidatingcoreanimation")
      caps.invalidatingCoreAnimation = truth(a.second);
    else if (a.first == "cocoa")
      caps.cocoaEvents = truth(a.second);
    else if (a.first == "layerretain")
      caps.layerRetained = a.second == "unknown" ? -1 : (truth(a.second) ? 1 : 0);
    else if (a.first == "version")
      caps.tableVersion = number(a.second);
    else
      throw PageDescriptionError("unknown <browser> attribute: " + a.first);
  }
}

EmbedDescription embedFrom(const Tag& tag) {
  EmbedDescription embed;
  for (const auto& a : tag.attributes) {
    if (a.first == "id") embed.id = a.second;
    if (a.first == "type") embed.mimeType = a.second;
    embed.params.push_back(a);
  }
  return embed;
}

}  // namespace

PageDescription parsePageDescription(const std::string& text, const std::string& baseDir) {
  PageDescription page;
  page.baseDir = baseDir;
  Scanner scanner(text);
  Tag tag;
  EmbedDescription* openObject = nullptr;
  int inlineCount = 0;
  while (scanner.nextTag(tag)) {
    if (tag.name == "page") {
      for (const auto& a : tag.attributes)
        if (a.first == "location") page.location = a.second;
    } else if (tag.name == "browser") {
      applyBrowser(tag, page.browser);
    } else if (tag.name == "network") {
      try {
        for (const auto& a : tag.attributes) setNetworkKnob(page.network, a.first, a.second);
      } catch (const NetworkKnobError& e) {
        throw PageDescriptionError(e.what());
      }
    } else if (tag.name == "embed") {
      page.embeds.push_back(embedFrom(tag));
      page.embeds.back().scriptsBefore = page.scripts.size();
    } else if (tag.name == "object") {
      page.embeds.push_back(embedFrom(tag));
      page.embeds.back().scriptsBefore = page.scripts.size();
      openObject = &page.embeds.back();
    } else if (tag.name == "/object") {
      openObject = nullptr;
    } else if (tag.name == "param") {
      if (!openObject) throw PageDescriptionError("<param> outside <object>");
      std::string name, value;
      for (const auto& a : tag.attributes) {
        if (a.first == "name") name = a.second;
        if (a.first == "value") value = a.second;
      }
      openObject->params.emplace_back(name, value);
    } else if (tag.name == "script") {
      std::string src;
      for (const auto& a : tag.attributes)
        if (a.first == "src") src = a.second;
      std::string body = scanner.rawUntilClose("script");
      if (!src.empty()) {
        std::string path = (!src.empty() && src[0] == '/') || baseDir.empty() ? src : baseDir + "/" + src;
        page.scripts.push_back(PageScriptSource{path, readTextFile(path)});
      } else {
        page.scripts.push_back(PageScriptSource{"inline script " + std::to_string(++inlineCount), body});
      }
    }
  }
  for (size_t i = 0; i < page.embeds.size(); ++i)
    if (page.embeds[i].id.empty()) page.embeds[i].id = i == 0 ? "plugin" : "plugin" + std::to_string(i + 1);
  return page;
}

std::string readTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw PageDescriptionError("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

PageDescription loadPageDescription(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
  return parsePageDescription(readTextFile(path), dir);
}

}  // namespace testbrowser
