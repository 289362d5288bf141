#include "cardsim/VirtualCard.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <openssl/crypto.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace rvp::cardsim {

namespace {

constexpr std::uint8_t powerOff = 0, powerOn = 1, reset = 2, getAtr = 4;

// A new card gets two ATR requests (the presence poll) and is then powered. pcscd's watch polls every
// 400 ms with one ATR request, and a power off and another request once its idle time runs out: a
// third request while still unpowered means pcscd saw no arrival.
constexpr int unpoweredRequestsOfAnOldCard = 3;

// vpcd writes length and payload separately without TCP_NODELAY; acknowledging at once around
// every recv keeps each APDU from waiting for a delayed ACK.
void quickAck(int fd) {
  int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_QUICKACK, &one, sizeof one);
}

bool receiveAll(int fd, std::uint8_t* buffer, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    quickAck(fd);
    ssize_t n = ::recv(fd, buffer + got, size - got, 0);
    quickAck(fd);
    if (n > 0) {
      got += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      return false;
    }
  }
  return true;
}

std::optional<Bytes> receiveMessage(int fd) {
  std::uint8_t length[2];
  if (!receiveAll(fd, length, 2)) return std::nullopt;
  Bytes payload(static_cast<std::size_t>(length[0]) << 8 | length[1]);
  if (!payload.empty() && !receiveAll(fd, payload.data(), payload.size())) return std::nullopt;
  return payload;
}

int connectToVpcd(std::uint16_t port) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  quickAck(fd);
  return fd;
}

}  // namespace

std::uint16_t VirtualCard::portOfSlot(int slot) {
  if (slot != 0 && slot != 1) throw std::invalid_argument("vpcd slot must be 0 or 1");
  const char* name = slot == 0 ? "RVP_VPCD_PORT0" : "RVP_VPCD_PORT1";
  if (const char* value = std::getenv(name); value && *value) {
    char* end = nullptr;
    long port = std::strtol(value, &end, 10);
    if (*end || port <= 0 || port > 65535) throw std::invalid_argument(std::string(name) + " is not a port: " + value);
    return static_cast<std::uint16_t>(port);
  }
  return static_cast<std::uint16_t>(35963 + slot);
}

VirtualCard::VirtualCard(Profile profile, std::uint16_t port, bool inserted)
    : port_(port), app_(std::move(profile)), wantInserted_(inserted) {
  // Initialise OpenSSL here rather than lazily on the card thread: state made during initialisation on a
  // thread that later exits is never freed.
  OPENSSL_init_crypto(OPENSSL_INIT_LOAD_CONFIG, nullptr);
  if (::pipe2(wakePipe_, O_NONBLOCK | O_CLOEXEC) != 0) throw std::runtime_error("cannot create the card's wake pipe");
  thread_ = std::thread([this] {
    run();
    // The TAC cipher may have initialised OpenSSL on this thread; free its per-thread state before leaving.
    OPENSSL_thread_stop();
  });
}

VirtualCard::~VirtualCard() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake();
  thread_.join();
  ::close(wakePipe_[0]);
  ::close(wakePipe_[1]);
}

void VirtualCard::wake() {
  changed_.notify_all();
  const char byte = 1;
  [[maybe_unused]] ssize_t n = ::write(wakePipe_[1], &byte, 1);  // a full pipe already wakes the thread
}

void VirtualCard::insert() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    wantInserted_ = true;
  }
  wake();
}

void VirtualCard::remove() {
  std::unique_lock<std::mutex> lock(mutex_);
  wantInserted_ = false;
  lock.unlock();
  wake();
  lock.lock();
  changed_.wait(lock, [this] { return socket_ < 0; });
}

bool VirtualCard::inserted() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return wantInserted_;
}

bool VirtualCard::connected() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return socket_ >= 0;
}

VirtualCard::Arrival VirtualCard::waitForArrival(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  auto verdict = [this] {
    if (socket_ < 0) return Arrival::Pending;
    if (poweredSinceConnect_) return Arrival::Powered;
    if (unpoweredAtrRequests_ >= unpoweredRequestsOfAnOldCard) return Arrival::TakenForThePreviousCard;
    return Arrival::Pending;
  };
  changed_.wait_for(lock, timeout, [&] { return stopping_ || !wantInserted_ || verdict() != Arrival::Pending; });
  return verdict();
}

