#include "cardsim/CardApplication.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "cardsim/Tac.h"

namespace rvp::cardsim {

namespace {

constexpr std::uint8_t insSelect = 0xA4;
constexpr std::uint8_t insReadRecord = 0xB2;
constexpr std::uint8_t insReadBinary = 0xB0;
constexpr std::uint8_t insVerify = 0x20;
constexpr std::uint8_t insUpdateRecord = 0xD2;
constexpr std::uint8_t insWriteWithSnumTac = 0xE2;

constexpr std::uint16_t masterFile = 0x3F00;
constexpr std::uint8_t pinReference = 0x10;
constexpr std::size_t maxRecordLength = 256;
// Log record: three bytes of the card's own, serial (8), one byte of the card's own, data, TAC length
// (2), TAC (8).
constexpr std::size_t logOverhead = 12 + 2 + 8;
constexpr std::size_t logSerialAt = 3;
// Byte 0 of a record framed with its length: the tag a tag-length-value record opens with, so that
// byte 1 reads as the length that follows it.
constexpr std::uint8_t lengthFramingTag = 0x80;

// Fills bytes 0 to 2 and 11 of a finished log record as the profile's card does.
void frameLogRecord(Bytes& record, LogFraming framing, std::size_t dataLength) {
  switch (framing) {
    case LogFraming::Zeros:
      record[0] = record[1] = record[2] = record[11] = 0x00;
      return;
    case LogFraming::Ff:
      record[0] = record[1] = record[2] = record[11] = 0xFF;
      return;
    case LogFraming::LengthByte:
    case LogFraming::WholeLength: {
      const std::size_t counted = framing == LogFraming::LengthByte ? record.size() - 2 : record.size();
      record[0] = lengthFramingTag;
      record[1] = static_cast<std::uint8_t>(counted & 0xFF);
      record[2] = 0x00;
      record[11] = static_cast<std::uint8_t>(dataLength);
      return;
    }
  }
}

Bytes firstBytes(const Bytes& bytes, std::size_t n) {
  return Bytes(bytes.begin(), bytes.begin() + std::min(n, bytes.size()));
}

std::uint16_t fileIdOf(const Bytes& data) { return static_cast<std::uint16_t>(data[0] << 8 | data[1]); }

}  // namespace

CardApplication::CardApplication(Profile profile) : profile_(std::move(profile)), pinTriesLeft_(profile_.pinTries) {
  profile_.files[profile_.logFile];
}

void CardApplication::endSession() {
  pinVerified_ = false;
  applicationOpen_ = false;
  inApplicationDf_ = false;
  currentEf_.reset();
}

Bytes CardApplication::process(const Bytes& command) {
  Answer a{{}, sw::wrongLength};
  try {
    if (auto c = parseCommand(command)) a = dispatch(*c);
  } catch (const std::exception&) {
    a = {{}, sw::noPreciseDiagnosis};  // e.g. the cipher failed: refuse, never die
  }
  a.data.push_back(static_cast<std::uint8_t>(a.sw >> 8));
  a.data.push_back(static_cast<std::uint8_t>(a.sw & 0xFF));
  return a.data;
}

CardApplication::Answer CardApplication::dispatch(const CommandApdu& c) {
  if (c.cla != 0x00) return {{}, sw::unknownClass};
  switch (c.ins) {
    case insSelect:
      return select(c);
    case insReadRecord:
      return readRecord(c);
    case insReadBinary:
      return readBinary(c);
    case insVerify:
      return verify(c);
    case insUpdateRecord:
      return updateRecord(c);
    case insWriteWithSnumTac:
      return writeLogged(c);
    default:
      return {{}, sw::unknownInstruction};
  }
}

ElementaryFile* CardApplication::currentFile() {
  if (!currentEf_) return nullptr;
  auto it = profile_.files.find(*currentEf_);
  return it == profile_.files.end() ? nullptr : &it->second;
}

// A short header: file id, kind (01 record file, 03 cyclic log, 38 DF), record count, longest record.
Bytes CardApplication::fileHeader(std::uint16_t fid, const ElementaryFile* file) const {
  Bytes h(16, 0x00);
  h[0] = static_cast<std::uint8_t>(fid >> 8);
  h[1] = static_cast<std::uint8_t>(fid & 0xFF);
  if (!file) {
    h[2] = 0x38;
    return h;
  }
  h[2] = fid == profile_.logFile ? 0x03 : 0x01;
  h[3] = static_cast<std::uint8_t>(file->records.size());
  std::size_t longest = 0;
  for (const auto& r : file->records) longest = std::max(longest, r.size());
  h[4] = static_cast<std::uint8_t>(std::min<std::size_t>(longest, 255));
  return h;
}

CardApplication::Answer CardApplication::select(const CommandApdu& c) {
  std::optional<std::uint16_t> fid;
  const ElementaryFile* file = nullptr;
  switch (c.p1) {
    case 0x04:  // by application identifier
      if (c.data != profile_.aid) return {{}, sw::fileNotFound};
      applicationOpen_ = inApplicationDf_ = true;
      currentEf_.reset();
      fid = profile_.applicationDf;
      break;
    case 0x00:
    case 0x01:  // DF by file id (00: the master file by 3F00)
      if (c.data.size() != 2) return {{}, sw::wrongLength};
      fid = fileIdOf(c.data);
      if (*fid == masterFile) {
        inApplicationDf_ = false;
      } else if (c.p1 == 0x01 && *fid == profile_.applicationDf) {
        applicationOpen_ = inApplicationDf_ = true;
      } else {
        return {{}, sw::fileNotFound};
      }
      currentEf_.reset();
      break;
    case 0x02: {  // EF of the application
      if (c.data.size() != 2) return {{}, sw::wrongLength};
      fid = fileIdOf(c.data);
      auto it = profile_.files.find(*fid);
      if (!applicationOpen_ || it == profile_.files.end()) return {{}, sw::fileNotFound};
      currentEf_ = *fid;
      file = &it->second;
      break;
    }
    case 0x03:  // parent: from an EF to its DF, from the DF to the master file
      if (!c.data.empty()) return {{}, sw::wrongLength};
      if (currentEf_) {
        currentEf_.reset();
      } else {
        inApplicationDf_ = false;
      }
      fid = inApplicationDf_ ? profile_.applicationDf : masterFile;
      break;
    default:
      return {{}, sw::wrongP1P2};
  }
  if (!c.le) return {{}, sw::ok};
  return {firstBytes(fileHeader(*fid, file), *c.le), sw::ok};
}

CardApplication::Answer CardApplication::readRecord(const CommandApdu& c) {
  if (!c.data.empty()) return {{}, sw::wrongLength};
  ElementaryFile* file = currentFile();
  if (!file) return {{}, sw::noCurrentEf};
  if (file->records.empty() && !file->binary.empty()) return {{}, sw::wrongFileStructure};
  const std::size_t number = c.p1;
  if (number == 0 || number > file->records.size()) return {{}, sw::recordNotFound};
  const std::size_t limit = c.le.value_or(maxRecordLength);
  if (c.p2 == 0x04) return {firstBytes(file->records[number - 1], limit), sw::ok};
  if (c.p2 == 0x05) {  // this record and all after it
    Bytes all;
    for (std::size_t i = number - 1; i < file->records.size(); ++i)
      all.insert(all.end(), file->records[i].begin(), file->records[i].end());
    return {firstBytes(all, limit), sw::ok};
  }
  return {{}, sw::wrongP1P2};
}

CardApplication::Answer CardApplication::readBinary(const CommandApdu& c) {
  if (!c.data.empty()) return {{}, sw::wrongLength};
  if (c.p1 & 0x80) return {{}, sw::wrongP1P2};
  ElementaryFile* file = currentFile();
  if (!file) return {{}, sw::noCurrentEf};
  if (file->binary.empty()) return {{}, sw::wrongFileStructure};
  const std::size_t offset = static_cast<std::size_t>(c.p1) << 8 | c.p2;
  if (offset > file->binary.size()) return {{}, sw::offsetOutOfFile};
  Bytes rest(file->binary.begin() + offset, file->binary.end());
  return {firstBytes(rest, c.le.value_or(maxRecordLength)), sw::ok};
}

CardApplication::Answer CardApplication::verify(const CommandApdu& c) {
  if (c.p1 != 0x00 || c.p2 != pinReference) return {{}, sw::wrongP1P2};
  if (c.data.size() != 8) return {{}, sw::wrongLength};
  auto it = profile_.files.find(profile_.pinFile);
  if (it == profile_.files.end() || it->second.records.empty() || it->second.records[0].size() < 8)
    return {{}, sw::referenceNotFound};
  if (pinTriesLeft_ <= 0) return {{}, sw::pinStopped};
  const Bytes& stored = it->second.records[0];
  if (!std::equal(c.data.begin(), c.data.end(), stored.begin())) {
    --pinTriesLeft_;
    pinVerified_ = false;
    return {{}, sw::pinWrong};
  }
  pinTriesLeft_ = profile_.pinTries;
  pinVerified_ = true;
  return {{}, sw::ok};
}

CardApplication::Answer CardApplication::updateRecord(const CommandApdu& c) {
  if (c.p2 != 0x04) return {{}, sw::wrongP1P2};
  if (c.data.empty()) return {{}, sw::wrongLength};
  if (!pinVerified_) return {{}, sw::securityNotSatisfied};
  ElementaryFile* file = currentFile();
  if (!file) return {{}, sw::noCurrentEf};
  if (c.p1 == 0 || c.p1 > file->records.size()) return {{}, sw::recordNotFound};
  file->records[c.p1 - 1] = c.data;
  return {{}, sw::ok};
}

std::string CardApplication::nextSerialText() {
  char text[16];
  std::snprintf(text, sizeof text, "%08u", static_cast<unsigned>(profile_.nextSerial % 100000000u));
  profile_.nextSerial = profile_.nextSerial % 99999999u + 1;
  return text;
}

// Logs the record into the cyclic file named by P1 P2 and answers 00, serial (8 characters),
// TAC length (00 08) and the TAC.
CardApplication::Answer CardApplication::writeLogged(const CommandApdu& c) {
  const std::uint16_t fid = static_cast<std::uint16_t>(c.p1 << 8 | c.p2);
  auto it = profile_.files.find(fid);
  if (it == profile_.files.end()) return {{}, sw::fileNotFound};
  if (fid != profile_.logFile) return {{}, sw::wrongFileStructure};
  if (c.data.empty()) return {{}, sw::wrongLength};
  if (c.data.size() + logOverhead > maxRecordLength) return {{}, sw::notEnoughMemory};
  if (profile_.tacNeedsPin && !pinVerified_) return {{}, sw::securityNotSatisfied};

  const std::string serialText = nextSerialText();
  const Bytes serial(serialText.begin(), serialText.end());
  const Bytes tac = computeTac(profile_.tacKey, serial, c.data);

  Bytes record(logSerialAt, 0x00);
  record.insert(record.end(), serial.begin(), serial.end());
  record.push_back(0x00);
  record.insert(record.end(), c.data.begin(), c.data.end());
  record.push_back(0x00);
  record.push_back(static_cast<std::uint8_t>(tac.size()));
  record.insert(record.end(), tac.begin(), tac.end());
  frameLogRecord(record, profile_.logFraming, c.data.size());

  auto& log = it->second.records;
  log.insert(log.begin(), record);
  if (log.size() > profile_.logCapacity) log.resize(profile_.logCapacity);

  Bytes answer = {0x00};
  answer.insert(answer.end(), serial.begin(), serial.end());
  answer.push_back(0x00);
  answer.push_back(static_cast<std::uint8_t>(tac.size()));
  answer.insert(answer.end(), tac.begin(), tac.end());
  return {answer, sw::ok};
}

}  // namespace rvp::cardsim
