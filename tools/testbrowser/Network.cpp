#include "testbrowser/Network.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "testbrowser/Browser.h"
#include "testbrowser/HttpClient.h"

namespace testbrowser {

struct Network::Flow {
  uint64_t id = 0;
  NPP npp = nullptr;
  std::string url;  // absolute: what NPStream.url shows
  bool isFile = false;
  std::string path;
  HttpAddress http;
  std::string method = "GET";
  std::vector<std::pair<std::string, std::string>> postHeaders;
  std::string postBody;
  bool notify = false;
  void* notifyData = nullptr;

  std::string mime;
  std::string headers;
  std::string body;
  bool lengthKnown = false;
  uint64_t announced = 0;  // the length the response announced, even when less arrives
  bool seekable = false;
  bool broken = false;  // the body stops short: the stream ends with a network error

  NPStream record{};
  uint16_t stype = NP_NORMAL;
  enum class Phase { Fetch, Deliver, Ranges, End, Done } phase = Phase::Fetch;
  struct Block {
    uint32_t offset;
    std::string data;
  };
  std::deque<Block> blocks;
  NPReason reason = NPRES_DONE;
  bool opened = false;
  bool destroyed = false;
  bool notified = false;
  int stalls = 0;
};

namespace {

std::string mimeForPath(const std::string& path) {
  auto endsWith = [&](const char* ext) {
    std::string e(ext);
    return path.size() >= e.size() && path.compare(path.size() - e.size(), e.size(), e) == 0;
  };
  if (endsWith(".txt")) return "text/plain";
  if (endsWith(".html") || endsWith(".htm")) return "text/html";
  if (endsWith(".xml")) return "text/xml";
  return "application/octet-stream";
}

bool readFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  out = text.str();
  return true;
}

// A posted buffer starts with its own header lines and a blank line, as NPAPI plug-ins send it.
void splitPost(const std::string& buf, std::vector<std::pair<std::string, std::string>>& headers, std::string& body) {
  size_t end = buf.find("\n\n");
  size_t skip = 2;
  size_t crlf = buf.find("\r\n\r\n");
  if (crlf != std::string::npos && (end == std::string::npos || crlf < end)) {
    end = crlf;
    skip = 4;
  }
  if (end == std::string::npos) {
    body = buf;
    return;
  }
  std::istringstream lines(buf.substr(0, end));
  std::string line;
  std::vector<std::pair<std::string, std::string>> parsed;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0) {
      body = buf;  // not a header block after all
      return;
    }
    std::string value = line.substr(colon + 1);
    value.erase(0, value.find_first_not_of(' '));
    parsed.emplace_back(line.substr(0, colon), value);
  }
  for (auto& h : parsed) {
    std::string lower = h.first;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower != "content-length") headers.push_back(h);  // the client counts the body itself
  }
  body = buf.substr(end + skip);
}

}  // namespace

Network::Network(Browser& browser) : browser_(browser) {}
Network::~Network() = default;

std::string Network::resolve(const std::string& url, bool& isFile) const {
  isFile = false;
  if (url.compare(0, 7, "file://") == 0) {
    isFile = true;
    return url.substr(7);
  }
  size_t colon = url.find(':');
  size_t slash = url.find('/');
  if (colon != std::string::npos && (slash == std::string::npos || colon < slash)) return url;  // has a scheme
  // Page-relative: the page description's own folder on disk.
  std::string path = url.substr(0, url.find_first_of("?#"));
  std::string base = browser_.page().baseDir.empty() ? "." : browser_.page().baseDir;
  char resolved[PATH_MAX];
  if (realpath(base.c_str(), resolved)) base = resolved;
  isFile = true;
  return base + (path.empty() || path[0] != '/' ? "/" : "") + path;
}

bool Network::locate(Flow& flow, const std::string& address) const {
  std::string resolved = resolve(address, flow.isFile);
  if (flow.isFile) {
    flow.path = resolved;
    flow.url = "file://" + resolved;
    return true;
  }
  if (!parseLoopbackUrl(resolved, flow.http)) return false;
  flow.url = resolved;
  return true;
}

