// The request XML: plain concatenation, no declaration and no white space, every element present.
// Element text escapes '&', '<' and '>' so that no page value can change the request's structure;
// every other byte goes in as it stands.
#pragma once

#include <string>

struct stCardAnswer;

// Element text with '&', '<' and '>' escaped.
std::string xmlEscape(const std::string& text);

class XmlText {
 public:
  XmlText& element(const char* name, const std::string& value);
  XmlText& open(const char* name);
  XmlText& close(const char* name);
  XmlText& append(const XmlText& more);
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// What the request frame carries besides the card's answer.
struct RequestHead {
  std::string txCode;
  std::string sessionId;
  std::string clientDateTime;
  std::string terminalId;
  std::string checkCode;
};

// <Vennoral> with tx_code, session, issuer, client date-time and terminal, then <trns>: tac_id, the
// transaction's elements, icc_no, tsac and the transaction's block.
std::string requestXml(const RequestHead& head, const stCardAnswer& card, const XmlText& elements,
                       const XmlText& block = XmlText());
