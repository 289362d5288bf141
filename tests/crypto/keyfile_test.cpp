#include <gtest/gtest.h>

#include "crypto/selectkey.h"

namespace {

TEST(KeyFile, PiecesComeFromTheChosenHeader) {
  EXPECT_EQ(readMACKey(), "AAAAAAAABBBBBBBBCCCCCA==\n");
  EXPECT_EQ(readCRKey(), "DDDDDDDDEEEEEEEEFFFFFA==\n");
  EXPECT_EQ(joinedBHOKey(), "GGGGGGGGHHHHHHHHIIIIIA==");
  EXPECT_EQ(readDESKey(), "JJJJJJJJKKKKKKKKLLLLLA==\n");
  EXPECT_EQ(readRSAKey(), "-----BEGIN PUBLIC KEY-----\r\nrsa-one\r\nrsa-two\r\nrsa-three\r\n-----END PUBLIC KEY-----");
}

}  // namespace