NPError Network::request(NPP npp, const char* url, const char* target, const char* method, const char* buf,
                         uint32_t len, NPBool file, bool notify, void* notifyData) {
  Instance* instance = browser_.instanceOf(npp);
  if (!instance || !instance->alive) {
    browser_.misuse(std::string(method) + " request for an instance that is not alive");
    return NPERR_INVALID_INSTANCE_ERROR;
  }
  if (!url) return NPERR_INVALID_URL;
  std::string text(url);
  std::unique_ptr<Flow> flow(new Flow);
  flow->id = nextId_++;
  flow->npp = npp;
  flow->notify = notify;
  flow->notifyData = notifyData;
  flow->method = method;
  if (target) {
    // Navigation: the page would go elsewhere; only the notification (if asked) is the plug-in's business.
    browser_.console("[network] navigate " + text + " in \"" + target + "\"");
    flow->url = text;
    flow->phase = Flow::Phase::End;
    if (notify) flows_.push_back(std::move(flow));
    return NPERR_NO_ERROR;
  }
  if (!knobs_.refuse.empty() && text.find(knobs_.refuse) != std::string::npos) {
    browser_.console("[network] refused " + std::string(method) + " " + text);
    return NPERR_GENERIC_ERROR;
  }
  if (!locate(*flow, text)) {
    browser_.console("[network] no network outside this machine: " + text);
    return NPERR_INVALID_URL;
  }
  if (flow->method == "POST") {
    if (file || flow->isFile || (len && !buf)) {
      browser_.console("[network] refused POST " + text + (file ? " (posting a file)" : ""));
      return NPERR_GENERIC_ERROR;
    }
    splitPost(std::string(buf ? buf : "", len), flow->postHeaders, flow->postBody);
  }
  browser_.console("[network] #" + std::to_string(flow->id) + " " + flow->method + " " + flow->url);
  flows_.push_back(std::move(flow));
  return NPERR_NO_ERROR;
}

void Network::offer(NPP npp, const std::string& src) {
  std::unique_ptr<Flow> flow(new Flow);
  flow->id = nextId_++;
  flow->npp = npp;
  if (!locate(*flow, src)) {
    browser_.console("[network] embed src outside this machine not loaded: " + src);
    return;
  }
  browser_.console("[network] embed src " + flow->url);
  flows_.push_back(std::move(flow));
}

Network::Flow* Network::flowOf(const NPStream* stream) {
  for (auto& flow : flows_)
    if (&flow->record == stream) return flow.get();
  return nullptr;
}

NPError Network::requestRead(NPStream* stream, NPByteRange* ranges) {
  Flow* flow = flowOf(stream);
  if (!flow || !flow->opened || flow->destroyed) {
    browser_.misuse("NPN_RequestRead on a stream that is not open");
    return NPERR_INVALID_PARAM;
  }
  if (flow->phase != Flow::Phase::Ranges) return NPERR_STREAM_NOT_SEEKABLE;
  std::vector<Flow::Block> blocks;
  for (NPByteRange* r = ranges; r; r = r->next) {
    if (r->offset < 0 || static_cast<uint64_t>(r->offset) + r->length > flow->body.size()) return NPERR_INVALID_PARAM;
    if (r->length == 0) continue;
    if (flow->isFile) {
      blocks.push_back(Flow::Block{static_cast<uint32_t>(r->offset), flow->body.substr(r->offset, r->length)});
      continue;
    }
    const std::string range =
        "bytes=" + std::to_string(r->offset) + "-" + std::to_string(static_cast<uint64_t>(r->offset) + r->length - 1);
    HttpResponse part = httpRequest(flow->http, "GET", {{"Range", range}}, "", timeout());
    if (!part.complete || part.status != 206 || part.body.size() != r->length) {
      browser_.console("[network] range " + range + " of " + flow->url +
                       " failed: " + (part.error.empty() ? "status " + std::to_string(part.status) : part.error));
      return NPERR_GENERIC_ERROR;
    }
    blocks.push_back(Flow::Block{static_cast<uint32_t>(r->offset), part.body});
  }
  for (auto& b : blocks) flow->blocks.push_back(std::move(b));
  return NPERR_NO_ERROR;
}

NPError Network::destroyStream(NPP npp, NPStream* stream, NPReason reason) {
  Flow* flow = flowOf(stream);
  if (!flow || flow->npp != npp || !flow->opened || flow->destroyed) {
    browser_.misuse("NPN_DestroyStream on a stream that is not open");
    return NPERR_INVALID_PARAM;
  }
  if (flow->phase != Flow::Phase::End && flow->phase != Flow::Phase::Done) finish(*flow, reason);
  return NPERR_NO_ERROR;
}

// Blocks are left alone: the plug-in may end the stream from inside an NPP_Write of one of them.
void Network::finish(Flow& flow, NPReason reason) {
  flow.reason = reason;
  flow.phase = Flow::Phase::End;
}