void VirtualCard::inject(const Fault& fault) {
  if (fault.nth < 1) throw std::invalid_argument("a fault's command number counts from 1");
  std::lock_guard<std::mutex> lock(mutex_);
  faults_.push_back({fault, 0});
}

void VirtualCard::clearFaults() {
  std::lock_guard<std::mutex> lock(mutex_);
  faults_.clear();
}

std::vector<ApduExchange> VirtualCard::apduLog() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return log_;
}

void VirtualCard::clearApduLog() {
  std::lock_guard<std::mutex> lock(mutex_);
  log_.clear();
  powerLog_.clear();
}

bool VirtualCard::waitForPowerEvents(std::size_t count, std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return powerLog_.size() >= count; });
}

std::vector<PowerEvent> VirtualCard::powerLog() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return powerLog_;
}

void VirtualCard::onExchange(std::function<void(const ApduExchange&)> observer) {
  std::lock_guard<std::mutex> lock(mutex_);
  observer_ = std::move(observer);
}

bool VirtualCard::replaceWhileInserted(Profile profile) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!wantInserted_ || socket_ < 0 || awaitingAnswer_ || profile.atr != app_.atr()) return false;
  app_ = CardApplication(std::move(profile));
  log_.clear();
  powerLog_.clear();
  faults_.clear();
  observer_ = nullptr;
  return true;
}

std::vector<Bytes> VirtualCard::records(std::uint16_t fileId) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto& files = app_.contents().files;
  auto it = files.find(fileId);
  return it == files.end() ? std::vector<Bytes>{} : it->second.records;
}

int VirtualCard::pinTriesLeft() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return app_.pinTriesLeft();
}

Profile VirtualCard::contents() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return app_.contents();
}

void VirtualCard::closeLocked() {
  if (socket_ >= 0) {
    ::close(socket_);
    socket_ = -1;
    awaitingAnswer_ = false;
    app_.endSession();
  }
  changed_.notify_all();
}

void VirtualCard::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    if (!wantInserted_) {
      closeLocked();
      changed_.wait(lock, [this] { return stopping_ || wantInserted_; });
      continue;
    }
    if (socket_ < 0) {
      lock.unlock();
      int fd = connectToVpcd(port_);
      lock.lock();
      if (fd < 0) {  // vpcd not listening yet (pcscd starting or restarting): try again shortly
        changed_.wait_for(lock, std::chrono::milliseconds(20), [this] { return stopping_ || !wantInserted_; });
        continue;
      }
      if (stopping_ || !wantInserted_) {
        ::close(fd);
        continue;
      }
      socket_ = fd;
      poweredSinceConnect_ = false;
      unpoweredAtrRequests_ = 0;
      app_.endSession();
      changed_.notify_all();
      continue;
    }

    const int fd = socket_;
    lock.unlock();
    pollfd watch[2] = {{fd, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    int ready = ::poll(watch, 2, -1);
    if (watch[1].revents & POLLIN) {
      char drain[64];
      while (::read(wakePipe_[0], drain, sizeof drain) > 0) {
      }
    }
    std::optional<Bytes> message;
    bool lost = false;
    if (ready > 0 && watch[0].revents) {
      message = receiveMessage(fd);
      lost = !message;
    }
    lock.lock();
    if (lost) {
      closeLocked();  // vpcd went away; connect again while the card stays inserted
    } else if (message && socket_ == fd && !stopping_ && wantInserted_) {
      handleMessage(*message);
    }
  }
  closeLocked();
}

void VirtualCard::handleMessage(const Bytes& message) {
  if (message.empty()) return;
  changed_.notify_all();  // power events are awaited by tests
  if (message.size() > 1) return handleCommand(message);
  switch (message[0]) {
    case powerOff:
      powerLog_.push_back(PowerEvent::PowerOff);
      app_.endSession();
      break;
    case powerOn:
      powerLog_.push_back(PowerEvent::PowerOn);
      poweredSinceConnect_ = true;
      app_.endSession();
      break;
    case reset:
      powerLog_.push_back(PowerEvent::Reset);
      poweredSinceConnect_ = true;
      app_.endSession();
      break;
    case getAtr:
      if (!poweredSinceConnect_) ++unpoweredAtrRequests_;
      sendLocked(app_.atr());
      break;
    default:
      break;
  }
}

