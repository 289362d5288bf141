#pragma once
// A card in slot 0 of the bench, reached through the card layer the way the controller does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "card/CardBuffers.h"
#include "card/IFD.h"
#include "cardbench/CardBench.h"

namespace cardtest {

using rvp::cardbench::BenchCard;
using rvp::cardbench::Bytes;
using rvp::cardbench::Profile;

class CardLayerTest : public rvp::cardbench::CardBenchTest {
 protected:
  void SetUp() override {
    rvp::cardbench::ensurePcscd();
    ASSERT_EQ(IFD_ConnectReader(), 0u);
  }

  void TearDown() override {
    if (hCard != 0) IFD_DisConnectCard(hCard, 0);
    IFD_DisConnectReader();
    CardBenchTest::TearDown();
  }

  // Starts the card and connects to it; the result of IFD_ConnectCard.
  std::uint32_t connect(const Profile& profile) {
    card = &startCard(0, profile);
    reader = card->readerName();
    return IFD_ConnectCard(&hCard, reader.c_str(), &status);
  }
  std::uint32_t connect(const std::string& profileName = "bank") {
    return connect(rvp::cardbench::loadProfile(profileName));
  }

  // The application selection as the controller sends it; the status word of the card's answer.
  std::uint32_t selectApplication() {
    static const unsigned char kSelectAid[] = {0x00, 0xA4, 0x04, 0x00, 0x08, 0xA0, 0x00,
                                               0x00, 0x01, 0x72, 0x95, 0x00, 0x01, 0x00};
    unsigned char answer[258];
    std::uint32_t length = 0;
    EXPECT_EQ(IFD_T1Transmit(hCard, kSelectAid, sizeof kSelectAid, answer, sizeof answer, &length), 0u);
    return length < 2 ? 0 : (answer[length - 2] << 8 | answer[length - 1]);
  }

  // The commands the card received since the last call.
  std::vector<Bytes> takeCommands() {
    auto commands = card->apduCommands();
    card->clearApduLog();
    return commands;
  }

  BenchCard* card = nullptr;
  std::string reader;
  std::uint32_t hCard = 0;
  stCardStatus status{};
};

inline Bytes hex(const std::string& text) { return rvp::cardsim::fromHex(text); }
inline Bytes text(const std::string& chars) { return Bytes(chars.begin(), chars.end()); }
// Whether the command buffer holds these bytes anywhere.
inline bool sendBufferHolds(const Bytes& bytes) {
  return std::search(baSendBuf, baSendBuf + kCardBufferSize, bytes.begin(), bytes.end()) != baSendBuf + kCardBufferSize;
}
inline Bytes join(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace cardtest