void Network::fetch(Flow& flow) {
  if (flow.isFile) {
    if (!readFile(flow.path, flow.body)) {
      browser_.console("[network] no such file: " + flow.path);
      flow.reason = NPRES_NETWORK_ERR;
      flow.phase = Flow::Phase::End;
      return;
    }
    flow.mime = mimeForPath(flow.path);
    flow.lengthKnown = true;
    flow.announced = flow.body.size();
    flow.seekable = true;
  } else {
    HttpResponse res = httpRequest(flow.http, flow.method, flow.postHeaders, flow.postBody, timeout());
    if (!res.answered || res.status >= 400) {
      browser_.console("[network] " + flow.url + ": " +
                       (res.answered ? "status " + std::to_string(res.status) : res.error));
      flow.reason = NPRES_NETWORK_ERR;
      flow.phase = Flow::Phase::End;
      return;
    }
    flow.headers = res.headers;
    flow.mime = res.contentType.substr(0, res.contentType.find(';'));
    flow.body = res.body;
    flow.lengthKnown = res.hasLength;
    flow.announced = res.hasLength ? res.length : res.body.size();
    flow.seekable = res.acceptsRanges && res.hasLength && res.complete;
    flow.broken = !res.complete;
    if (flow.broken)
      browser_.console("[network] " + flow.url + " broke after " + std::to_string(res.body.size()) + " byte(s)");
  }
  if (knobs_.failAfter >= 0 && static_cast<uint64_t>(knobs_.failAfter) < flow.body.size()) {
    flow.body.resize(static_cast<size_t>(knobs_.failAfter));
    flow.broken = true;
  }
  open(flow);
}

void Network::open(Flow& flow) {
  const NPPluginFuncs& plugin = browser_.pluginFuncs();
  flow.record = NPStream();
  flow.record.url = flow.url.c_str();
  flow.record.end = flow.lengthKnown && !knobs_.unknownLength
                        ? static_cast<uint32_t>(std::min<uint64_t>(flow.announced, UINT32_MAX))
                        : 0;
  flow.record.notifyData = flow.notify ? flow.notifyData : nullptr;
  flow.record.headers = flow.headers.empty() ? nullptr : flow.headers.c_str();
  const bool seekable = flow.seekable && knobs_.seekable && !flow.broken;
  flow.stype = NP_NORMAL;
  std::string mime = flow.mime;
  NPError err = plugin.newstream ? plugin.newstream(flow.npp, &mime[0], &flow.record, seekable ? 1 : 0, &flow.stype)
                                 : NPERR_GENERIC_ERROR;
  if (err != NPERR_NO_ERROR) {
    // A stream the plug-in would not open is over; only the notification is left.
    flow.reason = NPRES_NETWORK_ERR;
    flow.phase = Flow::Phase::End;
    return;
  }
  flow.opened = true;
  if (flow.stype == NP_SEEK && !seekable) {
    browser_.misuse("NPP_NewStream chose NP_SEEK for a stream that cannot seek");
    flow.stype = NP_NORMAL;
  }
  if (flow.stype == NP_SEEK) {
    flow.phase = Flow::Phase::Ranges;
    return;
  }
  if (flow.stype != NP_ASFILEONLY && !flow.body.empty()) flow.blocks.push_back(Flow::Block{0, flow.body});
  flow.phase = Flow::Phase::Deliver;
}

void Network::deliver(Flow& flow) {
  const NPPluginFuncs& plugin = browser_.pluginFuncs();
  if (flow.blocks.empty()) {
    if (flow.broken)
      finish(flow, NPRES_NETWORK_ERR);
    else if (flow.stype == NP_ASFILE || flow.stype == NP_ASFILEONLY)
      asFile(flow);
    else
      finish(flow, NPRES_DONE);
    return;
  }
  Flow::Block& block = flow.blocks.front();
  const Flow::Phase phase = flow.phase;
  int32_t ready = plugin.writeready ? plugin.writeready(flow.npp, &flow.record) : -1;
  if (flow.phase != phase) return;  // the plug-in ended the stream meanwhile
  if (ready < 0) return finish(flow, NPRES_USER_BREAK);
  if (ready == 0) {
    if (++flow.stalls > 100) finish(flow, NPRES_NETWORK_ERR);  // the plug-in never became ready
    return;
  }
  size_t n = std::min<size_t>(static_cast<size_t>(ready), block.data.size());
  if (knobs_.chunk) n = std::min<size_t>(n, knobs_.chunk);
  int32_t taken = plugin.write ? plugin.write(flow.npp, &flow.record, static_cast<int32_t>(block.offset),
                                              static_cast<int32_t>(n), &block.data[0])
                               : -1;
  if (flow.phase != phase) return;
  if (taken < 0) return finish(flow, NPRES_USER_BREAK);
  if (taken == 0) {
    if (++flow.stalls > 100) finish(flow, NPRES_NETWORK_ERR);
    return;
  }
  if (static_cast<size_t>(taken) > n) {
    browser_.misuse("NPP_Write took more bytes than it was given");
    taken = static_cast<int32_t>(n);
  }
  flow.stalls = 0;
  block.offset += static_cast<uint32_t>(taken);
  block.data.erase(0, static_cast<size_t>(taken));
  if (block.data.empty()) flow.blocks.pop_front();
}