void VirtualCard::handleCommand(const Bytes& command) {
  ApduExchange exchange{command, {}, ApduExchange::Outcome::Answered};
  std::optional<Fault> fired;
  for (std::size_t i = 0; i < faults_.size();) {
    ArmedFault& armed = faults_[i];
    if ((!armed.fault.ins || *armed.fault.ins == command[1]) && ++armed.seen >= armed.fault.nth && !fired) {
      fired = armed.fault;
      faults_.erase(faults_.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    ++i;
  }
  bool pullAfterwards = false;
  if (!fired) {
    exchange.response = app_.process(command);
  } else if (fired->kind == Fault::Kind::Drop) {
    exchange.outcome = ApduExchange::Outcome::Dropped;
  } else if (fired->kind == Fault::Kind::Silent) {
    exchange.outcome = ApduExchange::Outcome::Unanswered;
  } else {
    // Status and Replace never reach the application; the others mangle what it answers.
    const bool processed = fired->kind != Fault::Kind::Status && fired->kind != Fault::Kind::Replace;
    exchange.outcome = ApduExchange::Outcome::Injected;
    exchange.response = fired->mangle(processed ? app_.process(command) : Bytes{});
    pullAfterwards = fired->kind == Fault::Kind::AnswerThenPull;
  }
  log_.push_back(exchange);
  if (observer_) observer_(exchange);

  if (exchange.outcome == ApduExchange::Outcome::Dropped) {
    wantInserted_ = false;
    closeLocked();
  } else if (exchange.outcome == ApduExchange::Outcome::Unanswered) {
    awaitingAnswer_ = true;
  } else {
    sendLocked(exchange.response);
    if (pullAfterwards) {
      wantInserted_ = false;
      closeLocked();
    }
  }
}

Bytes Fault::mangle(const Bytes& answer) const {
  const std::size_t dataLength = answer.size() >= 2 ? answer.size() - 2 : 0;
  const Bytes sw(answer.begin() + static_cast<std::ptrdiff_t>(dataLength), answer.end());
  Bytes out;
  switch (kind) {
    case Kind::Status:
      return {static_cast<std::uint8_t>(status >> 8), static_cast<std::uint8_t>(status & 0xFF)};
    case Kind::Replace:
      return bytes;
    case Kind::CutAnswer:
      return Bytes(answer.begin(), answer.begin() + static_cast<std::ptrdiff_t>(std::min(keep, answer.size())));
    case Kind::CutData:
      out.assign(answer.begin(), answer.begin() + static_cast<std::ptrdiff_t>(std::min(keep, dataLength)));
      out.insert(out.end(), sw.begin(), sw.end());
      return out;
    case Kind::Extend:
      out.assign(answer.begin(), answer.begin() + static_cast<std::ptrdiff_t>(dataLength));
      out.insert(out.end(), bytes.begin(), bytes.end());
      out.insert(out.end(), sw.begin(), sw.end());
      return out;
    case Kind::AnswerThenPull:
      return answer;
    case Kind::Drop:
    case Kind::Silent:
      break;
  }
  return {};
}

// One write per reply, so that TCP_NODELAY sends it in one segment.
void VirtualCard::sendLocked(const Bytes& payload) {
  if (socket_ < 0) return;
  Bytes frame;
  frame.reserve(payload.size() + 2);
  frame.push_back(static_cast<std::uint8_t>(payload.size() >> 8));
  frame.push_back(static_cast<std::uint8_t>(payload.size() & 0xFF));
  frame.insert(frame.end(), payload.begin(), payload.end());
  std::size_t sent = 0;
  while (sent < frame.size()) {
    ssize_t n = ::send(socket_, frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      closeLocked();
      return;
    }
    sent += static_cast<std::size_t>(n);
  }
}

}  // namespace rvp::cardsim
