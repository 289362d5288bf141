// The test browser's network settings and addresses on their own.
#include <gtest/gtest.h>

#include "testbrowser/HttpClient.h"
#include "testbrowser/NetworkKnobs.h"
#include "testbrowser/PageDescription.h"

namespace testbrowser {
namespace {

TEST(NetworkKnobs, ReadFromThePageAndRefusedWhenTheyDoNotFit) {
  PageDescription page = parsePageDescription(
      "<network chunk=\"4\" unknownlength=\"yes\" seekable=\"no\" failafter=\"7\" refuse=\"x.bin\" "
      "order=\"notifyfirst\">",
      ".");
  EXPECT_EQ(page.network.chunk, 4u);
  EXPECT_TRUE(page.network.unknownLength);
  EXPECT_FALSE(page.network.seekable);
  EXPECT_EQ(page.network.failAfter, 7);
  EXPECT_EQ(page.network.refuse, "x.bin");
  EXPECT_TRUE(page.network.notifyFirst);
  for (const char* bad : {"<network chunk=\"-1\">", "<network chunk=\"4k\">", "<network failafter=\"-2\">",
                          "<network order=\"later\">", "<network seekable=\"maybe\">", "<network speed=\"1\">"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(parsePageDescription(bad, "."), PageDescriptionError);
  }
}

TEST(HttpClient, OnlyAddressesOnThisMachine) {
  struct Case {
    const char* url;
    bool accepted;
    unsigned short port;
    const char* target;
  };
  const Case cases[] = {
      {"http://127.0.0.1:8080/a/b?c=d#frag", true, 8080, "/a/b?c=d"},
      {"http://localhost/x", true, 80, "/x"},
      {"http://127.0.0.1:9", true, 9, "/"},
      {"http://example.com/x", false, 0, ""},
      {"http://127.0.0.1.example.com/x", false, 0, ""},
      {"https://127.0.0.1/x", false, 0, ""},
      {"http://127.0.0.1:0/x", false, 0, ""},
      {"http://127.0.0.1:70000/x", false, 0, ""},
      {"http://127.0.0.1:80x/x", false, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    HttpAddress address;
    EXPECT_EQ(parseLoopbackUrl(c.url, address), c.accepted);
    if (c.accepted) {
      EXPECT_EQ(address.port, c.port);
      EXPECT_EQ(address.target, c.target);
    }
  }
}

}  // namespace
}  // namespace testbrowser
