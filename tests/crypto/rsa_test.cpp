#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include "crypto/rsaseal.h"
#include "tools/banktool/banktool.h"

namespace {

std::string unseal(const std::string& sealed) {
  std::string clear, error;
  EXPECT_TRUE(banktool::unsealRsaPieces(sealed, banktool::devPrivateKeyPem(), clear, error)) << error;
  return clear;
}

std::vector<std::string> pieces(const std::string& sealed) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t p = sealed.find('%'); p != std::string::npos; p = sealed.find('%', start)) {
    out.push_back(sealed.substr(start, p - start));
    start = p + 1;
  }
  EXPECT_EQ(start, sealed.size());
  return out;
}

TEST(RsaSeal, BuiltInKeyIsA1024BitKey) {
  PKeyPtr key = readRSAPuK();
  ASSERT_TRUE(key);
  EXPECT_EQ(EVP_PKEY_get_bits(key.get()), 1024);
}

TEST(RsaSeal, NinetySixBytesMakeOnePieceAndNinetySevenTwo) {
  const std::string text96(96, 'a'), text97 = text96 + "b";
  for (const auto& [text, count] :
       {std::pair{text96, 1u}, std::pair{text97, 2u}, std::pair{std::string("0123456789ABCDEF"), 1u}}) {
    std::string sealed = RSADataEncrypt(text);
    auto parts = pieces(sealed);
    ASSERT_EQ(parts.size(), count);
    for (const std::string& part : parts) {
      EXPECT_EQ(part.size(), 175u);
      EXPECT_EQ(part[64], '\n');
      EXPECT_EQ(part[129], '\n');
      EXPECT_EQ(part.back(), '\n');
    }
    EXPECT_EQ(unseal(sealed), text);
  }
}

// The key is read once for the process. Threads that make their first seal at the same moment (ctest runs
// this test in a process of its own, so the key is not read before) all get that one key, and no later
// call reads it again: reading it per call, per thread or once for each thread racing to the first use
// all fail here. Every seal opens at the bank.
TEST(RsaSeal, TheBuiltInKeyIsReadOnceAndSealsFromManyThreads) {
  const unsigned long readsBefore = builtInKeyReads();
  constexpr std::size_t kThreads = 16;
  std::vector<EVP_PKEY*> keys(kThreads);
  std::vector<std::string> sealed(kThreads);
  std::atomic<std::size_t> ready{0};
  std::atomic<bool> go{false};
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < kThreads; ++i)
    threads.emplace_back([&, i] {
      ready.fetch_add(1);
      while (!go.load()) std::this_thread::yield();
      keys[i] = serverPublicKey();
      sealed[i] = RSADataEncrypt("session " + std::to_string(i));
    });
  while (ready.load() < kThreads) std::this_thread::yield();
  go.store(true);
  for (std::thread& t : threads) t.join();

  ASSERT_NE(keys[0], nullptr);
  for (std::size_t i = 0; i < kThreads; ++i) {
    EXPECT_EQ(keys[i], keys[0]) << "thread " << i;
    EXPECT_EQ(unseal(sealed[i]), "session " + std::to_string(i));
  }
  for (int call = 0; call < 10; ++call) EXPECT_EQ(serverPublicKey(), keys[0]);
  const unsigned long reads = builtInKeyReads() - readsBefore;
  if (readsBefore == 0)
    EXPECT_EQ(reads, 1u);  // the first use was the threads'
  else
    EXPECT_LE(reads, 1u);  // another test of this run read the key first
}

TEST(RsaSeal, EachSealIsFresh) { EXPECT_NE(RSADataEncrypt("same text"), RSADataEncrypt("same text")); }

TEST(RsaSeal, NothingToSealOrNoKeyGivesNothing) {
  EXPECT_EQ(RSADataEncrypt(""), "");
  EXPECT_EQ(RSADataEncrypt(std::string("\0abc", 4)), "");
  EXPECT_FALSE(readPublicKeyPem("-----BEGIN PUBLIC KEY-----\r\nnonsense\r\n-----END PUBLIC KEY-----"));
  EXPECT_EQ(RSADataEncrypt("abc", nullptr), "");
}

}  // namespace