void Network::asFile(Flow& flow) {
  const char* dir = std::getenv("TMPDIR");
  std::string name = std::string(dir && *dir ? dir : "/tmp") + "/testbrowser-stream-XXXXXX";
  int fd = mkstemp(&name[0]);
  if (fd < 0) return finish(flow, NPRES_NETWORK_ERR);
  bool written = ::write(fd, flow.body.data(), flow.body.size()) == static_cast<ssize_t>(flow.body.size());
  ::close(fd);
  if (written && browser_.pluginFuncs().asfile) browser_.pluginFuncs().asfile(flow.npp, &flow.record, name.c_str());
  ::unlink(name.c_str());
  finish(flow, written ? NPRES_DONE : NPRES_NETWORK_ERR);
}

// The browser's two ends of a stream, each noted (with the request's number) in the order they happen.
void Network::destroyInPlugin(Flow& flow) {
  flow.destroyed = true;
  browser_.console("[network] #" + std::to_string(flow.id) + " NPP_DestroyStream " + std::to_string(flow.reason));
  const NPPluginFuncs& plugin = browser_.pluginFuncs();
  if (plugin.destroystream) plugin.destroystream(flow.npp, &flow.record, flow.reason);
}

void Network::notifyPlugin(Flow& flow) {
  flow.notified = true;
  browser_.console("[network] #" + std::to_string(flow.id) + " NPP_URLNotify " + std::to_string(flow.reason));
  const NPPluginFuncs& plugin = browser_.pluginFuncs();
  if (plugin.urlnotify) plugin.urlnotify(flow.npp, flow.url.c_str(), flow.reason, flow.notifyData);
}

void Network::end(Flow& flow) {
  const bool destroyPending = flow.opened && !flow.destroyed;
  const bool notifyPending = flow.notify && !flow.notified;
  if (destroyPending && (!knobs_.notifyFirst || !notifyPending))
    destroyInPlugin(flow);
  else if (notifyPending)
    notifyPlugin(flow);
  if ((!flow.opened || flow.destroyed) && (!flow.notify || flow.notified)) flow.phase = Flow::Phase::Done;
}

// By index: a plug-in call may add requests (and so move the list) while a stream is being served.
size_t Network::step() {
  for (size_t i = 0; i < flows_.size(); ++i) {
    Flow& flow = *flows_[i];
    if (flow.phase == Flow::Phase::Done) continue;
    Instance* instance = browser_.instanceOf(flow.npp);
    if (!instance || !instance->alive) {
      flow.phase = Flow::Phase::Done;
      continue;
    }
    switch (flow.phase) {
      case Flow::Phase::Fetch:
        fetch(flow);
        return 1;
      case Flow::Phase::Deliver:
        deliver(flow);
        return 1;
      case Flow::Phase::Ranges:
        if (flow.blocks.empty()) continue;  // waits for the plug-in's range requests
        deliver(flow);
        return 1;
      case Flow::Phase::End:
        end(flow);
        return 1;
      case Flow::Phase::Done:
        break;
    }
  }
  return 0;
}

void Network::endStreams(NPP npp) {
  for (size_t i = 0; i < flows_.size(); ++i) {
    Flow& flow = *flows_[i];
    if (flow.npp != npp || flow.phase == Flow::Phase::Done) continue;
    if (flow.phase == Flow::Phase::Fetch) flow.opened = false;  // never opened: only the notification is left
    flow.reason = flow.phase == Flow::Phase::End ? flow.reason : NPRES_USER_BREAK;
    if (flow.opened && !flow.destroyed) destroyInPlugin(flow);
    if (flow.notify && !flow.notified) notifyPlugin(flow);
    flow.phase = Flow::Phase::Done;
  }
}

std::string Network::ledger() {
  if (flows_.empty()) return std::string();
  size_t opened = 0, faults = 0;
  for (auto& owned : flows_) {
    Flow& flow = *owned;
    if (flow.opened) ++opened;
    if ((flow.opened && !flow.destroyed) || (flow.notify && !flow.notified)) {
      ++faults;
      browser_.misuse("stream " + flow.url + " was left " +
                      (flow.opened && !flow.destroyed ? "undestroyed" : "unnotified"));
    }
  }
  std::string line = "[network] " + std::to_string(flows_.size()) + " request(s), " + std::to_string(opened) +
                     " stream(s) opened, " + (faults ? std::to_string(faults) + " left open" : "all ended");
  flows_.clear();
  return line;
}

}  // namespace testbrowser
